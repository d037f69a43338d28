#include "album/OutputSettingsModel.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <regex>
#include <system_error>

#include "album/HtmlFuncs.h"
#include "core/FileUtils.h"
#include "core/LogUtils.h"
#include "core/StringUtils.h"

namespace pictavo::OutputSettingsModel {

namespace {

constexpr StringId kIdEnterField = StringId::EnterField;  // "%sを入力してください。"
constexpr StringId kIdFolderExists =
    StringId::FolderExists;  // "指定した場所には、既にフォルダーが存在します。"

// A dangling symbolic link blocks the name as well: the folder could not be created there.
bool PathExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::symlink_status(path, error).type() !=
         std::filesystem::file_type::not_found;
}

std::string LastComponent(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FillFormat(const std::string& format, const std::string& value) {
  const std::size_t at = format.find("%s");
  if (at == std::string::npos) return format;
  return format.substr(0, at) + value + format.substr(at + 2);
}

// Decimal digits only, as ProposeFolderName writes them.
bool ParseNumber(const std::string& text, long long* number) {
  if (text.empty() || text.size() > 18) return false;
  *number = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    *number = *number * 10 + (c - '0');
  }
  return true;
}

constexpr long long kMaxFolderNumber = 999999999999999999LL;

OkCheck Refuse(Field field, std::string message) {
  OkCheck check;
  check.focus = field;
  check.message = std::move(message);
  return check;
}

}  // namespace

std::string GetFieldErrorMessage(const std::string& label) {
  static const std::regex kAcceleratorAndColon(R"((\(&.?\))?:$)");
  const std::string bare = std::regex_replace(label, kAcceleratorAndColon, "");
  return FillFormat(StringUtils::GetLoadString(kIdEnterField), bare);
}

std::string GetInvalidNameMessage() {
  return "名前には次の文字は使えません。\r\n\t\\ / : * ? \" < > |";
}

bool IsValidFolderName(const std::string& name) {
  return FileUtils::IsValidFolderName(name);
}

std::string ProposeFolderName(const std::string& folderName, const std::string& location) {
  for (long long n = 1;; ++n) {
    std::string candidate = folderName + std::to_string(n);
    // With no location there is nothing to look into; OK refuses the empty location later.
    if (location.empty() || !PathExists(FileUtils::GetCombinePath(location, candidate))) {
      return candidate;
    }
  }
}

std::string CreateAlbumFolder(OutputSettingsValues& values, const std::string& baseName,
                              const std::string& proposedName) {
  if (!FileUtils::CreateFolderPathExists(values.location)) return LogUtils::GetLastErrorMessage();
  long long number = 0;
  const bool renumber = values.folderName == proposedName &&
                        proposedName.compare(0, baseName.size(), baseName) == 0 &&
                        ParseNumber(proposedName.substr(baseName.size()), &number);
  for (;;) {
    const std::string folder = FileUtils::GetCombinePath(values.location, values.folderName);
    if (::mkdir(folder.c_str(), 0777) == 0) return {};
    if (errno != EEXIST) {
      LogUtils::SetLastError(errno, folder);
      return LogUtils::GetLastErrorMessage();
    }
    if (!renumber || number >= kMaxFolderNumber) {
      return StringUtils::GetLoadString(kIdFolderExists) + "\n" + folder;
    }
    values.folderName = baseName + std::to_string(++number);
  }
}

OutputSettingsValues MakeProposal(const Settings& settings, const std::string& listedFolder) {
  OutputSettingsValues values;
  values.location = settings.Output.Location;
  values.folderName = ProposeFolderName(settings.Output.FolderName, values.location);
  values.title = LastComponent(listedFolder);
  values.header = values.title;
  values.preferDetailedSettings = false;
  return values;
}

std::string GetPageText(const std::string& value, const std::string& proposed) {
  return value == proposed ? EncodeUtils::GetTextToEntityString(value) : value;
}

OkCheck CheckOk(const OutputSettingsValues& values, const std::string& proposedName) {
  if (values.folderName.empty()) {
    return Refuse(Field::FolderName, GetFieldErrorMessage(kFolderNameLabel));
  }
  if (values.location.empty()) {
    return Refuse(Field::Location, GetFieldErrorMessage(kLocationLabel));
  }
  if (!IsValidFolderName(values.folderName)) {
    return Refuse(Field::FolderName, GetInvalidNameMessage());
  }
  if (values.folderName != proposedName &&
      PathExists(FileUtils::GetCombinePath(values.location, values.folderName))) {
    return Refuse(Field::FolderName, StringUtils::GetLoadString(kIdFolderExists));
  }
  if (IsTitleHeaderEnabled(values)) {
    if (values.title.empty()) return Refuse(Field::Title, GetFieldErrorMessage(kTitleLabel));
    if (values.header.empty()) return Refuse(Field::Header, GetFieldErrorMessage(kHeaderLabel));
  }
  OkCheck check;
  check.accepted = true;
  return check;
}

}  // namespace pictavo::OutputSettingsModel
