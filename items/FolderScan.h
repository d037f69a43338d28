#pragma once

// Listing a folder into an ItemList, and the folder commands built on it: drop files, up one
// level and refresh on the address text (the address box and its history are the window's).

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/AlbumItem.h"
#include "core/Settings.h"

namespace pictavo {

class Host;
class ItemList;

// Builds the item of one file (BuildAlbumItem in the program). Called on worker threads, several
// at once: it must be safe to call concurrently.
using ItemBuilder = std::function<ALBUMITEM(const std::string& path)>;

struct ListFolderResult {
  int listed = 0;          // rows inserted
  bool cancelled = false;  // the progress window was cancelled
  bool quit = false;       // a quit arrived during the enumeration
  std::string error;       // why an existing folder could not be read; empty otherwise
  // Files that passed the filters but could not be read, in enumeration order, each as
  // "skipped, cannot read: PATH: reason", for the front end to show.
  std::vector<std::string> skipped;
};

// Whether a file passes the Options\View filters (attributes, then formats unless AllFile).
bool PassesViewFilters(const std::string& path, const Settings& settings);

// The image formats the view options list, as VipsImage::kFormat... bits: every format we
// write with AllFile, else JPEG and TIFF plus GIF and PNG when shown.
unsigned GetViewImageFormats(const Settings& settings);

// Empties the list and lists path: a folder's files, a file on its own, or the files of a
// folder that match a wildcard last part ("/photos/*.jpg"). Folders, symbolic links to
// folders, broken links and special files (pipes, devices, sockets) are skipped, as are files
// that vanish meanwhile; files that cannot be read (permissions, link loops) are skipped and
// named in the result. One pump per entry and the insert progress window;
// cancelling keeps the rows so far. Items are built on `workers` threads (0: one per core) and
// inserted in enumeration order. The rows are then sorted by name ascending and all ticked.
ListFolderResult ListFolder(ItemList& list, const std::string& path, const Settings& settings,
                            Host& host, const ItemBuilder& builder, std::size_t workers = 0);

// Called with each folder before it is listed (the window shows it and adds it to the history).
using FolderCallback = std::function<void(const std::string& folder)>;

// Dropped paths in drop order: a folder, or a symbolic link to one, is listed; any other
// existing path shows "フォルダーをドロップしてください。"; a missing one is skipped. Returns
// the folders listed, so after several the list shows the last.
std::vector<std::string> DropFiles(ItemList& list, const std::vector<std::string>& paths,
                                   const Settings& settings, Host& host,
                                   const FolderCallback& onFolder, const ItemBuilder& builder,
                                   std::size_t workers = 0);

// The parent of an address ("/a/b/" gives "/a"); empty for the root and for an empty text.
std::string GetUpOneLevelPath(const std::string& address);
// Enabled when the address is not empty, exists and has a parent.
bool CanUpOneLevel(const std::string& address);
// The new address text (the parent); the parent is listed when it exists. The address comes
// back unchanged when the command is disabled.
std::string UpOneLevel(ItemList& list, const std::string& address, const Settings& settings,
                       Host& host, const FolderCallback& onFolder, const ItemBuilder& builder,
                       std::size_t workers = 0);

bool CanRefresh(const std::string& address);
// Lists the address again when it is not empty and exists; false when it was not listed.
bool Refresh(ItemList& list, const std::string& address, const Settings& settings, Host& host,
             const ItemBuilder& builder, std::size_t workers = 0);

}  // namespace pictavo
