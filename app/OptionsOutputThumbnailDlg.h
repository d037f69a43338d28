#pragma once

// Page "出力::サムネイル": the thumbnail pages.

#include "app/KestoOptionsDlg.h"

class QCheckBox;
class QComboBox;

namespace pictavo::app {

class CValidateEdit;

class COptionsOutputThumbnailDlg : public CKestoOptionsDlg {
  Q_OBJECT

 public:
  explicit COptionsOutputThumbnailDlg(const Settings& settings, QWidget* parent = nullptr);

  bool IsValid() override;
  void OnOK(Settings& settings) override;

  QComboBox* GetSizeCombo() const { return m_size; }
  QComboBox* GetLinkCombo() const { return m_link; }
  CValidateEdit* GetColumnEdit() const { return m_column; }
  CValidateEdit* GetRowEdit() const { return m_row; }

 private:
  decltype(Settings::OutputThumbnail) m_values;
  QComboBox* m_size;
  QComboBox* m_link;
  CValidateEdit* m_column;
  CValidateEdit* m_row;
  QCheckBox* m_viewName;
};

}  // namespace pictavo::app
