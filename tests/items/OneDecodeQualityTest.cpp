// The photo, its 2x copy and the thumbnail (with its 2x) come from one decode of the source.
// Each must have the size the two-decode path gave and lose no measurable quality against it:
// both are measured against a lanczos3 resize of the full-size decode.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "items/ImageUtils.h"
#include "support/Fixtures.h"
#include "support/ImageQuality.h"

namespace pictavo {
namespace {

using ImageUtils::ImageSize;
using testing::TempDir;

// Half the album's 1024 and 248: the same ways through the scaler at a quarter of the pixels.
constexpr int kPhotoLimit = 512;
constexpr int kThumbnailLimit = 124;
// The largest PSNR drop (dB) against the two-decode output that counts as no loss.
constexpr double kAllowedLoss = 0.1;

struct Source {
  int width;  // stored pixels
  int height;
  int orientation;
};

// One source of each way through the scaler: no 2x photo; a 2x photo decoded at full size; a
// 2x photo from a JPEG shrink-on-load (the source holds 2.6 times the 2x); the same sideways
// with EXIF orientation 6.
TEST(OneDecodeQuality, PhotoAndThumbnailMatchTheTwoDecodePath) {
  TempDir dir;
  const Source sources[] = {
      {800, 600, 1},
      {1100, 825, 1},
      {2688, 1512, 1},
      {2688, 1512, 6},
  };
  for (const Source& source : sources) {
    const std::string name = std::to_string(source.width) + "x" + std::to_string(source.height) +
                             " orientation " + std::to_string(source.orientation);
    const std::string path = dir.File("photo.jpg");
    testing::WriteTexturedJpeg(path, source.width, source.height, source.orientation);
    const bool sideways = source.orientation >= 5;
    const ImageSize upright =
        sideways ? ImageSize{source.height, source.width} : ImageSize{source.width, source.height};
    const ImageSize photo = ImageUtils::GetThumbnailSize(upright, kPhotoLimit);
    const ImageSize thumb = ImageUtils::GetThumbnailSize(upright, kThumbnailLimit);
    const bool photoTwice = 2 * photo.width <= upright.width;
    for (const testing::CopyQuality& copy :
         testing::MeasureOneDecode(path, photo.width, photo.height, thumb.width, thumb.height)) {
      const std::string what = name + ", " + copy.copy;
      if (copy.copy == "photo 2x" && !photoTwice) {
        EXPECT_EQ(copy.width, 0) << what << ": the source holds no 2x photo";
        continue;
      }
      EXPECT_EQ(copy.width, copy.expectedWidth) << what;
      EXPECT_EQ(copy.height, copy.expectedHeight) << what;
      EXPECT_GE(copy.oneDecode, copy.twoDecodes - kAllowedLoss)
          << what << ": " << copy.oneDecode << " dB, the two-decode path " << copy.twoDecodes
          << " dB";
    }
  }
}

}  // namespace
}  // namespace pictavo
