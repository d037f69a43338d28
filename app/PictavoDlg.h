#pragma once

// The main window: address box with history, the item list, the details pane with the note
// box, toolbar, menus and status bar, and the start-up and shut-down of the program's files.

#include <QMainWindow>
#include <set>
#include <string>
#include <vector>

#include "app/AddressHistory.h"
#include "app/AppServices.h"
#include "app/ToolbarState.h"
#include "core/Settings.h"
#include "items/ItemList.h"

class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QToolBar;

namespace pictavo {
class Host;
}

namespace pictavo::app {

class CommandTable;
class CUpdateCheck;
class DetailsPane;
class ItemTableModel;

class CPictavoDlg : public QMainWindow {
  Q_OBJECT

 public:
  CPictavoDlg(pictavo::Host& host, AppServices& services, QWidget* parent = nullptr);
  ~CPictavoDlg() override;

  // Lists the start-up address or the command-line paths; runs once (also scheduled by the
  // constructor, so calling it earlier is fine).
  void Start();
  // Lists the given folders as a start-up command line would and comes to the front.
  void OpenFolders(const std::vector<std::string>& paths);
  // Writes the window placement, settings and history and deletes the preview root; runs once
  // (on close, else on destruction).
  void ShutDown();

  // For tests and the program's own parts.
  ItemList& List() { return m_list; }
  Settings& GetSettings() { return m_settings; }
  QTableView* ListView() const { return m_view; }
  QComboBox* AddressBox() const { return m_address; }
  QPlainTextEdit* NoteBox() const { return m_note; }
  DetailsPane* Details() const { return m_details; }
  CommandTable& Commands() const { return *m_commands; }
  QToolBar* ToolBar() const { return m_toolBar; }
  CUpdateCheck& UpdateCheck() const { return *m_updateCheck; }
  const ToolbarLayout& GetToolbarLayout() const { return m_toolbarLayout; }
  // Shows layout on the toolbar; it is saved at shut-down.
  void SetToolbarLayout(const ToolbarLayout& layout);
  QString AddressText() const;
  QString StatusText(int pane) const;
  // Highlighted rows, ascending.
  std::vector<int> Highlighted() const;
  void SetHighlighted(const std::vector<int>& rows);
  // Column identities in display order.
  std::vector<int> ColumnOrder() const;
  // The context menu of a case: 501 (rows), 502 (empty area) or 503 (header, column or -1).
  QMenu* BuildContextMenu(int menuId, int headerColumn = -1);
  // Runs a command as its menu item would.
  void RunCommand(int id);
  // Lists path (the note question first); false when the user kept the list.
  bool ListAddress(const std::string& path);
  void AddAddressToHistory();
  bool HasUnsavedNotes() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildWidgets();
  void BuildCommands();
  void BuildMenus();
  void BuildToolBar();
  void ApplyToolbarLayout();
  void CustomizeToolbar();
  void BuildStatusBar();
  void SetUpListView();
  void RestoreWindowPos();
  std::string CurrentWindowPos() const;
  void LoadHistory();
  void ReloadAddressBox();
  void SetAddressText(const std::string& text);
  void ListFolderNow(const std::string& path);
  bool ConfirmDiscardNotes();
  void ListPathsFromCommandLine(const std::vector<std::string>& paths);
  void OnEnterKey(bool inNoteBox);
  void OnNoteChanged();
  void OnSelectionChanged();
  void UpdateDetails(int row);
  void UpdateCounts();
  void ScheduleCounts();
  void UpdateNoteButtons();
  void SetNotePrompt();
  void SetSortArrow();
  void RunListCommand(int id);
  void SortByHeader(int column);
  void FillColumnMenus(QMenu* menu);
  void ApplyListAppearance();
  void SetBusy(bool busy);
  void Execute(bool preview);
  void Browse();
  void OpenFolderDialog();
  void OpenHighlighted();
  void OpenLocation();
  void ShowProperties();
  void LoadNotes();
  void SaveNotes();
  bool SaveNotesInteractive();
  void FocusPane(int step);
  void AutoSizeColumn(int column);

  pictavo::Host& m_host;
  AppServices& m_services;
  Settings m_settings;
  ItemList m_list;
  AddressHistory m_history;
  ItemTableModel* m_model = nullptr;
  CommandTable* m_commands = nullptr;
  CUpdateCheck* m_updateCheck = nullptr;
  QComboBox* m_address = nullptr;
  QPushButton* m_browse = nullptr;
  QTableView* m_view = nullptr;
  DetailsPane* m_details = nullptr;
  QPlainTextEdit* m_note = nullptr;
  QPushButton* m_loadNotes = nullptr;
  QPushButton* m_saveNotes = nullptr;
  QToolBar* m_toolBar = nullptr;
  ToolbarLayout m_toolbarLayout;
  QLabel* m_idleText = nullptr;
  QLabel* m_shownCount = nullptr;
  QLabel* m_checkedCount = nullptr;
  QMenu* m_sortMenu = nullptr;
  QMenu* m_copyMenu = nullptr;
  std::set<int> m_unsavedNoteItems;  // item indexes with notes typed since the last save
  int m_headerMenuColumn = -1;
  bool m_fillingNote = false;
  bool m_moving = false;
  bool m_busy = false;
  bool m_started = false;
  bool m_shutDown = false;
  bool m_countsScheduled = false;
  mutable std::vector<int> m_highlightCache;
  mutable bool m_highlightValid = false;
};

}  // namespace pictavo::app
