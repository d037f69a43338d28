#include "items/FileListUtils.h"

#include <cstdlib>
#include <ctime>
#include <regex>
#include <string>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/Fixtures.h"

namespace pictavo {
namespace {

using testing::ExifValues;
using testing::ImageFormat;
using testing::TempDir;

struct TextRow {
  const char* input;
  const char* expected;
};

TEST(FileListUtilsFormat, ExifDatesReadAsSlashedDatesAndJunkAsEmpty) {
  const TextRow rows[] = {
      {"2008:05:30 15:56:01", "2008/05/30 15:56:01"},
      {"2008:05:30 15:56:01\n", "2008/05/30 15:56:01"},
      {"  2008:05:30 15:56:01  ", "2008/05/30 15:56:01"},
      {"2008-05-30T15:56:01", "2008/05/30 15:56:01"},
      {"1999:12:31 23:59:60", "1999/12/31 23:59:60"},
      {"", ""},
      {"    :  :     :  :  ", ""},
      {"0000:00:00 00:00:00", ""},
      {"2008:13:30 15:56:01", ""},
      {"2008:05:32 15:56:01", ""},
      {"2008:05:30 24:00:00", ""},
      {"2008:05:30", ""},
      {"2008:05-30 15:56:01", ""},
      {"2008/05/30 15.56.01", ""},
      {"abcd:ef:gh ij:kl:mn", ""},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(FileListUtils::FormatExifDate(row.input), row.expected) << "[" << row.input << "]";
  }
}

TEST(FileListUtilsFormat, ExifVersionsReadAsDottedNumbers) {
  const TextRow rows[] = {
      {"0221", "2.21"}, {"0230", "2.30"}, {"0300", "3.00"}, {"1000", "10.00"},
      {"", ""},         {"02a1", "02a1"}, {"022", "022"},   {"\x01\x02\x03\x04", ""},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(FileListUtils::FormatExifVersion(row.input), row.expected) << "[" << row.input << "]";
  }
}

TEST(FileListUtilsFormat, NumbersReadWithUnitsAndNoValueAsEmpty) {
  EXPECT_EQ(FileListUtils::FormatResolution(72), "72 dpi");
  EXPECT_EQ(FileListUtils::FormatResolution(0), "");
  EXPECT_EQ(FileListUtils::FormatResolution(-5), "");
  EXPECT_EQ(FileListUtils::FormatDimensions(4000, 3000), "4000 x 3000");
  EXPECT_EQ(FileListUtils::FormatDimensions(0, 3000), "");
  EXPECT_EQ(FileListUtils::FormatDimensions(4000, 0), "");
  const FileListUtils::ExposureProgramNames table = {{0, "未定義"}, {1, "手動"}, {8, "横長"}};
  EXPECT_EQ(FileListUtils::FormatExposureProgram(1, table), "手動");
  EXPECT_EQ(FileListUtils::FormatExposureProgram(8, table), "横長");
  EXPECT_EQ(FileListUtils::FormatExposureProgram(0, table), "未定義");
  EXPECT_EQ(FileListUtils::FormatExposureProgram(-1, table), "");
  EXPECT_EQ(FileListUtils::FormatExposureProgram(9, table), "");
  EXPECT_EQ(FileListUtils::FormatExposureProgram(1, {}), "");
}

TEST(FileListUtilsFormat, TypeNameIsUpperCaseExtensionAndWord) {
  struct Row {
    const char* path;
    const char* word;
    const char* expected;
  } rows[] = {
      {"/p/photo.jpg", "ファイル", "JPG ファイル"},
      {"/p/photo.JPEG", "ファイル", "JPEG ファイル"},
      {"/p/archive.tar.gz", "ファイル", "GZ ファイル"},
      {"/p/README", "ファイル", "ファイル"},
      {"/p/.hidden", "ファイル", "ファイル"},
      {"/p/.hidden.png", "ファイル", "PNG ファイル"},
      {"/p/trailing.", "ファイル", "ファイル"},
      {"/p.d/noext", "ファイル", "ファイル"},
      {"/p/写真.ｊｐｇ", "ファイル", "ｊｐｇ ファイル"},
      {"/p/photo.jpg", "", "JPG"},
      {"", "ファイル", "ファイル"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(FileListUtils::GetTypeName(row.path, row.word), row.expected) << row.path;
  }
}

TEST(FileListUtilsFilter, WildcardsMatchTheNameIgnoringCase) {
  struct Row {
    const char* path;
    const char* patterns;
    bool expected;
  } rows[] = {
      {"/a/IMG_1.JPG", "*.gif;*.jpg;", true},
      {"/a/img_1.jpeg", "*.jpg;*.jpeg", true},
      {"/a/img_1.jpg.txt", "*.jpg;*.jpeg", false},
      {"/a/x.jpg/photo.png", "*.jpg", false},
      {"/a/photo.png", "", false},
      {"/a/photo.png", ";;", false},
      {"/a/photo.png", " *.png ; *.gif", true},
      {"/a/noext", "*.*", true},
      {"/a/noext", "*", true},
      {"/a/noext", "*.", false},
      {"/a/写真.jpg", "??.jpg", true},
      {"/a/写真.jpg", "?.jpg", false},
      {"/a/ÄRGER.JPG", "*ärger*", true},
      {"/a/a.b", "a?b", true},
      {"/a/ab", "a?b", false},
      {"/a/100%.jpg", "*%.jpg", true},
      {"/a/[1].jpg", "[1].jpg", true},
      {"/a/", "*", false},
      {"/a/aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*a*a*c", false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(FileListUtils::IsFilterMatch(row.path, row.patterns), row.expected)
        << row.path << " ~ " << row.patterns;
  }
}

// Fixes the time zone for the file-time tests and restores it afterwards.
class FileTimesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tz = std::getenv("TZ");
    m_hadTz = tz != nullptr;
    if (tz) m_oldTz = tz;
    setenv("TZ", "UTC", 1);
    tzset();
  }
  void TearDown() override {
    if (m_hadTz) {
      setenv("TZ", m_oldTz.c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  bool m_hadTz = false;
  std::string m_oldTz;
  TempDir m_dir;
};

TEST_F(FileTimesTest, ModifiedAndAccessedReadAsLocalTime) {
  const std::string path = m_dir.File("times.jpg");
  testing::WriteBytes(path, "x");
  // Accessed 2020/01/02 03:04:05, modified 2000/02/29 00:00:00 (UTC).
  const struct timespec times[2] = {{1577934245, 0}, {951782400, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  EXPECT_EQ(FileListUtils::GetLastAccessDateTime(path), "2020/01/02 03:04:05");
  EXPECT_EQ(FileListUtils::GetLastWriteDateTime(path), "2000/02/29 00:00:00");
  const FileListUtils::FileTimes all = FileListUtils::ReadFileTimes(path);
  EXPECT_EQ(all.accessed, "2020/01/02 03:04:05");
  EXPECT_EQ(all.modified, "2000/02/29 00:00:00");
}

TEST_F(FileTimesTest, CreatedIsABirthTimeOrEmpty) {
  const std::string path = m_dir.File("born.jpg");
  const std::time_t before = std::time(nullptr) - 2;
  testing::WriteBytes(path, "x");
  const std::string created = FileListUtils::GetCreationDateTime(path);
  if (created.empty()) GTEST_SKIP() << "this file system keeps no birth time";
  ASSERT_TRUE(std::regex_match(created, std::regex(R"(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d)")))
      << created;
  struct tm local {};
  localtime_r(&before, &local);
  char earliest[32];
  std::strftime(earliest, sizeof earliest, "%Y/%m/%d %H:%M:%S", &local);
  EXPECT_GE(created, std::string(earliest));
}

TEST_F(FileTimesTest, MissingFileHasNoTimes) {
  const std::string path = m_dir.File("missing.jpg");
  EXPECT_EQ(FileListUtils::GetLastWriteDateTime(path), "");
  EXPECT_EQ(FileListUtils::GetCreationDateTime(path), "");
  EXPECT_EQ(FileListUtils::GetLastAccessDateTime(path), "");
  EXPECT_EQ(FileListUtils::GetAttributes(path), "");
}

TEST(FileListUtilsAttributes, ReadOnlyAndDotFilesAreMarked) {
  TempDir dir;
  struct Row {
    const char* name;
    mode_t mode;
    const char* expected;
    bool readOnly;
    bool hidden;
  } rows[] = {
      {"plain.jpg", 0644, "", false, false},      {"locked.jpg", 0444, "R", true, false},
      {"groupwrite.jpg", 0464, "R", true, false}, {".dot.jpg", 0644, "H", false, true},
      {".both.jpg", 0400, "RH", true, true},
  };
  for (const auto& row : rows) {
    const std::string path = dir.File(row.name);
    testing::WriteBytes(path, "x");
    ASSERT_EQ(chmod(path.c_str(), row.mode), 0);
    EXPECT_EQ(FileListUtils::GetAttributes(path), row.expected) << row.name;
    const FileListUtils::FileAttributeFlags flags = FileListUtils::GetFileAttributeFlags(path);
    EXPECT_EQ(flags.readOnly, row.readOnly) << row.name;
    EXPECT_EQ(flags.hidden, row.hidden) << row.name;
    EXPECT_FALSE(flags.system) << row.name;
  }
}

struct ExifCase {
  ImageFormat format;
  const char* name;
};

class ExifTextsTest : public ::testing::TestWithParam<ExifCase> {};

TEST_P(ExifTextsTest, WrittenValuesReadBackAsDisplayTexts) {
  TempDir dir;
  const std::string path = dir.File(GetParam().name);
  ExifValues values;
  values.dateTimeOriginal = "2008:05:30 15:56:01";
  values.dateTimeDigitized = "2009:06:01 01:02:03";
  values.dateTime = "2010:07:31 10:38:11";
  values.make = "Maker & Sons";
  values.model = "Model <X> \"100\"";
  values.software = "写真エディター 2.4";
  values.exifVersion = "0221";
  values.exposureProgram = 1;
  values.xResolution = 300;
  values.yResolution = 72;
  testing::WriteImage(path, 64, 48, GetParam().format, values);

  const FileListUtils::ExposureProgramNames table = {{1, "手動"}, {2, "標準"}};
  EXPECT_EQ(FileListUtils::GetExifDTOrig(path), "2008/05/30 15:56:01");
  EXPECT_EQ(FileListUtils::GetExifDTDigitized(path), "2009/06/01 01:02:03");
  EXPECT_EQ(FileListUtils::GetExifDateTime(path), "2010/07/31 10:38:11");
  EXPECT_EQ(FileListUtils::GetEquipMaker(path), "Maker & Sons");
  EXPECT_EQ(FileListUtils::GetEquipModel(path), "Model <X> \"100\"");
  EXPECT_EQ(FileListUtils::GetSoftwareUsed(path), "写真エディター 2.4");
  EXPECT_EQ(FileListUtils::GetExifVer(path), "2.21");
  EXPECT_EQ(FileListUtils::GetExifExposureProg(path, table), "手動");
  EXPECT_EQ(FileListUtils::GetXResolution(path), "300 dpi");
  EXPECT_EQ(FileListUtils::GetYResolution(path), "72 dpi");
  EXPECT_EQ(FileListUtils::GetImageSize(path), "64 x 48");

  const FileListUtils::ExifRecord record = FileListUtils::ReadExif(path);
  EXPECT_EQ(record.exposureProgram, 1);
  EXPECT_EQ(record.xResolution, 300);
  EXPECT_EQ(record.yResolution, 72);
}

INSTANTIATE_TEST_SUITE_P(Formats, ExifTextsTest,
                         ::testing::Values(ExifCase{ImageFormat::Jpeg, "exif.jpg"},
                                           ExifCase{ImageFormat::Tiff, "exif.tif"},
                                           ExifCase{ImageFormat::Png, "exif.png"}),
                         [](const ::testing::TestParamInfo<ExifCase>& info) {
                           const std::string name = info.param.name;
                           return name.substr(name.rfind('.') + 1);
                         });

TEST(FileListUtilsExif, CentimetreResolutionsReadAsDotsPerInch) {
  TempDir dir;
  const std::string path = dir.File("cm.jpg");
  ExifValues values;
  values.xResolution = 118.11;  // 300 dpi
  values.yResolution = 28.35;   // 72 dpi
  values.resolutionUnit = 3;
  testing::WriteImage(path, 8, 8, ImageFormat::Jpeg, values);
  EXPECT_EQ(FileListUtils::GetXResolution(path), "300 dpi");
  EXPECT_EQ(FileListUtils::GetYResolution(path), "72 dpi");
}

TEST(FileListUtilsExif, ImageWithoutExifHasEmptyTexts) {
  TempDir dir;
  for (const auto& [format, name] :
       {std::pair{ImageFormat::Jpeg, "plain.jpg"}, std::pair{ImageFormat::Png, "plain.png"},
        std::pair{ImageFormat::Gif, "plain.gif"}}) {
    const std::string path = dir.File(name);
    testing::WriteImage(path, 10, 20, format);
    const FileListUtils::ExifRecord record = FileListUtils::ReadExif(path);
    EXPECT_EQ(record.dateTimeOriginal, "") << name;
    EXPECT_EQ(record.make, "") << name;
    EXPECT_EQ(record.version, "") << name;
    EXPECT_EQ(record.exposureProgram, -1) << name;
    EXPECT_EQ(record.xResolution, 0) << name;
    EXPECT_EQ(FileListUtils::GetImageSize(path), "10 x 20") << name;
  }
}

TEST(FileListUtilsExif, ExposureCodeMissingFromTheTableIsEmpty) {
  TempDir dir;
  const std::string path = dir.File("program.jpg");
  ExifValues values;
  values.exposureProgram = 77;
  testing::WriteImage(path, 8, 8, ImageFormat::Jpeg, values);
  EXPECT_EQ(FileListUtils::ReadExif(path).exposureProgram, 77);
  EXPECT_EQ(FileListUtils::GetExifExposureProg(path, {{1, "手動"}}), "");
}

TEST(FileListUtilsExif, OrientationSixReportsTheUprightSize) {
  TempDir dir;
  const std::string path = dir.File("sideways.jpg");
  testing::WriteOrientation6Jpeg(path, 120, 40);
  EXPECT_EQ(FileListUtils::GetImageSize(path), "40 x 120");
}

TEST(FileListUtilsFormat, PhotographersValuesReadAsOnTheCameraAndNoValueAsEmpty) {
  EXPECT_EQ(FileListUtils::FormatFNumber(2.8), "f/2.8");
  EXPECT_EQ(FileListUtils::FormatFNumber(8.0), "f/8");
  EXPECT_EQ(FileListUtils::FormatFNumber(0.0), "");
  EXPECT_EQ(FileListUtils::FormatExposureTime(0.004), "1/250 秒");
  EXPECT_EQ(FileListUtils::FormatExposureTime(1.0 / 3.0), "1/3 秒");
  EXPECT_EQ(FileListUtils::FormatExposureTime(2.5), "2.5 秒");
  EXPECT_EQ(FileListUtils::FormatExposureTime(-1.0), "");
  EXPECT_EQ(FileListUtils::FormatIsoSpeed(200), "ISO-200");
  EXPECT_EQ(FileListUtils::FormatIsoSpeed(0), "");
  EXPECT_EQ(FileListUtils::FormatFocalLength(4.15), "4.2 mm");
  EXPECT_EQ(FileListUtils::FormatFocalLength(50.0), "50 mm");
}

TEST(FileListUtilsExif, PhotographersValuesComeFromTheTagsWithTheApexApertureAsFallback) {
  TempDir dir;
  ExifValues values;
  values.raw = {{"Exif.Photo.FNumber", "28/10"},
                {"Exif.Photo.ExposureTime", "10/2500"},
                {"Exif.Photo.ISOSpeedRatings", "400"},
                {"Exif.Photo.FocalLength", "35/1"},
                {"Exif.Photo.LensModel", "Zoom 18-55 mm"}};
  testing::WriteImage(dir / "a.jpg", 40, 30, ImageFormat::Jpeg, values);
  const auto a = FileListUtils::ReadExif(dir.File("a.jpg"));
  EXPECT_EQ(a.fNumber, "f/2.8");
  EXPECT_EQ(a.exposureTime, "1/250 秒");
  EXPECT_EQ(a.isoSpeed, "ISO-400");
  EXPECT_EQ(a.focalLength, "35 mm");
  EXPECT_EQ(a.lens, "Zoom 18-55 mm");
  values.raw = {{"Exif.Photo.FNumber", "0/0"}, {"Exif.Photo.ApertureValue", "6/1"}};
  testing::WriteImage(dir / "b.jpg", 40, 30, ImageFormat::Jpeg, values);
  const auto b = FileListUtils::ReadExif(dir.File("b.jpg"));
  EXPECT_EQ(b.fNumber, "f/8");
  EXPECT_EQ(b.exposureTime, "");
  EXPECT_EQ(b.lens, "");
}

TEST(FileListUtilsGps, ThePositionIsRemovedAndEverythingElseStays) {
  TempDir dir;
  ExifValues values = testing::SampleExif();
  values.raw = {{"Exif.GPSInfo.GPSLatitudeRef", "N"},
                {"Exif.GPSInfo.GPSLatitude", "35/1 39/1 2/1"},
                {"Xmp.exif.GPSLongitude", "139,41.5E"}};
  const auto tagged = dir / "gps.jpg";
  testing::WriteImage(tagged, 40, 30, ImageFormat::Jpeg, values);
  ASSERT_TRUE(testing::HasGpsPosition(tagged));
  EXPECT_TRUE(FileListUtils::RemoveGpsPosition(tagged.string()));
  EXPECT_FALSE(testing::HasGpsPosition(tagged));
  EXPECT_EQ(FileListUtils::ReadExif(tagged.string()).make, testing::SampleExif().make);
  // A file without a position is not rewritten.
  const auto plain = dir / "plain.jpg";
  testing::WriteImage(plain, 40, 30, ImageFormat::Jpeg, testing::SampleExif());
  const std::string before = testing::ReadFileBytes(plain);
  EXPECT_TRUE(FileListUtils::RemoveGpsPosition(plain.string()));
  EXPECT_EQ(testing::ReadFileBytes(plain), before);
}

}  // namespace
}  // namespace pictavo
