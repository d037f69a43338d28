#pragma once

// The photo pages of a thumbnail album: one page per ticked item, in list order, in the
// SourceName folder beside the thumbnail pages, showing the resized photo with "prev" and
// "next" buttons, the property table of the design's property.ini and the note.

#include <filesystem>
#include <string>
#include <vector>

#include "album/OutputContext.h"
#include "album/PropertyColumns.h"
#include "core/Host.h"
#include "core/Settings.h"
#include "items/ImageUtils.h"

namespace pictavo {

// What the page loop hands to the page builder for one page; owns copies of everything.
struct PHOTOPAGEITEM {
  std::string outputPath;         // the album's first thumbnail page
  std::string thumbnailPageName;  // its file name, FileName + ".html"
  std::string itemPath;           // the source image
  int pageCount = 0;              // ticked items in this run
  int pageIndex = 0;              // 0-based among the ticked items
  int listRow = 0;
  std::string fileName;
  std::string note;
  std::vector<PropertyColumns::ColumnEntry> properties;
  ImageUtils::ImageSize photoSize;  // of the resized photo in PhotoName, read once per run
  bool photoDouble = false;         // this run wrote its 2x copy: the page offers it
};

// What a run of WritePhotoPages did, for the caller's messages.
struct PhotoPagesReport {
  bool folderCreated = false;
  int pagesWritten = 0;
  std::vector<std::string> failedPages;  // full paths of pages that could not be written
  std::string lastError;                 // system text of the last failure
};

// Writes one page per ticked row of run.list, with the design's style sheet of the run and
// the property rows of the styles folder's design/defaults/property.ini (PathUtils). True when the
// pages folder was created by this call or at least one page was written, and no page failed: a
// page that cannot be written fails the run rather than leaving a broken link behind a thumbnail.
// An empty or relative output path writes nothing and fails.
bool WritePhotoPages(const OutputContext& context, const std::string& outputPath,
                     const std::string& thumbnailPageName, PhotoPagesReport* report = nullptr);

namespace PhotoPage {

// The folder that holds the shipped property.ini under a styles folder.
std::filesystem::path GetPropertyFolder(const std::filesystem::path& stylesFolder);

// Width and height of the image tag and the side S of the square image cell. PhotoSize 0
// (or a box that is not a positive size) shows the photo's own size with S its longer side;
// otherwise the photo fitted into the box, with S the box.
struct DisplaySize {
  int width = 0;
  int height = 0;
  int box = 0;
};
int GetDisplayBox(const Settings& settings);
DisplaySize GetDisplaySize(const Settings& settings, ImageUtils::ImageSize photo);

// The property cell: the shown entries in entry order, values from the list's row. The pump
// runs before each entry; a quit ends the rows and the cell is still closed.
std::string BuildPropertyTable(const OutputContext& context, const PHOTOPAGEITEM& item);

// The whole page text.
std::string BuildPhotoPage(const OutputContext& context, const PHOTOPAGEITEM& item);

}  // namespace PhotoPage
}  // namespace pictavo
