// A whole thumbnail album of 200 camera-sized photos, end to end: photos at the default
// photo size, thumbnails, the thumbnail pages and the style sheets.

#include <filesystem>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "album/OutputRun.h"
#include "album/Runtime.h"
#include "core/PathUtils.h"
#include "items/ItemList.h"
#include "support/Fixtures.h"
#include "support/RecordingHost.h"

namespace {

using namespace pictavo;
namespace fs = std::filesystem;

constexpr int kPhotos = 200;

// The 3264 x 2448 camera files of the shared photos; a generated one when they are absent.
std::vector<fs::path> SourcePhotos(const testing::TempDir& dir) {
  std::vector<fs::path> sources;
  const fs::path shared = PICTAVO_SHARED_PHOTOS;
  for (const char* name :
       {"jpg/hdr/iphone_hdr_YES.jpg", "jpg/hdr/iphone_hdr_NO.jpg", "jpg/mobile/jolla.jpg"}) {
    if (fs::is_regular_file(shared / name)) sources.push_back(shared / name);
  }
  if (sources.empty()) {
    testing::WriteImage(dir / "generated.jpg", 3264, 2448, testing::ImageFormat::Jpeg,
                        testing::SampleExif());
    sources.push_back(dir / "generated.jpg");
  }
  return sources;
}

void BM_ThumbnailAlbumOf200Photos(benchmark::State& state) {
  testing::TempDir dir;
  const fs::path listed = dir / "listed";
  fs::create_directories(listed);
  const auto sources = SourcePhotos(dir);
  ItemList list;
  for (int i = 0; i < kPhotos; ++i) {
    ALBUMITEM item;
    item.name = "IMG_" + std::to_string(1000 + i) + ".jpg";
    item.fullPath = (listed / item.name).string();
    fs::copy_file(sources[i % sources.size()], item.fullPath);
    list.SetRowChecked(list.InsertRow(list.AddItem(item)), true);
  }
  Runtime runtime;
  runtime.styleFolder = PICTAVO_STYLES_DIR;
  LoadDesigns(runtime);
  Settings settings;
  settings.Output.ShowOutputSettings = 0;
  settings.OutputThumbnail.ThumbnailImageLink = 0;
  testing::RecordingHost host;
  OutputRun run(list, settings, host, runtime);
  run.SetListedFolder(listed.string());
  int n = 0;
  for (auto _ : state) {
    const fs::path output = dir / ("album" + std::to_string(n++)) / "index.html";
    if (!run.GenerateOutput(0, output.string(), "Bench", "Bench")) {
      state.SkipWithError("the run failed");
      break;
    }
  }
  state.counters["photos"] = kPhotos;
  state.counters["sources"] = static_cast<double>(sources.size());
}
BENCHMARK(BM_ThumbnailAlbumOf200Photos)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
