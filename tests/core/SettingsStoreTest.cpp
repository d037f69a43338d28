#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "CoreTestDir.h"
#include "core/FileUtils.h"
#include "core/LogUtils.h"
#include "core/Profile.h"
#include "core/SettingsStore.h"
#include "core/StringUtils.h"

namespace pictavo {
namespace {

using coretest::ReadBytes;
using coretest::ScopedEnv;
using coretest::ScratchDir;
using coretest::WriteBytes;

// Every test gets its own documents folder, so Location never touches the real one.
class SettingsStoreTest : public ::testing::Test {
 protected:
  ScratchDir m_dir;
  ScopedEnv m_documents{"XDG_DOCUMENTS_DIR", (m_dir.Path() + "/docs").c_str()};

  Settings LoadFrom(const std::string& text) {
    Settings settings;
    LoadSettings(settings, Profile::FromText(text));
    return settings;
  }
  static std::string SavedText(const Settings& settings) {
    Profile profile;
    SaveSettings(settings, profile);
    return profile.ToText();
  }
};

// Section and key of every line of text that holds a key, in file order.
std::vector<std::pair<std::string, std::string>> KeysInOrder(const std::string& text) {
  std::vector<std::pair<std::string, std::string>> keys;
  std::string section;
  std::size_t start = 0;
  while (start < text.size()) {
    const auto end = text.find("\r\n", start);
    const std::string line = text.substr(start, end - start);
    start = end == std::string::npos ? text.size() : end + 2;
    if (!line.empty() && line.front() == '[') {
      section = line.substr(1, line.size() - 2);
    } else if (const auto eq = line.find('='); eq != std::string::npos) {
      keys.emplace_back(section, line.substr(0, eq));
    }
  }
  return keys;
}

TEST_F(SettingsStoreTest, FreshInstallGivesTheDefaultsAndCreatesTheAlbumFolder) {
  const Settings settings = LoadFrom("");
  const std::string location = m_dir / "docs/Pictavo";
  EXPECT_EQ(settings.Output.Location, location);
  EXPECT_TRUE(FileUtils::IsDirectory(location));
  EXPECT_EQ(settings.Output.FolderName, "Pictavo");
  EXPECT_EQ(settings.View.GIF, 0);
  EXPECT_EQ(settings.View.PNG, 0);
  EXPECT_EQ(settings.View.JPEG, 1);
  EXPECT_EQ(settings.View.TIFF, 1);
  EXPECT_EQ(settings.OutputPage.Title, "ピクタボ");
  EXPECT_EQ(settings.OutputPage.Header, "フォト 一覧");
  EXPECT_EQ(settings.OutputPage.LinkHomePageURL, "http://");
  EXPECT_EQ(settings.OutputPage.FooterCopyright, StringUtils::GetLoadString(10413));
  EXPECT_FALSE(settings.OutputPage.FooterCopyright.empty());
  EXPECT_EQ(settings.OutputSlideshow.Duration, "3.0");
  EXPECT_EQ(settings.CheckPeriodDays, 7);
}

TEST_F(SettingsStoreTest, CheckPeriodFollowsTheIntervalAndIgnoresOddValues) {
  const struct {
    const char* interval;
    int startPeriod;
    int expectedPeriod;
  } rows[] = {{"0", 7, 1},   {"1", 30, 7}, {"2", 7, 30}, {"5", 7, 7},
              {"5", 30, 30}, {"-1", 1, 1}, {"x", 30, 7}};  // "x" reads as the default 1
  for (const auto& row : rows) {
    Settings settings;
    settings.CheckPeriodDays = row.startPeriod;
    LoadSettings(settings,
                 Profile::FromText(std::string("[Options\\Update]\r\nInterval=") + row.interval));
    EXPECT_EQ(settings.CheckPeriodDays, row.expectedPeriod) << row.interval;
  }
  const Settings five = LoadFrom("[Options\\Update]\r\nInterval=5\r\n");
  EXPECT_EQ(five.Update.Interval, 5);  // kept unclamped and saved back as it is
  EXPECT_NE(SavedText(five).find("Interval=5\r\n"), std::string::npos);
}

TEST_F(SettingsStoreTest, DeletedAddressIsDroppedAndSavedEmpty) {
  const std::string kept = m_dir / "写真 & more";
  ASSERT_TRUE(FileUtils::CreateFolderPathExists(kept));
  EXPECT_EQ(LoadFrom("[Options\\General]\r\nAddress=" + kept + "\r\n").General.Address, kept);

  const Settings gone = LoadFrom("[Options\\General]\r\nAddress=" + (m_dir / "deleted") + "\r\n");
  EXPECT_EQ(gone.General.Address, "");
  EXPECT_NE(SavedText(gone).find("[Options\\General]\r\nStartupAddress=0\r\nAddress=\r\n"),
            std::string::npos);
}

TEST_F(SettingsStoreTest, DurationTextIsKeptEvenWhenItIsNoNumber) {
  const Settings settings = LoadFrom("[Options\\OutputSlideshow]\r\nDuration=abc\r\n");
  EXPECT_EQ(settings.OutputSlideshow.Duration, "abc");
  EXPECT_EQ(StringUtils::StringToDoubleNumber(settings.OutputSlideshow.Duration), 0.0);
  EXPECT_NE(SavedText(settings).find("Duration=abc\r\n"), std::string::npos);
}

TEST_F(SettingsStoreTest, ColoursAreReadAndWrittenAsDecimalText) {
  const std::string defaults = SavedText(LoadFrom(""));
  EXPECT_NE(defaults.find("AlternatingRowColorsTextBkOdd=16777215\r\n"), std::string::npos);
  EXPECT_NE(defaults.find("AlternatingRowColorsTextBkEven=15132390\r\n"), std::string::npos);

  const struct {
    const char* text;
    COLORREF expected;
  } rows[] = {{"255", 0xFF}, {"0", 0}, {"abc", 0}, {"4294967295", 0xFFFFFFFF}, {"", 0}};
  for (const auto& row : rows) {
    const Settings settings = LoadFrom(
        std::string("[Options\\Layout]\r\nAlternatingRowColorsTextBkOdd=") + row.text + "\r\n");
    EXPECT_EQ(settings.Layout.AlternatingRowColorsTextBkOdd, row.expected) << row.text;
    EXPECT_EQ(settings.Layout.AlternatingRowColorsTextBkEven, 0xE6E6E6u) << row.text;
  }
}

TEST_F(SettingsStoreTest, OutOfRangeValuesAreNotClamped) {
  const Settings settings = LoadFrom(
      "[options\\outputthumbnail]\r\ncolumn=999\r\nRow=-4\r\n[Options\\OutputPhoto]\r\n"
      "PhotoDimensions=100000\r\nPhotoSize=9\r\n[Options\\General]\r\nAddressHistory=0\r\n");
  EXPECT_EQ(settings.OutputThumbnail.Column, 999);
  EXPECT_EQ(settings.OutputThumbnail.Row, -4);
  EXPECT_EQ(settings.OutputPhoto.PhotoDimensions, 100000);
  EXPECT_EQ(settings.OutputPhoto.PhotoSize, 9);
  EXPECT_EQ(settings.General.AddressHistory, 0);
}

TEST_F(SettingsStoreTest, EveryValueSurvivesASaveAndALoad) {
  Settings changed = LoadFrom("");
  changed.General.StartupAddress = 2;
  changed.View.AllFile = 1;
  changed.Layout.AlternatingRowColorsTextBkOdd = 0x123456;
  changed.Output.FileName = " top ";
  changed.Output.FolderName = "アルバム \"2024\"";
  changed.Output.Location = m_dir / "out, #1";
  changed.Output.OpenProgram = "/usr/bin/firefox";
  changed.OutputStyle.Style = 2;
  changed.OutputPage.FooterCopyright = "&copy; 2024 <b>私</b>";
  changed.OutputPage.NaviCount = 4;
  changed.OutputSlideshow.Duration = "0.1";
  changed.OutputSlideshow.RepeatLimit = 10;
  changed.Update.Interval = 2;
  const std::string first = SavedText(changed);

  Settings reloaded;
  LoadSettings(reloaded, Profile::FromText(first));
  EXPECT_EQ(SavedText(reloaded), first);
  EXPECT_EQ(reloaded.Output.FileName, " top ");
  EXPECT_EQ(reloaded.Output.FolderName, "アルバム \"2024\"");
  EXPECT_EQ(reloaded.OutputPage.FooterCopyright, "&copy; 2024 <b>私</b>");
  EXPECT_EQ(reloaded.Layout.AlternatingRowColorsTextBkOdd, 0x123456u);
  EXPECT_EQ(reloaded.CheckPeriodDays, 30);
}

TEST_F(SettingsStoreTest, KeysAreWrittenInFileOrder) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> expected = {
      {"Options\\General", {"StartupAddress", "Address", "AddressHistory"}},
      {"Options\\View", {"ReadOnly", "Hidden", "System", "GIF", "JPEG", "PNG", "TIFF", "AllFile"}},
      {"Options\\Layout",
       {"ShowGridlines", "ShowAlternatingRowColors", "AlternatingRowColorsTextBkOdd",
        "AlternatingRowColorsTextBkEven"}},
      {"Options\\Output",
       {"FileName", "FolderName", "Location", "ShowOutputSettings", "OpenFile", "OpenFileProgram",
        "OpenProgramApps", "OpenProgramKey", "OpenProgram", "PageFileName", "SourceName",
        "PhotoName", "ThumbnailName"}},
      {"Options\\OutputStyle", {"Style", "StyleDesign"}},
      {"Options\\OutputPage",
       {"Title", "Header", "ViewLinkPhotoPage", "NaviCount", "ViewLinkThumbnailPage",
        "LinkThumbnailPage", "ViewLinkHomePageThumbnailPage", "ViewLinkHomePagePhotoPage",
        "LinkHomePage", "LinkHomePageURL", "FooterCopyright"}},
      {"Options\\OutputPhoto", {"PhotoSize", "PhotoDimensions", "ViewItem", "ViewNote"}},
      {"Options\\OutputThumbnail",
       {"ThumbnailSize", "ThumbnailImageLink", "Column", "Row", "ViewName"}},
      {"Options\\OutputSlideshow",
       {"Play", "Duration", "Repeat", "RepeatLimit", "PhotoSize", "PhotoDimensions", "ViewName",
        "ViewNote"}},
      {"Options\\Update", {"Enabled", "Interval"}},
      {"Options\\Cache", {"ImageCacheSize"}},
  };
  std::vector<std::pair<std::string, std::string>> flat;
  for (const auto& [section, keys] : expected) {
    for (const auto& key : keys) flat.emplace_back(section, key);
  }
  EXPECT_EQ(KeysInOrder(SavedText(LoadFrom(""))), flat);
}

TEST_F(SettingsStoreTest, SettingsFileIsRecreatedWithoutUnknownKeys) {
  const std::string path = m_dir / "config/Pictavo/Pictavo.ini";  // folder made on save
  ASSERT_TRUE(FileUtils::CreateFolderPathExists(m_dir / "config/Pictavo"));
  Profile old;
  old.WriteString("Options\\General", "HandAdded", "1");
  old.WriteString("Options\\View", "GIF", "1");
  old.WriteString("Stale", "Key", "x");
  old.WriteString("Settings", "WindowPos", "old placement");
  ASSERT_TRUE(old.SaveAs(path));

  Settings settings;
  ASSERT_TRUE(LoadSettingsFile(path, settings));
  EXPECT_EQ(settings.View.GIF, 1);
  ASSERT_TRUE(SaveSettingsFile(path, settings, "0,1,10,20,800,600"));

  const std::string bytes = ReadBytes(path);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  Profile saved;
  ASSERT_TRUE(saved.Load(path));
  EXPECT_EQ(saved.GetEncoding(), Profile::Encoding::Utf16Le);
  EXPECT_EQ(saved.ToText().rfind("; Pictavo.ini\r\n[Settings]\r\nWindowPos=0,1,10,20,800,600\r\n"
                                 "[Options\\General]\r\n",
                                 0),
            0u);
  EXPECT_FALSE(saved.HasKey("Options\\General", "HandAdded"));
  EXPECT_FALSE(saved.HasSection("Stale"));
  EXPECT_EQ(saved.GetInt("Options\\View", "GIF", 0), 1);
}

TEST_F(SettingsStoreTest, FailedSaveKeepsThePreviousSettingsFile) {
  const std::string path = m_dir / "Pictavo.ini";
  WriteBytes(path, "[Options\\View]\r\nGIF=1\r\n");
  // A folder standing where the temporary file's folder should be makes the write fail.
  EXPECT_FALSE(SaveSettingsFile(m_dir / "Pictavo.ini/inner.ini", Settings{}, ""));
  EXPECT_FALSE(LogUtils::GetLastErrorMessage().empty());
  EXPECT_EQ(ReadBytes(path), "[Options\\View]\r\nGIF=1\r\n");

  {
    coretest::ScopedFileSizeLimit limit(1024);  // far below a settings file
    ASSERT_TRUE(limit.Active());
    EXPECT_FALSE(SaveSettingsFile(path, Settings{}, "placement"));
  }
  EXPECT_EQ(LogUtils::GetLastError(), EFBIG);
  EXPECT_EQ(ReadBytes(path), "[Options\\View]\r\nGIF=1\r\n");

  Settings settings;
  EXPECT_FALSE(LoadSettingsFile(m_dir.Path(), settings));  // a folder is no settings file
  EXPECT_EQ(settings.View.GIF, 0);
  EXPECT_EQ(settings.Output.FolderName, "Pictavo");
}

}  // namespace
}  // namespace pictavo
