#include "core/AlbumColumns.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core/StringUtils.h"
#include "tests/core/CoreTestDir.h"

namespace pictavo {
namespace {

int Sign(int value) {
  return (value > 0) - (value < 0);
}

// Every column field set to a text that names it, so a wrong mapping shows.
ALBUMITEM LabelledItem() {
  ALBUMITEM item;
  item.fullPath = "/photos/a.jpg";
  item.name = "c0";
  item.folder = "c1";
  item.sizeText = "c2";
  item.typeText = "c3";
  item.modifiedText = "c4";
  item.createdText = "c5";
  item.accessedText = "c6";
  item.attributesText = "c7";
  item.dateTakenText = "c8";
  item.dimensionsText = "c9";
  item.dateDigitizedText = "c10";
  item.exifDateTimeText = "c11";
  item.cameraMaker = "c12";
  item.cameraModel = "c13";
  item.exifVersion = "c14";
  item.software = "c15";
  item.exposureProgram = "c16";
  item.xResolutionText = "c17";
  item.yResolutionText = "c18";
  item.note = "c19";
  return item;
}

ALBUMITEM Item(const std::string& path) {
  ALBUMITEM item;
  item.fullPath = path;
  item.name = std::filesystem::path(path).filename().string();
  return item;
}

TEST(AlbumColumns, TableHoldsTwentyColumnsInIdentityOrder) {
  const auto& columns = GetPropertyColumns();
  std::set<std::string> keys;
  for (int c = 0; c < kColumnCount; ++c) {
    SCOPED_TRACE(c);
    EXPECT_EQ(columns[c].column, c);
    EXPECT_EQ(columns[c].stringId, 10001 + c);
    EXPECT_EQ(columns[c].sortCommand, 33001 + c);
    EXPECT_EQ(columns[c].copyCommand, 33201 + c);
    EXPECT_EQ(columns[c].rightAligned, c == 2);
    EXPECT_GT(columns[c].width, 0);
    keys.insert(columns[c].key);
  }
  EXPECT_EQ(keys.size(), 20u) << "keys must be distinct";
}

TEST(AlbumColumns, KeysWidthsAndRulesAreThoseDesignsRelyOn) {
  struct Row {
    int column;
    const char* key;
    int width;
    SortRule rule;
  };
  const Row rows[] = {
      {0, "name", 120, SortRule::FileName},
      {1, "folder", 160, SortRule::Text},
      {2, "size", 70, SortRule::Size},
      {3, "type", 105, SortRule::Text},
      {4, "date_modified", 118, SortRule::Date},
      {5, "date_created", 118, SortRule::Date},
      {6, "date_accessed", 118, SortRule::Date},
      {7, "attributes", 40, SortRule::Text},
      {8, "date_taken", 118, SortRule::Date},
      {9, "dimensions", 80, SortRule::Dimensions},
      {10, "datetime_digitized", 118, SortRule::Text},
      {11, "datetime", 118, SortRule::Text},
      {12, "camera_maker", 100, SortRule::Text},
      {13, "camera_model", 100, SortRule::Text},
      {14, "exif_version", 96, SortRule::Text},
      {15, "software_used", 128, SortRule::Text},
      {16, "exif_exposure_prog", 104, SortRule::Text},
      {17, "x_resolution", 120, SortRule::XResolution},
      {18, "y_resolution", 120, SortRule::YResolution},
      {19, "", 160, SortRule::Note},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.column);
    const PropertyColumn& column = GetPropertyColumns()[row.column];
    EXPECT_STREQ(column.key, row.key);
    EXPECT_EQ(column.width, row.width);
    EXPECT_EQ(column.rule, row.rule);
  }
}

TEST(AlbumColumns, ColumnTextMapsEachColumnToItsField) {
  const ALBUMITEM item = LabelledItem();
  for (int c = 0; c <= 18; ++c) {
    EXPECT_EQ(GetColumnText(c, item), "c" + std::to_string(c));
  }
}

TEST(AlbumColumns, ColumnTextIsEmptyForTheNoteAndBadColumns) {
  const ALBUMITEM item = LabelledItem();
  for (int c : {19, -1, 20, 1000, INT32_MIN, INT32_MAX}) {
    EXPECT_EQ(GetColumnText(c, item), "") << c;
  }
}

TEST(AlbumColumns, TitleIdOfCommandCoversSortAndCopyCommandsOnly) {
  struct Row {
    int command;
    int titleId;
  };
  const Row rows[] = {
      {33001, 10001}, {33005, 10005}, {33020, 10020}, {33201, 10001},     {33219, 10019},
      {33220, 10020}, {33000, 10001}, {33021, 10001}, {33200, 10001},     {33221, 10001},
      {0, 10001},     {-1, 10001},    {33101, 10001}, {INT32_MAX, 10001},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(GetTitleIdOfCommand(row.command), row.titleId) << row.command;
  }
}

TEST(AlbumColumns, SortCommandOfColumnFallsBackToTheNameColumn) {
  struct Row {
    int column;
    int command;
  };
  const Row rows[] = {{0, 33001},  {1, 33002},  {9, 33010},        {19, 33020},
                      {-1, 33001}, {20, 33001}, {INT32_MIN, 33001}};
  for (const Row& row : rows) {
    EXPECT_EQ(GetSortCommandOfColumn(row.column), row.command) << row.column;
  }
}

TEST(AlbumColumns, ColumnOfTitleMatchesStringTableTitlesIgnoringCase) {
  if (StringUtils::GetLoadString(10001).empty() || StringUtils::GetLoadString(10015).empty()) {
    GTEST_SKIP() << "the string table does not hold the column titles 10001-10020 yet";
  }
  for (int c = 0; c < kColumnCount; ++c) {
    EXPECT_EQ(GetColumnOfTitle(StringUtils::GetLoadString(10001 + c)), c);
  }
  EXPECT_EQ(GetColumnOfTitle("名前"), 0);
  EXPECT_EQ(GetColumnOfTitle("exif バージョン"), 14);
  EXPECT_EQ(GetColumnOfTitle("Exif バージョン"), 14);
}

TEST(AlbumColumns, ColumnOfUnknownTitleIsMinusOneAndSortsByName) {
  for (const char* title : {"", "名前 ", "No such column", "EXIF", "\xff\xfe"}) {
    EXPECT_EQ(GetColumnOfTitle(title), -1) << title;
  }
  EXPECT_EQ(GetSortCommandOfColumn(GetColumnOfTitle("No such column")), 33001);
}

TEST(AlbumColumns, ExposureProgramTableHoldsNineCodesInOrder) {
  const ExposureProgramNameTable& table = GetExposureProgramNameTable();
  ASSERT_EQ(table.size(), 9u);
  for (int code = 0; code < 9; ++code) {
    EXPECT_EQ(table[code].first, code);
    EXPECT_EQ(table[code].second, StringUtils::GetLoadString(10331 + code));
  }
  EXPECT_EQ(&table, &GetExposureProgramNameTable()) << "built once";
  if (!StringUtils::GetLoadString(10332).empty()) {
    EXPECT_EQ(table[1].second, "手動");
    EXPECT_EQ(table[8].second, "横長");
  }
}

// Sorting by each rule: expected order of the paths, ascending then descending.
struct SortCase {
  const char* name;
  int column;
  std::vector<ALBUMITEM> items;
  std::vector<std::string> ascending;
  std::vector<std::string> descending;
};

std::vector<std::string> SortedPaths(std::vector<ALBUMITEM> items, int column, bool descending) {
  std::stable_sort(items.begin(), items.end(), [&](const ALBUMITEM& a, const ALBUMITEM& b) {
    return CompareAlbumItems(a, b, column, descending) < 0;
  });
  std::vector<std::string> paths;
  for (const auto& item : items) paths.push_back(item.fullPath);
  return paths;
}

ALBUMITEM WithSize(const std::string& path, std::int64_t size) {
  ALBUMITEM item = Item(path);
  item.size = size;
  return item;
}

ALBUMITEM WithDimensions(const std::string& path, int width, int height) {
  ALBUMITEM item = Item(path);
  item.width = width;
  item.height = height;
  return item;
}

ALBUMITEM WithResolution(const std::string& path, int x, int y) {
  ALBUMITEM item = Item(path);
  item.xResolution = x;
  item.yResolution = y;
  return item;
}

ALBUMITEM WithText(const std::string& path, int column, const std::string& text) {
  ALBUMITEM item = Item(path);
  switch (column) {
    case 1:
      item.folder = text;
      break;
    case 4:
      item.modifiedText = text;
      break;
    case 8:
      item.dateTakenText = text;
      break;
    case 10:
      item.dateDigitizedText = text;
      break;
    case 12:
      item.cameraMaker = text;
      break;
    case 19:
      item.note = text;
      break;
    default:
      ADD_FAILURE() << "no text column " << column;
  }
  return item;
}

std::vector<SortCase> SortCases() {
  return {
      {"name in natural order",
       0,
       {Item("/p/IMG_10.jpg"), Item("/p/IMG_2.jpg"), Item("/q/img_1.jpg")},
       {"/q/img_1.jpg", "/p/IMG_2.jpg", "/p/IMG_10.jpg"},
       {"/p/IMG_10.jpg", "/p/IMG_2.jpg", "/q/img_1.jpg"}},
      {"equal sizes by full path in the sort's direction",
       2,
       {WithSize("/p/b.jpg", 10), WithSize("/p/c.jpg", 5), WithSize("/p/a.jpg", 10),
        WithSize("/p/d.jpg", 0)},
       {"/p/d.jpg", "/p/c.jpg", "/p/a.jpg", "/p/b.jpg"},
       {"/p/b.jpg", "/p/a.jpg", "/p/c.jpg", "/p/d.jpg"}},
      {"zero dimensions last both ways, no path tie-break",
       9,
       {WithDimensions("/p/none.txt", 0, 0), WithDimensions("/p/wide.jpg", 4000, 3000),
        WithDimensions("/p/small.jpg", 640, 480), WithDimensions("/p/tall.jpg", 4000, 6000),
        WithDimensions("/p/also-none.txt", 0, 0)},
       {"/p/small.jpg", "/p/wide.jpg", "/p/tall.jpg", "/p/none.txt", "/p/also-none.txt"},
       {"/p/tall.jpg", "/p/wide.jpg", "/p/small.jpg", "/p/none.txt", "/p/also-none.txt"}},
      {"zero horizontal resolution last both ways",
       17,
       {WithResolution("/p/none.jpg", 0, 300), WithResolution("/p/a.jpg", 300, 0),
        WithResolution("/p/b.jpg", 72, 72)},
       {"/p/b.jpg", "/p/a.jpg", "/p/none.jpg"},
       {"/p/a.jpg", "/p/b.jpg", "/p/none.jpg"}},
      {"zero vertical resolution last both ways",
       18,
       {WithResolution("/p/a.jpg", 300, 0), WithResolution("/p/b.jpg", 72, 350),
        WithResolution("/p/c.jpg", 72, 96)},
       {"/p/c.jpg", "/p/b.jpg", "/p/a.jpg"},
       {"/p/b.jpg", "/p/c.jpg", "/p/a.jpg"}},
      {"modified date as a date, ties and empties by path",
       4,
       {WithText("/p/c.jpg", 4, "2008/05/30 15:56:01"), WithText("/p/a.jpg", 4, ""),
        WithText("/p/b.jpg", 4, "2008/05/30 15:56:01"),
        WithText("/p/d.jpg", 4, "2008/5/30 9:00:00")},
       {"/p/a.jpg", "/p/d.jpg", "/p/b.jpg", "/p/c.jpg"},
       {"/p/c.jpg", "/p/b.jpg", "/p/d.jpg", "/p/a.jpg"}},
      {"date taken as a date",
       8,
       {WithText("/p/a.jpg", 8, "2010/01/01 00:00:00"),
        WithText("/p/b.jpg", 8, "2009/12/31 23:59:59")},
       {"/p/b.jpg", "/p/a.jpg"},
       {"/p/a.jpg", "/p/b.jpg"}},
      {"date digitised compares as text, not as a date",
       10,
       {WithText("/p/a.jpg", 10, "2008/5/30 9:00:00"),
        WithText("/p/b.jpg", 10, "2008/05/30 15:56:01")},
       {"/p/b.jpg", "/p/a.jpg"},
       {"/p/a.jpg", "/p/b.jpg"}},
      {"maker ignoring case, equal texts by path",
       12,
       {WithText("/p/c.jpg", 12, "canon"), WithText("/p/a.jpg", 12, "NIKON"),
        WithText("/p/b.jpg", 12, "Canon"), WithText("/p/d.jpg", 12, "")},
       {"/p/d.jpg", "/p/b.jpg", "/p/c.jpg", "/p/a.jpg"},
       {"/p/a.jpg", "/p/c.jpg", "/p/b.jpg", "/p/d.jpg"}},
      {"folder as text",
       1,
       {WithText("/x/b.jpg", 1, "/x"), WithText("/a/b.jpg", 1, "/A")},
       {"/a/b.jpg", "/x/b.jpg"},
       {"/x/b.jpg", "/a/b.jpg"}},
      {"note field, not the empty column text",
       19,
       {WithText("/p/a.jpg", 19, "zebra"), WithText("/p/b.jpg", 19, "Apple"),
        WithText("/p/c.jpg", 19, "apple")},
       {"/p/b.jpg", "/p/c.jpg", "/p/a.jpg"},
       {"/p/a.jpg", "/p/c.jpg", "/p/b.jpg"}},
      {"bad column sorts by name",
       42,
       {Item("/p/b.jpg"), Item("/p/a.jpg")},
       {"/p/a.jpg", "/p/b.jpg"},
       {"/p/b.jpg", "/p/a.jpg"}},
  };
}

TEST(AlbumColumns, SortingByEachRuleGivesTheExpectedOrder) {
  for (const SortCase& sortCase : SortCases()) {
    SCOPED_TRACE(sortCase.name);
    EXPECT_EQ(SortedPaths(sortCase.items, sortCase.column, false), sortCase.ascending);
    EXPECT_EQ(SortedPaths(sortCase.items, sortCase.column, true), sortCase.descending);
  }
}

TEST(AlbumColumns, ComparisonIsAntisymmetricForEveryColumn) {
  std::vector<ALBUMITEM> items = {
      WithSize("/p/a.jpg", 10),          WithDimensions("/p/b.jpg", 0, 0),
      WithResolution("/p/c.jpg", 72, 0), WithText("/p/d.jpg", 4, "2001/01/01 00:00:00"),
      WithText("/p/e.jpg", 19, "note"),  LabelledItem()};
  for (int column = -1; column <= kColumnCount; ++column) {
    for (bool descending : {false, true}) {
      for (const auto& a : items) {
        for (const auto& b : items) {
          EXPECT_EQ(Sign(CompareAlbumItems(a, b, column, descending)),
                    -Sign(CompareAlbumItems(b, a, column, descending)))
              << column << " " << a.fullPath << " | " << b.fullPath;
        }
      }
    }
  }
}

TEST(AlbumColumns, FoldersComeBeforeFilesInBothDirections) {
  coretest::ScratchDir temp;
  ASSERT_FALSE(temp.Path().empty());
  const std::string folderPath = temp.Path() + "/zz folder";
  ASSERT_TRUE(std::filesystem::create_directory(folderPath));
  const ALBUMITEM folder = WithSize(folderPath, 0);
  const ALBUMITEM otherFolder = WithSize(temp.Path(), 99);
  const ALBUMITEM file = WithSize(temp.Path() + "/a.jpg", 5);
  for (int column : {0, 2, 9, 19}) {
    SCOPED_TRACE(column);
    EXPECT_EQ(CompareAlbumItems(folder, file, column, false), -1);
    EXPECT_EQ(CompareAlbumItems(folder, file, column, true), 1);
    EXPECT_EQ(CompareAlbumItems(file, folder, column, false), 1);
    EXPECT_EQ(CompareAlbumItems(file, folder, column, true), -1);
    EXPECT_EQ(CompareAlbumItems(folder, otherFolder, column, false), 0);
  }
  EXPECT_TRUE(IsFolderItem(folder));
  EXPECT_FALSE(IsFolderItem(file)) << "a missing path is no folder";
  EXPECT_FALSE(IsFolderItem(ALBUMITEM{})) << "nor is an empty one";
}

TEST(AlbumColumns, PrecheckedFoldersCompareAsTheFileSystemSays) {
  coretest::ScratchDir temp;
  ASSERT_FALSE(temp.Path().empty());
  ASSERT_TRUE(std::filesystem::create_directory(temp / "sub"));
  coretest::WriteBytes(temp / "b.jpg", "x");
  const std::vector<ALBUMITEM> items = {WithSize(temp / "sub", 3), WithSize(temp / "b.jpg", 1),
                                        WithSize(temp / "a.jpg", 1), WithSize(temp.Path(), 2)};
  for (int column : {0, 2, 9, 12}) {
    for (bool descending : {false, true}) {
      for (const auto& a : items) {
        for (const auto& b : items) {
          EXPECT_EQ(CompareAlbumItems(a, IsFolderItem(a), b, IsFolderItem(b), column, descending),
                    CompareAlbumItems(a, b, column, descending))
              << column << " " << a.fullPath << " | " << b.fullPath;
        }
      }
    }
  }
}

}  // namespace
}  // namespace pictavo
