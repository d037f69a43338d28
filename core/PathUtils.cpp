#include "core/PathUtils.h"

#include <cstdlib>
#include <mutex>

#include "core/FileUtils.h"
#include "core/StringUtils.h"

namespace pictavo::PathUtils {

namespace {

constexpr StringId kApplicationTitle = StringId::ApplicationTitle;  // "Pictavo"

std::string Home() {
  const char* home = std::getenv("HOME");
  return home != nullptr && *home == '/' ? std::string(home) : std::string("/");
}

// An XDG base folder: the variable when it holds an absolute path (the rule of the base
// directory convention), else the fallback under home.
std::string XdgFolder(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  if (value != nullptr && *value == '/') return FileUtils::GetPathRemoveBackslash(value);
  return FileUtils::GetCombinePath(Home(), fallback);
}

std::string ApplicationTitle() {
  return StringUtils::GetLoadString(kApplicationTitle);
}

}  // namespace

bool IsPortableVersion() {
  return IsPortableVersion(FileUtils::GetModuleFolderPath());
}

bool IsPortableVersion(const std::string& moduleFolder) {
  return !moduleFolder.empty() &&
         FileUtils::IsDirectory(FileUtils::GetCombinePath(moduleFolder, "Settings"));
}

std::string GetApplicationSettingsPath() {
  return GetApplicationSettingsPath(FileUtils::GetModuleFolderPath());
}

std::string GetApplicationSettingsPath(const std::string& moduleFolder) {
  if (IsPortableVersion(moduleFolder)) return FileUtils::GetCombinePath(moduleFolder, "Settings");
  return FileUtils::GetCombinePath(XdgFolder("XDG_CONFIG_HOME", ".config"), ApplicationTitle());
}

std::string GetOldApplicationSettingsPath() {
  return FileUtils::GetCombinePath(Home(), ".pictavo");
}

std::string GetApplicationSettingsFileName() {
  return ApplicationTitle() + ".ini";
}
std::string GetAddressHistoryFileName() {
  return "History.ini";
}
std::string GetToolbarsFileName() {
  return "Toolbars.ini";
}

std::string GetApplicationSettingsFilePath() {
  return FileUtils::GetCombinePath(GetApplicationSettingsPath(), GetApplicationSettingsFileName());
}

std::string GetAddressHistoryFilePath() {
  return FileUtils::GetCombinePath(GetApplicationSettingsPath(), GetAddressHistoryFileName());
}

std::string GetToolbarsFilePath() {
  return FileUtils::GetCombinePath(GetApplicationSettingsPath(), GetToolbarsFileName());
}

std::string GetTempFolderPath() {
  return FileUtils::GetCombinePath(XdgFolder("XDG_CACHE_HOME", ".cache"), ApplicationTitle());
}

std::string GetPreviewFolderName() {
  return "Preview";
}

std::string GetPreviewRootPath() {
  return FileUtils::GetCombinePath(GetTempFolderPath(), GetPreviewFolderName());
}

std::string GetStyleFolderPath() {
  const std::string module = FileUtils::GetModuleFolderPath();
  const std::string beside = FileUtils::GetCombinePath(module, GetStyleFolderName());
  if (FileUtils::IsDirectory(beside)) return beside;
  const std::string installed = FileUtils::GetCombinePath(module, "../share/pictavo/styles");
  return FileUtils::IsDirectory(installed) ? installed : beside;
}

std::string GetStyleFolderName() {
  return "styles";
}
std::string GetDesignFolderName() {
  return "design";
}
std::string GetCSSFolderName() {
  return "css";
}
std::string GetImagesFolderName() {
  return "images";
}
std::string GetJSFolderName() {
  return "js";
}
std::string GetDefaultsFolderName() {
  return "defaults";
}

}  // namespace pictavo::PathUtils
