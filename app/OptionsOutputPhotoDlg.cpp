#include "app/OptionsOutputPhotoDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

#include "app/PhotoSizeControls.h"

namespace pictavo::app {

COptionsOutputPhotoDlg::COptionsOutputPhotoDlg(const Settings& settings, QWidget* parent)
    : CKestoOptionsDlg(parent),
      m_values(settings.OutputPhoto),
      m_viewItem(new QCheckBox(QStringLiteral("フォト ページに項目を表示する(&P)"), this)),
      m_viewNote(new QCheckBox(QStringLiteral("フォト ページにメモを表示する(&N)"), this)) {
  auto* sizeGroup = new QGroupBox(this);
  auto* grid = new QGridLayout(sizeGroup);
  m_size = new CPhotoSizeControls(this, grid, 0, m_values.PhotoSize, m_values.PhotoDimensions);
  grid->setColumnStretch(2, 1);
  m_viewItem->setChecked(m_values.ViewItem != 0);
  m_viewNote->setChecked(m_values.ViewNote != 0);
  auto* viewGroup = new QGroupBox(this);
  auto* viewLayout = new QVBoxLayout(viewGroup);
  viewLayout->addWidget(m_viewItem);
  viewLayout->addWidget(m_viewNote);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(sizeGroup);
  layout->addWidget(viewGroup);
  layout->addStretch(1);
}

bool COptionsOutputPhotoDlg::IsValid() {
  return ValidateEnabled({m_size->GetDimensionsEdit()});
}

void COptionsOutputPhotoDlg::OnOK(Settings& settings) {
  m_values.PhotoSize = m_size->ReadPhotoSize(m_values.PhotoSize);
  m_values.PhotoDimensions = m_size->ReadPhotoDimensions(m_values.PhotoDimensions);
  m_values.ViewItem = m_viewItem->isChecked() ? 1 : 0;
  m_values.ViewNote = m_viewNote->isChecked() ? 1 : 0;
  settings.OutputPhoto = m_values;
}

}  // namespace pictavo::app
