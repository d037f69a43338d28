// The floor of the album run's image work, done by libvips in one process: each photo is decoded
// once (shrunk on load to the photo size), written as the photo, and the thumbnail is made from
// that decoded photo; upright, sRGB, JPEG quality 85, no metadata, as the album writes them.
// scripts/bench compares pictavo-cli's album run against it by CPU time.
//
//   AlbumFloor OUTPUT PHOTO...   writes OUTPUT/photos/NAME and OUTPUT/thumbs/NAME
//
// One worker per core, each single-threaded inside libvips, as the album run works.

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <vips/vips8>

namespace {

namespace fs = std::filesystem;
using vips::VImage;

constexpr int kPhotoSide = 1024;     // PhotoSize 1
constexpr int kThumbnailSide = 248;  // ThumbnailSize 0

VImage Web(VImage image) {
  if (image.interpretation() != VIPS_INTERPRETATION_sRGB || image.format() != VIPS_FORMAT_UCHAR) {
    image = image.colourspace(VIPS_INTERPRETATION_sRGB).cast(VIPS_FORMAT_UCHAR);
  }
  return image;
}

void Save(const VImage& image, const fs::path& path) {
  Web(image).jpegsave(path.c_str(), VImage::option()->set("Q", 85)->set("strip", true));
}

VImage FitInto(const VImage& image, int side) {
  return image.thumbnail_image(side,
                               VImage::option()->set("height", side)->set("size", VIPS_SIZE_DOWN));
}

bool WriteOne(const fs::path& src, const fs::path& out) {
  try {
    // Into memory, so that the thumbnail below reads these pixels instead of decoding again.
    const VImage photo =
        VImage::thumbnail_source(vips::VSource::new_from_file(src.c_str()), kPhotoSide,
                                 VImage::option()
                                     ->set("height", kPhotoSide)
                                     ->set("size", VIPS_SIZE_DOWN)
                                     ->set("fail_on", VIPS_FAIL_ON_NONE))
            .copy_memory();
    Save(photo, out / "photos" / src.filename());
    Save(FitInto(photo, kThumbnailSide), out / "thumbs" / src.filename());
    return true;
  } catch (const vips::VError& error) {
    std::fprintf(stderr, "%s: %s\n", src.c_str(), error.what());
    vips_error_clear();
    return false;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: AlbumFloor OUTPUT PHOTO...\n");
    return 2;
  }
  if (VIPS_INIT(argv[0]) != 0) {
    std::fprintf(stderr, "libvips failed to start: %s\n", vips_error_buffer());
    return 1;
  }
  // The album run's own settings: no operation cache, one thread per image.
  vips_cache_set_max(0);
  if (!g_getenv("VIPS_CONCURRENCY")) vips_concurrency_set(1);
  const fs::path out = argv[1];
  fs::create_directories(out / "photos");
  fs::create_directories(out / "thumbs");
  const std::vector<fs::path> photos(argv + 2, argv + argc);
  std::atomic<size_t> next{0};
  std::atomic<int> failed{0};
  std::vector<std::thread> workers;
  const unsigned count = std::max(1u, std::thread::hardware_concurrency());
  for (unsigned w = 0; w < count; ++w) {
    workers.emplace_back([&] {
      for (size_t i = next++; i < photos.size(); i = next++) {
        if (!WriteOne(photos[i], out)) ++failed;
      }
      vips_thread_shutdown();
    });
  }
  for (std::thread& worker : workers) worker.join();
  vips_shutdown();
  return failed == 0 ? 0 : 1;
}
