#include "album/HighDensity.h"

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "album/OutputRun.h"
#include "core/PathUtils.h"
#include "items/BuildItem.h"
#include "items/ItemList.h"
#include "support/Fixtures.h"
#include "support/RecordingHost.h"

namespace pictavo {
namespace {

namespace fs = std::filesystem;

TEST(HighDensity, TheTwiceCopyLivesInTheSubFolderAndSrcsetNamesBoth) {
  EXPECT_EQ(HighDensity::GetDoublePath("/a/thumbs/b c.jpg"), "/a/thumbs/2x/b c.jpg");
  EXPECT_EQ(HighDensity::AddSrcset("<img src=\"x\" alt=\"a\">", "thumbs/a%2Cb.jpg"),
            "<img src=\"x\" alt=\"a\" srcset=\"thumbs/a%2Cb.jpg 1x, thumbs/2x/a%2Cb.jpg 2x\">");
  EXPECT_EQ(HighDensity::GetSrcsetAttribute("../photos/a&b.jpg"),
            " srcset=\"../photos/a&amp;b.jpg 1x, ../photos/2x/a&amp;b.jpg 2x\"");
}

// An album with photo pages of a large photo (2x copies of photo and thumbnail) and a small
// one (none), listed as a scan lists them.
class HighDensityRun : public ::testing::Test {
 protected:
  void SetUp() override {
    m_runtime.styleFolder = PICTAVO_STYLES_DIR;
    ASSERT_EQ(LoadDesigns(m_runtime), "");
    fs::create_directories(m_dir / "listed");
    m_settings.Output.Location = m_dir.File("out");
    m_settings.Output.ShowOutputSettings = 0;
    m_settings.OutputThumbnail.ThumbnailImageLink = 1;
    m_settings.OutputThumbnail.ThumbnailSize = 1;  // 92
    m_settings.OutputPhoto.PhotoSize = 3;          // 640
    setenv("XDG_CACHE_HOME", m_dir.File("cache").c_str(), 1);
  }
  void TearDown() override { unsetenv("XDG_CACHE_HOME"); }
  void Add(const std::string& name, int width, int height, const testing::ExifValues& exif = {}) {
    testing::WriteImage(m_dir / ("listed/" + name), width, height, testing::ImageFormat::Jpeg,
                        exif);
    const int row = m_list.InsertRow(m_list.AddItem(BuildAlbumItem(m_dir.File("listed/" + name))));
    m_list.SetRowChecked(row, true);
  }
  bool Run() {
    OutputRun run(m_list, m_settings, m_host, m_runtime);
    run.SetListedFolder(m_dir.File("listed"));
    return run.ExecuteOutput(0);
  }
  fs::path Album() const { return m_dir / "out/Pictavo"; }
  ImageUtils::ImageSize SizeOf(const std::string& relative) const {
    const testing::ReadBack back = testing::ReadBackImage(Album() / relative);
    return {back.width, back.height};
  }

  testing::TempDir m_dir;
  ItemList m_list;
  Settings m_settings;
  Runtime m_runtime;
  testing::RecordingHost m_host;
};

TEST_F(HighDensityRun, LargePhotosGetTwiceCopiesThatThePagesOfferAndSmallOnesDoNot) {
  Add("big.jpg", 1400, 1050);
  Add("small.jpg", 300, 225);
  // 2x files of an earlier run with other photos must not be offered or left behind.
  fs::create_directories(Album() / "thumbs/2x");
  testing::WriteImage(Album() / "thumbs/2x/small.jpg", 10, 10, testing::ImageFormat::Jpeg);
  ASSERT_TRUE(Run());
  // The 1x files keep their names and sizes; the 2x copies have twice each side.
  EXPECT_EQ(SizeOf("photos/big.jpg"), (ImageUtils::ImageSize{640, 480}));
  EXPECT_EQ(SizeOf("photos/2x/big.jpg"), (ImageUtils::ImageSize{1280, 960}));
  EXPECT_EQ(SizeOf("thumbs/big.jpg"), (ImageUtils::ImageSize{92, 69}));
  EXPECT_EQ(SizeOf("thumbs/2x/big.jpg"), (ImageUtils::ImageSize{184, 138}));
  EXPECT_EQ(SizeOf("thumbs/small.jpg"), (ImageUtils::ImageSize{92, 69}));
  EXPECT_EQ(SizeOf("thumbs/2x/small.jpg"), (ImageUtils::ImageSize{184, 138}));
  EXPECT_EQ(SizeOf("photos/small.jpg"), (ImageUtils::ImageSize{300, 225}));
  EXPECT_FALSE(fs::exists(Album() / "photos/2x/small.jpg"));

  const std::string index = testing::ReadFileBytes(Album() / "index.html");
  EXPECT_NE(index.find("srcset=\"thumbs/big.jpg 1x, thumbs/2x/big.jpg 2x\""), std::string::npos);
  EXPECT_NE(index.find("srcset=\"thumbs/small.jpg 1x, thumbs/2x/small.jpg 2x\""),
            std::string::npos);
  const std::string bigPage = testing::ReadFileBytes(Album() / "src/page1.html");
  const std::string smallPage = testing::ReadFileBytes(Album() / "src/page2.html");
  EXPECT_NE(bigPage.find("srcset=\"../photos/big.jpg 1x, ../photos/2x/big.jpg 2x\""),
            std::string::npos);
  EXPECT_EQ(smallPage.find("srcset"), std::string::npos);
}

TEST_F(HighDensityRun, PhotoPagesShowThePhotographersRowsAndNoFileCarriesTheGpsPosition) {
  testing::ExifValues exif = testing::SampleExif();
  exif.raw = {{"Exif.Photo.FNumber", "56/10"},
              {"Exif.Photo.ExposureTime", "1/125"},
              {"Exif.Photo.ISOSpeedRatings", "800"},
              {"Exif.Photo.FocalLength", "24/1"},
              {"Exif.Photo.LensModel", "Wide 24"},
              {"Exif.GPSInfo.GPSLatitudeRef", "N"},
              {"Exif.GPSInfo.GPSLatitude", "35/1 39/1 2/1"}};
  Add("gps.jpg", 400, 300, exif);
  m_settings.OutputPhoto.PhotoSize = 0;  // the photo is a copy of the source
  ASSERT_TRUE(Run());
  const std::string page = testing::ReadFileBytes(Album() / "src/page1.html");
  for (const char* text : {"絞り値", "f/5.6", "露出時間", "1/125 秒", "ISO 速度", "ISO-800",
                           "焦点距離", "24 mm", "レンズ", "Wide 24", "data-lens_model"}) {
    EXPECT_NE(page.find(text), std::string::npos) << text;
  }
  EXPECT_EQ(page.find("GPS"), std::string::npos);
  ASSERT_TRUE(testing::HasGpsPosition(m_dir / "listed/gps.jpg"));
  EXPECT_FALSE(testing::HasGpsPosition(Album() / "photos/gps.jpg"));
  EXPECT_FALSE(testing::HasGpsPosition(Album() / "thumbs/gps.jpg"));
}

}  // namespace
}  // namespace pictavo
