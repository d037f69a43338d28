#include "app/OptionsUpdateDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/OptionsRules.h"
#include "core/SettingsStore.h"

namespace pictavo::app {

COptionsUpdateDlg::COptionsUpdateDlg(const Settings& settings, QWidget* parent)
    : CKestoOptionsDlg(parent),
      m_values(settings.Update),
      m_enabled(new QCheckBox(QStringLiteral("ソフトウェアの更新を自動的に確認する(&U)"), this)),
      m_interval(new QComboBox(this)) {
  m_intervalLabel = MakeLabel(QStringLiteral("ソフトウェアの更新を確認する間隔(&I):"), m_interval);
  m_interval->addItems(OptionsRules::IntervalRows());
  // An interval the list does not have shows no selection.
  m_interval->setCurrentIndex(
      m_values.Interval >= 0 && m_values.Interval < m_interval->count() ? m_values.Interval : -1);
  m_enabled->setChecked(m_values.Enabled != 0);

  auto* group = new QGroupBox(this);
  auto* grid = new QGridLayout(group);
  grid->addWidget(m_enabled, 0, 0, 1, 2);
  m_intervalLabel->setContentsMargins(20, 0, 0, 0);
  grid->addWidget(m_intervalLabel, 1, 0);
  grid->addWidget(m_interval, 1, 1);
  grid->setColumnStretch(2, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addStretch(1);

  connect(m_enabled, &QCheckBox::toggled, this, &COptionsUpdateDlg::UpdateEnabling);
  UpdateEnabling();
}

void COptionsUpdateDlg::UpdateEnabling() {
  const bool enabled = OptionsRules::IsIntervalEnabled(m_enabled->isChecked());
  m_intervalLabel->setEnabled(enabled);
  m_interval->setEnabled(enabled);
}

void COptionsUpdateDlg::OnOK(Settings& settings) {
  m_values.Enabled = m_enabled->isChecked() ? 1 : 0;
  if (m_interval->currentIndex() >= 0) m_values.Interval = m_interval->currentIndex();
  settings.Update = m_values;
  UpdateCheckPeriod(settings);
}

}  // namespace pictavo::app
