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

// Writes every Options\ key in the same order: integers as signed decimal, strings as they
// are, colours and the duration as text.
void SaveSettings(const Settings& settings, Profile& profile);

// Reads the settings file at path into settings; a missing file leaves the defaults. False
// (defaults kept) when the file cannot be read, with the reason in LogUtils.
bool LoadSettingsFile(const std::filesystem::path& path, Settings& settings);

// Recreates the settings file as the shut-down does: UTF-16LE with BOM, the comment line "; "
// and the file name, Settings/WindowPos (when windowPos is not empty), then every key of the
// Options sections. Keys not written are gone afterwards. The file is replaced atomically, so a
// failure leaves the previous file whole; false with the reason in LogUtils.
bool SaveSettingsFile(const std::filesystem::path& path, const Settings& settings,
                      const std::string& windowPos);

// The update check period from Interval: 0 daily, 1 weekly, 2 monthly; any other value leaves
// the period as it is.
void UpdateCheckPeriod(Settings& settings);

}  // namespace pictavo
