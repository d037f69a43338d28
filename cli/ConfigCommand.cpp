#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "cli/Commands.h"
#include "cli/Inputs.h"
#include "cli/SettingsAccess.h"
#include "cli/TerminalHost.h"
#include "core/LogUtils.h"
#include "core/SettingsFileLock.h"
#include "core/SettingsStore.h"

namespace pictavo::cli {

namespace {

bool IsOptionsSection(const std::string& section) {
  static const std::string kPrefix = "options\\";
  if (section.size() <= kPrefix.size()) return false;
  for (size_t i = 0; i < kPrefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(section[i])) != kPrefix[i]) return false;
  }
  return true;
}

int Get(const LoadedSettings& loaded, const ConfigOptions& config) {
  const Profile stored = StoredForm(loaded.settings);
  if (stored.HasKey(config.section, config.key)) {
    std::printf("%s\n", stored.GetString(config.section, config.key, {}).c_str());
    return kExitSuccess;
  }
  // Keys of the window (Settings / WindowPos) are shown as the file holds them.
  if (!IsOptionsSection(config.section) && loaded.profile.HasKey(config.section, config.key)) {
    std::printf("%s\n", loaded.profile.GetString(config.section, config.key, {}).c_str());
    return kExitSuccess;
  }
  PrintError("no setting " + config.section + " " + config.key + " in \"" + loaded.path + "\"");
  return kExitUsage;
}

// The one key changed in place under the settings file's lock: every other line, comment,
// section and key and the file's encoding stay as they are, and nothing but the file is made.
int Set(const CliOptions& options) {
  const ConfigOptions& config = options.config;
  if (!IsOptionsSection(config.section)) {
    PrintError("only Options\\ settings can be changed, not " + config.section);
    return kExitUsage;
  }
  const std::string path = SettingsFilePath(options);
  if (std::string error = CheckOptionalReadableFile(path, "settings file"); !error.empty()) {
    PrintError(error);
    return kExitUsage;
  }
  SettingsFileLock lock(path);
  if (!lock.Lock()) {
    PrintError("cannot lock the settings file \"" + path +
               "\": " + LogUtils::GetLastErrorMessage());
    return kExitRunFailed;
  }
  lock.RemoveStaleTemporaryFiles();
  Profile profile;
  if (!profile.Load(path)) {
    PrintError("cannot read the settings file \"" + path +
               "\": " + LogUtils::GetLastErrorMessage());
    return kExitUsage;
  }
  std::error_code missing;
  if (!std::filesystem::exists(path, missing)) {
    // A new file takes the program's own form.
    profile = Profile::FromText("; " + std::filesystem::path(path).filename().string() + "\r\n");
  }
  Settings settings;
  ReadSettings(settings, profile);
  if (const std::string error =
          ApplySetting({config.section, config.key, config.value}, profile, settings);
      !error.empty()) {
    PrintError(error);
    return kExitUsage;
  }
  if (!profile.SaveAs(path)) {
    PrintError("cannot write the settings file \"" + path +
               "\": " + LogUtils::GetLastErrorMessage());
    return kExitRunFailed;
  }
  return kExitSuccess;
}

int List(const LoadedSettings& loaded) {
  std::fputs(ToTerminalText(StoredForm(loaded.settings).ToText()).c_str(), stdout);
  return kExitSuccess;
}

}  // namespace

int RunConfig(const CliOptions& options) {
  if (options.config.action == ConfigAction::Set) return Set(options);
  LoadedSettings loaded;
  if (const std::string error = LoadCommandSettings(options, {}, loaded); !error.empty()) {
    PrintError(error);
    return kExitUsage;
  }
  // Reading or changing the file never makes the album folder.
  RemoveCreatedFolders(loaded);
  switch (options.config.action) {
    case ConfigAction::Get:
      return Get(loaded, options.config);
    case ConfigAction::Set:
    case ConfigAction::List:
      break;
  }
  return List(loaded);
}

}  // namespace pictavo::cli
