#include "app/OptionsOutputThumbnailDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/OptionsRules.h"
#include "app/UpDownCtrl.h"
#include "app/ValidateEdit.h"

namespace pictavo::app {

namespace {

constexpr int kMinCount = 1;
constexpr int kMaxCount = 30;

void Select(QComboBox* combo, int index) {
  combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

int Read(const QComboBox* combo, int previous) {
  return combo->currentIndex() >= 0 ? combo->currentIndex() : previous;
}

}  // namespace

COptionsOutputThumbnailDlg::COptionsOutputThumbnailDlg(const Settings& settings, QWidget* parent)
    : CKestoOptionsDlg(parent),
      m_values(settings.OutputThumbnail),
      m_size(new QComboBox(this)),
      m_link(new QComboBox(this)),
      m_viewName(new QCheckBox(QStringLiteral("サムネイル ページに名前を表示する(&N)"), this)) {
  CUpDownCtrl* columnUpDown = nullptr;
  CUpDownCtrl* rowUpDown = nullptr;
  m_column = MakeIntegerEdit(kMinCount, kMaxCount, &columnUpDown);
  m_row = MakeIntegerEdit(kMinCount, kMaxCount, &rowUpDown);
  m_size->addItems(OptionsRules::ThumbnailSizeRows());
  m_link->addItems(OptionsRules::ThumbnailLinkRows());
  Select(m_size, m_values.ThumbnailSize);
  Select(m_link, m_values.ThumbnailImageLink);
  m_column->setText(QString::number(m_values.Column));
  m_row->setText(QString::number(m_values.Row));
  m_viewName->setChecked(m_values.ViewName != 0);

  auto* group = new QGroupBox(this);
  auto* grid = new QGridLayout(group);
  grid->addWidget(MakeLabel(QStringLiteral("サイズ(&S):"), m_size), 0, 0);
  grid->addWidget(m_size, 0, 1);
  grid->addWidget(MakeLabel(QStringLiteral("リンク(&L):"), m_link), 1, 0);
  grid->addWidget(m_link, 1, 1);
  grid->addWidget(MakeLabel(QStringLiteral("列(&C):"), m_column), 2, 0);
  grid->addLayout(Pair(m_column, columnUpDown), 2, 1);
  grid->addWidget(MakeLabel(QStringLiteral("行(&R):"), m_row), 3, 0);
  grid->addLayout(Pair(m_row, rowUpDown), 3, 1);
  grid->addWidget(m_viewName, 4, 0, 1, 2);
  grid->setColumnStretch(2, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addStretch(1);
}

bool COptionsOutputThumbnailDlg::IsValid() {
  return ValidateEnabled({m_column, m_row});
}

void COptionsOutputThumbnailDlg::OnOK(Settings& settings) {
  m_values.ThumbnailSize = Read(m_size, m_values.ThumbnailSize);
  m_values.ThumbnailImageLink = Read(m_link, m_values.ThumbnailImageLink);
  m_values.Column = ReadInteger(m_column, m_values.Column);
  m_values.Row = ReadInteger(m_row, m_values.Row);
  m_values.ViewName = m_viewName->isChecked() ? 1 : 0;
  settings.OutputThumbnail = m_values;
}

}  // namespace pictavo::app
