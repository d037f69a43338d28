#pragma once

// What keeps an output run from destroying its own sources. Sources are told apart by device and
// inode, so no spelling of a path (links, "..", a second mount) lets a target pass for another
// file.

#include <sys/types.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/Settings.h"
#include "items/ItemList.h"

namespace pictavo {

struct FileFailure;

// The text that names a file that could not be written: "PATH: reason".
std::string DescribeFileFailure(const FileFailure& failure);

class SourceGuard {
 public:
  SourceGuard() = default;
  // The ticked rows' sources (listedFolder joined with each name) and the folders they are in.
  SourceGuard(const ItemList& list, const std::string& listedFolder);

  // True when writing path would replace a source file (links followed).
  bool IsSource(const std::string& path) const;
  // True when path is a folder the sources are listed from.
  bool IsSourceFolder(const std::string& path) const;

  // Before anything is written: empty when the run may write, else the message. The photos,
  // thumbnails, photo pages, css, images and js folders of albumFolder must not be a listed
  // folder, and no page (pagePaths) may be a source.
  std::string CheckAlbum(const std::string& albumFolder, const Settings& settings,
                         const std::vector<std::string>& pagePaths) const;

  // The message for one target that IsSource refused.
  static std::string GetSourceTargetMessage(const std::string& path);

 private:
  using FileId = std::pair<dev_t, ino_t>;
  std::set<FileId> m_files;
  std::set<FileId> m_folders;
};

}  // namespace pictavo
