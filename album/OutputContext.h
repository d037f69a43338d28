#pragma once

// What every step of one output run reads: the list with its ticks, the run's settings, the
// host for messages and the pump, and the folder the items were listed from (their sources).

#include <cstddef>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "album/OutputSafety.h"
#include "album/WebFileNames.h"
#include "core/Host.h"
#include "core/PathUtils.h"
#include "core/Settings.h"
#include "items/ImageUtils.h"
#include "items/ItemList.h"

namespace pictavo {

// Upright image sizes the run's image steps already read or wrote, by file path, so that the
// pages of a run read no image header a second time.
class KnownImageSizes {
 public:
  void Keep(const std::string& path, ImageUtils::ImageSize size);
  void Clear() {
    m_sizes.clear();
    m_doubleThumbnails.clear();
    m_doublePhotos.clear();
    m_written.clear();
  }
  // The kept size, or the file's own read from its header when none was kept.
  ImageUtils::ImageSize Get(const std::string& path) const;
  bool Has(const std::string& path) const;
  // Which images got a 2x copy in this run: thumbnails by their source's path, photos by the
  // written photo's path. Pages offer a 2x copy only when this run wrote it.
  void KeepDoubleThumbnail(const std::string& sourcePath);
  bool HasDoubleThumbnail(const std::string& sourcePath) const;
  void KeepDoublePhoto(const std::string& photoPath);
  bool HasDoublePhoto(const std::string& photoPath) const;
  // Files an earlier step of this run already wrote (thumbnails made in the photo step).
  void KeepWritten(const std::string& path);
  bool WasWritten(const std::string& path) const;

 private:
  static std::string KeyOf(const std::string& path);
  std::unordered_map<std::string, ImageUtils::ImageSize> m_sizes;
  std::unordered_set<std::string> m_doubleThumbnails;
  std::unordered_set<std::string> m_doublePhotos;
  std::unordered_set<std::string> m_written;
};

struct OutputContext {
  const ItemList& list;      // rows in display order; the ticked rows are the album
  const Settings& settings;  // the run's own copy, with Row and Column at least 1
  Host& host;
  std::string listedFolder;      // sources are listedFolder joined with the item's file name
  std::string designStyleSheet;  // file name of the chosen design's style sheet, may be empty
  const KnownImageSizes* sizes = nullptr;      // null: every size is read from its file
  ProgressWindow* progress = nullptr;          // the run's window: counts and Cancel; may be null
  std::vector<FileFailure>* failed = nullptr;  // where linked files that failed are kept
  const WebFileNames* webNames = nullptr;      // null: the plain rule of WebFileNames
  std::string styleFolder = PathUtils::GetStyleFolderPath();  // where the designs are
  std::size_t workers = 0;                                    // image threads; 0: one per core
};

// The styles' "design" folder: the css, images and js that are copied into albums.
std::string GetDesignFolderPath(const std::string& styleFolder);
std::string GetDesignFolderPath(const OutputContext& run);

// Whether the run's progress window was cancelled.
inline bool IsRunCancelled(const OutputContext& run) {
  return run.progress && run.progress->IsCancelled();
}

// The name of a source's photo and thumbnail files in the album.
std::string GetWebFileName(const OutputContext& run, const std::string& name);

// Keeps a linked file that could not be written (when the run keeps a list) and shows why.
void RecordFailedFile(const OutputContext& run, const std::string& path, const std::string& reason);

// The upright size of the image at path, kept by the run when it has it.
ImageUtils::ImageSize GetRunImageSize(const OutputContext& run, const std::string& path);

}  // namespace pictavo
