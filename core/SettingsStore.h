#pragma once

// Reading and writing the Options\ sections of the settings file.

#include <filesystem>
#include <string>

#include "core/Profile.h"
#include "core/Settings.h"

namespace pictavo {

// Reads every Options\ key in file order, each with the value settings holds as its default.
// Defaults of the folder name, the page texts and the footer come from the string table;
// Location defaults to the documents folder joined with "Pictavo" and is created when missing
// (failure ignored); an Address that no longer exists becomes empty. Nothing is clamped.
// CheckPeriodDays is derived from Update.Interval afterwards.
void LoadSettings(Settings& settings, const Profile& profile);
// LoadSettings without creating the Location folder: for reading or changing the file only.
void ReadSettings(Settings& settings, const Profile& profile);

// Writes every Options\ key in the same order: integers as signed decimal, strings as they
// are, colours and the duration as text.
void SaveSettings(const Settings& settings, Profile& profile);

// Reads the settings file at path into settings; a missing file leaves the defaults. False
// (defaults kept) when the file cannot be read, with the reason in LogUtils.
bool LoadSettingsFile(const std::filesystem::path& path, Settings& settings);

// Recreates the settings file as the shut-down does: UTF-16LE with BOM, the comment line "; "
// and the file name, Settings/WindowPos (when windowPos is not empty), then every key of the
// Options sections. Keys not written are gone afterwards. The file is replaced atomically under
// the settings file's lock (SettingsFileLock), so a failure leaves the previous file whole and a
// concurrent change waits; false with the reason in LogUtils.
bool SaveSettingsFile(const std::filesystem::path& path, const Settings& settings,
                      const std::string& windowPos);

// The Options\Output keys whose values name a page or a folder inside the album folder
// (FileName, PageFileName, PhotoName, ThumbnailName, SourceName) take the folder-name rules
// (FileUtils::IsValidFolderName), so no value can place a file outside the album. Empty when
// value is fine for key (or key is none of them), else the message naming key and value.
std::string CheckAlbumFileName(const std::string& section, const std::string& key,
                               const std::string& value);
// The same for all five as settings holds them; the message of the first that fails.
std::string CheckAlbumFileNames(const Settings& settings);

// The update check period from Interval: 0 daily, 1 weekly, 2 monthly; any other value leaves
// the period as it is.
void UpdateCheckPeriod(Settings& settings);

}  // namespace pictavo
