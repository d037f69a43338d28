#pragma once

// The twenty property columns of an album item: their identities, titles, keys, list layout,
// sort rules and commands, and the comparison of two items by a column.

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "core/AlbumItem.h"

namespace pictavo {

inline constexpr int kColumnCount = 20;

inline constexpr int kFirstColumnTitleId = 10001;  // title of column c is string 10001 + c
inline constexpr int kFirstSortCommand = 33001;    // sort by column c is command 33001 + c
inline constexpr int kFirstCopyCommand = 33201;    // copy column c is command 33201 + c

enum class SortRule { FileName, Text, Size, Date, Dimensions, XResolution, YResolution, Note };

struct PropertyColumn {
  int column;
  int stringId;     // title in the string table
  const char* key;  // name in a design's property.ini; empty for the note
  int width;        // pixels
  bool rightAligned;
  SortRule rule;
  int sortCommand;  // its string holds the command's prompt
  int copyCommand;
};

// In list-control order: a column's index equals its identity.
const std::array<PropertyColumn, kColumnCount>& GetPropertyColumns();

// The item's text for columns 0 to 18; empty for 19 (read the note field) and any other value.
std::string GetColumnText(int column, const ALBUMITEM& item);

// The column whose title equals title regardless of letter case; -1 when none does.
int GetColumnOfTitle(const std::string& title);

// Title string id of the column a sort or copy command names; 10001 for any other id.
int GetTitleIdOfCommand(int command);

// Sort command of a column; 33001 for column 0 and for any value outside 1 to 19.
int GetSortCommandOfColumn(int column);

// Negative when a sorts before b by the column. Folders come first; zero dimensions and
// resolutions come last in both directions. A column outside 0 to 19 compares by name.
int CompareAlbumItems(const ALBUMITEM& a, const ALBUMITEM& b, int column, bool descending);

// Whether the item's full path names a folder now; the first rule of the comparison.
bool IsFolderItem(const ALBUMITEM& item);

// The same comparison with the folder checks done by the caller. Checking the file system on
// every comparison dominates a sort, so a sort should check each item once and call this.
int CompareAlbumItems(const ALBUMITEM& a, bool aIsFolder, const ALBUMITEM& b, bool bIsFolder,
                      int column, bool descending);

// (EXIF ExposureProgram code, name) in code order.
using ExposureProgramNameTable = std::vector<std::pair<int, std::string>>;

// Built once from the string table on first use; safe to call from any thread.
const ExposureProgramNameTable& GetExposureProgramNameTable();

}  // namespace pictavo
