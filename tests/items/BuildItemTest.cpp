#include "items/BuildItem.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/LogUtils.h"
#include "items/FileListUtils.h"
#include "items/ImageUtils.h"
#include "support/Fixtures.h"

namespace pictavo {
namespace {

using testing::ExifValues;
using testing::ImageFormat;
using testing::TempDir;

const std::regex kDate(R"(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d)");

TEST(BuildAlbumItem, FillsEveryFieldFromTheFile) {
  TempDir dir;
  const std::string path = dir.File("写真 #1 & co.jpg");
  ExifValues values;
  values.dateTimeOriginal = "2008:05:30 15:56:01";
  values.dateTimeDigitized = "2008:05:30 15:56:02";
  values.dateTime = "2008:07:31 10:38:11";
  values.make = "Canon";
  values.model = "Canon EOS 40D";
  values.software = "GIMP 2.4.5";
  values.exifVersion = "0221";
  values.exposureProgram = 1;
  values.xResolution = 72;
  values.yResolution = 96;
  values.orientation = 6;
  testing::WriteImage(path, 120, 80, ImageFormat::Jpeg, values);

  const ALBUMITEM item = BuildAlbumItem(path);
  EXPECT_EQ(item.fullPath, path);
  EXPECT_EQ(item.name, "写真 #1 & co.jpg");
  EXPECT_EQ(item.folder, dir.Path().string());
  EXPECT_EQ(item.size, static_cast<std::int64_t>(std::filesystem::file_size(path)));
  EXPECT_FALSE(item.sizeText.empty());
  EXPECT_EQ(item.typeText, "JPG ファイル");
  EXPECT_TRUE(std::regex_match(item.modifiedText, kDate)) << item.modifiedText;
  EXPECT_TRUE(std::regex_match(item.accessedText, kDate)) << item.accessedText;
  EXPECT_TRUE(item.createdText.empty() || std::regex_match(item.createdText, kDate));
  EXPECT_EQ(item.attributesText, "");
  EXPECT_EQ(item.dateTakenText, "2008/05/30 15:56:01");
  EXPECT_EQ(item.dateDigitizedText, "2008/05/30 15:56:02");
  EXPECT_EQ(item.exifDateTimeText, "2008/07/31 10:38:11");
  EXPECT_EQ(item.dimensionsText, "80 x 120");  // upright
  EXPECT_EQ(item.width, 80);
  EXPECT_EQ(item.height, 120);
  EXPECT_EQ(item.cameraMaker, "Canon");
  EXPECT_EQ(item.cameraModel, "Canon EOS 40D");
  EXPECT_EQ(item.exifVersion, "2.21");
  EXPECT_EQ(item.software, "GIMP 2.4.5");
  EXPECT_EQ(item.exposureProgram, "手動");
  EXPECT_EQ(item.xResolutionText, "72 dpi");
  EXPECT_EQ(item.xResolution, 72);
  EXPECT_EQ(item.yResolutionText, "96 dpi");
  EXPECT_EQ(item.yResolution, 96);
  EXPECT_EQ(item.note, "");
}

TEST(BuildAlbumItem, EveryExposureProgramCodeHasItsName) {
  TempDir dir;
  const char* const names[] = {"未定義",   "手動",     "標準", "絞り優先", "シャッター優先",
                               "深度優先", "動体優先", "縦長", "横長"};
  for (int code = 0; code <= 9; ++code) {
    const std::string path = dir.File("p" + std::to_string(code) + ".jpg");
    ExifValues values;
    values.exposureProgram = code;
    testing::WriteImage(path, 4, 4, ImageFormat::Jpeg, values);
    EXPECT_EQ(BuildAlbumItem(path).exposureProgram, code <= 8 ? names[code] : "") << code;
  }
}

TEST(BuildAlbumItem, BadFilesGiveEmptyTextsAndZeroNumbers) {
  TempDir dir;
  testing::WriteZeroByteFile(dir / "zero.jpg");
  testing::WriteBytes(dir / "text.jpg", "<html>not a photo</html>");
  testing::WriteBytes(dir / ".hidden", "x");
  for (const char* name : {"zero.jpg", "text.jpg", ".hidden", "missing.jpg"}) {
    const ALBUMITEM item = BuildAlbumItem(dir.File(name));
    EXPECT_EQ(item.name, name);
    EXPECT_EQ(item.width, 0) << name;
    EXPECT_EQ(item.height, 0) << name;
    EXPECT_EQ(item.dimensionsText, "") << name;
    EXPECT_EQ(item.xResolution, 0) << name;
    EXPECT_EQ(item.yResolution, 0) << name;
    EXPECT_EQ(item.dateTakenText, "") << name;
    EXPECT_EQ(item.cameraMaker, "") << name;
    EXPECT_EQ(item.exposureProgram, "") << name;
  }
  EXPECT_EQ(BuildAlbumItem(dir.File(".hidden")).attributesText, "H");
  EXPECT_EQ(BuildAlbumItem(dir.File(".hidden")).typeText, "ファイル");
  EXPECT_EQ(BuildAlbumItem(dir.File("missing.jpg")).modifiedText, "");
  EXPECT_EQ(BuildAlbumItem(dir.File("missing.jpg")).size, 0);
}

ImageUtils::ImageSize ScanSize(const std::string& path) {
  const FileListUtils::ImageRecord record = FileListUtils::ReadImageRecord(path);
  return {record.width, record.height};
}

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// One little-endian TIFF directory of an uncompressed 8-bit grey image, next at nextIfd.
void PutGreyIfd(std::string& out, std::uint32_t width, std::uint32_t height, std::uint32_t pixels,
                std::uint32_t subfileType, std::uint32_t subIfd) {
  struct Entry {
    std::uint16_t tag, type;  // type 3 SHORT, 4 LONG
    std::uint32_t value;
  };
  std::vector<Entry> entries = {{254, 4, subfileType}, {256, 4, width},
                                {257, 4, height},      {258, 3, 8},
                                {259, 3, 1},           {262, 3, 1},
                                {273, 4, pixels},      {277, 3, 1},
                                {278, 4, height},      {279, 4, width * height}};
  if (subIfd != 0) entries.push_back({330, 4, subIfd});
  PutLittleEndian(out, static_cast<std::uint32_t>(entries.size()), 2);
  for (const Entry& entry : entries) {
    PutLittleEndian(out, entry.tag, 2);
    PutLittleEndian(out, entry.type, 2);
    PutLittleEndian(out, 1, 4);
    PutLittleEndian(out, entry.value, 4);
  }
  PutLittleEndian(out, 0, 4);
}

// A TIFF whose first directory is a 20 x 10 preview (marked reduced) with the 200 x 100 image
// in a sub-directory: Exiv2 calls the larger one the image, libvips decodes the first.
void WritePreviewFirstTiff(const std::string& path) {
  constexpr std::uint32_t kFirst = 8, kSub = kFirst + 2 + 11 * 12 + 4;
  constexpr std::uint32_t kPreviewPixels = kSub + 2 + 10 * 12 + 4, kPixels = kPreviewPixels + 200;
  std::string tiff = "II";
  PutLittleEndian(tiff, 42, 2);
  PutLittleEndian(tiff, kFirst, 4);
  PutGreyIfd(tiff, 20, 10, kPreviewPixels, 1, kSub);
  PutGreyIfd(tiff, 200, 100, kPixels, 0, 0);
  tiff += std::string(200, '\x40') + std::string(20000, '\x80');
  testing::WriteBytes(path, tiff);
}

// The scan reads sizes through Exiv2 where it can; each must be the one libvips' header gives.
TEST(ScanSizes, AreTheImageHeaderSizesInEveryFormat) {
  TempDir dir;
  ExifValues turned;
  turned.orientation = 6;
  struct Case {
    const char* name;
    std::function<void(const std::string&)> make;
    ImageUtils::ImageSize upright;
  };
  const Case cases[] = {
      {"turned.jpg",
       [&](const std::string& p) { testing::WriteImage(p, 120, 80, ImageFormat::Jpeg, turned); },
       {80, 120}},
      {"plain.png",
       [](const std::string& p) { testing::WriteImage(p, 30, 20, ImageFormat::Png); },
       {30, 20}},
      // Exiv2 writes a PNG's EXIF as a text chunk, which libvips does not turn by.
      {"text-chunk-exif.png",
       [&](const std::string& p) { testing::WriteImage(p, 30, 20, ImageFormat::Png, turned); },
       {30, 20}},
      {"turned.tif",
       [&](const std::string& p) { testing::WriteImage(p, 40, 30, ImageFormat::Tiff, turned); },
       {30, 40}},
      {"still.gif",
       [](const std::string& p) { testing::WriteImage(p, 25, 15, ImageFormat::Gif); },
       {25, 15}},
      {"animated.gif",
       [](const std::string& p) { testing::WriteAnimatedGif(p, 25, 15, 3); },
       {25, 15}},
      {"preview-first.tif", WritePreviewFirstTiff, {20, 10}},
      // A format Exiv2 does not know: libvips alone gives the size.
      {"grey.pgm",
       [](const std::string& p) {
         testing::WriteBytes(p, "P5\n30 20\n255\n" + std::string(600, 'x'));
       },
       {30, 20}},
  };
  for (const Case& c : cases) {
    const std::string path = dir.File(c.name);
    c.make(path);
    EXPECT_EQ(ScanSize(path), c.upright) << c.name;
    EXPECT_EQ(ImageUtils::GetImageSize(path), c.upright) << c.name;
    EXPECT_EQ(BuildAlbumItem(path).width, c.upright.width) << c.name;
  }
}

// A few bytes that claim a huge image are refused as the header read refuses them.
TEST(ScanSizes, ForgedHugeHeadersGiveNoSize) {
  TempDir dir;
  testing::WriteForgedHeaderPng(dir / "forged.png", 900000, 900000);
  testing::WriteForgedHeaderTiff(dir / "forged.tif", 400000, 400000);
  for (const char* name : {"forged.png", "forged.tif"}) {
    LogUtils::ClearLastError();
    EXPECT_EQ(ScanSize(dir.File(name)), (ImageUtils::ImageSize{})) << name;
    EXPECT_NE(LogUtils::GetLastErrorMessage().find("megapixels an image may have"),
              std::string::npos)
        << name << ": " << LogUtils::GetLastErrorMessage();
    EXPECT_EQ(ImageUtils::GetImageSize(dir.File(name)), (ImageUtils::ImageSize{})) << name;
  }
}

// Real camera files: every one builds, and the known ones give their known values.
class SharedPhotos : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::is_directory(m_root)) {
      GTEST_SKIP() << "shared photos not found at " << m_root.string();
    }
  }
  const std::filesystem::path m_root{PICTAVO_SHARED_PHOTOS};
};

