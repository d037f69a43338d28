#pragma once

// Thumbnail pages of a thumbnail album (and the album style with its note cells): a grid of
// Column x Row thumbnails per page, each page continuing where the previous one stopped.

#include <string>

#include "album/OutputContext.h"

namespace pictavo::ThumbnailPage {

// Carried from page to page within one run. Reset before page 1.
struct PageCursor {
  int row = 0;        // list row where the next page starts
  bool quit = false;  // a quit ended a page's row loop; the run writes no further pages
};

// The size class suffix ("large", "middle", "small", "") and its limit (248, 92, 46, 0).
std::string GetSizeClass(int thumbnailSize);
int GetThumbnailLimit(int thumbnailSize);

// Thumbnail pages needed for checked items at rows x columns per page: at least 1.
int GetPageCount(int checkedCount, int rows, int columns);

// One table cell with the thumbnail of item (its number s on the album) and its file name.
std::string BuildThumbnailCell(const OutputContext& run, const ALBUMITEM& item, int number);

// The text of page `page` of pageCount; moves cursor past the rows it placed.
std::string BuildThumbnailPage(const OutputContext& run, PageCursor& cursor,
                               const std::string& title, const std::string& header, int pageCount,
                               int page);

// Builds the page and writes it to pagePath (UTF-8 with mark, one write). A file that cannot
// be written is shown with the system's text and fails.
bool WriteThumbnailPage(const OutputContext& run, PageCursor& cursor, const std::string& pagePath,
                        const std::string& title, const std::string& header, int pageCount,
                        int page);

}  // namespace pictavo::ThumbnailPage
