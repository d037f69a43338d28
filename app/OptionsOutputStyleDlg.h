#pragma once

// Page "出力::スタイル": output type and design style.

#include "album/Runtime.h"
#include "app/KestoOptionsDlg.h"

class QComboBox;
class QPushButton;
class QRadioButton;

namespace pictavo::app {

class COptionsOutputStyleDlg : public CKestoOptionsDlg {
  Q_OBJECT

 public:
  COptionsOutputStyleDlg(const Settings& settings, const Runtime& runtime,
                         QWidget* parent = nullptr);

  void OnOK(Settings& settings) override;

  QRadioButton* GetStyleRadio(int style) const { return m_style[style]; }
  QComboBox* GetDesignCombo() const { return m_design; }
  QPushButton* GetSettingsButton() const { return m_settings; }

 private:
  void OnDesignSettings();

  const Runtime& m_runtime;  // the sheet's, which outlives its pages
  decltype(Settings::OutputStyle) m_values;
  QRadioButton* m_style[3];
  QComboBox* m_design;
  QPushButton* m_settings;
};

}  // namespace pictavo::app
