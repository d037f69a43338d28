// How long the text work of the pages takes: encoders, navigation blocks and the join, and
// every page of a 10,000-item album with its images already written (pages per second).

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "album/HtmlFuncs.h"
#include "album/Navigation.h"
#include "album/PhotoPage.h"
#include "album/Runtime.h"
#include "album/ThumbnailPage.h"
#include "core/FileUtils.h"
#include "core/Host.h"
#include "core/PathUtils.h"
#include "core/Settings.h"
#include "items/ItemList.h"
#include "support/Fixtures.h"
#include "support/RecordingHost.h"

namespace {

const std::string kName = "桜 の 写真 <2024> & 夏 #1 100%.jpg";

void BM_EntityString(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(pictavo::EncodeUtils::GetTextToEntityString(kName));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kName.size()));
}
BENCHMARK(BM_EntityString);

void BM_EncodeString(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(pictavo::EncodeUtils::GetTextToEncodeString(kName));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kName.size()));
}
BENCHMARK(BM_EncodeString);

// Thumbnail page links list every page, so an album of P pages costs P blocks of P cells.
void BM_ThumbnailPageLinks(benchmark::State& state) {
  pictavo::Settings settings;
  pictavo::NullPump pump;
  const int pages = static_cast<int>(state.range(0));
  for (auto _ : state) {
    for (int page = 1; page <= pages; ++page) {
      benchmark::DoNotOptimize(
          pictavo::Navigation::GetThumbnailPageLinks(settings, pages, page, pump));
    }
  }
  state.SetItemsProcessed(state.iterations() * pages);
}
BENCHMARK(BM_ThumbnailPageLinks)->Arg(10)->Arg(100);

void BM_PhotoPageNumberLinks(benchmark::State& state) {
  pictavo::Settings settings;
  pictavo::NullPump pump;
  const int count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    for (int index = 0; index < count; ++index) {
      benchmark::DoNotOptimize(
          pictavo::Navigation::GetPhotoPageNumberLinks(settings, index, count, pump));
    }
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_PhotoPageNumberLinks)->Arg(200)->Arg(2000);

// The page step of a thumbnail album with photo pages, as a run does it after its image steps:
// the sizes of the sources and the written photos are known, so no image is read. With 0 the
// pages read every size from the files instead (hard links to one camera photo and one
// resized photo), as they did before the run kept them.
void BM_PagesOf10000Items(benchmark::State& state) {
  const bool kept = state.range(0) != 0;
  namespace fs = std::filesystem;
  using namespace pictavo;
  constexpr int kItems = 10000;
  testing::TempDir dir;
  Runtime runtime;
  runtime.styleFolder = PICTAVO_STYLES_DIR;
  LoadDesigns(runtime);
  const fs::path listed = dir / "listed";
  fs::create_directories(listed);
  const fs::path camera = dir / "camera.jpg";
  const fs::path resized = dir / "resized.jpg";
  if (!kept) {
    testing::WriteImage(camera, 3264, 2448, testing::ImageFormat::Jpeg, testing::SampleExif());
    testing::WriteImage(resized, 1024, 768, testing::ImageFormat::Jpeg);
  }
  ItemList list;
  KnownImageSizes sizes;
  Settings settings;
  settings.OutputThumbnail.ThumbnailImageLink = 1;
  for (int i = 0; i < kItems; ++i) {
    ALBUMITEM item;
    item.name = "IMG_" + std::to_string(10000 + i) + ".jpg";
    item.fullPath = (listed / item.name).string();
    item.note = i % 3 == 0 ? "note " + std::to_string(i) : "";
    item.cameraMaker = "Maker";
    item.dateTakenText = "2024/05/06 07:08:09";
    list.SetRowChecked(list.InsertRow(list.AddItem(item)), true);
    if (kept) {
      sizes.Keep(item.fullPath, {3264, 2448});
    } else {
      fs::create_hard_link(camera, item.fullPath);
    }
  }
  testing::RecordingHost host;
  OutputContext run{list, settings, host, listed.string(), "design.css", kept ? &sizes : nullptr};
  run.styleFolder = runtime.styleFolder;
  const int pageCount = ThumbnailPage::GetPageCount(kItems, settings.OutputThumbnail.Row,
                                                    settings.OutputThumbnail.Column);
  int n = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const fs::path album = dir / ("album" + std::to_string(n++));
    fs::create_directories(album / settings.Output.PhotoName);
    const std::string output = (album / "index.html").string();
    for (int i = 0; i < kItems; ++i) {
      const fs::path photo = album / settings.Output.PhotoName / list.RowItem(i).name;
      if (kept) {
        sizes.Keep(photo.string(), {1024, 768});
      } else {
        fs::create_hard_link(resized, photo);
      }
    }
    state.ResumeTiming();
    ThumbnailPage::PageCursor cursor;
    for (int page = 1; page <= pageCount; ++page) {
      const std::string path =
          page == 1
              ? output
              : (album / (settings.Output.PageFileName + std::to_string(page) + ".html")).string();
      ThumbnailPage::WriteThumbnailPage(run, cursor, path, "Bench", "Bench", pageCount, page);
    }
    if (!WritePhotoPages(run, output, settings.Output.FileName + ".html")) {
      state.SkipWithError("the photo pages failed");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * (kItems + pageCount));
  state.counters["pages"] = kItems + pageCount;
}
BENCHMARK(BM_PagesOf10000Items)
    ->ArgName("sizes_kept")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
