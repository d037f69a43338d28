#include "items/ListCommands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/AlbumColumns.h"
#include "items/ItemList.h"
#include "support/Fixtures.h"
#include "support/RecordingHost.h"

namespace pictavo {
namespace {

namespace fs = std::filesystem;
using namespace ListCommand;
using testing::RecordingHost;

ALBUMITEM NamedItem(const std::string& name) {
  ALBUMITEM item;
  item.fullPath = "/nowhere/photos/" + name;
  item.name = name;
  item.folder = "/nowhere/photos";
  item.sizeText = "1 KB";
  item.dimensionsText = "640 x 480";
  return item;
}

ItemList ListOf(const std::vector<std::string>& names) {
  ItemList list;
  for (const auto& name : names) list.InsertRow(list.AddItem(NamedItem(name)));
  return list;
}

std::vector<std::string> RowNames(const ItemList& list) {
  std::vector<std::string> names;
  for (int row = 0; row < list.RowCount(); ++row) names.push_back(list.RowItem(row).name);
  return names;
}

TEST(ListCommandEnabling, FollowsRowsAndHighlight) {
  struct Row {
    int command;
    bool empty, none, first, middle, last, two;
  };
  // empty list; three rows with nothing, the first, the middle, the last, or two highlighted
  const Row rows[] = {
      {kCheck, false, false, true, true, true, true},
      {kUncheck, false, false, true, true, true, true},
      {kRemove, false, false, true, true, true, true},
      {kCheckAll, false, true, true, true, true, true},
      {kUncheckAll, false, true, true, true, true, true},
      {kInvert, false, true, true, true, true, true},
      {kRemoveAll, false, true, true, true, true, true},
      {kMoveUp, false, false, false, true, true, false},
      {kMoveDown, false, false, true, true, false, false},
      {kOpen, false, false, true, true, true, true},
      {kOpenFileLocation, false, false, true, true, true, false},
      {kOpenFolderLocation, false, false, true, true, true, false},
      {kProperties, false, false, true, true, true, false},
      {kCopyPaths, false, false, true, true, true, true},
      {kCopyAll, false, false, true, true, true, true},
      {kFirstCopyCommand, false, false, true, true, true, true},
      {kFirstCopyCommand + 19, false, false, true, true, true, true},
      {kFirstSortCommand, true, true, true, true, true, true},
      {kFirstSortCommand + 19, true, true, true, true, true, true},
      {kSortAscending, true, true, true, true, true, true},
      {kSortDescending, true, true, true, true, true, true},
      {kGridlines, true, true, true, true, true, true},
      {kAlternatingRows, true, true, true, true, true, true},
      {kAutoSizeAllColumns, true, true, true, true, true, true},
      {kFirstSortCommand + 20, false, false, false, false, false, false},
      {kFirstCopyCommand + 20, false, false, false, false, false, false},
      {kFirstCopyCommand - 1, false, false, false, false, false, false},
      {0, false, false, false, false, false, false},
  };
  const ItemList empty;
  const ItemList three = ListOf({"a", "b", "c"});
  for (const Row& r : rows) {
    SCOPED_TRACE(r.command);
    EXPECT_EQ(IsListCommandEnabled(r.command, empty, {{0}, {}}), r.empty);
    EXPECT_EQ(IsListCommandEnabled(r.command, three, {{}, {}}), r.none);
    EXPECT_EQ(IsListCommandEnabled(r.command, three, {{0}, {}}), r.first);
    EXPECT_EQ(IsListCommandEnabled(r.command, three, {{1, 1}, {}}), r.middle);
    EXPECT_EQ(IsListCommandEnabled(r.command, three, {{2, 7}, {}}), r.last);
    EXPECT_EQ(IsListCommandEnabled(r.command, three, {{0, 2}, {}}), r.two);
  }
}

TEST(ListCommandRun, TickCommandsChangeTicksAndCounts) {
  ItemList list = ListOf({"a", "b", "c"});
  RecordingHost host;
  Settings settings;
  ListCommandResult r = ExecuteListCommand(kCheck, list, {{0, 2}, {}}, host, settings);
  EXPECT_TRUE(r.handled);
  EXPECT_TRUE(r.countsChanged);
  EXPECT_EQ(list.CheckedCount(), 2);
  ExecuteListCommand(kUncheck, list, {{2}, {}}, host, settings);
  EXPECT_EQ(list.CheckedItemIndexes(), std::vector<int>{0});
  ExecuteListCommand(kInvert, list, {}, host, settings);
  EXPECT_EQ(list.CheckedItemIndexes(), (std::vector<int>{1, 2}));
  ExecuteListCommand(kCheckAll, list, {}, host, settings);
  EXPECT_EQ(list.CheckedCount(), 3);
  ExecuteListCommand(kUncheckAll, list, {}, host, settings);
  EXPECT_EQ(list.CheckedCount(), 0);
}

TEST(ListCommandRun, RemoveKeepsItemsAndDeleteAllEmptiesThem) {
  ItemList list = ListOf({"a", "b", "c"});
  list.SetRowNote(2, "note of c");
  list.SetRowChecked(2, true);
  RecordingHost host;
  Settings settings;
  ListCommandResult r = ExecuteListCommand(kRemove, list, {{1, 0}, {}}, host, settings);
  EXPECT_TRUE(r.handled);
  EXPECT_TRUE(r.highlighted.empty());
  EXPECT_EQ(r.detailsRow, -1);
  EXPECT_EQ(RowNames(list), std::vector<std::string>{"c"});
  EXPECT_EQ(list.RowItem(0).note, "note of c");
  EXPECT_TRUE(list.IsRowChecked(0));
  EXPECT_EQ(list.Items().size(), 3u);

  r = ExecuteListCommand(kRemoveAll, list, {}, host, settings);
  EXPECT_TRUE(r.handled);
  EXPECT_TRUE(list.Items().empty());
  EXPECT_EQ(list.AddItem(NamedItem("d")), 0);
  r = ExecuteListCommand(kRemoveAll, list, {}, host, settings);
  EXPECT_FALSE(r.handled);  // no rows: disabled
}

TEST(ListCommandRun, MovesFollowTheRowAndDisabledMovesDoNothing) {
  ItemList list = ListOf({"a", "b", "c"});
  RecordingHost host;
  Settings settings;
  ListCommandResult r = ExecuteListCommand(kMoveUp, list, {{2}, {}}, host, settings);
  EXPECT_EQ(r.highlighted, std::vector<int>{1});
  EXPECT_EQ(RowNames(list), (std::vector<std::string>{"a", "c", "b"}));
  r = ExecuteListCommand(kMoveUp, list, {{0}, {}}, host, settings);
  EXPECT_FALSE(r.handled);
  EXPECT_EQ(r.highlighted, std::vector<int>{0});
  r = ExecuteListCommand(kMoveDown, list, {{0, 1}, {}}, host, settings);
  EXPECT_FALSE(r.handled);
  r = ExecuteListCommand(kMoveDown, list, {{0}, {}}, host, settings);
  EXPECT_EQ(r.highlighted, std::vector<int>{1});
  EXPECT_EQ(RowNames(list), (std::vector<std::string>{"c", "a", "b"}));
}

TEST(ListCommandClipboard, FilePathsEndEveryLineWithCrLf) {
  ItemList list = ListOf({"a.jpg", "b, \"c\".jpg", "d.jpg"});
  EXPECT_EQ(GetFilePathsText(list, {2, 0, 9}),
            "/nowhere/photos/a.jpg\r\n/nowhere/photos/d.jpg\r\n");
  EXPECT_EQ(GetFilePathsText(list, {1}), "/nowhere/photos/b, \"c\".jpg\r\n");
  EXPECT_EQ(GetFilePathsText(list, {}), "");
  RecordingHost host;
  Settings settings;
  host.m_clipboard = "old";
  ExecuteListCommand(kCopyPaths, list, {{1, 2}, {}}, host, settings);
  EXPECT_EQ(host.m_clipboard, "/nowhere/photos/b, \"c\".jpg\r\n/nowhere/photos/d.jpg\r\n");
}

TEST(ListCommandClipboard, CopyAllFollowsTheDisplayOrderAfterAColumnMoved) {
  ItemList list = ListOf({"a.jpg", "say \"hi\".jpg", "c.jpg"});
  list.SetRowNote(1, "two\r\nlines");
  // The note column dragged to the front, the size column after the name; the rest dropped
  // from this order are hostile values that must be ignored.
  const std::vector<int> order = {19, 0, 2, 0, -1, 20};
  EXPECT_EQ(GetAllColumnsText(list, {2, 1}, order),
            "\"メモ\",\"名前\",\"サイズ\"\r\n"
            "\"two\r\nlines\",\"say \"\"hi\"\".jpg\",\"1 KB\"\r\n"
            "\"\",\"c.jpg\",\"1 KB\"\r\n");
  EXPECT_EQ(GetAllColumnsText(list, {}, order), "");

  const std::string all = GetAllColumnsText(list, {0}, {});
  const std::string header = all.substr(0, all.find("\r\n"));
  EXPECT_EQ(header.rfind("\"名前\",\"フォルダー\",\"サイズ\",", 0), 0u) << header;
  const std::string tail = ",\"垂直方向の解像度\",\"メモ\"";
  EXPECT_EQ(header.substr(header.size() - tail.size()), tail);
  EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 2);

