#include "items/ItemList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/RecordingHost.h"

namespace pictavo {
namespace {

using testing::RecordingHost;

ALBUMITEM Item(const std::string& name, const std::string& note = "") {
  ALBUMITEM item;
  item.fullPath = "/photos/" + name;
  item.name = name;
  item.folder = "/photos";
  item.note = note;
  return item;
}

// A list with one row per name, in the given order, nothing ticked.
ItemList ListOf(const std::vector<std::string>& names) {
  ItemList list;
  for (const auto& name : names) list.InsertRow(list.AddItem(Item(name)));
  return list;
}

std::vector<std::string> RowNames(const ItemList& list) {
  std::vector<std::string> names;
  for (int row = 0; row < list.RowCount(); ++row) names.push_back(list.RowItem(row).name);
  return names;
}

std::vector<bool> RowTicks(const ItemList& list) {
  std::vector<bool> ticks;
  for (int row = 0; row < list.RowCount(); ++row) ticks.push_back(list.IsRowChecked(row));
  return ticks;
}

int CompareNames(const ALBUMITEM& a, const ALBUMITEM& b) {
  return a.name.compare(b.name);
}

TEST(ItemListRows, BadRowsAndIndexesGiveNothing) {
  ItemList list = ListOf({"a.jpg", "b.jpg"});
  for (int bad : {-1, 2, 1000, -1000}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(list.RowItemIndex(bad), -1);
    EXPECT_EQ(list.RowItem(bad).fullPath, "");
    EXPECT_EQ(list.ItemAt(bad).name, "");
    EXPECT_FALSE(list.IsRowChecked(bad));
    EXPECT_EQ(list.InsertRow(bad), -1);
    EXPECT_FALSE(list.SetRowNote(bad, "x"));
    list.SetRowChecked(bad, true);
  }
  EXPECT_EQ(list.RowCount(), 2);
  EXPECT_EQ(list.CheckedCount(), 0);
}

TEST(ItemListRows, InsertRowOnEmptyArrayFails) {
  ItemList list;
  EXPECT_EQ(list.InsertRow(0), -1);
  EXPECT_TRUE(list.IsEmpty());
}

TEST(ItemListRows, ClearRestartsItemIndexesAtZero) {
  ItemList list = ListOf({"a.jpg", "b.jpg"});
  list.Clear();
  EXPECT_TRUE(list.Items().empty());
  EXPECT_EQ(list.RowCount(), 0);
  EXPECT_EQ(list.AddItem(Item("c.jpg")), 0);
}

TEST(ItemListRows, TwoRowsMayShowOneItem) {
  ItemList list = ListOf({"a.jpg"});
  EXPECT_EQ(list.InsertRow(0), 1);
  EXPECT_EQ(list.RowItemIndex(0), list.RowItemIndex(1));
}

TEST(ItemListTicks, HostileHighlightRowsAreIgnored) {
  struct Row {
    std::vector<int> highlighted;
    std::vector<bool> ticks;
  };
  const Row rows[] = {
      {{}, {false, false, false, false}},
      {{1}, {false, true, false, false}},
      {{3, 0}, {true, false, false, true}},
      {{2, 2, 2}, {false, false, true, false}},
      {{-1, 4, 99, 1}, {false, true, false, false}},
      {{-5}, {false, false, false, false}},
  };
  for (const Row& r : rows) {
    ItemList list = ListOf({"a", "b", "c", "d"});
    list.CheckRows(r.highlighted, true);
    EXPECT_EQ(RowTicks(list), r.ticks);
    list.CheckRows(r.highlighted, false);
    EXPECT_EQ(list.CheckedCount(), 0);
  }
}

TEST(ItemListTicks, AllNoneAndInvert) {
  ItemList list = ListOf({"a", "b", "c"});
  list.SetRowChecked(1, true);
  list.InvertAllRows();
  EXPECT_EQ(RowTicks(list), (std::vector<bool>{true, false, true}));
  EXPECT_EQ(list.CheckedCount(), 2);
  EXPECT_EQ(list.CheckedItemIndexes(), (std::vector<int>{0, 2}));
  list.CheckAllRows(false);
  EXPECT_FALSE(list.IsAnyRowChecked());
  list.CheckAllRows(true);
  EXPECT_EQ(list.CheckedCount(), 3);
}

TEST(ItemListTicks, SpaceTakesTheNewStateOfTheFirstHighlightedRowInListOrder) {
  struct Row {
    std::vector<bool> before;
    std::vector<int> highlighted;
    bool handled;
    std::vector<bool> after;
  };
  const Row rows[] = {
      {{false, true, true}, {2, 0}, true, {true, true, true}},
      {{true, false, false}, {0, 1}, true, {false, false, false}},
      {{false, true, false}, {1, 2}, true, {false, false, false}},
      {{false, false, false}, {}, false, {false, false, false}},
      {{false, false, false}, {7}, false, {false, false, false}},
  };
  for (const Row& r : rows) {
    ItemList list = ListOf({"a", "b", "c"});
    for (int i = 0; i < 3; ++i) list.SetRowChecked(i, r.before[i]);
    EXPECT_EQ(list.ToggleRowsByKey(r.highlighted), r.handled);
    EXPECT_EQ(RowTicks(list), r.after);
  }
}

TEST(ItemListTicks, CheckBoxClickOnOneOfSeveralHighlightedRowsAppliesToAll) {
  struct Row {
    int clicked;
    std::vector<int> highlighted;
    bool ctrl;
    bool handled;
    std::vector<bool> after;  // rows start: false, true, false
  };
  const Row rows[] = {
      {0, {0, 1}, false, true, {true, true, false}},
      {1, {0, 1, 2}, false, true, {false, false, false}},
      {0, {0, 1}, true, false, {true, true, false}},
      {2, {0, 1}, false, false, {false, true, true}},
      {1, {1}, false, false, {false, false, false}},
      {1, {1, 1}, false, false, {false, false, false}},
      {9, {0, 1}, false, false, {false, true, false}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.clicked);
    ItemList list = ListOf({"a", "b", "c"});
    list.SetRowChecked(1, true);
    EXPECT_EQ(list.ClickCheckBox(r.clicked, r.highlighted, r.ctrl), r.handled);
    EXPECT_EQ(RowTicks(list), r.after);
  }
}

TEST(ItemListRemove, RemainingRowsKeepTheirItemsNotesAndTicks) {
  ItemList list = ListOf({"a", "b", "c", "d"});
  list.SetRowNote(0, "first");
  list.SetRowNote(2, "third");
  list.SetRowChecked(2, true);
  list.SetRowChecked(3, true);
  EXPECT_EQ(list.RemoveRows({1, 3, 1, 42}), 2);
  EXPECT_EQ(RowNames(list), (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(RowTicks(list), (std::vector<bool>{false, true}));
  EXPECT_EQ(list.RowItem(0).note, "first");
  EXPECT_EQ(list.RowItem(1).note, "third");
  EXPECT_EQ(list.RowItemIndex(1), 2);
  EXPECT_EQ(list.Items().size(), 4u);
  EXPECT_EQ(list.RemoveRows({}), 0);
}

TEST(ItemListMove, RowsMoveWithTickAndItemWithinBounds) {
  ItemList list = ListOf({"a", "b", "c"});
  list.SetRowChecked(0, true);
  EXPECT_FALSE(list.CanMoveUp(0));
  EXPECT_EQ(list.MoveRowUp(0), -1);
  EXPECT_EQ(list.MoveRowDown(0), 1);
  EXPECT_EQ(RowNames(list), (std::vector<std::string>{"b", "a", "c"}));
  EXPECT_EQ(RowTicks(list), (std::vector<bool>{false, true, false}));
  EXPECT_EQ(list.MoveRowDown(1), 2);
  EXPECT_FALSE(list.CanMoveDown(2));
  EXPECT_EQ(list.MoveRowDown(2), -1);
  EXPECT_EQ(list.MoveRowUp(2), 1);
  EXPECT_EQ(list.MoveRowUp(-1), -1);
  EXPECT_EQ(list.MoveRowDown(3), -1);
  EXPECT_EQ(RowNames(list), (std::vector<std::string>{"b", "a", "c"}));
}

TEST(ItemListNotes, NoteBoxWritesToTheFirstHighlightedRowOnly) {
  ItemList list = ListOf({"a", "b"});
  EXPECT_FALSE(list.UpdateNoteOfHighlightedRow({}, "lost"));
  EXPECT_FALSE(list.UpdateNoteOfHighlightedRow({5}, "lost"));
  EXPECT_EQ(list.Items()[0].note, "");
  EXPECT_TRUE(list.UpdateNoteOfHighlightedRow({1, 0}, "line1\r\nline2"));
  EXPECT_EQ(list.Items()[0].note, "line1\r\nline2");
  EXPECT_EQ(list.Items()[1].note, "");
  EXPECT_TRUE(list.UpdateNoteOfHighlightedRow({0}, ""));
  EXPECT_EQ(list.Items()[0].note, "");
}

TEST(ItemListSortChoice, ClicksAndCommandsFollowTheChoosingRules) {
  struct Step {
    char kind;  // 'c' column click, 's' sort command, 'a' ascending, 'd' descending
    int value;
    int column;
    bool descending;
  };
  const Step steps[] = {
      {'c', 0, 0, true},      {'c', 0, 0, false},    {'c', 3, 3, false},      {'c', 3, 3, true},
      {'s', 33004, 3, false}, {'s', 33004, 3, true}, {'s', 33010, 9, false},  {'d', 0, 9, true},
      {'s', 33010, 9, false}, {'a', 0, 9, false},    {'s', 12345, 0, false},  {'s', 33001, 0, true},
      {'c', 20, 0, true},     {'c', -1, 0, true},    {'s', 33020, 19, false},
  };
  ItemList list;
  for (const Step& s : steps) {
    SCOPED_TRACE(std::string(1, s.kind) + std::to_string(s.value));
    if (s.kind == 'c') list.ChooseSortByColumnClick(s.value);
    if (s.kind == 's') list.ChooseSortByCommand(s.value);
    if (s.kind == 'a') list.ChooseSortDirection(false);
    if (s.kind == 'd') list.ChooseSortDirection(true);
    EXPECT_EQ(list.SortColumn(), s.column);
    EXPECT_EQ(list.IsSortDescending(), s.descending);
  }
}

TEST(ItemListSort, SortsStablyWithTheSortingTextAndOnePumpPerComparison) {
  ItemList list = ListOf({"d", "b", "a", "b", "c"});
  list.SetRowChecked(0, true);  // "d"
  list.SetRowChecked(3, true);  // second "b"
  RecordingHost host;
  int comparisons = 0;
  const bool done = list.SortRows(
      [&](const ALBUMITEM& a, const ALBUMITEM& b) {
        ++comparisons;
        return CompareNames(a, b);
      },
      host);
  EXPECT_TRUE(done);
  EXPECT_EQ(RowNames(list), (std::vector<std::string>{"a", "b", "b", "c", "d"}));
  EXPECT_EQ(RowTicks(list), (std::vector<bool>{false, false, true, false, true}));
  EXPECT_EQ(list.RowItemIndex(1), 1);  // equal names keep their order
  EXPECT_EQ(list.RowItemIndex(2), 3);
  EXPECT_GT(comparisons, 0);
  EXPECT_EQ(host.m_pump.m_calls, comparisons);
  ASSERT_EQ(host.m_progressWindows.size(), 1u);
  EXPECT_EQ(host.m_progressWindows[0]->m_texts[0],
            std::vector<std::string>{"項目を並べ替えています。お待ちください。"});
  EXPECT_TRUE(host.m_progressWindows[0]->m_destroyed);
}

std::vector<std::string> ShuffledNames(int count) {
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) names.push_back(std::to_string((i * 7919) % count + 1000));
  return names;
}

void ExpectPermutationOf(const ItemList& list, std::vector<std::string> names) {
  std::vector<std::string> got = RowNames(list);
  std::sort(got.begin(), got.end());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(got, names);
  std::vector<int> indexes;
  for (int row = 0; row < list.RowCount(); ++row) indexes.push_back(list.RowItemIndex(row));
  std::sort(indexes.begin(), indexes.end());
  for (int i = 0; i < static_cast<int>(indexes.size()); ++i) EXPECT_EQ(indexes[i], i);
}

TEST(ItemListSort, CancelOrQuitMidSortLeavesAPartlySortedPermutation) {
  const std::vector<std::string> names = ShuffledNames(300);
  for (const char* how : {"cancel", "quit"}) {
    SCOPED_TRACE(how);
    ItemList list = ListOf(names);
    RecordingHost host;
    testing::RecordingProgressWindow* window = nullptr;
    host.m_onProgressWindow = [&](testing::RecordingProgressWindow& w) { window = &w; };
    host.m_pump.m_hook = [&](int call) {
      if (call == 400 && std::string(how) == "cancel") window->Cancel();
      return !(call == 400 && std::string(how) == "quit");
    };
    EXPECT_FALSE(list.SortRows(CompareNames, host));
    ExpectPermutationOf(list, names);
    std::vector<std::string> sorted = names;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_NE(RowNames(list), sorted);
    EXPECT_NE(RowNames(list), names);
    EXPECT_LE(host.m_pump.m_calls, 401);
  }
}

TEST(ItemListSort, ListChangedByAPumpedMessageDropsTheSortResult) {
  ItemList list = ListOf(ShuffledNames(50));
  RecordingHost host;
  host.m_pump.m_hook = [&](int call) {
    if (call == 10) list.Clear();
    return true;
  };
  EXPECT_FALSE(list.SortRows(CompareNames, host));
  EXPECT_EQ(list.RowCount(), 0);
}

TEST(ItemListSort, TicksChangedDuringTheSortStayWithTheirRows) {
  ItemList list = ListOf({"c", "b", "a"});
  RecordingHost host;
  host.m_pump.m_hook = [&](int call) {
    if (call == 1) list.SetRowChecked(0, true);  // "c"
    return true;
  };
  EXPECT_TRUE(list.SortRows(CompareNames, host));
  EXPECT_EQ(RowNames(list), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(RowTicks(list), (std::vector<bool>{false, false, true}));
}

TEST(ItemListSort, ShortListsNeedNoComparison) {
  for (int count : {0, 1}) {
    ItemList list = ListOf(ShuffledNames(count));
    RecordingHost host;
    EXPECT_TRUE(list.SortRows(CompareNames, host));
    EXPECT_EQ(host.m_pump.m_calls, 0);
    EXPECT_EQ(list.RowCount(), count);
  }
}

}  // namespace
}  // namespace pictavo
