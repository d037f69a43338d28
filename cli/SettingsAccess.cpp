#include "cli/SettingsAccess.h"

#include "cli/Inputs.h"
#include "core/LogUtils.h"
#include "core/PathUtils.h"
#include "core/SettingsStore.h"

namespace pictavo::cli {

namespace {

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

}  // namespace

std::string SettingsFilePath(const CliOptions& options) {
  return options.settingsFile ? *options.settingsFile : PathUtils::GetApplicationSettingsFilePath();
}

Profile StoredForm(const Settings& settings) {
  Profile stored = Profile::FromText(std::string(), Profile::Encoding::Utf8);
  SaveSettings(settings, stored);
  return stored;
}

std::string ApplySetting(const SettingOverride& change, Profile& profile, Settings& settings) {
  const std::string name = change.section + " " + change.key;
  if (!StoredForm(settings).HasKey(change.section, change.key)) {
    return "no setting " + name + " (see pictavo-cli config list)";
  }
  if (!profile.WriteString(change.section, change.key, change.value)) {
    return "cannot set " + name + " to " + Quoted(change.value);
  }
  Settings changed;
  LoadSettings(changed, profile);
  const std::string stored = StoredForm(changed).GetString(change.section, change.key, {});
  if (stored != change.value) {
    return Quoted(change.value) + " is not a value " + name + " can hold (it would become " +
           Quoted(stored) + ")";
  }
  settings = changed;
  return {};
}

std::string LoadCommandSettings(const CliOptions& options,
                                const std::vector<SettingOverride>& overrides,
                                LoadedSettings& loaded) {
  loaded.path = SettingsFilePath(options);
  if (std::string error = CheckOptionalReadableFile(loaded.path, "settings file"); !error.empty()) {
    return error;
  }
  if (!loaded.profile.Load(loaded.path)) {
    return "cannot read the settings file " + Quoted(loaded.path) + ": " +
           LogUtils::GetLastErrorMessage();
  }
  LoadSettings(loaded.settings, loaded.profile);
  for (const SettingOverride& change : overrides) {
    if (std::string error = ApplySetting(change, loaded.profile, loaded.settings); !error.empty()) {
      return "--set: " + error;
    }
  }
  return {};
}

}  // namespace pictavo::cli
