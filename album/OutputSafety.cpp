#include "album/OutputSafety.h"

#include <sys/stat.h>

#include <optional>

#include "album/OutputRun.h"
#include "core/FileUtils.h"
#include "core/PathUtils.h"

namespace pictavo {

namespace {

std::optional<std::pair<dev_t, ino_t>> IdOf(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) return std::nullopt;
  return std::make_pair(info.st_dev, info.st_ino);
}

}  // namespace

std::string DescribeFileFailure(const FileFailure& failure) {
  if (failure.reason.empty()) return failure.path;
  // System texts already name the file they concern.
  if (failure.reason.find(failure.path) != std::string::npos) return failure.reason;
  return failure.path + ": " + failure.reason;
}

SourceGuard::SourceGuard(const ItemList& list, const std::string& listedFolder) {
  if (const auto id = IdOf(listedFolder)) m_folders.insert(*id);
  std::string lastFolder;  // items of one listing share their folder: one look each
  for (int row = 0; row < list.RowCount(); ++row) {
    if (!list.IsRowChecked(row)) continue;
    const ALBUMITEM& item = list.RowItem(row);
    if (const auto id = IdOf(FileUtils::GetCombinePath(listedFolder, item.name))) {
      m_files.insert(*id);
    }
    std::string folder = FileUtils::GetSplitDirPath(item.fullPath);
    if (folder == lastFolder) continue;
    if (const auto id = IdOf(folder)) m_folders.insert(*id);
    lastFolder = std::move(folder);
  }
}

bool SourceGuard::IsSource(const std::string& path) const {
  const auto id = IdOf(path);
  return id && m_files.count(*id) != 0;
}

bool SourceGuard::IsSourceFolder(const std::string& path) const {
  const auto id = IdOf(path);
  return id && m_folders.count(*id) != 0;
}

std::string SourceGuard::GetSourceTargetMessage(const std::string& path) {
  return "not written: \"" + path + "\" is one of the listed photos and would be overwritten";
}

std::string SourceGuard::CheckAlbum(const std::string& albumFolder, const Settings& settings,
                                    const std::vector<std::string>& pagePaths) const {
  const std::string folders[] = {
      settings.Output.PhotoName,     settings.Output.ThumbnailName,    settings.Output.SourceName,
      PathUtils::GetCSSFolderName(), PathUtils::GetImagesFolderName(), PathUtils::GetJSFolderName(),
  };
  for (const std::string& name : folders) {
    const std::string folder = FileUtils::GetCombinePath(albumFolder, name);
    if (IsSourceFolder(folder)) {
      return "the album folder \"" + folder +
             "\" is the listed folder: its photos would be overwritten. Choose another "
             "location or folder name.";
    }
  }
  for (const std::string& page : pagePaths) {
    if (IsSource(page)) return GetSourceTargetMessage(page);
  }
  return {};
}

}  // namespace pictavo
