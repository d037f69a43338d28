#include "items/FolderScan.h"

#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <optional>

#include "core/Host.h"
#include "core/StringUtils.h"
#include "items/FileListUtils.h"
#include "items/ImageWork.h"
#include "items/ItemList.h"
#include "items/ListCommands.h"
#include "items/VipsImage.h"

namespace pictavo {

namespace fs = std::filesystem;

namespace {

constexpr char kAllImagePatterns[] = "*.gif;*.jpg;*.jpeg;*.jpe;*.jfif;*.png;*.tiff;*.tif;";
constexpr char kGifPatterns[] = "*.gif;";
constexpr char kJpegPatterns[] = "*.jpg;*.jpeg;*.jpe;*.jfif;";
constexpr char kPngPatterns[] = "*.png;";
constexpr char kTiffPatterns[] = "*.tiff;*.tif;";
constexpr char kInsertingText[] = "項目を挿入しています。お待ちください。";
constexpr char kPreparingText[] = "準備しています...";
constexpr StringId kInsertingSuffixId = StringId::InsertingSuffix;  // " を挿入しています..."
constexpr StringId kDropFolderTextId =
    StringId::DropFolder;  // "フォルダーをドロップしてください。"

bool HasWildcard(const std::string& text) {
  return text.find_first_of("*?[") != std::string::npos;
}

// Where to look and which names to take.
struct SearchPattern {
  fs::path folder;
  std::string namePattern;  // empty: every name
  std::string singleName;   // a file path names just this entry
  bool valid = false;
};

SearchPattern MakePattern(const std::string& path) {
  SearchPattern pattern;
  if (path.empty()) return pattern;
  std::error_code ec;
  // Absolute, so that every item's full path is one the notes files and the output can use.
  const fs::path p = fs::absolute(path, ec);
  if (ec) return pattern;
  if (fs::is_directory(p, ec)) {
    pattern.folder = p;
    pattern.valid = true;
  } else if (fs::exists(fs::symlink_status(p, ec))) {
    pattern.folder = p.parent_path();
    pattern.singleName = p.filename().string();
    pattern.valid = true;
  } else if (HasWildcard(p.filename().string()) && fs::is_directory(p.parent_path(), ec)) {
    pattern.folder = p.parent_path();
    pattern.namePattern = p.filename().string();
    pattern.valid = true;
  }
  return pattern;
}

// The item of a file the enumeration saw, or why it was left out.
struct ScanEntry {
  std::optional<ALBUMITEM> item;
  std::string skipped;  // the line that names an unreadable file; empty for a silent skip
};

std::string SkippedLine(const fs::path& path, int error) {
  return "skipped, cannot read: " + path.string() + ": " + std::generic_category().message(error);
}

// Builds the item on a worker. Files that vanished or are no regular file (links followed)
// are left out silently; regular files we may not read, and link loops, are named.
ScanEntry BuildEntry(const fs::path& path, const ItemBuilder& builder) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT) return {};
    return {std::nullopt, SkippedLine(path, errno)};
  }
  if (!S_ISREG(info.st_mode)) return {};
  // The open itself answers for every kind of permission (ACLs too), as the builder will.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return {std::nullopt, SkippedLine(path, errno)};
  ::close(fd);
  return {builder(path.string()), {}};
}

// The entries of a folder, for the insert window's bar; names only, no file is opened.
int CountEntries(const fs::path& folder) {
  std::error_code ec;
  int count = 0;
  for (fs::directory_iterator it(folder, ec); !ec && it != fs::directory_iterator();
       it.increment(ec)) {
    ++count;
  }
  return count;
}

}  // namespace

unsigned GetViewImageFormats(const Settings& settings) {
  const auto& view = settings.View;
  if (view.AllFile) return VipsImage::kFormatsOurs;
  unsigned formats = 0;
  if (view.JPEG) formats |= VipsImage::kFormatJpeg;
  if (view.TIFF) formats |= VipsImage::kFormatTiff;
  if (view.GIF) formats |= VipsImage::kFormatGif;
  if (view.PNG) formats |= VipsImage::kFormatPng;
  return formats;
}

bool PassesViewFilters(const std::string& path, const Settings& settings) {
  const auto& view = settings.View;
  const FileListUtils::FileAttributeFlags flags = FileListUtils::GetFileAttributeFlags(path);
  if (flags.system && !view.System) return false;
  if (flags.hidden && !view.Hidden) return false;
  if (flags.readOnly && !view.ReadOnly) return false;
  if (view.AllFile) return true;
  if (!FileListUtils::IsFilterMatch(path, kAllImagePatterns)) return false;
  const std::pair<int, const char*> formats[] = {
      {view.GIF, kGifPatterns},
      {view.JPEG, kJpegPatterns},
      {view.PNG, kPngPatterns},
      {view.TIFF, kTiffPatterns},
  };
  for (const auto& [enabled, patterns] : formats) {
    if (!enabled && FileListUtils::IsFilterMatch(path, patterns)) return false;
  }
  return true;
}

