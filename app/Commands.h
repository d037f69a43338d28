#pragma once

// The one command table of the main window: each command id gets one QAction with its text
// (accelerator mark and shortcut text), shortcut, status-bar prompt, toolbar label, icon,
// enabling rule and handler. Menus, context menus, accelerators and the toolbar are built from
// these actions, so a command has one definition.

#include <QIcon>
#include <QObject>
#include <functional>
#include <map>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace pictavo::app {

namespace Command {
inline constexpr int kFocusAddress = 30001;
inline constexpr int kSortCommandRadioFirst = 33001;
inline constexpr int kRefresh = 32801;
inline constexpr int kUpOneLevel = 32802;
inline constexpr int kToolbarOpen = 32793;     // drop-down button, menu 513
inline constexpr int kToolbarExecute = 32791;  // drop-down button, menu 512
inline constexpr int kToolbarHelp = 32792;     // drop-down button, menu 511
inline constexpr int kOpenFolder = 32842;
inline constexpr int kNew = 32844;
inline constexpr int kExecute = 32851;
inline constexpr int kPreview = 32854;
inline constexpr int kOptions = 32861;
inline constexpr int kCustomizeToolbar = 32872;
inline constexpr int kUpdateCheck = 32911;
inline constexpr int kOnlineSupport = 32912;
inline constexpr int kFeedback = 32913;
inline constexpr int kToggleToolbar = 59392;
inline constexpr int kToggleStatusBar = 59393;
inline constexpr int kAbout = 57664;
inline constexpr int kExit = 57665;
inline constexpr int kHelp = 57670;
inline constexpr int kNextPane = 57680;
inline constexpr int kPreviousPane = 57681;
}  // namespace Command

struct CommandDef {
  int id;
  const char* text;      // menu text, "&" marks and "\t" shortcut text included
  const char* shortcut;  // QKeySequence form; empty for none
  const char* prompt;    // status bar prompt
  const char* label;     // toolbar label and tooltip; empty: the text without its marks
  const char* icon;      // resource name under :/icons; empty for none
};

// Every fixed command (the per-column sort and copy items are made when their menus open).
const std::vector<CommandDef>& GetCommandDefs();
const CommandDef* FindCommandDef(int id);

class CommandTable final : public QObject {
  Q_OBJECT

 public:
  // The actions are created for every command and added to window, so their shortcuts work
  // before any other key handling of its children.
  explicit CommandTable(QWidget* window);

  // Binds a command: handler on trigger, enabled and checked evaluated by UpdateStates.
  void Bind(int id, std::function<void()> handler, std::function<bool()> enabled = {},
            std::function<bool()> checked = {});
  QAction* Action(int id) const;
  // Enabling and checks of every action, evaluated now.
  void UpdateStates();
  // A menu from ids: 0 adds a separator.
  QMenu* BuildMenu(const QString& title, const std::vector<int>& ids, QWidget* parent) const;
  void AddToMenu(QMenu* menu, const std::vector<int>& ids) const;

 private:
  struct Binding {
    QAction* action = nullptr;
    std::function<bool()> enabled;
    std::function<bool()> checked;
  };
  std::map<int, Binding> m_bindings;
};

// An icon of the bundled set, sharp at any scale (SVG).
QIcon CommandIcon(const char* name);

}  // namespace pictavo::app
