#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "album/PropertyColumns.h"
#include "core/AlbumItem.h"
#include "support/RecordingHost.h"

namespace pictavo {
namespace {

using PropertyColumns::ColumnEntry;

class PropertyIniFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    m_folder =
        std::filesystem::temp_directory_path() /
        ("pictavo-property-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(m_folder);
  }
  void TearDown() override { std::filesystem::remove_all(m_folder); }

  void Write(const std::string& text) {
    std::ofstream out(m_folder / "property.ini", std::ios::binary);
    out << text;
  }

  std::vector<ColumnEntry> Read() {
    return PropertyColumns::ReadColumnEntries(m_folder, "property.ini", m_pump);
  }

  std::filesystem::path m_folder;
  testing::CountingPump m_pump;
};

TEST_F(PropertyIniFolder, EntriesKeepFileOrderWithLabelsAndShownFlags) {
  Write(
      "[Column]\r\nCount=4\r\n"
      "[Column\\Item1]\r\nStringID=10009\r\nShow=1\r\nFormat=1\r\nWidth=80\r\n"
      "[Column\\Item2]\r\nStringID=10001\r\nShow=0\r\n"
      "[column\\item3]\r\nstringid=10017\r\n"
      "[Column\\Item4]\r\nStringID=12003\r\n");
  const auto entries = Read();
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[3].column, 22) << "a photographer's row after the twenty columns";
  EXPECT_EQ(entries[3].label, "ISO 速度");
  EXPECT_EQ(entries[0].column, 8);
  EXPECT_EQ(entries[0].label, "撮影日時");
  EXPECT_TRUE(entries[0].shown);
  EXPECT_EQ(entries[0].format, 1);
  EXPECT_EQ(entries[0].width, 80);
  EXPECT_EQ(entries[0].order, -1);
  EXPECT_EQ(entries[1].column, 0);
  EXPECT_EQ(entries[1].label, "名前");
  EXPECT_FALSE(entries[1].shown);
  EXPECT_EQ(entries[1].format, 0);
  EXPECT_EQ(entries[1].width, -1);
  EXPECT_EQ(entries[2].column, 16) << "sections and keys are case-insensitive";
  EXPECT_TRUE(entries[2].shown) << "Show defaults to 1";
  EXPECT_EQ(m_pump.m_calls, 4);
}

TEST_F(PropertyIniFolder, AMissingFileGivesNoEntries) {
  EXPECT_TRUE(Read().empty());
}

TEST_F(PropertyIniFolder, AMissingStringIdGivesAnUnknownShownColumnWithEmptyLabel) {
  Write("[Column]\r\nCount=2\r\n[Column\\Item1]\r\nShow=1\r\n");
  const auto entries = Read();
  ASSERT_EQ(entries.size(), 2u) << "an entry whose section is missing is still read";
  for (const auto& entry : entries) {
    EXPECT_TRUE(entry.column < 0 || entry.column > 19);
    EXPECT_EQ(entry.label, "");
    EXPECT_TRUE(entry.shown);
    EXPECT_EQ(PropertyColumns::GetPropertyKey(entry.column), "");
  }
}

TEST_F(PropertyIniFolder, HostileCountsAndIdsNeitherOverflowNorExhaustMemory) {
  Write("[Column]\r\nCount=2147483647\r\n[Column\\Item1]\r\nStringID=-2147483648\r\n");
  const auto entries = Read();
  EXPECT_EQ(entries.size(), static_cast<std::size_t>(PropertyColumns::kMaxColumnEntries));
  EXPECT_EQ(entries.front().column, -1);
  Write("[Column]\r\nCount=-5\r\n");
  EXPECT_TRUE(Read().empty());
  Write("[Column]\r\nCount=abc\r\n");
  EXPECT_TRUE(Read().empty());
}

TEST_F(PropertyIniFolder, AQuitEndsTheReadingWithTheEntriesReadSoFar) {
  Write("[Column]\r\nCount=5\r\n");
  m_pump.m_quitAt = {3};
  EXPECT_EQ(Read().size(), 2u);
}

TEST_F(PropertyIniFolder, AFolderNamedLikeTheFileIsNoFile) {
  std::filesystem::create_directories(m_folder / "property.ini");
  EXPECT_TRUE(Read().empty());
}