TEST_F(SharedPhotos, EveryFileBuildsAnItem) {
  int images = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(m_root)) {
    if (!entry.is_regular_file()) continue;
    const std::string path = entry.path().string();
    const ALBUMITEM item = BuildAlbumItem(path);
    EXPECT_EQ(item.fullPath, path);
    EXPECT_EQ(item.size, static_cast<std::int64_t>(entry.file_size())) << path;
    EXPECT_EQ(item.width == 0, item.height == 0) << path;
    EXPECT_EQ(item.dimensionsText.empty(), item.width == 0) << path;
    if (item.width > 0) ++images;
  }
  EXPECT_GT(images, 80);
}

TEST_F(SharedPhotos, ScanSizesAreTheImageHeaderSizes) {
  for (const auto& entry : std::filesystem::recursive_directory_iterator(m_root)) {
    if (!entry.is_regular_file()) continue;
    const std::string path = entry.path().string();
    EXPECT_EQ(ScanSize(path), ImageUtils::GetImageSize(path)) << path;
  }
}

TEST_F(SharedPhotos, Canon40DGivesItsExifValues) {
  const ALBUMITEM item = BuildAlbumItem((m_root / "jpg/Canon_40D.jpg").string());
  EXPECT_EQ(item.cameraMaker, "Canon");
  EXPECT_EQ(item.cameraModel, "Canon EOS 40D");
  EXPECT_EQ(item.dateTakenText, "2008/05/30 15:56:01");
  EXPECT_EQ(item.dateDigitizedText, "2008/05/30 15:56:01");
  EXPECT_EQ(item.exifDateTimeText, "2008/07/31 10:38:11");
  EXPECT_EQ(item.exifVersion, "2.21");
  EXPECT_EQ(item.software, "GIMP 2.4.5");
  EXPECT_EQ(item.exposureProgram, "手動");
  EXPECT_EQ(item.xResolution, 72);
  EXPECT_EQ(item.yResolution, 72);
  EXPECT_EQ(item.xResolutionText, "72 dpi");
  EXPECT_EQ(item.yResolutionText, "72 dpi");
}