  RecordingHost host;
  Settings settings;
  ExecuteListCommand(kCopyAll, list, {{0, 2}, {0, 9}}, host, settings);
  EXPECT_EQ(host.m_clipboard,
            "\"名前\",\"大きさ\"\r\n\"a.jpg\",\"640 x 480\"\r\n\"c.jpg\",\"640 x 480\"\r\n");
}

TEST(ListCommandClipboard, CopyColumnGivesOneLinePerHighlightedRow) {
  ItemList list = ListOf({"a.jpg", "b.jpg"});
  list.SetRowNote(0, "memo");
  RecordingHost host;
  Settings settings;
  ExecuteListCommand(kFirstCopyCommand + 0, list, {{1, 0}, {}}, host, settings);
  EXPECT_EQ(host.m_clipboard, "a.jpg\r\nb.jpg\r\n");
  ExecuteListCommand(kFirstCopyCommand + 19, list, {{0, 1}, {}}, host, settings);
  EXPECT_EQ(host.m_clipboard, "memo\r\n\r\n");
  EXPECT_EQ(GetAddTwiceDoubleQuotesString(""), "\"\"");
  EXPECT_EQ(GetAddTwiceDoubleQuotesString("\"\""), "\"\"\"\"\"\"");
}

TEST(ListCommandRun, OpenEachHighlightedFileAndReportFailures) {
  ItemList list = ListOf({"a.jpg", "b.jpg", "c.jpg"});
  RecordingHost host;
  Settings settings;
  ExecuteListCommand(kOpen, list, {{2, 0}, {}}, host, settings);
  EXPECT_EQ(host.m_opened,
            (std::vector<std::string>{"/nowhere/photos/a.jpg", "/nowhere/photos/c.jpg"}));
  EXPECT_TRUE(host.m_messages.empty());
  host.m_openSucceeds = false;
  ExecuteListCommand(kOpen, list, {{1, 2}, {}}, host, settings);
  EXPECT_EQ(host.MessageTexts(),
            (std::vector<std::string>{"no program is associated", "no program is associated"}));
}

TEST(ListCommandRun, OpenLocationOpensTheFolderOfAnExistingFile) {
  testing::TempDir temp;
  const fs::path& dir = temp.Path();
  fs::create_directory(dir / "sub");
  ItemList list;
  ALBUMITEM file;
  file.fullPath = (dir / "a.jpg").string();
  std::ofstream(file.fullPath) << "x";
  ALBUMITEM folder;
  folder.fullPath = (dir / "sub").string();
  list.InsertRow(list.AddItem(file));
  list.InsertRow(list.AddItem(folder));
  list.InsertRow(list.AddItem(NamedItem("gone.jpg")));
  RecordingHost host;
  Settings settings;
  ExecuteListCommand(kOpenFileLocation, list, {{0}, {}}, host, settings);
  ExecuteListCommand(kOpenFolderLocation, list, {{2}, {}}, host, settings);  // missing: nothing
  EXPECT_EQ(host.m_opened, std::vector<std::string>{dir.string()});
  host.m_openSucceeds = false;
  ExecuteListCommand(kOpenFolderLocation, list, {{1}, {}}, host, settings);
  ASSERT_EQ(host.m_messages.size(), 1u);
  EXPECT_EQ(host.m_messages[0].icon, MessageIcon::Error);

  EXPECT_EQ(GetRowMenuItemsToRemove(list, {0}), std::vector<int>{kOpenFolderLocation});
  EXPECT_EQ(GetRowMenuItemsToRemove(list, {1}), std::vector<int>{kOpenFileLocation});
  EXPECT_EQ(GetRowMenuItemsToRemove(list, {0, 1}),
            (std::vector<int>{kOpenFileLocation, kOpenFolderLocation}));
}

// Four items whose rank in every column is known; for dimensions and resolutions the item of
// rank 3 has no value and must come last in both directions.
void SetRank(ALBUMITEM& item, int column, int rank) {
  static const char* const kTexts[] = {"alpha", "Bravo", "charlie", "Delta"};
  static const char* const kNames[] = {"a1.jpg", "a2.jpg", "a10.jpg", "b.jpg"};
  static const char* const kDates[] = {"2019/12/31 23:59:59", "2020/01/01 00:00:00",
                                       "2020/01/01 00:00:01", "2021/06/15 12:00:00"};
  static const std::int64_t kSizes[] = {5, 100, 2000, std::int64_t{1} << 40};
  static const int kWidths[] = {640, 1024, 1024, 0};
  static const int kHeights[] = {480, 768, 1024, 0};
  static const int kResolutions[] = {72, 96, 300, 0};
  switch (column) {
    case 0:
      item.name = kNames[rank];
      break;
    case 1:
      item.folder = kTexts[rank];
      break;
    case 2:
      item.size = kSizes[rank];
      break;
    case 3:
      item.typeText = kTexts[rank];
      break;
    case 4:
      item.modifiedText = kDates[rank];
      break;
    case 5:
      item.createdText = kDates[rank];
      break;
    case 6:
      item.accessedText = kDates[rank];
      break;
    case 7:
      item.attributesText = kTexts[rank];
      break;
    case 8:
      item.dateTakenText = kDates[rank];
      break;
    case 9:
      item.width = kWidths[rank];
      item.height = kHeights[rank];
      break;
    case 10:
      item.dateDigitizedText = kTexts[rank];
      break;
    case 11:
      item.exifDateTimeText = kTexts[rank];
      break;
    case 12:
      item.cameraMaker = kTexts[rank];
      break;
    case 13:
      item.cameraModel = kTexts[rank];
      break;
    case 14:
      item.exifVersion = kTexts[rank];
      break;
    case 15:
      item.software = kTexts[rank];
      break;
    case 16:
      item.exposureProgram = kTexts[rank];
      break;
    case 17:
      item.xResolution = kResolutions[rank];
      break;
    case 18:
      item.yResolution = kResolutions[rank];
      break;
    case 19:
      item.note = kTexts[rank];
      break;
  }
}

TEST(ListCommandSort, EveryRuleInBothDirectionsWithEmptyValuesLast) {
  const auto rankOf = [](int item, int column) { return (item * 3 + column) % 4; };
  for (int column = 0; column < kColumnCount; ++column) {
    ItemList list;
    for (int i = 0; i < 4; ++i) {
      ALBUMITEM item;
      item.fullPath = "/nowhere/item" + std::to_string(i);
      for (int c = 0; c < kColumnCount; ++c) SetRank(item, c, rankOf(i, c));
      list.InsertRow(list.AddItem(item));
    }
    const bool emptyLast = column == 9 || column == 17 || column == 18;
    for (bool descending : {false, true}) {
      SCOPED_TRACE("column " + std::to_string(column) + (descending ? " descending" : ""));
      list.SetSort(column, descending);
      RecordingHost host;
      ASSERT_TRUE(SortItemList(list, host));
      std::vector<int> ranks;
      for (int row = 0; row < 4; ++row) ranks.push_back(rankOf(list.RowItemIndex(row), column));
      std::vector<int> expected = {0, 1, 2, 3};
      if (descending)
        expected = emptyLast ? std::vector<int>{2, 1, 0, 3} : std::vector<int>{3, 2, 1, 0};
      EXPECT_EQ(ranks, expected);
    }
  }
}

TEST(ListCommandSort, FoldersComeFirstAscendingAndLastDescending) {
  testing::TempDir temp;
  fs::create_directory(temp / "zz");
  ItemList list = ListOf({"b.jpg", "a.jpg"});
  ALBUMITEM folder;
  folder.fullPath = temp.File("zz");
  folder.name = "zz";
  list.InsertRow(list.AddItem(folder));
  RecordingHost host;
  list.SetSort(0, false);
  ASSERT_TRUE(SortItemList(list, host));
  EXPECT_EQ(RowNames(list), (std::vector<std::string>{"zz", "a.jpg", "b.jpg"}));
  list.SetSort(2, true);
  ASSERT_TRUE(SortItemList(list, host));
  EXPECT_EQ(RowNames(list).back(), "zz");
}

TEST(ListCommandSort, CommandsAndHeaderClicksChooseAndSort) {
  ItemList list = ListOf({"b.jpg", "a10.jpg", "a2.jpg"});
  RecordingHost host;
  Settings settings;
  ASSERT_TRUE(SortItemListByColumnClick(list, 0, host));  // column 0 is current: toggles
  EXPECT_TRUE(list.IsSortDescending());
  EXPECT_EQ(RowNames(list), (std::vector<std::string>{"b.jpg", "a10.jpg", "a2.jpg"}));
  ExecuteListCommand(kSortAscending, list, {}, host, settings);
  EXPECT_EQ(RowNames(list), (std::vector<std::string>{"a2.jpg", "a10.jpg", "b.jpg"}));
  EXPECT_EQ(GetSortDirectionCommand(list), kSortAscending);
  ExecuteListCommand(kFirstSortCommand, list, {}, host, settings);
  EXPECT_EQ(RowNames(list), (std::vector<std::string>{"b.jpg", "a10.jpg", "a2.jpg"}));
  EXPECT_EQ(GetSortDirectionCommand(list), kSortDescending);
  EXPECT_TRUE(IsListCommandChecked(kSortDescending, list, settings));
  EXPECT_TRUE(IsListCommandChecked(kFirstSortCommand, list, settings));
  EXPECT_FALSE(IsListCommandChecked(kFirstSortCommand + 1, list, settings));
  ASSERT_EQ(host.m_progressWindows.size(), 3u);
  EXPECT_EQ(host.m_progressWindows[2]->m_texts[0].at(0),
            "項目を並べ替えています。お待ちください。");
}

TEST(ListCommandSort, CancelledSortIsReportedAndKeepsEveryRow) {
  std::vector<std::string> names;
  for (int i = 0; i < 200; ++i) names.push_back("img" + std::to_string((i * 37) % 200) + ".jpg");
  ItemList list = ListOf(names);
  RecordingHost host;
  host.m_onProgressWindow = [](testing::RecordingProgressWindow& w) { w.Cancel(); };
  Settings settings;
  const ListCommandResult r = ExecuteListCommand(kFirstSortCommand + 0, list, {}, host, settings);
  EXPECT_TRUE(r.handled);
  EXPECT_FALSE(r.sortCompleted);
  EXPECT_EQ(RowNames(list), names);  // cancelled before the first comparison
}

TEST(ListCommandMenus, SubmenusFollowTheDisplayOrderAndCheckTheSortColumn) {
  ItemList list;
  list.SetSort(2, true);
  const std::vector<ListMenuItem> sort = BuildSortMenuItems(list, {2, 0, 19});
  ASSERT_EQ(sort.size(), 3u);
  EXPECT_EQ(sort[0].command, 33003);
  EXPECT_EQ(sort[0].text, "サイズ");
  EXPECT_TRUE(sort[0].checked);
  EXPECT_EQ(sort[1].command, 33001);
  EXPECT_FALSE(sort[1].checked);
  EXPECT_EQ(sort[2].text, "メモ");
  const std::vector<ListMenuItem> copy = BuildCopyMenuItems({});
  ASSERT_EQ(copy.size(), 20u);
  EXPECT_EQ(copy[9].command, 33210);
  EXPECT_EQ(copy[9].text, "大きさ");
  EXPECT_EQ(GetListCommandText(kCheck), "選択(&S)");
  EXPECT_EQ(GetListCommandText(33205), "更新日時");
  EXPECT_EQ(GetListCommandText(1), "");
}

TEST(ListCommandRun, ViewTogglesFlipTheirSettings) {
  ItemList list;
  RecordingHost host;
  Settings settings;
  for (int command : {kGridlines, kAlternatingRows}) {
    EXPECT_FALSE(IsListCommandChecked(command, list, settings));
    EXPECT_TRUE(ExecuteListCommand(command, list, {}, host, settings).handled);
    EXPECT_TRUE(IsListCommandChecked(command, list, settings));
    ExecuteListCommand(command, list, {}, host, settings);
    EXPECT_FALSE(IsListCommandChecked(command, list, settings));
  }
  EXPECT_FALSE(ExecuteListCommand(kAutoSizeAllColumns, list, {}, host, settings).handled);
}

TEST(ListCommandView, CtrlAHighlightsEveryRowUntilAQuit) {
  const ItemList list = ListOf({"a", "b", "c", "d"});
  RecordingHost host;
  EXPECT_EQ(HighlightAllRows(list, host), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(host.m_pump.m_calls, 4);
  RecordingHost quitting;
  quitting.m_pump.m_quitAt = {3};
  EXPECT_EQ(HighlightAllRows(list, quitting), (std::vector<int>{0, 1}));
  EXPECT_TRUE(HighlightAllRows(ItemList(), host).empty());
}

TEST(ListCommandView, AlternatingRowsStartWithTheOddColour) {
  Settings settings;
  settings.Layout.AlternatingRowColorsTextBkOdd = 0x112233;
  settings.Layout.AlternatingRowColorsTextBkEven = 0x445566;
  EXPECT_FALSE(GetAlternatingRowColor(0, settings).has_value());
  settings.Layout.ShowAlternatingRowColors = 1;
  const std::pair<int, std::optional<COLORREF>> rows[] = {
      {0, 0x112233}, {1, 0x445566}, {2, 0x112233}, {7, 0x445566}, {-1, std::nullopt}};
  for (const auto& [row, colour] : rows) EXPECT_EQ(GetAlternatingRowColor(row, settings), colour);
}

}  // namespace
}  // namespace pictavo