struct KeyCase {
  int column;
  const char* key;
};

class PropertyKey : public ::testing::TestWithParam<KeyCase> {};

TEST_P(PropertyKey, IsTheFixedKeyOfTheColumn) {
  EXPECT_EQ(PropertyColumns::GetPropertyKey(GetParam().column), GetParam().key);
}

INSTANTIATE_TEST_SUITE_P(
    Columns, PropertyKey,
    ::testing::Values(
        KeyCase{0, "name"}, KeyCase{1, "folder"}, KeyCase{2, "size"}, KeyCase{3, "type"},
        KeyCase{4, "date_modified"}, KeyCase{5, "date_created"}, KeyCase{6, "date_accessed"},
        KeyCase{7, "attributes"}, KeyCase{8, "date_taken"}, KeyCase{9, "dimensions"},
        KeyCase{10, "datetime_digitized"}, KeyCase{11, "datetime"}, KeyCase{12, "camera_maker"},
        KeyCase{13, "camera_model"}, KeyCase{14, "exif_version"}, KeyCase{15, "software_used"},
        KeyCase{16, "exif_exposure_prog"}, KeyCase{17, "x_resolution"}, KeyCase{18, "y_resolution"},
        KeyCase{19, ""}, KeyCase{-1, ""}, KeyCase{20, "f_number"}, KeyCase{21, "exposure_time"},
        KeyCase{22, "iso_speed"}, KeyCase{23, "focal_length"}, KeyCase{24, "lens_model"},
        KeyCase{25, ""}, KeyCase{-10002, ""}));

TEST(PropertyValue, IsTheListTextOfTheColumnAndEmptyForTheNoteAndUnknownColumns) {
  ALBUMITEM item;
  item.name = "a.jpg";
  item.folder = "/photos";
  item.dateTakenText = "2024/05/01 10:00:00";
  item.dimensionsText = "4000 x 3000";
  item.cameraMaker = "Maker";
  item.yResolutionText = "72 dpi";
  item.note = "note text";
  EXPECT_EQ(PropertyColumns::GetPropertyValue(0, item), "a.jpg");
  EXPECT_EQ(PropertyColumns::GetPropertyValue(1, item), "/photos");
  EXPECT_EQ(PropertyColumns::GetPropertyValue(8, item), "2024/05/01 10:00:00");
  EXPECT_EQ(PropertyColumns::GetPropertyValue(9, item), "4000 x 3000");
  EXPECT_EQ(PropertyColumns::GetPropertyValue(12, item), "Maker");
  EXPECT_EQ(PropertyColumns::GetPropertyValue(18, item), "72 dpi");
  item.fNumberText = "f/2.8";
  item.lensText = "Lens";
  EXPECT_EQ(PropertyColumns::GetPropertyValue(20, item), "f/2.8");
  EXPECT_EQ(PropertyColumns::GetPropertyValue(24, item), "Lens");
  EXPECT_EQ(PropertyColumns::GetPropertyValue(19, item), "");
  EXPECT_EQ(PropertyColumns::GetPropertyValue(-1, item), "");
  EXPECT_EQ(PropertyColumns::GetPropertyValue(25, item), "");
}

TEST(ShippedPropertyIni, ShowsTheVisitorsAndPhotographersPropertiesInOrderAndHidesTheOthers) {
  const std::filesystem::path folder =
      std::filesystem::path(PICTAVO_STYLES_DIR) / "design" / "defaults";
  testing::CountingPump pump;
  const auto entries = PropertyColumns::ReadColumnEntries(folder, "property.ini", pump);
  std::vector<int> shown;
  std::vector<int> all;
  for (const auto& entry : entries) {
    all.push_back(entry.column);
    if (entry.shown) shown.push_back(entry.column);
    EXPECT_FALSE(entry.label.empty()) << "column " << entry.column;
  }
  EXPECT_EQ(shown, (std::vector<int>{0, 8, 9, 2, 12, 13, 16, 20, 21, 22, 23, 24}));
  std::sort(all.begin(), all.end());
  std::vector<int> everyProperty;
  for (int c = 0; c <= 24; ++c) {
    if (c != 19) everyProperty.push_back(c);
  }
  EXPECT_EQ(all, everyProperty) << "every property is present once";
}

}  // namespace
}  // namespace pictavo
