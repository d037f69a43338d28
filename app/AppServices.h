#pragma once

// What the main window needs from outside besides the host: where its files live, how items
// are built, the start-up command line, and the file choosers (tests answer them without a
// modal dialog). Defaults() gives the program's own.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "album/Runtime.h"
#include "app/UpdateCheck.h"
#include "items/FolderScan.h"

class QWidget;

namespace pictavo::app {

struct AppServices {
  std::string settingsFilePath;  // Pictavo.ini
  std::string historyFilePath;   // History.ini
  std::string toolbarsFilePath;  // Toolbars.ini
  std::string previewRootPath;   // deleted at shut-down
  ItemBuilder itemBuilder;
  // The styles folder, its designs (read at start-up) and the image threads.
  Runtime runtime;
  // Paths given on the command line (flags already taken out), in order.
  std::vector<std::string> commandLinePaths;
  // The folder browser ("参照(&B)..."): the chosen folder, or nothing when cancelled.
  std::function<std::optional<std::string>(QWidget* parent, const std::string& start)> browseFolder;
  // The notes file dialogs: the chosen path, or nothing when cancelled.
  std::function<std::optional<std::string>(QWidget* parent, bool save)> chooseNotesFile;
  // The update check; the default value never checks (no rights).
  UpdateCheckConfig updates;

  // The program's files and the real dialogs.
  static AppServices Defaults();
};

// Arguments after the program name: the folders to list. Flags ("-x", "/restart" with its
// process id, a "/word" that names nothing) are left out.
std::vector<std::string> CommandLinePaths(const std::vector<std::string>& arguments);

}  // namespace pictavo::app
