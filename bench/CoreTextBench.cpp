// Sorting the item list (collators reused per thread, one folder check per item pair) and
// reading and writing text files through the code-page converters.

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "core/AlbumColumns.h"
#include "core/CompareUtils.h"
#include "core/StdioFileEx.h"

namespace {

using namespace pictavo;

std::vector<ALBUMITEM> MakeItems(int count) {
  std::vector<ALBUMITEM> items(count);
  for (int i = 0; i < count; ++i) {
    // Scrambled numbers so the sort has work to do.
    const int n = (i * 7919) % count;
    items[i].name = (i % 2 ? "IMG_" : "img_") + std::to_string(n) + ".jpg";
    items[i].fullPath = "/nonexistent/photos/" + items[i].name;
    items[i].cameraMaker = i % 3 ? "Canon" : "NIKON CORPORATION";
    items[i].size = (n * 104729) % 5000000;
  }
  return items;
}

void BM_SortItems(benchmark::State& state) {
  const std::vector<ALBUMITEM> items = MakeItems(static_cast<int>(state.range(0)));
  const int column = static_cast<int>(state.range(1));
  for (auto _ : state) {
    std::vector<ALBUMITEM> sorted = items;
    std::sort(sorted.begin(), sorted.end(), [column](const ALBUMITEM& a, const ALBUMITEM& b) {
      return CompareAlbumItems(a, b, column, false) < 0;
    });
    benchmark::DoNotOptimize(sorted.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
// Columns: 0 name, 2 size, 12 camera maker (text, ties by path).
BENCHMARK(BM_SortItems)->ArgsProduct({{1000, 10000}, {0, 2, 12}})->Unit(benchmark::kMillisecond);

// The same sort with each item's folder check done once, as the list sort does it.
void BM_SortItemsPrechecked(benchmark::State& state) {
  const std::vector<ALBUMITEM> items = MakeItems(static_cast<int>(state.range(0)));
  const int column = static_cast<int>(state.range(1));
  for (auto _ : state) {
    std::vector<std::pair<const ALBUMITEM*, bool>> rows;
    rows.reserve(items.size());
    for (const auto& item : items) rows.emplace_back(&item, IsFolderItem(item));
    std::sort(rows.begin(), rows.end(), [column](const auto& a, const auto& b) {
      return CompareAlbumItems(*a.first, a.second, *b.first, b.second, column, false) < 0;
    });
    benchmark::DoNotOptimize(rows.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SortItemsPrechecked)
    ->ArgsProduct({{1000, 10000}, {0, 2, 12}})
    ->Unit(benchmark::kMillisecond);

void BM_CompareFileName(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        CompareUtils::CompareFileName("IMG_20080530_155601.jpg", "IMG_20080530_155602.jpg", false));
  }
}
BENCHMARK(BM_CompareFileName);

std::string TempPath(const char* name) {
  return (std::filesystem::temp_directory_path() / (std::string("pictavo-bench-") + name)).string();
}

std::string MakePage(size_t bytes) {
  const std::string line = "\t<p class=\"note\">写真 IMG_0001.jpg &amp; a note</p>\r\n";
  std::string page;
  while (page.size() < bytes) page += line;
  return page;
}

void BM_WritePage(benchmark::State& state) {
  const std::string page = MakePage(1 << 20);
  const std::string path = TempPath("page.txt");
  const int codePage = static_cast<int>(state.range(0));
  for (auto _ : state) {
    CStdioFileEx file;
    file.SetCodePage(codePage);
    file.Open(path, CStdioFileEx::modeCreate | CStdioFileEx::modeWrite |
                        (codePage == 0 ? CStdioFileEx::typeUnicode : 0));
    benchmark::DoNotOptimize(file.WriteString(page));
    file.Close();
  }
  std::filesystem::remove(path);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(page.size()));
}
// 0 stands for Unicode mode here.
BENCHMARK(BM_WritePage)->Arg(65001)->Arg(932)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_WriteTextFileUtf8(benchmark::State& state) {
  const std::string page = MakePage(1 << 20);
  const std::string path = TempPath("page.html");
  for (auto _ : state) benchmark::DoNotOptimize(WriteTextFileUtf8(path, page));
  std::filesystem::remove(path);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(page.size()));
}
BENCHMARK(BM_WriteTextFileUtf8)->Unit(benchmark::kMillisecond);

void BM_ReadLines(benchmark::State& state) {
  const std::string page = MakePage(1 << 20);
  const std::string path = TempPath("lines.txt");
  const int codePage = static_cast<int>(state.range(0));
  {
    CStdioFileEx file;
    file.SetCodePage(codePage);
    file.Open(path, CStdioFileEx::modeCreate | CStdioFileEx::modeWrite |
                        (codePage == 0 ? CStdioFileEx::typeUnicode : 0));
    file.WriteString(page);
    file.Close();
  }
  for (auto _ : state) {
    CStdioFileEx file;
    file.SetCodePage(codePage);
    file.Open(path, CStdioFileEx::modeRead);
    std::string line;
    int lines = 0;
    while (file.ReadString(line)) ++lines;
    benchmark::DoNotOptimize(lines);
  }
  std::filesystem::remove(path);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(page.size()));
}
BENCHMARK(BM_ReadLines)->Arg(65001)->Arg(932)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