TEST_F(SharedPhotos, PortraitSixReportsItsUprightSize) {
  const std::string upright = (m_root / "jpg/orientation/portrait_1.jpg").string();
  const std::string sideways = (m_root / "jpg/orientation/portrait_6.jpg").string();
  const ALBUMITEM reference = BuildAlbumItem(upright);
  const ALBUMITEM item = BuildAlbumItem(sideways);
  ASSERT_GT(reference.width, 0);
  EXPECT_LT(item.width, item.height);  // a portrait
  EXPECT_EQ(item.width, reference.width);
  EXPECT_EQ(item.height, reference.height);
  EXPECT_EQ(ImageUtils::GetImageSize(sideways), (ImageUtils::ImageSize{item.width, item.height}));
}

TEST_F(SharedPhotos, CorruptedJpegStillYieldsAThumbnail) {
  TempDir dir;
  const std::string src = (m_root / "jpg/corrupted.jpg").string();
  const ImageUtils::ImageSize size = ImageUtils::GetThumbnailSize(src, 248);
  ASSERT_GT(size.width, 0);
  const std::string dst = dir.File("corrupted.jpg");
  ASSERT_TRUE(ImageUtils::SaveImageThumbnailFile(src, dst, size.width, size.height,
                                                 ImageUtils::GetEncoderFormat(src)))
      << LogUtils::GetLastErrorMessage();
  EXPECT_EQ(ImageUtils::GetImageSize(dst), size);
}

}  // namespace
}  // namespace pictavo
