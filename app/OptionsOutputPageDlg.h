#pragma once

// Page "出力::ページ": texts and links of every generated page.

#include "app/KestoOptionsDlg.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace pictavo::app {

class CValidateEdit;

class COptionsOutputPageDlg : public CKestoOptionsDlg {
  Q_OBJECT

 public:
  explicit COptionsOutputPageDlg(const Settings& settings, QWidget* parent = nullptr);

  bool IsValid() override;
  void OnOK(Settings& settings) override;

  CValidateEdit* GetTitleEdit() const { return m_title; }
  CValidateEdit* GetHeaderEdit() const { return m_header; }
  QCheckBox* GetViewLinkThumbnailPageCheck() const { return m_viewLinkThumbnailPage; }
  CValidateEdit* GetLinkThumbnailPageEdit() const { return m_linkThumbnailPage; }
  QCheckBox* GetHomePageCheck(int index) const { return m_homePage[index]; }
  CValidateEdit* GetLinkHomePageEdit() const { return m_linkHomePage; }
  CValidateEdit* GetLinkHomePageURLEdit() const { return m_linkHomePageURL; }

 private:
  void UpdateEnabling();

  decltype(Settings::OutputPage) m_values;
  CValidateEdit* m_title;
  CValidateEdit* m_header;
  QCheckBox* m_viewLinkPhotoPage;
  QCheckBox* m_viewLinkThumbnailPage;
  QLabel* m_linkThumbnailPageLabel;
  CValidateEdit* m_linkThumbnailPage;
  QCheckBox* m_homePage[2];  // on thumbnail pages, on photo pages
  QLabel* m_linkHomePageLabel;
  CValidateEdit* m_linkHomePage;
  QLabel* m_linkHomePageURLLabel;
  CValidateEdit* m_linkHomePageURL;
  QLineEdit* m_copyright;
};

}  // namespace pictavo::app
