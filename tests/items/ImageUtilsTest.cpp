#include "items/ImageUtils.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/LogUtils.h"
#include "support/Fixtures.h"

namespace pictavo {
namespace {

using ImageUtils::ImageSize;
using testing::ImageFormat;
using testing::TempDir;

TEST(ImageUtilsThumbnailSize, FitsTheSquareKeepsProportionsAndNeverEnlarges) {
  struct Row {
    ImageSize image;
    int limit;
    ImageSize expected;
  } rows[] = {
      {{4000, 3000}, 248, {248, 186}},   {{3000, 4000}, 248, {186, 248}},
      {{3264, 2448}, 1024, {1024, 768}}, {{500, 500}, 92, {92, 92}},
      {{200, 100}, 248, {200, 100}},  // smaller than the limit: own size
      {{248, 100}, 248, {248, 100}},  // exactly the limit
      {{10000, 1}, 46, {46, 1}},      // the short side never reaches 0
      {{1, 10000}, 46, {1, 46}},         {{333, 200}, 100, {100, 60}},  // 60.06 rounds down
      {{333, 201}, 100, {100, 60}},      {{199, 300}, 100, {66, 100}},  // 66.33
      {{4000, 3000}, 0, {4000, 3000}},                                  // no limit
      {{4000, 3000}, -1, {4000, 3000}},  {{0, 3000}, 248, {0, 0}},  // unknown sizes stay unknown
      {{4000, -3}, 248, {0, 0}},
  };
  for (const auto& row : rows) {
    const ImageSize got = ImageUtils::GetThumbnailSize(row.image, row.limit);
    EXPECT_EQ(got, row.expected) << row.image.width << "x" << row.image.height << " in "
                                 << row.limit << " gave " << got.width << "x" << got.height;
  }
}

struct FormatCase {
  ImageFormat format;
  const char* name;
  const char* encoder;
};

const FormatCase kFormats[] = {
    {ImageFormat::Jpeg, "a.jpg", "image/jpeg"},
    {ImageFormat::Png, "a.png", "image/png"},
    {ImageFormat::Gif, "a.gif", "image/gif"},
    {ImageFormat::Tiff, "a.tif", "image/tiff"},
};

TEST(ImageUtilsHeader, SizesAndEncoderOfEveryFormat) {
  TempDir dir;
  for (const auto& format : kFormats) {
    for (const ImageSize size : {ImageSize{1, 1}, ImageSize{640, 480}, ImageSize{33, 1000}}) {
      const std::string path = dir.File(format.name);
      testing::WriteImage(path, size.width, size.height, format.format);
      EXPECT_EQ(ImageUtils::GetImageWidth(path), size.width) << format.name;
      EXPECT_EQ(ImageUtils::GetImageHeight(path), size.height) << format.name;
      EXPECT_EQ(ImageUtils::GetImageSize(path), size) << format.name;
      EXPECT_EQ(ImageUtils::GetEncoderFormat(path), format.encoder) << format.name;
    }
  }
}

TEST(ImageUtilsHeader, EncoderFollowsTheContentNotTheName) {
  TempDir dir;
  const std::string path = dir.File("really-a-png.jpg");
  testing::WriteImage(path, 5, 5, ImageFormat::Png);
  EXPECT_EQ(ImageUtils::GetEncoderFormat(path), "image/png");
}

TEST(ImageUtilsHeader, OrientationSixSwapsWidthAndHeight) {
  TempDir dir;
  const std::string path = dir.File("six.jpg");
  testing::WriteOrientation6Jpeg(path, 300, 100);
  EXPECT_EQ(ImageUtils::GetImageSize(path), (ImageSize{100, 300}));
  EXPECT_EQ(ImageUtils::GetThumbnailSize(path, 150), (ImageSize{50, 150}));
}

TEST(ImageUtilsHeader, ResolutionsComeFromTheTags) {
  TempDir dir;
  const std::string path = dir.File("dpi.jpg");
  testing::ExifValues values;
  values.xResolution = 350;
  values.yResolution = 96;
  testing::WriteImage(path, 4, 4, ImageFormat::Jpeg, values);
  EXPECT_EQ(ImageUtils::GetXResolution(path), 350);
  EXPECT_EQ(ImageUtils::GetYResolution(path), 96);
  const std::string bare = dir.File("bare.jpg");
  testing::WriteImage(bare, 4, 4, ImageFormat::Jpeg);
  EXPECT_EQ(ImageUtils::GetXResolution(bare), 0);
  EXPECT_EQ(ImageUtils::GetYResolution(bare), 0);
}

class SaveThumbnailTest : public ::testing::TestWithParam<FormatCase> {
 protected:
  TempDir m_dir;
};

TEST_P(SaveThumbnailTest, WritesTheSizeAskedInTheSameFormatWithoutMetadata) {
  const std::string src = m_dir.File(std::string("src-") + GetParam().name);
  testing::ExifValues exif;
  if (GetParam().format != ImageFormat::Gif) exif = testing::SampleExif();
  testing::WriteImage(src, 400, 300, GetParam().format, exif);
  const std::string dst = m_dir.File(std::string("dst-") + GetParam().name);
  const ImageSize size = ImageUtils::GetThumbnailSize(src, 248);
  ASSERT_TRUE(ImageUtils::SaveImageThumbnailFile(src, dst, size.width, size.height,
                                                 ImageUtils::GetEncoderFormat(src)))
      << LogUtils::GetLastErrorMessage();
  const testing::ReadBack back = testing::ReadBackImage(dst);
  EXPECT_EQ(back.width, 248);
  EXPECT_EQ(back.height, 186);
  EXPECT_EQ(ImageUtils::GetEncoderFormat(dst), GetParam().encoder);
  EXPECT_FALSE(back.hasExif);
  EXPECT_FALSE(back.hasXmp);
  EXPECT_FALSE(back.hasIcc);
  EXPECT_EQ(back.interpretation, "srgb");
}

TEST_P(SaveThumbnailTest, EmptyEncoderMeansTheSourceFormat) {
  const std::string src = m_dir.File(GetParam().name);
  testing::WriteImage(src, 50, 40, GetParam().format);
  const std::string dst = m_dir.File("out.bin");
  ASSERT_TRUE(ImageUtils::SaveImageThumbnailFile(src, dst, 25, 20, ""));
  EXPECT_EQ(ImageUtils::GetEncoderFormat(dst), GetParam().encoder);
  EXPECT_EQ(ImageUtils::GetImageSize(dst), (ImageSize{25, 20}));
}

std::string FormatName(const ::testing::TestParamInfo<FormatCase>& info) {
  const std::string name = info.param.name;
  return name.substr(name.rfind('.') + 1);
}

INSTANTIATE_TEST_SUITE_P(Formats, SaveThumbnailTest, ::testing::ValuesIn(kFormats), FormatName);

TEST(ImageUtilsSave, OrientationSixIsTurnedUpright) {
  TempDir dir;
  const std::string src = dir.File("six.jpg");
  testing::WriteOrientation6Jpeg(src, 200, 100);  // stored landscape, shown portrait
  const std::string dst = dir.File("six-thumb.jpg");
  ASSERT_TRUE(ImageUtils::SaveImageThumbnailFile(src, dst, 50, 100, "image/jpeg"));
  const testing::ReadBack back = testing::ReadBackImage(dst);
  EXPECT_EQ(back.width, 50);
  EXPECT_EQ(back.height, 100);
  EXPECT_FALSE(back.hasExif);  // no orientation tag left to turn it a second time
  // The stored left edge (red 0) becomes the top edge; the stored top (green 0) the right edge.
  const std::vector<double> topRight = testing::UprightPixel(dst, 49, 0);
  const std::vector<double> bottomLeft = testing::UprightPixel(dst, 0, 99);
  ASSERT_GE(topRight.size(), 3u);
  EXPECT_LT(topRight[0], 40);
  EXPECT_LT(topRight[1], 40);
  EXPECT_GT(bottomLeft[0], 215);
  EXPECT_GT(bottomLeft[1], 215);
}

TEST(ImageUtilsSave, JpegWithHundredsOfWarningsIsTurnedUprightToo) {
  TempDir dir;
  const std::string src = dir.File("restarts-six.jpg");
  testing::WriteMisnumberedRestartsJpeg(src, 320, 160);
  testing::ExifValues exif;
  exif.orientation = 6;
  // Add the orientation the way a camera would, after the pixels.
  testing::WriteExifInto(src, exif);
  ASSERT_EQ(ImageUtils::GetImageSize(src), (ImageSize{160, 320}));
  const std::string dst = dir.File("thumb.jpg");
  ASSERT_TRUE(ImageUtils::SaveImageThumbnailFile(src, dst, 40, 80, "image/jpeg"))
      << LogUtils::GetLastErrorMessage();
  EXPECT_EQ(ImageUtils::GetImageSize(dst), (ImageSize{40, 80}));
  EXPECT_FALSE(testing::ReadBackImage(dst).hasExif);
}

TEST(ImageUtilsSave, NeverEnlarges) {
  TempDir dir;
  const std::string src = dir.File("small.png");
  testing::WriteImage(src, 60, 30, ImageFormat::Png);
  const std::string dst = dir.File("big.png");
  ASSERT_TRUE(ImageUtils::SaveImageThumbnailFile(src, dst, 1024, 512, "image/png"));
  EXPECT_EQ(ImageUtils::GetImageSize(dst), (ImageSize{60, 30}));
}

TEST(ImageUtilsSave, DamagedAndTruncatedJpegsStillGiveAPicture) {
  TempDir dir;
  const std::string damaged = dir.File("damaged.jpg");
  const std::string truncated = dir.File("truncated.jpg");
  const std::string restarts = dir.File("restarts.jpg");
  testing::WriteDamagedJpeg(damaged, 320, 240);
  testing::WriteTruncatedJpeg(truncated, 320, 240);
  testing::WriteMisnumberedRestartsJpeg(restarts, 320, 240);
  for (const std::string& src : {damaged, truncated, restarts}) {
    const std::string dst = src + ".thumb.jpg";
    EXPECT_TRUE(ImageUtils::SaveImageThumbnailFile(src, dst, 160, 120, "image/jpeg"))
        << src << ": " << LogUtils::GetLastErrorMessage();
    EXPECT_EQ(ImageUtils::GetImageSize(dst), (ImageSize{160, 120})) << src;
  }
}

TEST(ImageUtilsSave, OddNamesOnBothSides) {
  TempDir dir;
  std::vector<std::string> stems = testing::OddFileStems();
  stems.push_back("bracket[1]");
  stems.push_back("-");
  for (const std::string& stem : stems) {
    const std::string src = dir.File(stem + ".jpg");
    testing::WriteImage(src, 40, 30, ImageFormat::Jpeg);
    const std::string dst = dir.File(stem + " thumb.jpg");
    EXPECT_TRUE(ImageUtils::SaveImageThumbnailFile(src, dst, 20, 15, "image/jpeg"))
        << stem << ": " << LogUtils::GetLastErrorMessage();
    EXPECT_EQ(ImageUtils::GetImageSize(dst), (ImageSize{20, 15})) << stem;
  }
}

struct FailureRow {
  const char* why;
  std::function<void(const TempDir&, std::string& src, std::string& dst)> arrange;
  int width = 20;
  int height = 15;
  std::string encoder = "image/jpeg";
};

TEST(ImageUtilsSave, FailureReturnsFalseLeavesNothingAndSaysWhy) {
  const FailureRow rows[] = {
      {"zero-byte source",
       [](const TempDir& d, std::string& src, std::string&) {
         testing::WriteZeroByteFile(src = d.File("zero.jpg"));
       }},
      {"text named .jpg",
       [](const TempDir& d, std::string& src, std::string&) {
         testing::WriteBytes(src = d.File("text.jpg"), "not a picture\n");
       }},
      {"missing source",
       [](const TempDir& d, std::string& src, std::string&) { src = d.File("missing.jpg"); }},
      {"missing destination folder",
       [](const TempDir& d, std::string&, std::string& dst) { dst = d.File("no/such/dst.jpg"); }},
      {"destination is a folder",
       [](const TempDir& d, std::string&, std::string& dst) {
         std::filesystem::create_directory(dst = d.File("folder.jpg"));
       }},
      {"zero width", [](const TempDir&, std::string&, std::string&) {}, 0, 15},
      {"negative height", [](const TempDir&, std::string&, std::string&) {}, 20, -1},
      {"unknown encoder", [](const TempDir&, std::string&, std::string&) {}, 20, 15,
       "image/x-unknown"},
  };
  for (const auto& row : rows) {
    TempDir dir;
    std::string src = dir.File("good.jpg");
    testing::WriteImage(src, 40, 30, ImageFormat::Jpeg);
    std::string dst = dir.File("dst.jpg");
    row.arrange(dir, src, dst);
    const auto before = testing::ListFolder(dir.Path());
    LogUtils::ClearLastError();
    EXPECT_FALSE(ImageUtils::SaveImageThumbnailFile(src, dst, row.width, row.height, row.encoder))
        << row.why;
    EXPECT_FALSE(LogUtils::GetLastErrorMessage().empty()) << row.why;
    EXPECT_EQ(testing::ListFolder(dir.Path()), before) << row.why << ": left a file behind";
  }
}

TEST(ImageUtilsSave, FailureKeepsAnExistingDestination) {
  TempDir dir;
  const std::string src = dir.File("broken.jpg");
  testing::WriteTruncatedJpeg(src, 64, 64, 0.01);  // not even a whole header
  const std::string dst = dir.File("dst.jpg");
  testing::WriteBytes(dst, "previous album file");
  EXPECT_FALSE(ImageUtils::SaveImageThumbnailFile(src, dst, 20, 20, "image/jpeg"));
  std::ifstream in(dst, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "previous album file");
}

TEST(ImageUtilsSave, WrittenFileFollowsTheUmask) {
  TempDir dir;
  const std::string src = dir.File("src.jpg");
  testing::WriteImage(src, 8, 8, ImageFormat::Jpeg);
  const std::string dst = dir.File("dst.jpg");
  const mode_t old = umask(022);
  const bool saved = ImageUtils::SaveImageThumbnailFile(src, dst, 4, 4, "image/jpeg");
  umask(old);
  ASSERT_TRUE(saved);
  struct stat info {};
  ASSERT_EQ(stat(dst.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);  // readable by the web server, unlike a 0600 temp file
}

// The bytes of a copy written to a file, for reading back.
std::filesystem::path Written(const TempDir& dir, const std::string& name,
                              const std::string& bytes) {
  testing::WriteBytes(dir / name, bytes);
  return dir / name;
}

TEST(ImageUtilsDouble, TwiceEachSideOnlyWhenTheSourceHoldsItAndTheSmallCopyFromTheSameDecode) {
  TempDir dir;
  const std::string src = dir.File("src.jpg");
  testing::WriteImage(src, 400, 300, ImageFormat::Jpeg);
  const ImageUtils::ImageHeader header = ImageUtils::GetImageHeader(src);
  ImageUtils::ScaledBytes photo;
  ImageUtils::ScaledBytes thumb;
  ASSERT_TRUE(ImageUtils::EncodeImageScaled(src, header, 200, 150, true, &photo, {40, 30}, &thumb));
  const auto size = [&](const std::string& name, const std::string& bytes) {
    const testing::ReadBack back = testing::ReadBackImage(Written(dir, name, bytes));
    return ImageSize{back.width, back.height};
  };
  EXPECT_EQ(size("p1.jpg", photo.single), (ImageSize{200, 150}));
  EXPECT_EQ(size("p2.jpg", photo.twice), (ImageSize{400, 300}));
  EXPECT_EQ(size("t1.jpg", thumb.single), (ImageSize{40, 30}));
  EXPECT_EQ(size("t2.jpg", thumb.twice), (ImageSize{80, 60}));
  // One pixel short of twice: no 2x copy, never an enlarged one.
  ASSERT_TRUE(ImageUtils::EncodeImageScaled(src, header, 201, 150, true, &photo));
  EXPECT_EQ(size("p3.jpg", photo.single), (ImageSize{201, 150}));
  EXPECT_TRUE(photo.twice.empty());
  ASSERT_TRUE(ImageUtils::EncodeImageScaled(src, header, 100, 75, false, &photo));
  EXPECT_TRUE(photo.twice.empty());
}

TEST(ImageUtilsDouble, OrientationSixIsTurnedUprightInBothCopies) {
  TempDir dir;
  const std::string src = dir.File("six.jpg");
  testing::WriteOrientation6Jpeg(src, 200, 100);  // stored landscape, shown portrait
  ImageUtils::ScaledBytes bytes;
  ASSERT_TRUE(
      ImageUtils::EncodeImageScaled(src, ImageUtils::GetImageHeader(src), 50, 100, true, &bytes));
  for (const auto& [name, copy, width, height] : {std::tuple{"one.jpg", bytes.single, 50, 100},
                                                  std::tuple{"two.jpg", bytes.twice, 100, 200}}) {
    const auto path = Written(dir, name, copy);
    const testing::ReadBack back = testing::ReadBackImage(path);
    EXPECT_EQ(back.width, width) << name;
    EXPECT_EQ(back.height, height) << name;
    // The stored left edge (red 0) becomes the top edge.
    EXPECT_LT(testing::UprightPixel(path, width - 1, 0)[0], 40) << name;
    EXPECT_GT(testing::UprightPixel(path, 0, height - 1)[0], 215) << name;
  }
}

// A photo tagged with a wide-gamut profile comes out as a colour-managed viewer shows it,
// in the photo and its thumbnail, 1x and 2x; an untagged photo keeps its pixels.
TEST(ImageUtilsColour, AnEmbeddedProfileIsAppliedAndUntaggedPixelsStay) {
  TempDir dir;
  const std::vector<double> orange = {200.0, 60.0, 30.0};
  const std::string tagged = dir.File("p3.jpg");
  testing::WriteProfiledJpeg(tagged, 256, 192, orange, "p3");
  // The stored numbers read as sRGB are visibly off, or this test would prove nothing.
  ASSERT_GT(testing::ColourDifference(testing::UprightPixel(tagged, 10, 10), orange), 5.0);
  const std::string plain = dir.File("plain.jpg");
  testing::WriteImage(plain, 256, 192, ImageFormat::Jpeg, {}, testing::Fill::Solid);
  const std::vector<double> painted = testing::UprightPixel(plain, 10, 10);

  for (const auto& [src, expected] : {std::pair{tagged, orange}, std::pair{plain, painted}}) {
    ImageUtils::ScaledBytes photo;
    ImageUtils::ScaledBytes thumb;
    ASSERT_TRUE(ImageUtils::EncodeImageScaled(src, ImageUtils::GetImageHeader(src), 128, 96, true,
                                              &photo, {32, 24}, &thumb));
    for (const std::string* copy : {&photo.single, &photo.twice, &thumb.single, &thumb.twice}) {
      ASSERT_FALSE(copy->empty());
      const auto path = Written(dir, "out.jpg", *copy);
      EXPECT_FALSE(testing::ReadBackImage(path).hasIcc);
      EXPECT_LT(testing::ColourDifference(testing::UprightPixel(path, 8, 8), expected), 2.0) << src;
    }
  }
}

}  // namespace
}  // namespace pictavo
