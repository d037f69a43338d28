// Build item over the shared photos, thumbnail sizing and thumbnail writing at album sizes.

#include <filesystem>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "items/BuildItem.h"
#include "items/FileListUtils.h"
#include "items/ImageUtils.h"
#include "items/VipsImage.h"
#include "support/Fixtures.h"

namespace {

namespace fs = std::filesystem;
using pictavo::testing::TempDir;

std::vector<std::string> SharedPhotos() {
  std::vector<std::string> paths;
  const fs::path root(PICTAVO_SHARED_PHOTOS);
  std::error_code ec;
  if (!fs::is_directory(root, ec)) return paths;
  for (const auto& entry : fs::recursive_directory_iterator(root, ec)) {
    if (entry.is_regular_file() && entry.path().filename().string().rfind("README", 0) != 0) {
      paths.push_back(entry.path().string());
    }
  }
  return paths;
}

// A 3264 x 2448 camera-sized JPEG: the shared Canon photo's size class, generated when the
// shared folder is absent so the figures stay comparable.
const std::string& LargeJpeg() {
  static TempDir dir;
  static const std::string path = [] {
    const std::string p = dir.File("large.jpg");
    pictavo::testing::WriteImage(p, 3264, 2448, pictavo::testing::ImageFormat::Jpeg);
    return p;
  }();
  return path;
}

void BM_BuildAlbumItemSharedPhotos(benchmark::State& state) {
  const std::vector<std::string> paths = SharedPhotos();
  if (paths.empty()) {
    state.SkipWithError("shared photos not found");
    return;
  }
  for (auto _ : state) {
    for (const std::string& path : paths) benchmark::DoNotOptimize(pictavo::BuildAlbumItem(path));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(paths.size()));
}
BENCHMARK(BM_BuildAlbumItemSharedPhotos)->Unit(benchmark::kMillisecond);

// The reads an item is built from, one at a time, to see which one a scan waits for.
template <class Read>
void ReadEverySharedPhoto(benchmark::State& state, Read read) {
  const std::vector<std::string> paths = SharedPhotos();
  if (paths.empty()) {
    state.SkipWithError("shared photos not found");
    return;
  }
  for (auto _ : state) {
    for (const std::string& path : paths) benchmark::DoNotOptimize(read(path));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(paths.size()));
}
void BM_ReadHeaderSharedPhotos(benchmark::State& state) {
  ReadEverySharedPhoto(state, pictavo::VipsImage::ReadHeader);
}
BENCHMARK(BM_ReadHeaderSharedPhotos)->Unit(benchmark::kMillisecond);
void BM_ReadExifSharedPhotos(benchmark::State& state) {
  ReadEverySharedPhoto(state, pictavo::FileListUtils::ReadExif);
}
BENCHMARK(BM_ReadExifSharedPhotos)->Unit(benchmark::kMillisecond);
// The scan's one parse for EXIF and size, against the two reads above it replaced.
void BM_ReadImageRecordSharedPhotos(benchmark::State& state) {
  ReadEverySharedPhoto(state, pictavo::FileListUtils::ReadImageRecord);
}
BENCHMARK(BM_ReadImageRecordSharedPhotos)->Unit(benchmark::kMillisecond);
void BM_ReadFileTimesSharedPhotos(benchmark::State& state) {
  ReadEverySharedPhoto(state, pictavo::FileListUtils::ReadFileTimes);
}
BENCHMARK(BM_ReadFileTimesSharedPhotos)->Unit(benchmark::kMillisecond);

void BM_GetThumbnailSize(benchmark::State& state) {
  const std::string& path = LargeJpeg();
  for (auto _ : state) benchmark::DoNotOptimize(pictavo::ImageUtils::GetThumbnailSize(path, 248));
}
BENCHMARK(BM_GetThumbnailSize)->Unit(benchmark::kMicrosecond);

void BM_SaveImageThumbnailFile(benchmark::State& state) {
  const std::string& src = LargeJpeg();
  TempDir out;
  const std::string dst = out.File("thumb.jpg");
  const auto size = pictavo::ImageUtils::GetThumbnailSize(src, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    if (!pictavo::ImageUtils::SaveImageThumbnailFile(src, dst, size.width, size.height,
                                                     "image/jpeg")) {
      state.SkipWithError("save failed");
      return;
    }
  }
}
BENCHMARK(BM_SaveImageThumbnailFile)->Arg(248)->Arg(1024)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
