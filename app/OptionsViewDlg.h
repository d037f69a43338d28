#pragma once

// Page "表示": which files a folder scan lists.

#include "app/KestoOptionsDlg.h"

class QCheckBox;

namespace pictavo::app {

class COptionsViewDlg : public CKestoOptionsDlg {
  Q_OBJECT

 public:
  explicit COptionsViewDlg(const Settings& settings, QWidget* parent = nullptr);

  void OnOK(Settings& settings) override;

  // In file order: ReadOnly, Hidden, System, GIF, JPEG, PNG, TIFF, AllFile.
  QCheckBox* GetCheck(int index) const { return m_checks[index]; }

 private:
  decltype(Settings::View) m_values;
  QCheckBox* m_checks[8];
};

}  // namespace pictavo::app