ListFolderResult ListFolder(ItemList& list, const std::string& path, const Settings& settings,
                            Host& host, const ItemBuilder& builder, std::size_t workers) {
  ListFolderResult result;
  if (!builder) {
    result.error = "no item builder";
    return result;
  }
  std::unique_ptr<ProgressWindow> window = host.CreateProgressWindow(ProgressKind::InsertFiles);
  if (window) {
    window->SetText(0, kInsertingText);
    window->SetText(1, kPreparingText);
    window->Show();
  }
  list.Clear();

  const SearchPattern pattern = MakePattern(path);
  std::error_code ec;
  fs::directory_iterator it;
  if (pattern.valid) it = fs::directory_iterator(pattern.folder, ec);
  if (ec) result.error = ec.message();
  LoopControl control(host.GetPump(), window.get());
  if (window && pattern.valid && !ec) window->SetRange(0, CountEntries(pattern.folder));
  int visited = 0;
  const std::string suffix = StringUtils::GetLoadString(kInsertingSuffixId);
  // Items are built on workers and inserted here in enumeration order, so the rows are those
  // of a scan that built each item itself; the pump and the window stay on this thread.
  ImageWork<ScanEntry> work(workers);
  work.SetWhileWaiting([&] { control.Wait(); });
  const auto insert = [&](ScanEntry entry) {
    if (entry.item) list.InsertRow(list.AddItem(std::move(*entry.item)));
    if (!entry.skipped.empty()) result.skipped.push_back(std::move(entry.skipped));
  };
  for (; pattern.valid && !ec && it != fs::directory_iterator(); it.increment(ec)) {
    if (!control.Step() && control.Quit()) {
      result.quit = true;
      break;
    }
    if (window) window->SetPos(++visited);
    const fs::directory_entry& entry = *it;
    const std::string name = entry.path().filename().string();
    if (!pattern.singleName.empty() && name != pattern.singleName) continue;
    if (!pattern.namePattern.empty() &&
        ::fnmatch(pattern.namePattern.c_str(), name.c_str(), 0) != 0) {
      continue;
    }
    std::error_code typeEc;
    if (entry.is_directory(typeEc)) continue;
    if (!PassesViewFilters(entry.path().string(), settings)) continue;
    if (window && window->IsCancelled()) {
      result.cancelled = true;
      break;
    }
    if (window) window->SetText(1, name + suffix);
    work.Submit([path = entry.path(), &builder] { return BuildEntry(path, builder); }, insert);
  }
  // The files seen before a cancel or a quit are listed, as they would have been one by one.
  work.Drain(insert);
  if (ec && result.error.empty()) result.error = ec.message();

  if (window && !window->IsDestroyed()) {
    window->Hide();
    window->Destroy();
  }
  window.reset();
  list.SetSort(0, false);
  SortItemList(list, host);
  list.CheckAllRows(true);
  result.listed = list.RowCount();
  return result;
}

std::vector<std::string> DropFiles(ItemList& list, const std::vector<std::string>& paths,
                                   const Settings& settings, Host& host,
                                   const FolderCallback& onFolder, const ItemBuilder& builder,
                                   std::size_t workers) {
  std::vector<std::string> listed;
  for (const std::string& dropped : paths) {
    if (!host.GetPump().PumpMessages()) break;
    std::error_code ec;
    if (dropped.empty() || !fs::exists(dropped, ec)) continue;
    std::string folder = dropped;
    // A link stands for its target, as a shortcut does.
    if (fs::is_symlink(dropped, ec)) {
      const fs::path target = fs::canonical(dropped, ec);
      if (!ec && !target.empty()) folder = target.string();
    }
    if (!fs::is_directory(folder, ec)) {
      host.ShowMessage(StringUtils::GetLoadString(kDropFolderTextId));
      continue;
    }
    if (onFolder) onFolder(folder);
    ListFolder(list, folder, settings, host, builder, workers);
    listed.push_back(folder);
  }
  return listed;
}

std::string GetUpOneLevelPath(const std::string& address) {
  if (address.empty()) return std::string();
  std::error_code ec;
  fs::path p = fs::absolute(address, ec).lexically_normal();
  if (ec) return std::string();
  std::string text = p.string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  p = text;
  if (p == p.root_path()) return std::string();
  return p.parent_path().string();
}

bool CanUpOneLevel(const std::string& address) {
  std::error_code ec;
  return !address.empty() && fs::exists(address, ec) && !GetUpOneLevelPath(address).empty();
}

std::string UpOneLevel(ItemList& list, const std::string& address, const Settings& settings,
                       Host& host, const FolderCallback& onFolder, const ItemBuilder& builder,
                       std::size_t workers) {
  if (!CanUpOneLevel(address)) return address;
  const std::string parent = GetUpOneLevelPath(address);
  std::error_code ec;
  if (fs::exists(parent, ec)) {
    if (onFolder) onFolder(parent);
    ListFolder(list, parent, settings, host, builder, workers);
  }
  return parent;
}

bool CanRefresh(const std::string& address) {
  std::error_code ec;
  return !address.empty() && fs::exists(address, ec);
}

bool Refresh(ItemList& list, const std::string& address, const Settings& settings, Host& host,
             const ItemBuilder& builder, std::size_t workers) {
  if (!CanRefresh(address)) return false;
  ListFolder(list, address, settings, host, builder, workers);
  return true;
}

}  // namespace pictavo
