#include "app/PhotoSizeControls.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

#include "app/OptionsRules.h"
#include "app/UpDownCtrl.h"
#include "app/ValidateEdit.h"

namespace pictavo::app {

CPhotoSizeControls::CPhotoSizeControls(QWidget* page, QGridLayout* grid, int row, int photoSize,
                                       int photoDimensions)
    : QObject(page),
      m_combo(new QComboBox(page)),
      m_label(new QLabel(QStringLiteral("最大サイズ(&D):"), page)),
      m_edit(new CValidateEdit(page)),
      m_upDown(new CUpDownCtrl(page)) {
  using namespace OptionsRules;
  m_combo->addItems(PhotoSizeRows());
  m_combo->setCurrentIndex(photoSize >= 0 && photoSize < m_combo->count() ? photoSize : -1);
  m_shown = m_combo->currentIndex();
  m_edit->SetIntegerRange(kMinDimension, kMaxDimension);
  m_edit->setMaximumWidth(m_edit->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
  m_edit->setText(QString::number(photoDimensions));
  m_upDown->SetBuddy(m_edit);
  m_label->setBuddy(m_edit);
  connect(m_upDown, &CUpDownCtrl::Stepped, m_edit, [this](int steps) {
    m_edit->setText(StepInteger(m_edit->text(), steps, kMinDimension, kMaxDimension));
  });

  auto* sizeLabel = new QLabel(QStringLiteral("サイズ(&Z):"), page);
  sizeLabel->setBuddy(m_combo);
  grid->addWidget(sizeLabel, row, 0);
  grid->addWidget(m_combo, row, 1);
  grid->addWidget(m_label, row + 1, 0);
  auto* pair = new QHBoxLayout;
  pair->setSpacing(0);
  pair->addWidget(m_edit);
  pair->addWidget(m_upDown);
  pair->addStretch(1);
  grid->addLayout(pair, row + 1, 1);

  connect(m_combo, &QComboBox::currentIndexChanged, this, &CPhotoSizeControls::OnSelectionChanged);
  UpdateEnabling();
}

void CPhotoSizeControls::OnSelectionChanged(int requested) {
  const bool valid = m_edit->CheckText().isEmpty();
  const int chosen = OptionsRules::ResolveSizeSelection(m_shown, requested, valid);
  if (chosen != requested) {
    const QSignalBlocker blocker(m_combo);
    m_combo->setCurrentIndex(chosen);
    m_edit->Validate();  // reports the range and takes the focus
    return;
  }
  m_shown = chosen;
  UpdateEnabling();
}

void CPhotoSizeControls::UpdateEnabling() {
  const bool custom = OptionsRules::IsCustomSizeEnabled(m_combo->currentIndex());
  m_label->setEnabled(custom);
  m_edit->setEnabled(custom);
  m_upDown->setEnabled(custom);
}

int CPhotoSizeControls::ReadPhotoSize(int previous) const {
  return m_combo->currentIndex() >= 0 ? m_combo->currentIndex() : previous;
}

int CPhotoSizeControls::ReadPhotoDimensions(int previous) const {
  if (!m_edit->CheckText().isEmpty()) return previous;
  return ParseInteger(m_edit->text()).value_or(previous);
}

}  // namespace pictavo::app
