// The PSNR table of the one-decode album images: for each source, the 1024 px photo, its 2x copy
// and the 248 px thumbnail (with its 2x) as the album makes them, against a lanczos3 resize of
// the full-size decode, beside the two-decode output (a shrink-on-load thumbnail of the source
// per copy) against the same reference.
//
//   OneDecodeQuality [PHOTO...]   without photos: the shared camera JPEGs where present, and
//                                 generated photos of the sizes the shared folder lacks
//
// Prints a Markdown table; bench/README.md holds the last one.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "items/ImageUtils.h"
#include "support/Fixtures.h"
#include "support/ImageQuality.h"

namespace {

namespace fs = std::filesystem;
using pictavo::ImageUtils::ImageSize;

constexpr int kPhotoLimit = 1024;
constexpr int kThumbnailLimit = 248;

bool Measure(const fs::path& source) {
  namespace iu = pictavo::ImageUtils;
  const iu::ImageHeader header = iu::GetImageHeader(source.string());
  if (!header.ok) {
    std::fprintf(stderr, "cannot read %s\n", source.c_str());
    return false;
  }
  const ImageSize upright = iu::SizeOf(header);
  const ImageSize photo = iu::GetThumbnailSize(upright, kPhotoLimit);
  const ImageSize thumb = iu::GetThumbnailSize(upright, kThumbnailLimit);
  const std::string label =
      source.filename().string() + " " + std::to_string(upright.width) + "x" +
      std::to_string(upright.height) +
      (header.orientation > 1 ? " o" + std::to_string(header.orientation) : std::string());
  for (const pictavo::testing::CopyQuality& copy : pictavo::testing::MeasureOneDecode(
           source, photo.width, photo.height, thumb.width, thumb.height)) {
    if (copy.width == 0) {
      std::printf("| %s | %s | not made | | | |\n", label.c_str(), copy.copy.c_str());
    } else if (copy.width != copy.expectedWidth || copy.height != copy.expectedHeight) {
      std::printf("| %s | %s | %dx%d, not %dx%d | | | |\n", label.c_str(), copy.copy.c_str(),
                  copy.width, copy.height, copy.expectedWidth, copy.expectedHeight);
    } else {
      std::printf("| %s | %s | %dx%d | %.2f | %.2f | %+.2f |\n", label.c_str(), copy.copy.c_str(),
                  copy.width, copy.height, copy.oneDecode, copy.twoDecodes,
                  copy.oneDecode - copy.twoDecodes);
    }
    std::fflush(stdout);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<fs::path> sources;
  for (int i = 1; i < argc; ++i) sources.emplace_back(argv[i]);
  pictavo::testing::TempDir generated;
  if (sources.empty()) {
    const fs::path shared = fs::path(PICTAVO_SHARED_PHOTOS) / "jpg";
    for (const char* name : {"hdr/iphone_hdr_YES.jpg", "mobile/HMD_Nokia_8.3_5G.jpg",
                             "Reconyx_HC500_Hyperfire.jpg", "hdr/canon_hdr_NO.jpg"}) {
      if (fs::exists(shared / name)) sources.push_back(shared / name);
    }
    struct Size {
      int width;
      int height;
    };
    const std::vector<Size> sizes =
        sources.empty() ? std::vector<Size>{{3264, 2448}, {4608, 1976}, {2048, 1536}, {6000, 4000}}
                        : std::vector<Size>{{6000, 4000}};
    for (const Size size : sizes) {
      const fs::path path = generated / ("generated-" + std::to_string(size.width) + "x" +
                                         std::to_string(size.height) + ".jpg");
      pictavo::testing::WriteTexturedJpeg(path, size.width, size.height);
      sources.push_back(path);
    }
  }
  std::printf("| source | copy | size | one decode (dB) | two decodes (dB) | difference |\n");
  std::printf("|---|---|---|---|---|---|\n");
  bool ok = true;
  for (const fs::path& source : sources) ok = Measure(source) && ok;
  return ok ? 0 : 1;
}
