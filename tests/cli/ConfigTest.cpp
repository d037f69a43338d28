// config get / set / list through the binary: the program's load and save rules on a real file.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "CliRunner.h"
#include "core/Profile.h"
#include "support/Fixtures.h"

namespace pictavo::testing {
namespace {

namespace fs = std::filesystem;

class ConfigCommand : public ::testing::Test {
 protected:
  CliResult Config(std::vector<std::string> args) {
    CliRun run;
    run.args = {"config"};
    run.args.insert(run.args.end(), args.begin(), args.end());
    run.home = m_home.Path().string();
    return RunCli(run);
  }
  std::string SettingsFile() const { return SandboxSettingsFile(m_home.Path().string()); }
  void WriteSettings(const std::string& utf8Text) {
    fs::create_directories(fs::path(SettingsFile()).parent_path());
    std::ofstream(SettingsFile(), std::ios::binary) << utf8Text;
  }

  TempDir m_home;
};

struct GetRow {
  const char* section;
  const char* key;
  const char* value;
};

TEST_F(ConfigCommand, GetOnAFreshInstallationPrintsTheDefaultsInTheirStoredForm) {
  const std::vector<GetRow> rows = {
      {"Options\\Output", "FileName", "index"},
      {"Options\\Output", "FolderName", "Pictavo"},
      {"Options\\Output", "ShowOutputSettings", "1"},
      {"Options\\Layout", "AlternatingRowColorsTextBkOdd", "16777215"},
      {"Options\\Layout", "AlternatingRowColorsTextBkEven", "15132390"},
      {"Options\\OutputSlideshow", "Duration", "3.0"},
      {"Options\\OutputPage", "Title", "ピクタボ"},
      {"options\\outputthumbnail", "column", "5"},  // names without regard to case
      {"Options\\View", "GIF", "0"},
  };
  for (const GetRow& row : rows) {
    SCOPED_TRACE(std::string(row.section) + " " + row.key);
    const CliResult result = Config({"get", row.section, row.key});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, std::string(row.value) + "\n");
  }
  EXPECT_FALSE(fs::exists(SettingsFile())) << "get must never write the settings file";
  EXPECT_FALSE(fs::exists(m_home / "Documents")) << "nor make the album location";
}

TEST_F(ConfigCommand, LocationDefaultsToPictavoInTheDocumentsFolder) {
  const CliResult result = Config({"get", "Options\\Output", "Location"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, (m_home.Path() / "Documents" / "Pictavo").string() + "\n");
}

TEST_F(ConfigCommand, SetThenGetGivesTheValueBack) {
  const fs::path existing = m_home / "start folder";
  fs::create_directory(existing);
  const std::vector<GetRow> rows = {
      {"Options\\OutputThumbnail", "Column", "4"},
      {"Options\\OutputThumbnail", "Row", "-1"},  // no range check on load
      {"Options\\OutputPage", "Title", "夏の旅 & \"friends\", 2024"},
      {"Options\\OutputPage", "Header", "a=b; c"},
      {"Options\\Layout", "AlternatingRowColorsTextBkOdd", "255"},
      {"Options\\OutputSlideshow", "Duration", "abc"},  // kept as text, as the window keeps it
      {"Options\\General", "Address", existing.c_str()},
      {"Options\\Output", "FileName", "top"},
  };
  for (const GetRow& row : rows) {
    SCOPED_TRACE(std::string(row.section) + " " + row.key);
    const CliResult set = Config({"set", row.section, row.key, row.value});
    EXPECT_EQ(set.status, 0) << set.err;
    const CliResult get = Config({"get", row.section, row.key});
    EXPECT_EQ(get.out, std::string(row.value) + "\n");
  }
  // Every earlier change survives the later saves.
  EXPECT_EQ(Config({"get", "Options\\OutputThumbnail", "Column"}).out, "4\n");
}

TEST_F(ConfigCommand, RefusedChangesExitWithTwoAndLeaveTheFileAlone) {
  WriteSettings("[Options\\OutputThumbnail]\r\nColumn=7\r\n");
  const std::string before = testing::ReadFileBytes(SettingsFile());
  const struct {
    const char* what;
    std::vector<std::string> args;
    const char* expected;
  } rows[] = {
      {"text for a number", {"Options\\OutputThumbnail", "Column", "four"}, "four"},
      {"digits then text", {"Options\\OutputThumbnail", "Column", "4x"}, "4x"},
      {"unknown key", {"Options\\OutputThumbnail", "Colour", "4"}, "Colour"},
      {"unknown section", {"Options\\Nothing", "Column", "4"}, "Options\\Nothing"},
      {"a window section", {"Settings", "WindowPos", "0"}, "Settings"},
      {"a missing start folder", {"Options\\General", "Address", "/no/such/folder"}, "Address"},
      {"a line break in the value", {"Options\\OutputPage", "Title", "two\nlines"}, "Title"},
      {"a photo folder outside the album", {"Options\\Output", "PhotoName", "../x"}, "PhotoName"},
      {"an absolute page folder", {"Options\\Output", "SourceName", "/tmp/src"}, "SourceName"},
      {"a top page in a sub-folder", {"Options\\Output", "FileName", "a/index"}, "FileName"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    std::vector<std::string> args = {"set"};
    args.insert(args.end(), row.args.begin(), row.args.end());
    const CliResult result = Config(args);
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find(row.expected), std::string::npos) << result.err;
    EXPECT_EQ(testing::ReadFileBytes(SettingsFile()), before);
  }
}

TEST_F(ConfigCommand, SetChangesTheOneKeyInPlaceAndLeavesEverythingElse) {
  const std::string before =
      "; my settings, by hand\n"
      "[Settings]\nWindowPos=44,0,1,-1,-1,-1,-1,10,20,800,600\n"
      "[ Options\\OutputThumbnail ]\n Column = 07\nRow=3   ; three rows\nHandMade=1\n"
      "[Mine]\nKey=夏\n"
      "[Options\\OutputSlideshow]\nDuration=3.00\n";
  WriteSettings(before);
  const fs::path folder = fs::path(SettingsFile()).parent_path();
  WriteBytes(folder / ".Pictavo.ini.k3Xq9Z", "left by a killed save");
  WriteBytes(folder / ".pictavo-Old123", "left by a killed save of the shared writer");
  fs::last_write_time(folder / ".pictavo-Old123",
                      fs::file_time_type::clock::now() - std::chrono::hours(1));
  WriteBytes(folder / ".pictavo-New123", "maybe a save in progress");
  const fs::path newLocation = m_home / "albums" / "new";

  ASSERT_EQ(Config({"set", "Options\\OutputThumbnail", "Row", "2"}).status, 0);
  ASSERT_EQ(Config({"set", "Options\\Output", "Location", newLocation.string()}).status, 0);

  std::string expected = before;
  expected.replace(expected.find("Row=3   ; three rows"), 20, "Row=2");
  expected += "[Options\\Output]\nLocation=" + newLocation.string() + "\n";
  EXPECT_EQ(testing::ReadFileBytes(SettingsFile()), expected) << "UTF-8 and LF stay as they are";
  EXPECT_FALSE(fs::exists(newLocation)) << "the album location is not made";
  EXPECT_FALSE(fs::exists(m_home / "Documents"));
  EXPECT_EQ(ListFolder(folder),
            (std::vector<std::string>{".Pictavo.ini.lock", ".pictavo-New123", "Pictavo.ini"}))
      << "stale temporary files are gone, a young one and the lock file stay";
}

TEST_F(ConfigCommand, ConcurrentSetsOfDifferentKeysAllSurvive) {
  const std::vector<std::pair<const char*, const char*>> keys = {
      {"Options\\OutputThumbnail", "Column"},      {"Options\\OutputThumbnail", "Row"},
      {"Options\\OutputPhoto", "PhotoDimensions"}, {"Options\\OutputSlideshow", "PhotoDimensions"},
      {"Options\\OutputPage", "NaviCount"},        {"Options\\OutputSlideshow", "RepeatLimit"},
      {"Options\\General", "AddressHistory"},      {"Options\\OutputStyle", "StyleDesign"}};
  std::vector<std::thread> runs;
  for (size_t i = 0; i < keys.size(); ++i) {
    runs.emplace_back([&, i] {
      Config({"set", keys[i].first, keys[i].second, std::to_string(11 + i)});
    });
  }
  for (std::thread& run : runs) run.join();
  Profile saved;
  ASSERT_TRUE(saved.Load(SettingsFile()));
  for (size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(saved.GetInt(keys[i].first, keys[i].second, 0), static_cast<int>(11 + i))
        << keys[i].first << " " << keys[i].second;
  }
}

TEST_F(ConfigCommand, GetShowsWindowKeysAsTheFileHoldsThem) {
  WriteSettings("[Settings]\r\nWindowPos=44,0,1\r\n");
  const CliResult found = Config({"get", "Settings", "WindowPos"});
  EXPECT_EQ(found.status, 0);
  EXPECT_EQ(found.out, "44,0,1\n");
  const CliResult missing = Config({"get", "Settings", "Nothing"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("Nothing"), std::string::npos);
  EXPECT_TRUE(missing.out.empty());
}

TEST_F(ConfigCommand, ListPrintsEverySectionInFileOrderWithTheFileValues) {
  WriteSettings("\xEF\xBB\xBF[Options\\OutputStyle]\r\nStyle=2\r\n");
  const CliResult result = Config({"list"});
  ASSERT_EQ(result.status, 0) << result.err;
  const char* sections[] = {"[Options\\General]",
                            "[Options\\View]",
                            "[Options\\Layout]",
                            "[Options\\Output]",
                            "[Options\\OutputStyle]",
                            "[Options\\OutputPage]",
                            "[Options\\OutputPhoto]",
                            "[Options\\OutputThumbnail]",
                            "[Options\\OutputSlideshow]",
                            "[Options\\Update]",
                            "[Options\\Cache]"};
  size_t last = 0;
  for (const char* section : sections) {
    const size_t at = result.out.find(section);
    ASSERT_NE(at, std::string::npos) << section;
    EXPECT_GE(at, last) << section;
    last = at;
  }
  EXPECT_NE(result.out.find("[Options\\OutputStyle]\nStyle=2\n"), std::string::npos);
  EXPECT_EQ(result.out.find('\r'), std::string::npos);
}

TEST_F(ConfigCommand, AnExplicitSettingsFileIsTheOneReadAndWritten) {
  const std::string other = m_home.File("other.ini");
  std::ofstream(other, std::ios::binary) << "[Options\\Output]\r\nFileName=start\r\n";
  CliRun run;
  run.home = m_home.Path().string();
  run.args = {"config", "--settings", other, "get", "Options\\Output", "FileName"};
  EXPECT_EQ(RunCli(run).out, "start\n");
  run.args = {"config", "--settings", other, "set", "Options\\Output", "FileName", "next"};
  EXPECT_EQ(RunCli(run).status, 0);
  Profile saved;
  ASSERT_TRUE(saved.Load(other));
  EXPECT_EQ(saved.GetString("Options\\Output", "FileName", ""), "next");
  EXPECT_FALSE(fs::exists(SettingsFile()));
}

}  // namespace
}  // namespace pictavo::testing
