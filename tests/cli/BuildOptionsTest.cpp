// build's own checks: overrides, designs, styles and an album folder name that is taken are
// refused with exit status 2 and a message, before the folder is listed or anything written.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CliRunner.h"
#include "support/Fixtures.h"

namespace pictavo::testing {
namespace {

namespace fs = std::filesystem;

class BuildChecks : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(m_home / "photos");
    fs::create_directory(m_home / "albums");
  }
  CliResult Build(std::vector<std::string> options) {
    CliRun run;
    run.home = m_home.Path().string();
    run.args = {"build", "--location", m_home.File("albums")};
    run.args.insert(run.args.end(), options.begin(), options.end());
    run.args.push_back(m_home.File("photos"));
    return RunCli(run);
  }
  TempDir m_home;
};

TEST_F(BuildChecks, RefusedOptionsExitWithTwoNameTheProblemAndWriteNoAlbum) {
  fs::create_directory(m_home / "albums" / "taken");
  fs::create_directory(m_home / "no styles here");
  WriteBytes(m_home / "bad names.ini", "[Options\\Output]\r\nThumbnailName=/tmp/thumbs\r\n");
  const struct {
    const char* what;
    std::vector<std::string> options;
    const char* expected;
  } rows[] = {
      {"--set of an unknown key", {"--set", "Options\\Output", "Colour", "1"}, "Colour"},
      {"--set of a window key", {"--set", "Settings", "WindowPos", "1"}, "WindowPos"},
      {"--set of text for a number",
       {"--set", "Options\\OutputThumbnail", "Column", "five"},
       "five"},
      {"one good --set and one bad",
       {"--set", "Options\\OutputThumbnail", "Column", "4", "--set", "Options\\Nope", "A", "1"},
       "Options\\Nope"},
      {"an unknown design id", {"--design", "42"}, "42"},
      {"an unknown design name", {"--design", "Neon"}, "Neon"},
      {"a styles folder without styles.xml",
       {"--styles", m_home.File("no styles here")},
       "styles.xml"},
      {"an album folder name that exists", {"--name", "taken"}, "既にフォルダーが存在します"},
      {"--set of a photo folder outside the album",
       {"--set", "Options\\Output", "PhotoName", "../out"},
       "PhotoName"},
      {"a settings file with an absolute thumbnail folder",
       {"--settings", m_home.File("bad names.ini")},
       "ThumbnailName \"/tmp/thumbs\""},
      {"a new location with a bad design",
       {"--set", "Options\\Output", "Location", m_home.File("new/deep"), "--design", "42"},
       "42"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const CliResult result = Build(row.options);
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find(row.expected), std::string::npos) << result.err;
    EXPECT_TRUE(result.out.empty()) << result.out;
    EXPECT_FALSE(HasEscapeCode(result.err));
    EXPECT_EQ(ListFolder(m_home / "albums"), std::vector<std::string>{"taken"});
    // Loading the settings makes their Location; a refused build takes it away again.
    EXPECT_FALSE(fs::exists(m_home / "Documents"));
    EXPECT_FALSE(fs::exists(m_home / "new"));
  }
}

TEST_F(BuildChecks, UnknownDesignMessageListsTheDesignsThatExist) {
  const CliResult result = Build({"--design", "9"});
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("0 スタンダード"), std::string::npos) << result.err;
}

TEST_F(BuildChecks, ATakenNameIsRefusedOnlyWhileTheDialogWouldAsk) {
  fs::create_directory(m_home / "albums" / "taken");
  // With ShowOutputSettings 0 the run writes into the existing folder, as the window does.
  const CliResult result =
      Build({"--name", "taken", "--set", "Options\\Output", "ShowOutputSettings", "0"});
  EXPECT_EQ(result.err.find("既にフォルダーが存在します"), std::string::npos) << result.err;
}

}  // namespace
}  // namespace pictavo::testing
