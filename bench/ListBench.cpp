// Listing a folder of 1,000 JPEGs (copies of the shared photos) and sorting it by each rule.
// Figures are files per second (items_per_second).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/AlbumColumns.h"
#include "items/BuildItem.h"
#include "items/FolderScan.h"
#include "items/ItemList.h"
#include "items/ListCommands.h"
#include "support/Fixtures.h"
#include "support/RecordingHost.h"

namespace {

namespace fs = std::filesystem;
using namespace pictavo;

constexpr int kFileCount = 1000;

// The folder of copies, made once per run; empty when the shared photos are absent.
const testing::TempDir* PhotoFolder() {
  static testing::TempDir* folder = [] {
    std::vector<fs::path> photos;
    std::error_code ec;
    // The compiled-in folder is relative to the source tree; a worktree elsewhere names its own.
    const char* override = std::getenv("PICTAVO_SHARED_PHOTOS");
    const fs::path root = override ? override : PICTAVO_SHARED_PHOTOS;
    for (const auto& entry : fs::directory_iterator(root / "jpg", ec)) {
      if (entry.is_regular_file() && entry.path().extension() == ".jpg") {
        photos.push_back(entry.path());
      }
    }
    if (photos.empty()) return static_cast<testing::TempDir*>(nullptr);
    std::sort(photos.begin(), photos.end());
    auto* dir = new testing::TempDir();
    for (int i = 0; i < kFileCount; ++i) {
      const fs::path& source = photos[i % photos.size()];
      fs::copy_file(source, *dir / (source.stem().string() + "_" + std::to_string(i) + ".jpg"));
    }
    return dir;
  }();
  return folder;
}

void BM_ListFolder(benchmark::State& state) {
  const testing::TempDir* folder = PhotoFolder();
  if (!folder) {
    state.SkipWithError("the shared photos are absent");
    return;
  }
  for (auto _ : state) {
    ItemList list;
    testing::RecordingHost host;
    ListFolder(list, folder->Path().string(), Settings(), host, BuildAlbumItem);
    if (list.RowCount() != kFileCount) state.SkipWithError("not every file was listed");
  }
  state.SetItemsProcessed(state.iterations() * kFileCount);
}
BENCHMARK(BM_ListFolder)->Iterations(1)->Unit(benchmark::kMillisecond);

const std::vector<ALBUMITEM>& ListedItems() {
  static const std::vector<ALBUMITEM> items = [] {
    ItemList list;
    testing::RecordingHost host;
    if (const testing::TempDir* folder = PhotoFolder()) {
      ListFolder(list, folder->Path().string(), Settings(), host, BuildAlbumItem);
    }
    std::vector<ALBUMITEM> listed = list.Items();
    for (std::size_t i = 0; i < listed.size(); ++i) listed[i].note = "note " + std::to_string(i);
    return listed;
  }();
  return items;
}

// One column per sort rule: name, text, size, date, dimensions, resolutions, note.
void BM_SortByRule(benchmark::State& state) {
  const int column = static_cast<int>(state.range(0));
  const std::vector<ALBUMITEM>& items = ListedItems();
  if (items.empty()) {
    state.SkipWithError("no items listed: the shared photos or the item builder are absent");
    return;
  }
  std::mt19937 random(1);
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<int> order(items.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::shuffle(order.begin(), order.end(), random);
    ItemList list;
    for (int index : order) list.InsertRow(list.AddItem(items[index]));
    list.SetSort(column, state.range(1) != 0);
    testing::RecordingHost host;
    state.ResumeTiming();
    SortItemList(list, host);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(items.size()));
  const std::string key = GetPropertyColumns()[column].key;
  state.SetLabel(key.empty() ? "note" : key);
}
BENCHMARK(BM_SortByRule)
    ->ArgsProduct({{0, 1, 2, 4, 9, 17, 18, 19}, {0, 1}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
