#pragma once

// What the command line asked for, parsed and checked for form only; the commands check
// paths and values against the file system and the settings.

#include <optional>
#include <string>
#include <vector>

namespace pictavo::cli {

// Exit statuses: the contract with scripts that call us.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitRunFailed = 1;
inline constexpr int kExitUsage = 2;  // also a missing folder, an unreadable settings or notes file

struct SettingOverride {
  std::string section;
  std::string key;
  std::string value;
};

struct BuildOptions {
  std::string folder;
  std::optional<std::string> location;
  std::optional<std::string> name;
  std::optional<std::string> title;
  std::optional<std::string> header;
  std::optional<int> style;  // 0 thumbnail, 1 album, 2 slideshow
  std::optional<std::string> design;
  std::optional<std::string> notes;
  std::vector<SettingOverride> overrides;
  bool preview = false;
  bool open = false;
  bool skipUnreadable = false;
  bool noCache = false;
};

struct ListOptions {
  std::string folder;
  std::optional<std::string> sortColumn;  // a column title or number
  bool descending = false;
  std::vector<SettingOverride> overrides;  // the view filters to try, for example
};

enum class ConfigAction { Get, Set, List };

struct ConfigOptions {
  ConfigAction action = ConfigAction::List;
  std::string section;
  std::string key;
  std::string value;
};

enum class Command { None, Build, List, Config };

struct CliOptions {
  Command command = Command::None;
  std::optional<std::string> settingsFile;  // empty: the user's settings file
  std::optional<std::string> stylesFolder;
  bool quiet = false;
  bool verbose = false;  // print the image libraries' warnings
  BuildOptions build;
  ListOptions list;
  ConfigOptions config;
};

}  // namespace pictavo::cli
