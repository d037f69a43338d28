#pragma once

// The web browsers installed on this machine, found from the desktop entries of the XDG
// applications folders: entries in the WebBrowser category or that handle text/html.

#include <string>
#include <vector>

namespace pictavo::app::BrowserFuncs {

inline constexpr int kUserEntry = 1;    // kind code of an entry in the user's own folder
inline constexpr int kSystemEntry = 2;  // kind code of an entry in a system folder

struct APPITEM {
  int apps = 0;         // kind code: kUserEntry or kSystemEntry
  std::string key;      // desktop entry id ("firefox-esr.desktop")
  std::string name;     // display name (the Japanese name when the entry has one)
  std::string program;  // full path of the program, empty when it is not installed
  std::string icon;     // icon name of the theme or a full path, as the entry gives it
};

// $XDG_DATA_HOME/applications first, then each $XDG_DATA_DIRS/applications (defaults
// ~/.local/share and /usr/local/share:/usr/share), in precedence order.
std::vector<std::string> GetApplicationFolders();

// Reads one desktop entry. False for anything that is no browser, hidden or not an
// application. id is the entry's desktop id, apps its kind code.
bool ReadDesktopEntry(const std::string& path, const std::string& id, int apps, APPITEM& item);

// The browsers of the given folders (the first of the folders is the user's own), sorted by
// name; an id found in an earlier folder hides the same id in later ones.
std::vector<APPITEM> GetBrowserItemsList(const std::vector<std::string>& folders);
std::vector<APPITEM> GetBrowserItemsList();

// The program of an Exec line: its first word, looked up on PATH unless it is a path. Empty
// when no executable file is found.
std::string FindProgram(const std::string& exec);

// The row whose key equals key without regard to case; the first row when none does; -1 for
// an empty list.
int FindBrowserRow(const std::vector<APPITEM>& rows, const std::string& key);

}  // namespace pictavo::app::BrowserFuncs
