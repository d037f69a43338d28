#pragma once

// The options dialog: a sheet with the tree of page titles on the left and the page on the
// right, OK and "キャンセル". It works on a copy of the settings; a page is built the first time
// it is shown, and only pages that were shown write their values on OK.

#include <QDialog>

#include <functional>

#include "album/Runtime.h"
#include "core/Settings.h"

class QLabel;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace pictavo::app {

class CKestoOptionsDlg;

// Runs the dialog modally. On OK the edited copy replaces settings (with the check period
// derived again) and the result is true; on cancel settings stay as they were. clearHistory is
// called by "履歴のクリア(&H)" at once (it empties the main window's address history and its
// file); it may be empty. The dialog never reads or writes the settings file.
// runtime gives the design list and where the styles are.
bool ShowOptionsDialog(QWidget* parent, Settings& settings, const Runtime& runtime,
                       std::function<void()> clearHistory = {});

class COptionsSheet : public QDialog {
  Q_OBJECT

 public:
  // The pages in sheet order.
  enum Page {
    kGeneral,
    kView,
    kLayout,
    kOutput,
    kOutputStyle,
    kOutputPage,
    kOutputPhoto,
    kOutputThumbnail,
    kOutputSlideshow,
    kUpdate,
    kPageCount
  };

  COptionsSheet(const Settings& settings, Runtime runtime, std::function<void()> clearHistory,
                QWidget* parent = nullptr);
  ~COptionsSheet() override;

  int GetActivePage() const { return m_active; }
  // Shows page (built the first time). False, with the active page kept, when the active page
  // is not valid.
  bool SetActivePage(int page);
  // The page, or nullptr while it has never been shown.
  CKestoOptionsDlg* GetPage(int page) const { return m_pages[page]; }
  QTreeWidget* GetTree() const { return m_tree; }
  // The edited copy; after OK it holds what the pages wrote.
  const Settings& GetSettings() const { return m_settings; }

  // OK: the active page must be valid; then every page that was shown writes its values.
  void accept() override;
  void done(int result) override;

 private:
  void OnTreeItemChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
  CKestoOptionsDlg* CreatePage(int page);

  Settings m_settings;
  const Runtime m_runtime;
  std::function<void()> m_clearHistory;
  QTreeWidget* m_tree;
  QLabel* m_caption;
  QStackedWidget* m_stack;
  QTreeWidgetItem* m_items[kPageCount] = {};
  CKestoOptionsDlg* m_pages[kPageCount] = {};
  int m_active = -1;
};

}  // namespace pictavo::app
