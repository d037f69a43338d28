#include "cli/Scan.h"

#include <filesystem>
#include <system_error>

#include "cli/Commands.h"
#include "core/FileUtils.h"
#include "items/BuildItem.h"
#include "items/FolderScan.h"

namespace pictavo::cli {

std::string ListedFolderPath(const std::string& folder) {
  std::error_code error;
  std::filesystem::path path = std::filesystem::absolute(folder, error);
  if (error) path = folder;
  return FileUtils::GetPathRemoveBackslash(path.lexically_normal().string());
}

bool ListFolderItems(ItemList& list, const std::string& folder, const Settings& settings,
                     Host& host) {
  const ListFolderResult result = ListFolder(list, folder, settings, host, BuildAlbumItem);
  for (const std::string& line : result.skipped) {
    host.ShowMessage(line, MessageIcon::Warning, MessageButtons::Ok);
  }
  if (!result.error.empty()) {
    PrintError("cannot list the folder \"" + folder + "\": " + result.error);
    return false;
  }
  return true;
}

}  // namespace pictavo::cli
