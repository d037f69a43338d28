#pragma once

// The settings as the commands use them: the user's file (or --settings), loaded with the
// program's rules, with --set overrides applied in memory. Only config set writes the file.

#include <filesystem>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "core/Profile.h"
#include "core/Settings.h"

namespace pictavo::cli {

// --settings, else the user's settings file.
std::string SettingsFilePath(const CliOptions& options);

// The text the file stores for every Options\ key of settings, as a profile.
Profile StoredForm(const Settings& settings);

struct LoadedSettings {
  std::string path;
  Profile profile;  // the file as read, overrides applied
  Settings settings;
  // Folders that loading created for Location, parents first. A command that ends without
  // writing an album takes them away again, so it leaves the disk as it found it.
  std::vector<std::filesystem::path> createdFolders;
};

// LoadSettings, noting the Location folders it creates in *created; without created it makes
// no folder at all.
void LoadSettingsNotingFolders(Settings& settings, const Profile& profile,
                               std::vector<std::filesystem::path>* created);

// Removes the noted folders that are still empty, deepest first.
void RemoveCreatedFolders(LoadedSettings& loaded);

// Reads the file and applies the overrides. Empty on success, else the message to print
// (an unreadable file, an unknown key or a value the key cannot hold).
std::string LoadCommandSettings(const CliOptions& options,
                                const std::vector<SettingOverride>& overrides,
                                LoadedSettings& loaded);

// Sets one Options\ key in profile and reloads settings from it. Empty on success, else the
// message: keys that are not Options\ keys are refused, and so is a value that would not be
// stored as given (text for a number, an Address that does not exist), so nothing is silently
// changed into something else, and so is a name of a file or folder inside the album that could
// point outside it. Only folders noted in *created are ever made.
std::string ApplySetting(const SettingOverride& change, Profile& profile, Settings& settings,
                         std::vector<std::filesystem::path>* created = nullptr);

}  // namespace pictavo::cli
