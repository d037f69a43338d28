#pragma once

// Dialog "設定": the design styles with a preview of the chosen design's sample page. The
// preview is an embedded web view where the build has one (PICTAVO_WEB_VIEW), else a button
// that opens the sample page in the user's browser.

#include <QDialog>
#include <QUrl>

#include <string>
#include <vector>

#include "album/Runtime.h"
#include "album/StyleFuncs.h"

class QComboBox;
class QPushButton;

namespace pictavo::app {

class CStyleDesignSettingsDlg : public QDialog {
  Q_OBJECT

 public:
  // selection: the design list row to show first (the options page's combo selection).
  CStyleDesignSettingsDlg(int selection, const Runtime& runtime, QWidget* parent = nullptr);

  // The chosen row; meaningful after OK.
  int GetSelection() const { return m_selection; }
  QComboBox* GetCombo() const { return m_combo; }
  // The address of the preview shown now.
  QUrl GetPreviewUrl() const { return m_previewUrl; }
  // The web view, or nullptr when the preview goes to the user's browser.
  QWidget* GetWebView() const { return m_webView; }

  // styles/design/index.html as a file address, with "?" and the style sheet of the design
  // whose id is selection (nothing after "?" when none is).
  static QUrl MakePreviewUrl(const std::string& stylesFolder,
                             const std::vector<StyleFuncs::DESIGNITEM>& items, int selection);
  // True when this build embeds the web view and the platform can show one.
  static bool CanEmbedPreview();

  void accept() override;

 private:
  void ShowPreview();

  std::string m_stylesFolder;
  std::vector<StyleFuncs::DESIGNITEM> m_items;
  int m_selection;
  QComboBox* m_combo;
  QWidget* m_webView = nullptr;
  QPushButton* m_openInBrowser = nullptr;
  QUrl m_previewUrl;
};

}  // namespace pictavo::app
