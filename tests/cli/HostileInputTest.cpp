// build through the binary on hostile input: names with markup and terminal escapes, forged
// image headers, notes files that match nothing or cannot be read, a relative location, and an
// interrupt in the middle of the run.

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "CliRunner.h"
#include "support/AlbumChecks.h"
#include "support/Fixtures.h"

namespace pictavo::testing {
namespace {

namespace fs = std::filesystem;

class HostileBuild : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(Photos());
    fs::create_directory(Albums());
    WriteImage(Photos() / "a.jpg", 64, 48, ImageFormat::Jpeg);
  }
  fs::path Photos() const { return m_home / "photos"; }
  fs::path Albums() const { return m_home / "albums"; }

  CliRun Run(std::vector<std::string> options, const fs::path& folder = {}) {
    CliRun run;
    run.home = m_home.Path().string();
    run.args = {"build", "--location", Albums().string()};
    run.args.insert(run.args.end(), options.begin(), options.end());
    run.args.push_back(folder.empty() ? Photos().string() : folder.string());
    return run;
  }
  CliResult Build(std::vector<std::string> options, const fs::path& folder = {}) {
    return RunCli(Run(std::move(options), folder));
  }

  TempDir m_home;
};

TEST_F(HostileBuild, MarkupInTheFolderNameIsShownAsTextWhileTypedMarkupStays) {
  const fs::path folder = m_home / "<img src=x onerror=alert(1)>";
  fs::create_directory(folder);
  WriteImage(folder / "a.jpg", 64, 48, ImageFormat::Jpeg);

  const CliResult proposed = Build({"--name", "proposed"}, folder);
  ASSERT_EQ(proposed.status, 0) << proposed.err;
  const std::string pages = AllPagesText(Albums() / "proposed");
  EXPECT_FALSE(Contains(pages, "<img src=x")) << "the folder's name must not become markup";
  EXPECT_TRUE(Contains(pages, "&lt;img src=x onerror=alert(1)&gt;"));

  const CliResult typed =
      Build({"--name", "typed", "--title", "<b>Mine</b>", "--header", "<i>Trip</i>"}, folder);
  ASSERT_EQ(typed.status, 0) << typed.err;
  const std::string typedPages = AllPagesText(Albums() / "typed");
  EXPECT_TRUE(Contains(typedPages, "<b>Mine</b>"));
  EXPECT_TRUE(Contains(typedPages, "<i>Trip</i>"));
}

TEST_F(HostileBuild, ForgedHugeHeadersAreRefusedAsUnreadableBeforeDecoding) {
  WriteForgedHeaderTiff(Photos() / "forged.tif", 400000, 400000);
  WriteForgedHeaderPng(Photos() / "forged.png", 900000, 900000);
  const CliResult result =
      Build({"--skip-unreadable", "--set", "Options\\View", "PNG", "1", "--name", "album"});
  ASSERT_EQ(result.status, 0) << result.err;
  for (const char* name : {"forged.tif", "forged.png"}) {
    SCOPED_TRACE(name);
    const std::string line = "skipped, not a readable image: " + (Photos() / name).string();
    EXPECT_TRUE(Contains(result.err, line)) << result.err;
  }
  EXPECT_TRUE(Contains(result.err, "400000 x 400000 pixels is more than the 1000 megapixels"));
  EXPECT_TRUE(Contains(result.err, "900000 x 900000 pixels"));
}

TEST_F(HostileBuild, ControlCharactersInNamesAreShownEscapedOnAPipeAndATerminal) {
  WriteImage(Photos() / "\x1b]0;owned\x07.jpg", 64, 48, ImageFormat::Jpeg);
  WriteImage(Photos() / "two\nlines.jpg", 64, 48, ImageFormat::Jpeg);
  WriteBytes(Photos() / "\x1b[2Jclear.jpg", "not an image");

  const CliResult piped = Build({"--skip-unreadable", "--name", "piped"});
  ASSERT_EQ(piped.status, 0) << piped.err;
  EXPECT_FALSE(HasEscapeCode(piped.err));
  EXPECT_FALSE(Contains(piped.err, "\x07"));
  EXPECT_TRUE(Contains(piped.err, "\\x1B[2Jclear.jpg")) << "the skip message";
  EXPECT_TRUE(Contains(piped.err, "\\x1B]0;owned\\x07.jpg を挿入しています...\n")) << "a step";
  EXPECT_TRUE(Contains(piped.err, "two\\nlines.jpg を挿入しています...\n")) << "one line";

  CliRun terminal = Run({"--skip-unreadable", "--name", "terminal"});
  terminal.stderrTerminal = true;
  const CliResult shown = RunCli(terminal);
  ASSERT_EQ(shown.status, 0) << shown.err;
  // The bar's own erase codes are the only escapes allowed.
  EXPECT_FALSE(Contains(shown.err, "\x1b]")) << "no window title";
  EXPECT_FALSE(Contains(shown.err, "\x1b[2J")) << "no screen clear";
  EXPECT_FALSE(Contains(shown.err, "\x07"));
}

