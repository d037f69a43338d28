// The floor of the album run's image work, done by libvips in one process the plain way: each
// photo is decoded once (thumbnail_source, shrunk on load) at the 2x photo size; the 2x copy,
// the photo (its half), the 2x thumbnail (from the photo) and the thumbnail (its half) are made
// from those pixels; upright, sRGB, no metadata, JPEG quality 85 for 1x and 75 for 2x, as the
// album writes them. A source smaller than the 2x size gets no 2x copy, as in the album.
// scripts/bench compares pictavo-cli's album run against it by CPU time.
//
//   AlbumFloor OUTPUT PHOTO...   writes OUTPUT/{photos,thumbs}/NAME and
//   OUTPUT/{photos,thumbs}/2x/NAME
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

void Save(const VImage& image, const fs::path& path, int quality) {
  Web(image).jpegsave(path.c_str(), VImage::option()->set("Q", quality)->set("strip", true));
}

VImage FitInto(const VImage& image, int side) {
  return image.thumbnail_image(side,
                               VImage::option()->set("height", side)->set("size", VIPS_SIZE_DOWN));
}

// One size: its 2x copy when the pixels hold it, then the 1x copy; gives the 1x pixels.
VImage WriteSize(VImage pixels, int side, const fs::path& folder, const fs::path& name) {
  if (pixels.width() >= 2 * side || pixels.height() >= 2 * side) {
    pixels = FitInto(pixels, 2 * side).copy_memory();
    Save(pixels, folder / "2x" / name, 75);
    pixels = pixels.resize(0.5);
  } else {
    pixels = FitInto(pixels, side);
  }
  pixels = pixels.copy_memory();
  Save(pixels, folder / name, 85);
  return pixels;
}

bool WriteOne(const fs::path& src, const fs::path& out) {
  try {
    // Into memory, so that every copy below reads these pixels instead of decoding again.
    const VImage decoded =
        VImage::thumbnail_source(vips::VSource::new_from_file(src.c_str()), 2 * kPhotoSide,
                                 VImage::option()
                                     ->set("height", 2 * kPhotoSide)
                                     ->set("size", VIPS_SIZE_DOWN)
                                     ->set("fail_on", VIPS_FAIL_ON_NONE))
            .copy_memory();
    const VImage photo = WriteSize(decoded, kPhotoSide, out / "photos", src.filename());
    WriteSize(photo, kThumbnailSide, out / "thumbs", src.filename());
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
  fs::create_directories(out / "photos" / "2x");
  fs::create_directories(out / "thumbs" / "2x");
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
