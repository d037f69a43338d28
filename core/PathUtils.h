#pragma once

// Where the program keeps its files: the settings folder (portable mode: "Settings" beside the
// executable), the preview root, the styles folder, and the folder names inside a design.

#include <string>

namespace pictavo::PathUtils {

// True when a folder named "Settings" exists beside the executable (or in moduleFolder).
bool IsPortableVersion();
bool IsPortableVersion(const std::string& moduleFolder);

// The settings folder: moduleFolder/Settings in portable mode, else $XDG_CONFIG_HOME/Pictavo
// (an unset or relative XDG_CONFIG_HOME means ~/.config).
std::string GetApplicationSettingsPath();
std::string GetApplicationSettingsPath(const std::string& moduleFolder);
// The older settings folder that start-up moves files from: ~/.pictavo.
std::string GetOldApplicationSettingsPath();

std::string GetApplicationSettingsFileName();  // "Pictavo.ini"
std::string GetAddressHistoryFileName();       // "History.ini"
std::string GetToolbarsFileName();             // "Toolbars.ini"
std::string GetApplicationSettingsFilePath();
std::string GetAddressHistoryFilePath();
std::string GetToolbarsFilePath();

// The user's cache folder for the program, $XDG_CACHE_HOME/Pictavo (default ~/.cache/Pictavo):
// private to the user, never a shared /tmp name.
std::string GetTempFolderPath();
std::string GetPreviewFolderName();  // "Preview"
// GetTempFolderPath() joined with GetPreviewFolderName(): the folder previews are written to.
std::string GetPreviewRootPath();

// The shipped styles folder: "styles" beside the executable, else ../share/pictavo/styles from
// it. A program that wants another one says so in its Runtime.
std::string GetStyleFolderPath();

std::string GetStyleFolderName();     // "styles"
std::string GetDesignFolderName();    // "design"
std::string GetCSSFolderName();       // "css"
std::string GetImagesFolderName();    // "images"
std::string GetJSFolderName();        // "js"
std::string GetDefaultsFolderName();  // "defaults"
inline std::string GetDefaultsDirectoryName() {
  return GetDefaultsFolderName();
}

}  // namespace pictavo::PathUtils
