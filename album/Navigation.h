#pragma once

// The navigation blocks that link generated pages to each other. Each returns one block line
// (its own lines joined). Link texts from the settings are shown as text; file names in hrefs
// are percent-encoded; the home page address is used as the user typed it.

#include <string>

#include "core/Host.h"
#include "core/Settings.h"

namespace pictavo::Navigation {

// Thumbnail page k: k = 1 is FileName.html, k >= 2 is PageFileName<k>.html.
std::string GetThumbnailPageFileName(const Settings& settings, int page);
// Photo page k (1-based), in the SourceName folder: PageFileName<k>.html.
std::string GetPhotoPageFileName(const Settings& settings, int page);

// NaviCount as the blocks use it: values below 1 have no window and count as 1.
int GetNaviCount(const Settings& settings);

// The page numbers [first, last] that the photo page of 0-based index shows among count pages
// with a window of naviCount (at least 1). count < naviCount shows every page.
struct PageWindow {
  int first = 1;
  int last = 0;
};
PageWindow GetPhotoPageWindow(int index, int count, int naviCount);

// Links of thumbnail page `page` among pageCount pages. The pump runs before each number;
// a quit ends the numbers and the block is still closed.
std::string GetThumbnailPageLinks(const Settings& settings, int pageCount, int page, Pump& pump);

// Page-number links of the photo page of 0-based index among count pages.
std::string GetPhotoPageNumberLinks(const Settings& settings, int index, int count, Pump& pump);

// The "prev" or "next" cell beside the photo; disabled (image only) at the ends.
std::string GetPhotoPageButtonCell(const Settings& settings, int index, int count,
                                   const std::string& kind);

// The "prev" or "next" cell of the slideshow page: never disabled, no link; the script drives it.
std::string GetSlideshowButtonCell(const std::string& kind);

// Link from a photo page back to the first thumbnail page (one folder up).
std::string GetTopPageLink(const Settings& settings, const std::string& firstPageName);

// Link to the user's home page.
std::string GetHomePageLink(const Settings& settings);

}  // namespace pictavo::Navigation
