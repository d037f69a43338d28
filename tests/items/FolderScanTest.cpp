#include "items/FolderScan.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "core/OrderedWork.h"
#include "core/StringUtils.h"
#include "items/BuildItem.h"
#include "items/ItemList.h"
#include "items/ListCommands.h"
#include "support/Fixtures.h"
#include "support/RecordingHost.h"

namespace pictavo {
namespace {

namespace fs = std::filesystem;
using testing::RecordingHost;
using testing::TempDir;
using ViewFilters = decltype(Settings::View);

// Scan tests care about which files are listed, not about their properties.
ALBUMITEM NameOnly(const std::string& path) {
  ALBUMITEM item;
  item.fullPath = path;
  item.name = fs::path(path).filename().string();
  return item;
}

std::vector<std::string> RowNames(const ItemList& list) {
  std::vector<std::string> names;
  for (int row = 0; row < list.RowCount(); ++row) names.push_back(list.RowItem(row).name);
  return names;
}

std::vector<std::string> SortedRowNames(const ItemList& list) {
  std::vector<std::string> names = RowNames(list);
  std::sort(names.begin(), names.end());
  return names;
}

class FolderScanTest : public ::testing::Test {
 protected:
  void Touch(const std::string& name) { testing::WriteBytes(m_dir / name, "bytes"); }

  ListFolderResult List(const std::string& path, const Settings& settings = Settings()) {
    return ListFolder(m_list, path, settings, m_host, NameOnly);
  }

