// The fast downsizing must give libvips' own resize, pixel for pixel within rounding, and keep
// what later steps read from the image's metadata.

#include <string>

#include <gtest/gtest.h>
#include <vips/vips8>

#include "items/VipsImage.h"
#include "items/VipsReduce.h"

namespace pictavo {
namespace {

using vips::VImage;

// Smooth gradients with a sharp diagonal edge: rows and columns differ, so a transpose in the
// wrong direction or a kernel applied across the wrong axis shows.
VImage Pattern(int width, int height, int bands) {
  const VImage xy = VImage::xyz(width, height);
  const VImage edge = (xy[0] * 3 > xy[1] * 2).ifthenelse(90.0, 0.0);
  VImage image = xy[0] * (120.0 / width) + edge;
  if (bands == 3) {
    image = image.bandjoin(xy[1] * (200.0 / height)).bandjoin(xy[0] * 0.0 + 60.0 + edge);
  }
  return image.cast(VIPS_FORMAT_UCHAR)
      .copy(VImage::option()->set("interpretation",
                                  bands == 3 ? VIPS_INTERPRETATION_sRGB : VIPS_INTERPRETATION_B_W))
      .copy_memory();
}

double MaxDifference(const VImage& a, const VImage& b) {
  return (a.cast(VIPS_FORMAT_INT) - b.cast(VIPS_FORMAT_INT)).abs().max();
}

TEST(VipsReduce, MatchesLibvipsResizeForGreyAndColour) {
  ASSERT_TRUE(VipsImage::EnsureStarted(nullptr));
  struct Case {
    int bands, width, height, toWidth, toHeight;
    VipsKernel kernel;
  };
  const Case cases[] = {
      {3, 653, 490, 410, 308, VIPS_KERNEL_LANCZOS3},   // 1.59, as 3264 to 2048
      {3, 410, 308, 205, 154, VIPS_KERNEL_LANCZOS3},   // the 1x half of a 2x copy
      {1, 500, 301, 240, 301, VIPS_KERNEL_CUBIC},      // across only
      {3, 300, 500, 300, 211, VIPS_KERNEL_LANCZOS3},   // down only
      {3, 1024, 439, 248, 106, VIPS_KERNEL_LANCZOS3},  // 4.13: a box average first
      {1, 1000, 800, 120, 96, VIPS_KERNEL_LANCZOS3},   // 8.3: two halvings of both
      {3, 1001, 800, 120, 96, VIPS_KERNEL_LANCZOS3},   // rows halved, columns by libvips
  };
  for (const Case& c : cases) {
    const std::string what = std::to_string(c.bands) + " bands " + std::to_string(c.width) +
                             " to " + std::to_string(c.toWidth);
    const VImage in = Pattern(c.width, c.height, c.bands);
    const VImage mine = VipsReduce::ReduceTo(in, c.toWidth, c.toHeight, c.kernel);
    const VImage theirs = in.resize(static_cast<double>(c.toWidth) / c.width,
                                    VImage::option()
                                        ->set("vscale", static_cast<double>(c.toHeight) / c.height)
                                        ->set("kernel", c.kernel));
    ASSERT_EQ(mine.width(), c.toWidth) << what;
    ASSERT_EQ(mine.height(), c.toHeight) << what;
    ASSERT_EQ(mine.bands(), c.bands) << what;
    EXPECT_LE(MaxDifference(mine, theirs), 3.0) << what;
  }
}

TEST(VipsReduce, TransposeSwapsRowsAndColumnsAndKeepsMetadata) {
  ASSERT_TRUE(VipsImage::EnsureStarted(nullptr));
  VImage in = Pattern(131, 67, 3).copy();
  in.set(VIPS_META_ORIENTATION, 6);
  in.set("pictavo-test", "kept");
  const VImage out = VipsReduce::Transposed(in);
  ASSERT_EQ(out.width(), 67);
  ASSERT_EQ(out.height(), 131);
  EXPECT_EQ(out.interpretation(), VIPS_INTERPRETATION_sRGB);
  EXPECT_EQ(out.get_int(VIPS_META_ORIENTATION), 6);
  EXPECT_STREQ(out.get_string("pictavo-test"), "kept");
  // libvips' own turn: a transpose is a quarter turn and a mirror.
  EXPECT_EQ(MaxDifference(out, in.rot90().flip(VIPS_DIRECTION_HORIZONTAL)), 0.0);

  // Turned upright, a photo keeps the EXIF block that says 6; copying that block must not bring
  // the orientation back, or the next step turns the photo again.
  VipsBlob* jpeg = in.jpegsave_buffer();
  VImage upright = VImage::new_from_buffer(VIPS_AREA(jpeg)->data, VIPS_AREA(jpeg)->length, "")
                       .autorot()
                       .copy_memory();
  vips_area_unref(VIPS_AREA(jpeg));
  ASSERT_EQ(upright.get_typeof(VIPS_META_ORIENTATION), 0u);
  EXPECT_EQ(VipsReduce::Transposed(upright).get_typeof(VIPS_META_ORIENTATION), 0u);
}

TEST(VipsReduce, ImagesWithAlphaKeepTheirSizeThroughTheFallback) {
  ASSERT_TRUE(VipsImage::EnsureStarted(nullptr));
  const VImage in = Pattern(200, 100, 3).bandjoin_const({255.0});
  const VImage out = VipsReduce::ReduceTo(in, 77, 39, VIPS_KERNEL_LANCZOS3);
  EXPECT_EQ(out.width(), 77);
  EXPECT_EQ(out.height(), 39);
  EXPECT_EQ(out.bands(), 4);
}

}  // namespace
}  // namespace pictavo
