#pragma once

// Page "更新": the automatic update check.

#include "app/KestoOptionsDlg.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace pictavo::app {

class COptionsUpdateDlg : public CKestoOptionsDlg {
  Q_OBJECT

 public:
  explicit COptionsUpdateDlg(const Settings& settings, QWidget* parent = nullptr);

  // Also sets the check period from the interval.
  void OnOK(Settings& settings) override;

  QCheckBox* GetEnabledCheck() const { return m_enabled; }
  QComboBox* GetIntervalCombo() const { return m_interval; }

 private:
  void UpdateEnabling();

  decltype(Settings::Update) m_values;
  QCheckBox* m_enabled;
  QLabel* m_intervalLabel;
  QComboBox* m_interval;
};

}  // namespace pictavo::app
