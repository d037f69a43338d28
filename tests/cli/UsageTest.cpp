// Usage errors and bad paths: exit status 2, a message that names the problem, nothing written.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CliRunner.h"
#include "support/Fixtures.h"

namespace pictavo::testing {
namespace {

namespace fs = std::filesystem;

bool IsEmptyFolder(const fs::path& path) {
  return fs::is_empty(path);
}

TEST(CliUsage, HelpListsEveryCommandAndSucceeds) {
  const CliResult result = RunCli({"--help"});
  EXPECT_EQ(result.status, 0);
  for (const char* command : {"build", "list", "config"}) {
    EXPECT_NE(result.out.find(command), std::string::npos) << command;
  }
}

TEST(CliUsage, BuildHelpNamesEveryOption) {
  const CliResult result = RunCli({"build", "--help"});
  EXPECT_EQ(result.status, 0);
  for (const char* option : {"--settings", "--styles", "--location", "--name", "--title",
                             "--header", "--style", "--design", "--notes", "--set", "--open",
                             "--preview", "--skip-unreadable", "--no-cache", "--quiet"}) {
    EXPECT_NE(result.out.find(option), std::string::npos) << option;
  }
}

struct UsageRow {
  const char* what;
  std::vector<std::string> args;
  const char* expectedText;  // part of the message on standard error
};

TEST(CliUsage, MalformedCommandLinesExitWithTwoAndSayWhy) {
  const std::vector<UsageRow> rows = {
      {"no command", {}, "subcommand"},
      {"unknown command", {"paint", "x"}, "paint"},
      {"build without folder", {"build"}, "FOLDER"},
      {"list without folder", {"list"}, "FOLDER"},
      {"unknown style", {"build", "--style", "mosaic", "x"}, "mosaic"},
      {"--set with two values", {"build", "x", "--set", "Options\\Output", "FileName"}, "--set"},
      {"unknown option", {"build", "--colour", "red", "x"}, "--colour"},
      {"config without action", {"config"}, "subcommand"},
      {"config get without key", {"config", "get", "Options\\Output"}, "KEY"},
      {"config set without value", {"config", "set", "Options\\Output", "FileName"}, "VALUE"},
      {"list with a stray argument", {"list", "a", "b"}, "b"},
  };
  for (const UsageRow& row : rows) {
    SCOPED_TRACE(row.what);
    const CliResult result = RunCli(row.args);
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find(row.expectedText), std::string::npos) << result.err;
    EXPECT_TRUE(result.out.empty()) << result.out;
    EXPECT_FALSE(HasEscapeCode(result.err));
  }
}

TEST(CliUsage, StyleNamesAreAcceptedWithoutRegardToCase) {
  TempDir scratch;
  // Parsing succeeds, so the error is the missing folder, not the style.
  const CliResult result = RunCli({"build", "--style", "SlideShow", scratch.File("none")});
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("folder not found"), std::string::npos) << result.err;
}

struct BadPathRow {
  const char* what;
  std::vector<std::string> args;
  std::string namedPath;
};

TEST(CliUsage, BadPathsExitWithTwoNameThePathAndWriteNothing) {
  TempDir scratch;
  const std::string photos = scratch.File("写真 & more");
  fs::create_directory(photos);
  std::ofstream(scratch.File("plain file.jpg")) << "x";
  const std::string folderAsSettings = scratch.File("settings-is-a-folder");
  fs::create_directory(folderAsSettings);
  const std::string location = scratch.File("albums");
  fs::create_directory(location);
  const std::string missing = scratch.File("no such \"folder\"");
  // Opening a FIFO for reading would wait for a writer forever.
  const std::string fifo = scratch.File("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);

  const std::vector<BadPathRow> rows = {
      {"missing build folder", {"build", "--location", location, missing}, missing},
      {"build folder is a file",
       {"build", "--location", location, scratch.File("plain file.jpg")},
       scratch.File("plain file.jpg")},
      {"missing list folder", {"list", missing}, missing},
      {"settings file is a folder",
       {"build", "--location", location, "--settings", folderAsSettings, photos},
       folderAsSettings},
      {"list settings file is a folder",
       {"list", "--settings", folderAsSettings, photos},
       folderAsSettings},
      {"config settings file is a folder",
       {"config", "--settings", folderAsSettings, "list"},
       folderAsSettings},
      {"missing notes file",
       {"build", "--location", location, "--notes", scratch.File("Note.dat"), photos},
       scratch.File("Note.dat")},
      {"notes file is a folder",
       {"build", "--location", location, "--notes", photos, photos},
       photos},
      {"notes file is a FIFO", {"build", "--location", location, "--notes", fifo, photos}, fifo},
      {"settings file is a FIFO",
       {"build", "--location", location, "--settings", fifo, photos},
       fifo},
      {"config settings file is a FIFO", {"config", "--settings", fifo, "list"}, fifo},
      {"config set settings file is a FIFO",
       {"config", "--settings", fifo, "set", "Options\\OutputThumbnail", "Row", "2"},
       fifo},
      {"missing styles folder",
       {"build", "--location", location, "--styles", scratch.File("styles"), photos},
       scratch.File("styles")},
  };
  for (const BadPathRow& row : rows) {
    SCOPED_TRACE(row.what);
    const CliResult result = RunCli(row.args);
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find(row.namedPath), std::string::npos) << result.err;
    EXPECT_TRUE(result.out.empty()) << result.out;
    EXPECT_FALSE(HasEscapeCode(result.err));
    EXPECT_TRUE(IsEmptyFolder(location));
  }
}

TEST(CliUsage, MessagesOnATerminalCarryNoControlCodesEither) {
  TempDir scratch;
  CliRun run;
  run.args = {"build", scratch.File("missing")};
  run.stderrTerminal = true;
  const CliResult result = RunCli(run);
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("folder not found"), std::string::npos) << result.err;
  EXPECT_FALSE(HasEscapeCode(result.err));
}

}  // namespace
}  // namespace pictavo::testing

namespace pictavo::testing {
namespace {

TEST(CliUsage, ListRefusesASortColumnThatIsNoneOfTheTwenty) {
  TempDir scratch;
  for (const char* column : {"20", "-1", "Nombre", "999", ""}) {
    SCOPED_TRACE(column);
    const CliResult result = RunCli({"list", "--sort", column, scratch.Path().string()});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("撮影日時"), std::string::npos) << "names the columns";
    EXPECT_TRUE(result.out.empty());
  }
}

}  // namespace
}  // namespace pictavo::testing
