#include "app/Help.h"

#include "app/VersionUtils.h"
#include "core/FileUtils.h"
#include "core/StringUtils.h"

namespace pictavo::app {

namespace {

constexpr int kIdHelpMissing = 10252;

std::string FillEach(std::string format, const std::string& value) {
  for (std::size_t at = format.find("%s"); at != std::string::npos;
       at = format.find("%s", at + value.size())) {
    format.replace(at, 2, value);
  }
  return format;
}

}  // namespace

std::string GetHelpFilePath() {
  const std::string module = FileUtils::GetModuleFolderPath();
  const std::string beside = FileUtils::GetCombinePath(module, "guide/index.html");
  if (FileUtils::FileExists(beside)) return beside;
  const std::string installed =
      FileUtils::GetCombinePath(module, "../share/pictavo/guide/index.html");
  return FileUtils::FileExists(installed) ? installed : beside;
}

bool ShowHelpFile(Host& host, const std::string& path) {
  if (!FileUtils::FileExists(path) || FileUtils::IsDirectory(path)) {
    host.ShowMessage(
        FillEach(StringUtils::GetLoadString(kIdHelpMissing), VersionUtils::GetProductName()),
        MessageIcon::Error, MessageButtons::Ok);
    return false;
  }
  std::string error;
  if (host.OpenWithDesktop(path, &error)) return true;
  if (!error.empty()) host.ShowMessage(error, MessageIcon::Error, MessageButtons::Ok);
  return false;
}

bool ShowHelp(QWidget*, Host& host) {
  return ShowHelpFile(host, GetHelpFilePath());
}

}  // namespace pictavo::app
