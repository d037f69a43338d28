// Files a user's folder may hold that are no good image: every reader gives empty texts and
// zero numbers, and none crashes or blocks.

#include <functional>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "items/FileListUtils.h"
#include "items/ImageUtils.h"
#include "support/Fixtures.h"

namespace pictavo {
namespace {

using testing::TempDir;

struct OddFile {
  const char* name;
  std::function<void(const std::string&)> make;
  bool hasHeader;  // the header is whole, so sizes are known
};

const OddFile kOddFiles[] = {
    {"zero.jpg", [](const std::string& p) { testing::WriteZeroByteFile(p); }, false},
    {"text.jpg", [](const std::string& p) { testing::WriteBytes(p, "hello, world\n"); }, false},
    {"binary.png", [](const std::string& p) { testing::WriteBytes(p, std::string(4096, '\xff')); },
     false},
    {"png-magic-only.png",
     [](const std::string& p) { testing::WriteBytes(p, "\x89PNG\r\n\x1a\n"); }, false},
    {"jpeg-magic-only.jpg", [](const std::string& p) { testing::WriteBytes(p, "\xff\xd8\xff"); },
     false},
    {"missing.jpg", [](const std::string&) {}, false},
    {"folder.jpg", [](const std::string& p) { std::filesystem::create_directory(p); }, false},
    {"fifo.jpg", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0644), 0); }, false},
    {"truncated.jpg", [](const std::string& p) { testing::WriteTruncatedJpeg(p, 80, 60); }, true},
    {"damaged.jpg", [](const std::string& p) { testing::WriteDamagedJpeg(p, 80, 60); }, true},
};

TEST(OddFiles, EveryReaderDegradesToEmptyValues) {
  TempDir dir;
  const FileListUtils::ExposureProgramNames table = {{0, "未定義"}, {1, "手動"}};
  for (const auto& odd : kOddFiles) {
    const std::string path = dir.File(odd.name);
    odd.make(path);
    EXPECT_EQ(FileListUtils::GetExifDTOrig(path), "") << odd.name;
    EXPECT_EQ(FileListUtils::GetExifDTDigitized(path), "") << odd.name;
    EXPECT_EQ(FileListUtils::GetExifDateTime(path), "") << odd.name;
    EXPECT_EQ(FileListUtils::GetEquipMaker(path), "") << odd.name;
    EXPECT_EQ(FileListUtils::GetEquipModel(path), "") << odd.name;
    EXPECT_EQ(FileListUtils::GetExifVer(path), "") << odd.name;
    EXPECT_EQ(FileListUtils::GetSoftwareUsed(path), "") << odd.name;
    EXPECT_EQ(FileListUtils::GetExifExposureProg(path, table), "") << odd.name;
    EXPECT_EQ(FileListUtils::GetXResolution(path), "") << odd.name;
    EXPECT_EQ(FileListUtils::GetYResolution(path), "") << odd.name;
    EXPECT_EQ(ImageUtils::GetXResolution(path), 0) << odd.name;
    EXPECT_EQ(ImageUtils::GetYResolution(path), 0) << odd.name;
    if (odd.hasHeader) {
      EXPECT_EQ(ImageUtils::GetImageSize(path), (ImageUtils::ImageSize{80, 60})) << odd.name;
      EXPECT_EQ(FileListUtils::GetImageSize(path), "80 x 60") << odd.name;
      EXPECT_EQ(ImageUtils::GetEncoderFormat(path), "image/jpeg") << odd.name;
    } else {
      EXPECT_EQ(ImageUtils::GetImageWidth(path), 0) << odd.name;
      EXPECT_EQ(ImageUtils::GetImageHeight(path), 0) << odd.name;
      EXPECT_EQ(ImageUtils::GetThumbnailSize(path, 248), (ImageUtils::ImageSize{})) << odd.name;
      EXPECT_EQ(ImageUtils::GetThumbnailSize(path, 0), (ImageUtils::ImageSize{})) << odd.name;
      EXPECT_EQ(FileListUtils::GetImageSize(path), "") << odd.name;
      EXPECT_EQ(ImageUtils::GetEncoderFormat(path), "") << odd.name;
      EXPECT_FALSE(ImageUtils::SaveImageThumbnailFile(path, path + ".out", 10, 10, "")) << odd.name;
      EXPECT_FALSE(std::filesystem::exists(path + ".out")) << odd.name;
    }
  }
}

TEST(OddFiles, OddNamesReadLikeAnyOther) {
  TempDir dir;
  for (const std::string& stem : testing::OddFileStems()) {
    const std::string path = dir.File(stem + ".jpg");
    testing::ExifValues values;
    values.make = stem;  // the name doubles as a hostile text value
    values.dateTimeOriginal = "2001:02:03 04:05:06";
    testing::WriteImage(path, 30, 20, testing::ImageFormat::Jpeg, values);
    EXPECT_EQ(FileListUtils::GetEquipMaker(path), stem);
    EXPECT_EQ(FileListUtils::GetExifDTOrig(path), "2001/02/03 04:05:06") << stem;
    EXPECT_EQ(FileListUtils::GetImageSize(path), "30 x 20") << stem;
    EXPECT_EQ(FileListUtils::GetTypeName(path, "ファイル"), "JPG ファイル") << stem;
    EXPECT_TRUE(FileListUtils::IsFilterMatch(path, "*.JPG")) << stem;
  }
}

TEST(OddFiles, ControlCharactersAndBadUtf8InExifTextAreCleaned) {
  TempDir dir;
  const std::string path = dir.File("dirty.jpg");
  testing::ExifValues values;
  values.make = "  Maker\tOne\x01  ";
  values.model = "Latin-1 \xe9t\xe9";
  testing::WriteImage(path, 8, 8, testing::ImageFormat::Jpeg, values);
  EXPECT_EQ(FileListUtils::GetEquipMaker(path), "MakerOne");
  EXPECT_EQ(FileListUtils::GetEquipModel(path), "Latin-1 \xef\xbf\xbdt\xef\xbf\xbd");
}

}  // namespace
}  // namespace pictavo