  TempDir m_dir;
  ItemList m_list;
  RecordingHost m_host;
};

TEST_F(FolderScanTest, ViewFiltersChooseTheFiles) {
  for (const char* name : {"a.jpg", "b.JPEG", "c.png", "d.gif", "e.tif", "f.txt", ".hidden.jpg",
                           "ro.jpg", "noext", "g.jfif", "h.tiff"}) {
    Touch(name);
  }
  fs::permissions(m_dir / "ro.jpg",
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  struct Row {
    const char* what;
    void (*change)(ViewFilters&);
    std::vector<std::string> names;
  };
  const Row rows[] = {
      {"defaults",
       [](ViewFilters&) {},
       {".hidden.jpg", "a.jpg", "b.JPEG", "e.tif", "g.jfif", "h.tiff", "ro.jpg"}},
      {"AllFile with every format off",
       [](ViewFilters& v) { v.AllFile = 1, v.GIF = v.JPEG = v.PNG = v.TIFF = 0; },
       {".hidden.jpg", "a.jpg", "b.JPEG", "c.png", "d.gif", "e.tif", "f.txt", "g.jfif", "h.tiff",
        "noext", "ro.jpg"}},
      {"JPEG off, PNG on", [](ViewFilters& v) { v.JPEG = 0, v.PNG = 1, v.TIFF = 0; }, {"c.png"}},
      {"GIF only", [](ViewFilters& v) { v.JPEG = 0, v.TIFF = 0, v.GIF = 1; }, {"d.gif"}},
      {"hidden off",
       [](ViewFilters& v) { v.Hidden = 0, v.TIFF = 0; },
       {"a.jpg", "b.JPEG", "g.jfif", "ro.jpg"}},
      {"hidden off with AllFile",
       [](ViewFilters& v) { v.Hidden = 0, v.AllFile = 1; },
       {"a.jpg", "b.JPEG", "c.png", "d.gif", "e.tif", "f.txt", "g.jfif", "h.tiff", "noext",
        "ro.jpg"}},
      {"read-only off",
       [](ViewFilters& v) { v.ReadOnly = 0, v.TIFF = 0; },
       {".hidden.jpg", "a.jpg", "b.JPEG", "g.jfif"}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    Settings settings;
    r.change(settings.View);
    const ListFolderResult result = List(m_dir.Path().string(), settings);
    EXPECT_EQ(SortedRowNames(m_list), r.names);
    EXPECT_EQ(result.listed, static_cast<int>(r.names.size()));
    EXPECT_FALSE(result.cancelled);
  }
}

TEST_F(FolderScanTest, FoldersLinksAndSpecialFiles) {
  Touch("real.jpg");
  fs::create_directory(m_dir / "folder.jpg");
  fs::create_directory(m_dir / "target");
  Touch("target/inside.jpg");
  fs::create_symlink(m_dir / "real.jpg", m_dir / "link.jpg");
  fs::create_directory_symlink(m_dir / "target", m_dir / "dirlink.jpg");
  fs::create_symlink(m_dir / "missing.jpg", m_dir / "broken.jpg");
  ASSERT_EQ(::mkfifo((m_dir / "pipe.jpg").c_str(), 0644), 0);
  List(m_dir.Path().string());
  EXPECT_EQ(SortedRowNames(m_list), (std::vector<std::string>{"link.jpg", "real.jpg"}));
}

TEST_F(FolderScanTest, AfterAListingEveryRowIsTickedAndSortedByName) {
  for (const char* name : {"img10.jpg", "img2.jpg", "IMG1.jpg", "b.jpg"}) Touch(name);
  m_list.SetSort(3, true);
  List(m_dir.Path().string() + "/");
  EXPECT_EQ(RowNames(m_list),
            (std::vector<std::string>{"b.jpg", "IMG1.jpg", "img2.jpg", "img10.jpg"}));
  EXPECT_EQ(m_list.CheckedCount(), 4);
  EXPECT_EQ(m_list.SortColumn(), 0);
  EXPECT_FALSE(m_list.IsSortDescending());
  EXPECT_EQ(m_list.RowItem(0).fullPath, (m_dir / "b.jpg").string());
  EXPECT_EQ(m_list.Items().size(), 4u);
}

TEST_F(FolderScanTest, ProgressNamesEachFileAndPumpsPerEntry) {
  Touch("a.jpg");
  Touch("skip.txt");
  List(m_dir.Path().string());
  ASSERT_GE(m_host.m_progressWindows.size(), 1u);
  const auto& window = *m_host.m_progressWindows[0];
  EXPECT_EQ(window.m_texts[0], std::vector<std::string>{"項目を挿入しています。お待ちください。"});
  EXPECT_EQ(window.m_texts[1],
            (std::vector<std::string>{"準備しています...", "a.jpg を挿入しています..."}));
  EXPECT_TRUE(window.m_destroyed);
  EXPECT_EQ(m_host.m_pump.m_calls, 2);  // one per entry; one row needs no sort comparison
}

TEST_F(FolderScanTest, SingleFilesWildcardsAndMissingPaths) {
  for (const char* name : {"a.jpg", "b.jpg", "c.png", "notes.txt"}) Touch(name);
  Settings withPng;
  withPng.View.PNG = 1;
  struct Row {
    std::string path;
    std::vector<std::string> names;
  };
  const Row rows[] = {
      {(m_dir / "b.jpg").string(), {"b.jpg"}},
      {(m_dir / "notes.txt").string(), {}},
      {(m_dir / "*.png").string(), {"c.png"}},
      {(m_dir / "?.jpg").string(), {"a.jpg", "b.jpg"}},
      {(m_dir / "*.*").string(), {"a.jpg", "b.jpg", "c.png"}},
      {(m_dir / "missing").string(), {}},
      {(m_dir / "missing/*.jpg").string(), {}},
      {"", {}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.path);
    List(m_dir.Path().string(), withPng);  // a full list first: a new listing must empty it
    const ListFolderResult result = List(r.path, withPng);
    EXPECT_EQ(SortedRowNames(m_list), r.names);
    EXPECT_TRUE(result.error.empty()) << result.error;
    EXPECT_EQ(m_list.Items().size(), r.names.size());
  }
}

TEST_F(FolderScanTest, CancelKeepsTheRowsSoFarSortedAndTicked) {
  for (int i = 0; i < 10; ++i) Touch("img" + std::to_string(i) + ".jpg");
  testing::RecordingProgressWindow* insertWindow = nullptr;
  m_host.m_onProgressWindow = [&](testing::RecordingProgressWindow& w) {
    if (!insertWindow) insertWindow = &w;
  };
  m_host.m_pump.m_hook = [&](int call) {
    if (call == 4) insertWindow->Cancel();
    return true;
  };
  const ListFolderResult result = List(m_dir.Path().string());
  EXPECT_TRUE(result.cancelled);
  EXPECT_EQ(result.listed, 3);
  EXPECT_EQ(m_list.CheckedCount(), 3);
  std::vector<std::string> names = RowNames(m_list);
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
  EXPECT_EQ(m_host.m_progressWindows.size(), 2u);  // the sort still ran
}

// Items are built on workers; the rows, their texts and the progress lines must be those of a
// scan that builds one item after the other.
TEST_F(FolderScanTest, FourWorkersListWhatOneWorkerLists) {
  for (int i = 0; i < 24; ++i) {
    testing::ExifValues exif = testing::SampleExif();
    exif.model = "Model " + std::to_string(i);
    const fs::path path = m_dir / ("img" + std::to_string(i) + (i % 4 == 1 ? ".tif" : ".jpg"));
    testing::WriteImage(path, 40 + i, 30 + 2 * i,
                        i % 4 == 1 ? testing::ImageFormat::Tiff : testing::ImageFormat::Jpeg, exif);
  }
  testing::WriteOrientation6Jpeg(m_dir / "sideways.jpg", 64, 32);
  testing::WriteBytes(m_dir / "text.jpg", "not a photo");
  testing::WriteTruncatedJpeg(m_dir / "cut.jpg", 80, 60);
  const auto scan = [&](std::size_t workers, std::vector<std::string>* progress) {
    ItemList list;
    RecordingHost host;
    ListFolder(list, m_dir.Path().string(), Settings(), host, BuildAlbumItem, workers);
    *progress = host.m_progressWindows.empty() ? std::vector<std::string>()
                                               : host.m_progressWindows.front()->m_texts[1];
    std::vector<int> rows(list.RowCount());
    for (int row = 0; row < list.RowCount(); ++row) rows[row] = row;
    // Every column but the access time, which the first scan's own reads may move.
    std::vector<int> columns;
    for (int column = 0; column < 20; ++column) {
      if (column != 6) columns.push_back(column);
    }
    return GetAllColumnsText(list, rows, columns);
  };
  std::vector<std::string> oneProgress;
  std::vector<std::string> fourProgress;
  const std::string one = scan(1, &oneProgress);
  const std::string four = scan(4, &fourProgress);
  EXPECT_NE(one.find("Model 23"), std::string::npos);
  EXPECT_NE(one.find("32 x 64"), std::string::npos);  // the sideways photo, upright
  EXPECT_EQ(four, one);
  EXPECT_EQ(fourProgress, oneProgress);
  EXPECT_GE(oneProgress.size(), 27u);
}

TEST_F(FolderScanTest, QuitEndsTheEnumeration) {
  for (int i = 0; i < 5; ++i) Touch("img" + std::to_string(i) + ".jpg");
  m_host.m_pump.m_quitAt = {3};
  const ListFolderResult result = List(m_dir.Path().string());
  EXPECT_TRUE(result.quit);
  EXPECT_EQ(result.listed, 2);
  EXPECT_EQ(m_list.CheckedCount(), 2);
}

TEST_F(FolderScanTest, FilesThatVanishMeanwhileAreSkipped) {
  for (int i = 0; i < 20; ++i) Touch("img" + std::to_string(i) + ".jpg");
  std::mutex builtMutex;  // the builder runs on worker threads
  std::vector<std::string> built;
  m_host.m_pump.m_hook = [&](int call) {
    if (call == 1) {
      for (int i = 0; i < 20; ++i) fs::remove(m_dir / ("img" + std::to_string(i) + ".jpg"));
    }
    return true;
  };
  ListFolder(m_list, m_dir.Path().string(), Settings(), m_host, [&](const std::string& path) {
    std::lock_guard lock(builtMutex);
    built.push_back(path);
    return NameOnly(path);
  });
  EXPECT_EQ(m_list.RowCount(), 0);
  EXPECT_TRUE(built.empty());
}

TEST_F(FolderScanTest, UnreadableFilesAndFoldersAreSkippedWithTheReason) {
  Touch("open.jpg");
  fs::create_symlink("loop.jpg", m_dir / "loop.jpg");
  std::vector<std::string> expected = {"skipped, cannot read: " + (m_dir / "loop.jpg").string() +
                                       ": Too many levels of symbolic links"};
  // Permissions do not bind the root user; a link loop stops everyone.
  const bool root = ::geteuid() == 0;
  if (!root) {
    Touch("locked.jpg");
    fs::permissions(m_dir / "locked.jpg", fs::perms::none);
    expected.push_back("skipped, cannot read: " + (m_dir / "locked.jpg").string() +
                       ": Permission denied");
  }
  ListFolderResult listed = List(m_dir.Path().string());
  EXPECT_EQ(RowNames(m_list), std::vector<std::string>{"open.jpg"});
  std::sort(listed.skipped.begin(), listed.skipped.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(listed.skipped, expected);
  if (root) return;
  fs::create_directory(m_dir / "closed");
  Touch("closed/a.jpg");
  fs::permissions(m_dir / "closed", fs::perms::none);
  const ListFolderResult result = List((m_dir / "closed").string());
  EXPECT_EQ(m_list.RowCount(), 0);
  EXPECT_FALSE(result.error.empty());
  fs::permissions(m_dir / "closed", fs::perms::owner_all);
}

TEST_F(FolderScanTest, DroppedFoldersAreListedInTurnAndFilesRefused) {
  fs::create_directories(m_dir / "one");
  fs::create_directories(m_dir / "two");
  Touch("one/a.jpg");
  Touch("two/b.jpg");
  Touch("photo.jpg");
  fs::create_directory_symlink(m_dir / "two", m_dir / "link");
  std::vector<std::string> shown;
  const std::vector<std::string> listed = DropFiles(
      m_list,
      {(m_dir / "photo.jpg").string(), (m_dir / "gone").string(), (m_dir / "one").string(),
       (m_dir / "link").string()},
      Settings(), m_host, [&](const std::string& folder) { shown.push_back(folder); }, NameOnly);
  const std::string two = fs::canonical(m_dir / "two").string();
  EXPECT_EQ(listed, (std::vector<std::string>{(m_dir / "one").string(), two}));
  EXPECT_EQ(shown, listed);
  EXPECT_EQ(RowNames(m_list), std::vector<std::string>{"b.jpg"});
  EXPECT_EQ(m_host.MessageTexts(), std::vector<std::string>{"フォルダーをドロップしてください。"});

  ItemList untouched;
  untouched.InsertRow(untouched.AddItem(NameOnly("/x/kept.jpg")));
  DropFiles(untouched, {(m_dir / "photo.jpg").string()}, Settings(), m_host, {}, NameOnly);
  EXPECT_EQ(RowNames(untouched), std::vector<std::string>{"kept.jpg"});
}

TEST_F(FolderScanTest, WithoutABuilderNothingIsListed) {
  Touch("a.jpg");
  const ListFolderResult result = ListFolder(m_list, m_dir.Path().string(), Settings(), m_host, {});
  EXPECT_EQ(result.listed, 0);
  EXPECT_FALSE(result.error.empty());
}

TEST(FolderScanUp, ParentOfAnAddress) {
  const std::pair<std::string, std::string> rows[] = {
      {"", ""},
      {"/", ""},
      {"//", ""},
      {"/a", "/"},
      {"/a/b", "/a"},
      {"/a/b/", "/a"},
      {"/a/b//", "/a"},
      {"/a/./b/../c", "/a"},
      {"/写真/2024", "/写真"},
  };
  for (const auto& [address, parent] : rows) {
    EXPECT_EQ(GetUpOneLevelPath(address), parent) << address;
  }
}

TEST_F(FolderScanTest, UpOneLevelAndRefreshNeedAnExistingAddress) {
  fs::create_directories(m_dir / "child");
  Touch("top.jpg");
  const std::string child = (m_dir / "child").string();
  EXPECT_FALSE(CanUpOneLevel(""));
  EXPECT_FALSE(CanUpOneLevel((m_dir / "missing").string()));
  EXPECT_FALSE(CanUpOneLevel("/"));
  EXPECT_TRUE(CanUpOneLevel(child));
  EXPECT_EQ(UpOneLevel(m_list, "", Settings(), m_host, {}, NameOnly), "");
  std::vector<std::string> history;
  const std::string parent = UpOneLevel(
      m_list, child + "/", Settings(), m_host, [&](const std::string& f) { history.push_back(f); },
      NameOnly);
  EXPECT_EQ(parent, m_dir.Path().string());
  EXPECT_EQ(history, std::vector<std::string>{parent});
  EXPECT_EQ(RowNames(m_list), std::vector<std::string>{"top.jpg"});

  Touch("new.jpg");
  EXPECT_FALSE(Refresh(m_list, "", Settings(), m_host, NameOnly));
  EXPECT_FALSE(Refresh(m_list, (m_dir / "missing").string(), Settings(), m_host, NameOnly));
  EXPECT_EQ(m_list.RowCount(), 1);
  EXPECT_TRUE(Refresh(m_list, parent, Settings(), m_host, NameOnly));
  EXPECT_EQ(RowNames(m_list), (std::vector<std::string>{"new.jpg", "top.jpg"}));
}

// Mirrors the rows the way a view's table model does: it only learns of the list through the
// observer calls, reading the rows a call names after it, so a missed or misnumbered call
// leaves it different from the list.
class MirrorModel final : public ItemListObserver {
 public:
  explicit MirrorModel(const ItemList& list) : m_list(list) {}

  void RowsAboutToBeInserted(int first, int last) override { Begin(first <= last); }
  void RowsInserted(int first, int last) override {
    End();
    for (int row = first; row <= last; ++row) m_rows.insert(m_rows.begin() + row, Read(row));
  }
  void RowsAboutToBeRemoved(int first, int last) override {
    Begin(first >= 0 && last < static_cast<int>(m_rows.size()));
  }
  void RowsRemoved(int first, int last) override {
    End();
    m_rows.erase(m_rows.begin() + first, m_rows.begin() + last + 1);
  }
  void RowAboutToBeMoved(int from, int to) override { Begin(from != to); }
  void RowMoved(int from, int to) override {
    End();
    const ItemRow moved = m_rows[from];
    m_rows.erase(m_rows.begin() + from);
    m_rows.insert(m_rows.begin() + to, moved);
  }
  void RowsAboutToBeReordered() override { Begin(true); }
  void RowsReordered(const std::vector<int>& newRowOfOldRow) override {
    End();
    std::vector<ItemRow> rows(m_rows.size());
    for (std::size_t old = 0; old < m_rows.size(); ++old) rows[newRowOfOldRow[old]] = m_rows[old];
    m_rows = rows;
  }
  void ListAboutToBeReset() override { Begin(true); }
  void ListReset() override {
    End();
    m_rows.clear();
    for (int row = 0; row < m_list.RowCount(); ++row) m_rows.push_back(Read(row));
  }
  void RowsCheckChanged(int first, int last) override {
    for (int row = first; row <= last; ++row) m_rows[row].checked = m_list.IsRowChecked(row);
  }
  void RowNoteChanged(int row) override { m_notes.push_back(m_list.RowItem(row).note); }

  bool Equals(const ItemList& list) const {
    if (m_open || static_cast<int>(m_rows.size()) != list.RowCount()) return false;
    for (int row = 0; row < list.RowCount(); ++row) {
      if (m_rows[row].itemIndex != list.Rows()[row].itemIndex ||
          m_rows[row].checked != list.Rows()[row].checked) {
        return false;
      }
    }
    return true;
  }

  std::vector<std::string> m_notes;
  int m_badCalls = 0;

 private:
  void Begin(bool valid) {
    if (m_open || !valid) ++m_badCalls;
    m_open = true;
  }
  void End() {
    if (!m_open) ++m_badCalls;
    m_open = false;
  }
  ItemRow Read(int row) const { return m_list.Rows()[row]; }

  const ItemList& m_list;
  std::vector<ItemRow> m_rows;
  bool m_open = false;
};

TEST_F(FolderScanTest, AModelFollowingTheObserverEndsEqualToTheList) {
  for (const char* name : {"c.jpg", "a.jpg", "e.jpg", "b.jpg", "d.jpg", "f.jpg", "g.jpg"}) {
    Touch(name);
  }
  MirrorModel model(m_list);
  m_list.SetObserver(&model);
  List(m_dir.Path().string());
  EXPECT_TRUE(model.Equals(m_list));

  m_list.SetSort(0, true);
  ASSERT_TRUE(SortItemList(m_list, m_host));
  EXPECT_TRUE(model.Equals(m_list));

  m_list.MoveRowDown(0);
  m_list.MoveRowUp(6);
  m_list.CheckRows({1, 3}, false);
  m_list.ClickCheckBox(5, {}, false);
  EXPECT_TRUE(model.Equals(m_list));

  // Two runs of adjacent rows and a lone one.
  EXPECT_EQ(m_list.RemoveRows({6, 0, 1, 3, 4}), 5);
  EXPECT_TRUE(model.Equals(m_list));
  m_list.SetRowNote(1, "note");
  EXPECT_EQ(model.m_notes, std::vector<std::string>{"note"});

  List(m_dir.Path().string());
  EXPECT_TRUE(model.Equals(m_list));
  EXPECT_EQ(m_list.RowCount(), 7);
  EXPECT_EQ(model.m_badCalls, 0);
  m_list.SetObserver(nullptr);
}

}  // namespace
}  // namespace pictavo
