#pragma once

// Page "出力::フォト": size of the photos of the photo pages and what those pages show.

#include "app/KestoOptionsDlg.h"

class QCheckBox;

namespace pictavo::app {

class CPhotoSizeControls;

class COptionsOutputPhotoDlg : public CKestoOptionsDlg {
  Q_OBJECT

 public:
  explicit COptionsOutputPhotoDlg(const Settings& settings, QWidget* parent = nullptr);

  bool IsValid() override;
  void OnOK(Settings& settings) override;

  CPhotoSizeControls* GetSize() const { return m_size; }

 private:
  decltype(Settings::OutputPhoto) m_values;
  CPhotoSizeControls* m_size;
  QCheckBox* m_viewItem;
  QCheckBox* m_viewNote;
};

}  // namespace pictavo::app
