#include "cli/SettingsAccess.h"

#include <system_error>

#include "cli/Inputs.h"
#include "core/FileUtils.h"
#include "core/LogUtils.h"
#include "core/PathUtils.h"
#include "core/SettingsStore.h"
#include "core/StringUtils.h"

namespace pictavo::cli {

namespace {

namespace fs = std::filesystem;

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

bool Exists(const fs::path& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

// The missing folders of path, from the first missing ancestor down to path itself.
std::vector<fs::path> MissingFolders(const fs::path& path) {
  std::vector<fs::path> missing;
  for (fs::path at = path; !at.empty() && !Exists(at); at = at.parent_path()) {
    missing.insert(missing.begin(), at);
    if (at == at.parent_path()) break;
  }
  return missing;
}

}  // namespace

std::string SettingsFilePath(const CliOptions& options) {
  return options.settingsFile ? *options.settingsFile : PathUtils::GetApplicationSettingsFilePath();
}

void LoadSettingsNotingFolders(Settings& settings, const Profile& profile,
                               std::vector<fs::path>* created) {
  if (created == nullptr) {
    ReadSettings(settings, profile);  // nothing noted, so nothing made
    return;
  }
  constexpr StringId kApplicationTitle = StringId::ApplicationTitle;
  const std::string defaultLocation = FileUtils::GetCombinePath(
      FileUtils::GetPersonalPath(), StringUtils::GetLoadString(kApplicationTitle));
  const std::string location = profile.GetString("Options\\Output", "Location", defaultLocation);
  const std::vector<fs::path> missing =
      location.empty() ? std::vector<fs::path>() : MissingFolders(location);
  LoadSettings(settings, profile);
  if (created == nullptr) return;
  for (const fs::path& folder : missing) {
    if (Exists(folder)) created->push_back(folder);
  }
}

void RemoveCreatedFolders(LoadedSettings& loaded) {
  for (auto it = loaded.createdFolders.rbegin(); it != loaded.createdFolders.rend(); ++it) {
    std::error_code error;
    fs::remove(*it, error);  // only an empty folder goes
  }
  loaded.createdFolders.clear();
}

Profile StoredForm(const Settings& settings) {
  Profile stored = Profile::FromText(std::string(), Profile::Encoding::Utf8);
  SaveSettings(settings, stored);
  return stored;
}

std::string ApplySetting(const SettingOverride& change, Profile& profile, Settings& settings,
                         std::vector<fs::path>* created) {
  const std::string name = change.section + " " + change.key;
  if (!StoredForm(settings).HasKey(change.section, change.key)) {
    return "no setting " + name + " (see pictavo-cli config list)";
  }
  if (std::string error = CheckAlbumFileName(change.section, change.key, change.value);
      !error.empty()) {
    return error;
  }
  if (!profile.WriteString(change.section, change.key, change.value)) {
    return "cannot set " + name + " to " + Quoted(change.value);
  }
  Settings changed;
  LoadSettingsNotingFolders(changed, profile, created);
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
  LoadSettingsNotingFolders(loaded.settings, loaded.profile, &loaded.createdFolders);
  for (const SettingOverride& change : overrides) {
    if (std::string error =
            ApplySetting(change, loaded.profile, loaded.settings, &loaded.createdFolders);
        !error.empty()) {
      return "--set: " + error;
    }
  }
  return {};
}

}  // namespace pictavo::cli
