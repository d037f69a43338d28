// build through the binary on generated photo folders: each style, the dialog's proposal and
// answers, overrides, another styles folder, notes, unreadable files, previews and opening.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "CliRunner.h"
#include "support/AlbumChecks.h"
#include "support/Fixtures.h"

namespace pictavo::testing {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

class BuildRun : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(Photos());
    fs::create_directory(Albums());
    ExifValues exif = SampleExif();
    WriteImage(Photos() / "b sunset.jpg", 320, 240, ImageFormat::Jpeg, exif);
    exif.make = "Cobalt";
    WriteImage(Photos() / "a harbour.jpg", 240, 320, ImageFormat::Jpeg, exif);
    WriteImage(Photos() / "c snow.tif", 200, 150, ImageFormat::Tiff);
  }
  fs::path Photos() const { return m_home / "photos"; }
  fs::path Albums() const { return m_home / "albums"; }

  CliResult Build(std::vector<std::string> options, const fs::path& folder = {},
                  std::vector<std::string> env = {}) {
    CliRun run;
    run.home = m_home.Path().string();
    run.env = std::move(env);
    run.args = {"build", "--location", Albums().string()};
    run.args.insert(run.args.end(), options.begin(), options.end());
    run.args.push_back(folder.empty() ? Photos().string() : folder.string());
    return RunCli(run);
  }

  TempDir m_home;
};

TEST_F(BuildRun, EachStyleWritesACheckedAlbumAndPrintsItsFirstPage) {
  const struct {
    const char* style;
    std::vector<std::string> photoFiles;
  } rows[] = {
      {"thumbnail", {"a harbour.jpg", "b sunset.jpg", "c snow.jpg"}},
      {"album", {"a harbour.jpg", "b sunset.jpg", "c snow.jpg"}},
      {"slideshow", {"a harbour.jpg", "b sunset.jpg", "c snow.jpg"}},
  };
  int number = 0;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.style);
    const CliResult result = Build({"--style", row.style});
    ASSERT_EQ(result.status, 0) << result.err;
    // The dialog's proposal: the next free numbered folder of FolderName.
    const fs::path album = Albums() / ("Pictavo" + std::to_string(++number));
    EXPECT_EQ(PrintedPage(result), album / "index.html") << result.out;
    EXPECT_TRUE(fs::is_regular_file(album / "index.html"));
    EXPECT_EQ(ListFolder(album / "photos"), row.photoFiles);
    const AlbumCheckResult check = CheckAlbum(album);
    EXPECT_TRUE(check.Ok()) << check.Describe();
    EXPECT_TRUE(Contains(AllPagesText(album), "<title>photos</title>"))
        << "title from the folder name";
    EXPECT_FALSE(HasEscapeCode(result.err)) << result.err;
    EXPECT_TRUE(Contains(result.err, "出力が完了しました。")) << result.err;
  }
}

