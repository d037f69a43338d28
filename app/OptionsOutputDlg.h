#pragma once

// Page "出力": default names and place of an album, and what opens it afterwards.

#include <vector>

#include "app/BrowserFuncs.h"
#include "app/KestoOptionsDlg.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;

namespace pictavo::app {

class CValidateEdit;

class COptionsOutputDlg : public CKestoOptionsDlg {
  Q_OBJECT

 public:
  // browsers: the installed browsers in list order (BrowserFuncs::GetBrowserItemsList()).
  COptionsOutputDlg(const Settings& settings, std::vector<BrowserFuncs::APPITEM> browsers,
                    QWidget* parent = nullptr);

  bool IsValid() override;
  void OnOK(Settings& settings) override;

  CValidateEdit* GetFileNameEdit() const { return m_fileName; }
  CValidateEdit* GetFolderNameEdit() const { return m_folderName; }
  CValidateEdit* GetLocationEdit() const { return m_location; }
  QCheckBox* GetOpenFileCheck() const { return m_openFile; }
  QRadioButton* GetProgramRadio(int index) const { return m_program[index]; }
  QComboBox* GetBrowserCombo() const { return m_browser; }

  // Entries with neither program nor icon on this machine get no row.
  static bool HasRow(const BrowserFuncs::APPITEM& item);

 private:
  void UpdateEnabling();
  void ReadBrowser();
  void OnBrowse();

  decltype(Settings::Output) m_values;
  std::vector<BrowserFuncs::APPITEM> m_rows;  // one per combo row
  CValidateEdit* m_fileName;
  CValidateEdit* m_folderName;
  CValidateEdit* m_location;
  QCheckBox* m_showOutputSettings;
  QCheckBox* m_openFile;
  QRadioButton* m_program[2];
  QLabel* m_browserLabel;
  QComboBox* m_browser;
};

}  // namespace pictavo::app
