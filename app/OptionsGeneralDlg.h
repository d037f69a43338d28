#pragma once

// Page "全般": the start-up address and the address history.

#include <functional>

#include "app/KestoOptionsDlg.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pictavo::app {

class CValidateEdit;

class COptionsGeneralDlg : public CKestoOptionsDlg {
  Q_OBJECT

 public:
  // clearHistory empties the main window's address history and its file; may be empty.
  COptionsGeneralDlg(const Settings& settings, std::function<void()> clearHistory,
                     QWidget* parent = nullptr);

  bool IsValid() override;
  void OnOK(Settings& settings) override;

  QComboBox* GetStartupCombo() const { return m_startup; }
  QLineEdit* GetAddressEdit() const { return m_address; }
  CValidateEdit* GetHistoryEdit() const { return m_history; }
  QPushButton* GetClearHistoryButton() const { return m_clearHistory; }

 private:
  void OnBrowse();

  decltype(Settings::General) m_values;
  std::function<void()> m_clearHistoryCallback;
  QComboBox* m_startup;
  QLineEdit* m_address;
  CValidateEdit* m_history;
  QPushButton* m_clearHistory;
};

}  // namespace pictavo::app