TEST_F(BuildRun, AnswersAndOverridesReachTheAlbum) {
  const struct {
    const char* what;
    std::vector<std::string> options;
    fs::path page;
    std::string expectedText;  // in the first page
  } rows[] = {
      // Title and heading are the page's own markup: they go in as given.
      {"--name, --title and --header",
       {"--name", "夏 2024", "--title", "海の日", "--header", "<em>Sea</em> day"},
       Albums() / "夏 2024" / "index.html",
       "<title>海の日</title>"},
      {"the header",
       {"--name", "h", "--header", "<em>Sea</em> day"},
       Albums() / "h" / "index.html",
       "<div class=\"title\"><em>Sea</em> day</div>"},
      {"--set of the page file name",
       {"--name", "renamed", "--set", "Options\\Output", "FileName", "top"},
       Albums() / "renamed" / "top.html",
       "<title>photos</title>"},
      {"--set without the dialog writes where the settings say",
       {"--set", "Options\\Output", "ShowOutputSettings", "0", "--set", "Options\\Output",
        "FolderName", "fixed", "--set", "Options\\OutputPage", "Title", "Set title"},
       Albums() / "fixed" / "index.html",
       "<title>Set title"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const CliResult result = Build(row.options);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(PrintedPage(result), row.page);
    EXPECT_TRUE(Contains(testing::ReadFileBytes(row.page), row.expectedText))
        << testing::ReadFileBytes(row.page);
    EXPECT_TRUE(CheckAlbum(row.page.parent_path()).Ok());
  }
}

TEST_F(BuildRun, OverridesAreForThisRunOnlyAndTheSettingsFileIsNeverWritten) {
  const CliResult result = Build({"--set", "Options\\OutputThumbnail", "Column", "1"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_FALSE(fs::exists(SandboxSettingsFile(m_home.Path().string())));
}

TEST_F(BuildRun, AColumnOverrideChangesTheThumbnailGrid) {
  // One column and one row per page: one page per photo.
  const CliResult result = Build({"--set", "Options\\OutputThumbnail", "Column", "1", "--set",
                                  "Options\\OutputThumbnail", "Row", "1", "--set",
                                  "Options\\OutputThumbnail", "ThumbnailImageLink", "2"});
  ASSERT_EQ(result.status, 0) << result.err;
  const fs::path album = PrintedPage(result).parent_path();
  EXPECT_EQ(FindAlbumPages(album).size(), 3u) << ListFolder(album).size();
  EXPECT_TRUE(CheckAlbum(album).Ok()) << CheckAlbum(album).Describe();
}

TEST_F(BuildRun, ATakenProposalMovesToTheNextFreeNumber) {
  fs::create_directory(Albums() / "Pictavo1");
  std::ofstream(Albums() / "Pictavo2") << "a file blocks the name too";
  const CliResult result = Build({});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(PrintedPage(result), Albums() / "Pictavo3" / "index.html");
  EXPECT_TRUE(fs::is_empty(Albums() / "Pictavo1")) << "an existing folder is never written";
}

TEST_F(BuildRun, AnotherStylesFolderBringsItsOwnDesign) {
  const fs::path styles = m_home / "my styles";
  fs::copy(PICTAVO_STYLES_DIR, styles, fs::copy_options::recursive);
  std::ofstream(styles / "design" / "css" / "mine.css") << "body { color: #123456; }\n";
  std::ofstream(styles / "styles.xml")
      << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<styles>\n"
         "  <design id=\"0\" name=\"Mine\" stylesheet=\"mine.css\"/>\n</styles>\n";
  const CliResult result = Build({"--styles", styles.string(), "--design", "Mine"});
  ASSERT_EQ(result.status, 0) << result.err;
  const fs::path album = PrintedPage(result).parent_path();
  EXPECT_EQ(testing::ReadFileBytes(album / "css" / "mine.css"), "body { color: #123456; }\n");
  EXPECT_TRUE(Contains(testing::ReadFileBytes(album / "index.html"), "css/mine.css"));
  EXPECT_TRUE(CheckAlbum(album).Ok()) << CheckAlbum(album).Describe();
}

TEST_F(BuildRun, NotesFromTheNotesFileAppearInTheAlbumStyle) {
  const fs::path notes = m_home / "Note.dat";
  const std::string harbour = (Photos() / "a harbour.jpg").string();
  // Encoded as the window saves them, plus a line for a file that is not listed.
  std::ofstream(notes, std::ios::binary)
      << "\xEF\xBB\xBF\"" << harbour << "\",\"Early &amp; calm\",\r\n"
      << "\"/elsewhere/x.jpg\",\"never shown\",\r\n";
  const CliResult result = Build({"--style", "album", "--notes", notes.string()});
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string pages = AllPagesText(PrintedPage(result).parent_path());
  EXPECT_TRUE(Contains(pages, "Early &amp; calm")) << pages;
  EXPECT_FALSE(Contains(pages, "never shown"));
}

TEST_F(BuildRun, UnreadableImagesFailTheRunUnlessSkipped) {
  WriteBytes(Photos() / "letter.jpg", "This is text, not a photo.\n");
  WriteZeroByteFile(Photos() / "empty.jpg");
  // Its header reads as SVG, but no album can carry it.
  WriteBytes(Photos() / "drawing.jpg",
             "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"40\" height=\"30\"></svg>\n");

  const CliResult failed = Build({"--name", "kept"});
  EXPECT_EQ(failed.status, 1) << failed.err;
  EXPECT_TRUE(failed.out.empty()) << failed.out;
  EXPECT_TRUE(Contains(failed.err, "ファイルを出力することができませんでした。")) << failed.err;

  const CliResult skipped = Build({"--skip-unreadable", "--name", "skipped"});
  ASSERT_EQ(skipped.status, 0) << skipped.err;
  for (const char* name : {"letter.jpg", "empty.jpg", "drawing.jpg"}) {
    EXPECT_TRUE(Contains(skipped.err, (Photos() / name).string())) << skipped.err;
  }
  // Named in list order, however the reads finished.
  EXPECT_LT(skipped.err.find((Photos() / "empty.jpg").string()),
            skipped.err.find((Photos() / "letter.jpg").string()));
  for (const std::string& line : SplitLines(skipped.err)) {
    if (Contains(line, "skipped")) {
      EXPECT_FALSE(Contains(line, "a harbour.jpg")) << line;
    }
  }
  const fs::path album = Albums() / "skipped";
  EXPECT_EQ(ListFolder(album / "photos"),
            (std::vector<std::string>{"a harbour.jpg", "b sunset.jpg", "c snow.jpg"}));
  EXPECT_TRUE(CheckAlbum(album).Ok()) << CheckAlbum(album).Describe();
}

TEST_F(BuildRun, PreviewWritesIntoAFreshPreviewFolderAndLeavesTheLocationAlone) {
  std::vector<fs::path> pages;
  for (int i = 0; i < 2; ++i) {
    const CliResult result = Build({"--preview", "--name", "ignored"});
    ASSERT_EQ(result.status, 0) << result.err;
    const fs::path page = PrintedPage(result);
    EXPECT_TRUE(fs::is_regular_file(page)) << result.out;
    EXPECT_EQ(page.string().rfind((m_home / "cache").string(), 0), 0u) << page;
    EXPECT_TRUE(CheckAlbum(page.parent_path()).Ok());
    pages.push_back(page);
  }
  EXPECT_NE(pages[0].parent_path().parent_path(), pages[1].parent_path().parent_path());
  EXPECT_TRUE(fs::is_empty(Albums()));
}

TEST_F(BuildRun, OpenHandsTheFirstPageToTheDesktopOpenerAndOnlyThen) {
  const fs::path bin = m_home / "bin";
  const fs::path opened = m_home / "opened.txt";
  fs::create_directory(bin);
  std::ofstream(bin / "xdg-open") << "#!/bin/sh\nprintf '%s\\n' \"$1\" >>'" << opened.string()
                                  << "'\n";
  fs::permissions(bin / "xdg-open", fs::perms::owner_all);
  const std::string path = "PATH=" + bin.string() + ":" + std::getenv("PATH");

  const CliResult quiet = Build({"--name", "shut"}, {}, {path});
  ASSERT_EQ(quiet.status, 0) << quiet.err;
  EXPECT_FALSE(fs::exists(opened)) << "without --open nothing is opened";

  const CliResult open = Build({"--open", "--name", "open"}, {}, {path});
  ASSERT_EQ(open.status, 0) << open.err;
  EXPECT_EQ(testing::ReadFileBytes(opened), (Albums() / "open" / "index.html").string() + "\n");
}

TEST_F(BuildRun, QuietKeepsStandardErrorEmptyOnSuccess) {
  const CliResult result = Build({"--quiet"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(result.err.empty()) << result.err;
  EXPECT_FALSE(PrintedPage(result).empty());
}

TEST_F(BuildRun, VerboseNamesTheWarningsOfAFileReadThroughDamage) {
  WriteTruncatedJpeg(Photos() / "d cut.jpg", 320, 240);
  const CliResult plain = Build({});
  ASSERT_EQ(plain.status, 0) << plain.err;
  EXPECT_FALSE(Contains(plain.err, "warning: libvips: ")) << plain.err;
  // The first run cached the photos; only a run that reads them again can warn.
  const CliResult verbose = Build({"--verbose", "--no-cache"});
  ASSERT_EQ(verbose.status, 0) << verbose.err;
  EXPECT_TRUE(Contains(verbose.err, "warning: libvips: ")) << verbose.err;
}

TEST_F(BuildRun, ProgressOnAPipeIsPlainLinesAndOnATerminalABar) {
  CliRun run;
  run.home = m_home.Path().string();
  run.args = {"build", "--location", Albums().string(), Photos().string()};
  const CliResult piped = RunCli(run);
  ASSERT_EQ(piped.status, 0) << piped.err;
  EXPECT_FALSE(HasEscapeCode(piped.err));
  EXPECT_TRUE(Contains(piped.err, "a harbour.jpg")) << piped.err;

  run.stderrTerminal = true;
  const CliResult terminal = RunCli(run);
  ASSERT_EQ(terminal.status, 0) << terminal.err;
  EXPECT_TRUE(HasEscapeCode(terminal.err));
}

TEST_F(BuildRun, FoldersThatListNothingWriteNothing) {
  const fs::path empty = m_home / "empty";
  const fs::path onlyFiltered = m_home / "filtered";
  fs::create_directory(empty);
  fs::create_directory(onlyFiltered);
  // PNG and GIF are listed only when the view settings say so.
  WriteImage(onlyFiltered / "screen.png", 40, 30, ImageFormat::Png);
  WriteImage(onlyFiltered / "loop.gif", 40, 30, ImageFormat::Gif);
  for (const fs::path& folder : {empty, onlyFiltered}) {
    SCOPED_TRACE(folder.string());
    const CliResult result = Build({}, folder);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err.rfind("項目を選択してください。", 0), 0u)
        << "the window's own message first";
    EXPECT_TRUE(Contains(result.err, folder.string())) << result.err;
    EXPECT_TRUE(result.out.empty());
    EXPECT_TRUE(fs::is_empty(Albums()));
    EXPECT_FALSE(fs::exists(m_home / "cache" / "Pictavo")) << "no preview root either";
  }
}

TEST_F(BuildRun, RefusedDialogAnswersExitWithTwoBeforeAnythingIsWritten) {
  const struct {
    const char* what;
    std::vector<std::string> options;
    const char* expected;
  } rows[] = {
      {"an empty title", {"--title", ""}, "タイトルを入力してください。"},
      {"an empty header", {"--header", ""}, "見出しを入力してください。"},
      {"an empty name", {"--name", ""}, "フォルダー名を入力してください。"},
      {"a name that leaves the location", {"--name", "../outside"}, "名前には次の文字は使えません"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const CliResult result = Build(row.options);
    EXPECT_EQ(result.status, 2);
    EXPECT_TRUE(Contains(result.err, row.expected)) << result.err;
    EXPECT_TRUE(fs::is_empty(Albums()));
    EXPECT_FALSE(fs::exists(m_home / "outside"));
  }
}

}  // namespace
}  // namespace pictavo::testing