TEST_F(HostileBuild, ARelativeLocationIsTheWorkingFolders) {
  CliRun run = Run({"--name", "album"});
  run.args[2] = "rel/albums";
  run.cwd = m_home.Path().string();
  const CliResult result = RunCli(run);
  ASSERT_EQ(result.status, 0) << result.err;
  const fs::path first = m_home / "rel" / "albums" / "album" / "index.html";
  EXPECT_EQ(result.out, first.string() + "\n");
  EXPECT_TRUE(fs::exists(first));
}

TEST_F(HostileBuild, NotesFilesSayHowManyMatchedAndUnreadOnesAreRefused) {
  const fs::path notes = m_home / "Note.dat";
  WriteBytes(notes, "\xEF\xBB\xBF\"" + (Photos() / "a.jpg").string() +
                        "\",\"here\",\r\n\"/elsewhere/b.jpg\",\"lost\",\r\n");
  const CliResult matched = Build({"--notes", notes.string(), "--quiet", "--name", "matched"});
  EXPECT_EQ(matched.status, 0) << matched.err;
  EXPECT_TRUE(Contains(matched.err, "1 of 2 notes matched listed files")) << matched.err;

  const std::string utf16be("\xFE\xFF\0\"\0a\0\"", 8);
  WriteBytes(m_home / "be.dat", utf16be);
  WriteBytes(m_home / "sjis.dat", "\"/p/\x8E\xCA\x90\x5E.jpg\",\"x\",\r\n");
  const fs::path oversized = m_home / "big.dat";
  WriteBytes(oversized, "");
  fs::resize_file(oversized, (std::uintmax_t{256} << 20) + 1);  // sparse: nothing to read
  const struct {
    fs::path file;
    const char* expected;
  } rows[] = {{m_home / "be.dat", "UTF-16BE"},
              {m_home / "sjis.dat", "code page"},
              {oversized, "larger than 256 MB"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.expected);
    const CliResult result = Build({"--notes", row.file.string(), "--name", "refused"});
    EXPECT_EQ(result.status, 2);
    EXPECT_TRUE(Contains(result.err, row.expected)) << result.err;
    EXPECT_FALSE(fs::exists(Albums() / "refused"));
  }
}

TEST_F(HostileBuild, AnInterruptSaysCancelledExits130AndLeavesOnlyWholeFiles) {
  for (int i = 0; i < 40; ++i) {
    WriteImage(Photos() / ("p" + std::to_string(i) + ".jpg"), 320, 240, ImageFormat::Jpeg);
  }
  for (const int signal : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(signal);
    const std::string name = "album" + std::to_string(signal);
    CliRun run = Run({"--name", name});
    run.signal = signal;
    run.signalWhen = "お待ちください。";  // the output run has started
    const CliResult result = RunCli(run);
    EXPECT_EQ(result.status, 130) << result.err;
    EXPECT_TRUE(Contains(result.err, "cancelled")) << result.err;
    EXPECT_TRUE(result.out.empty());
    for (const auto& entry : fs::recursive_directory_iterator(Albums() / name)) {
      if (!entry.is_regular_file()) continue;
      const fs::path& file = entry.path();
      SCOPED_TRACE(file.string());
      EXPECT_NE(file.filename().string().front(), '.') << "no temporary file is left";
      if (file.extension() == ".jpg") {
        EXPECT_GT(ReadBackImage(file).width, 0);
      }
      if (file.extension() == ".html") {
        EXPECT_TRUE(Contains(ReadFileBytes(file), "</html>"));
      }
    }
  }
}

}  // namespace
}  // namespace pictavo::testing
