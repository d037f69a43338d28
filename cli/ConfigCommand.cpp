#include <cctype>
#include <cstdio>

#include "cli/Commands.h"
#include "cli/SettingsAccess.h"
#include "cli/TerminalHost.h"
#include "core/LogUtils.h"
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

int Set(LoadedSettings& loaded, const ConfigOptions& config) {
  if (!IsOptionsSection(config.section)) {
    PrintError("only Options\\ settings can be changed, not " + config.section);
    return kExitUsage;
  }
  const std::string error =
      ApplySetting({config.section, config.key, config.value}, loaded.profile, loaded.settings);
  if (!error.empty()) {
    PrintError(error);
    return kExitUsage;
  }
  // Saved as the program saves when it closes: the window placement is kept.
  const std::string windowPos = loaded.profile.GetString("Settings", "WindowPos", {});
  if (!SaveSettingsFile(loaded.path, loaded.settings, windowPos)) {
    PrintError("cannot write the settings file \"" + loaded.path +
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
      return Set(loaded, options.config);
    case ConfigAction::List:
      break;
  }
  return List(loaded);
}

}  // namespace pictavo::cli
