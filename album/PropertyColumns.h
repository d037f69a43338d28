#pragma once

// The column entries of a design's property.ini (which item properties a photo page shows,
// and in which order) and the key and value of a property column on that page.

#include <filesystem>
#include <string>
#include <vector>

#include "core/AlbumItem.h"
#include "core/Host.h"

namespace pictavo::PropertyColumns {

// Rows a photo page can show beyond the twenty list columns: aperture, exposure time, ISO
// speed, focal length and lens, with titles 12001 to 12005, as columns 20 to 24.
inline constexpr int kFirstPhotoRowId = 12001;
inline constexpr int kFirstPhotoRowColumn = 20;
inline constexpr int kPhotoRowCount = 5;

struct ColumnEntry {
  int column = -1;    // the string id minus 10001 (0..19), a photo row (20..24), else -1
  std::string label;  // string-table text of the string id
  int format = 0;     // read, not used by the pages
  int width = -1;     // read, not used by the pages
  int order = -1;     // always -1 when read
  bool shown = true;
};

// A hand-edited Count beyond this is not a design's column list; reading stops there so a
// huge Count cannot exhaust memory.
inline constexpr int kMaxColumnEntries = 1000;

// Reads folder/fileName: section "Column" key "Count", then "Column\Item<i>" for i = 1..Count
// with StringID (default -1), Show (1), Format (0) and Width (-1), in file order. A missing
// or unreadable file gives no entries. The pump runs before each entry; a quit ends the
// reading with the entries read so far.
std::vector<ColumnEntry> ReadColumnEntries(const std::filesystem::path& folder,
                                           const std::string& fileName, Pump& pump);

// The key of the photo page's data attribute: "name", "date_taken", ..., "f_number"; empty
// for the note column and any column outside 0..18 and 20..24.
std::string GetPropertyKey(int column);

// The item's text for the column as the list shows it (the photo rows' texts for 20..24);
// empty for the note column (19) and any other column.
std::string GetPropertyValue(int column, const ALBUMITEM& item);

}  // namespace pictavo::PropertyColumns
