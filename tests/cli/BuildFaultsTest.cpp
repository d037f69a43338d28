// build through the binary when the input or the disk works against it: sources that would be
// overwritten, runs racing for a folder, names at the length limit, files that cannot be
// written, formats browsers cannot show, animations and files that cannot be read.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "CliRunner.h"
#include "support/AlbumChecks.h"
#include "support/Fixtures.h"

namespace pictavo::testing {
namespace {

namespace fs = std::filesystem;

// Settings overrides that make the run write where the settings say, without the dialog.
std::vector<std::string> FixedAlbum(const std::string& folderName) {
  return {"--set", "Options\\Output", "ShowOutputSettings", "0",
          "--set", "Options\\Output", "FolderName",         folderName};
}

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class BuildFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(Photos());
    fs::create_directory(Albums());
    WriteImage(Photos() / "a harbour.jpg", 320, 240, ImageFormat::Jpeg, SampleExif());
    WriteImage(Photos() / "c snow.tif", 200, 150, ImageFormat::Tiff);
  }
  fs::path Photos() const { return m_home / "photos"; }
  fs::path Albums() const { return m_home / "albums"; }

  CliResult Build(const std::vector<std::string>& options, const fs::path& folder = {},
                  const fs::path& location = {}) {
    CliRun run;
    run.home = m_home.Path().string();
    run.args = {"build", "--location", (location.empty() ? Albums() : location).string()};
    run.args.insert(run.args.end(), options.begin(), options.end());
    run.args.push_back((folder.empty() ? Photos() : folder).string());
    return RunCli(run);
  }

  TempDir m_home;
};

TEST_F(BuildFaults, AnAlbumWhosePhotosOrThumbnailsFolderIsTheListedFolderWritesNothing) {
  // The listed folder is home/trip/photos: an album "trip" in home would write into it.
  const fs::path trip = m_home / "trip";
  const fs::path listed = trip / "photos";
  fs::create_directories(listed);
  fs::copy(Photos(), listed, fs::copy_options::recursive);
  const std::string jpeg = ReadFileBytes(listed / "a harbour.jpg");
  const std::string tiff = ReadFileBytes(listed / "c snow.tif");
  const struct {
    const char* what;
    std::vector<std::string> options;
  } rows[] = {
      {"copy mode", {"--set", "Options\\OutputPhoto", "PhotoSize", "0"}},
      {"resize mode", {"--set", "Options\\OutputPhoto", "PhotoSize", "3"}},
      {"thumbnails",
       {"--set", "Options\\Output", "PhotoName", "big", "--set", "Options\\Output", "ThumbnailName",
        "photos"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const CliResult result = Build(Join(FixedAlbum("trip"), row.options), listed, m_home.Path());
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_TRUE(Contains(result.err, listed.string() + "\" is the listed folder")) << result.err;
    EXPECT_EQ(ReadFileBytes(listed / "a harbour.jpg"), jpeg);
    EXPECT_EQ(ReadFileBytes(listed / "c snow.tif"), tiff);
    EXPECT_EQ(ListFolder(listed), (std::vector<std::string>{"a harbour.jpg", "c snow.tif"}));
    EXPECT_EQ(ListFolder(trip), std::vector<std::string>{"photos"}) << "nothing beside it";
  }
}

TEST_F(BuildFaults, TwoRunsRacingForTheNextFreeFolderAmongThousandsEachGetTheirOwn) {
  for (int n = 1; n <= 3000; ++n) fs::create_directory(Albums() / ("Pictavo" + std::to_string(n)));
  CliResult results[2];
  std::thread other([&] { results[1] = Build({}); });
  results[0] = Build({});
  other.join();
  std::vector<fs::path> albums;
  for (const CliResult& result : results) {
    ASSERT_EQ(result.status, 0) << result.err;
    albums.push_back(PrintedPage(result).parent_path());
    const AlbumCheckResult check = CheckAlbum(albums.back());
    EXPECT_TRUE(check.Ok()) << check.Describe();
    EXPECT_EQ(ListFolder(albums.back() / "photos"),
              (std::vector<std::string>{"a harbour.jpg", "c snow.jpg"}));
  }
  EXPECT_NE(albums[0], albums[1]);
  for (const fs::path& album : albums) {
    EXPECT_TRUE(album == Albums() / "Pictavo3001" || album == Albums() / "Pictavo3002") << album;
  }
}

TEST_F(BuildFaults, NamesOfTheLongestLegalLengthAreWrittenAndNoTemporaryFileStays) {
  const std::string name = std::string(251, 'l') + ".jpg";  // 255 bytes, the limit
  WriteImage(Photos() / name, 120, 90, ImageFormat::Jpeg);
  // A second run over the same album replaces every file.
  for (int run = 0; run < 2; ++run) {
    const CliResult result = Build(FixedAlbum("long"));
    ASSERT_EQ(result.status, 0) << result.err;
  }
  const fs::path album = Albums() / "long";
  EXPECT_EQ(ReadBackImage(album / "photos" / name).width, 120);
  EXPECT_EQ(ReadBackImage(album / "thumbs" / name).width, 120);
  EXPECT_TRUE(CheckAlbum(album).Ok()) << CheckAlbum(album).Describe();
  for (const auto& entry : fs::recursive_directory_iterator(album)) {
    EXPECT_NE(entry.path().filename().string().rfind(".pictavo-", 0), 0u) << entry.path();
  }
}

TEST_F(BuildFaults, AFileThatAPageLinksButCannotBeWrittenFailsTheRunAndIsNamed) {
  const struct {
    const char* style;
    const char* blocked;  // made a folder, so the file of that name cannot be written
  } rows[] = {
      {"thumbnail", "photos/a harbour.jpg"},
      {"slideshow", "photos/c snow.jpg"},
      {"album", "css/common.css"},
  };
  int number = 0;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.blocked);
    const std::string folderName = "blocked" + std::to_string(++number);
    const fs::path blocked = Albums() / folderName / row.blocked;
    fs::create_directories(blocked);
    const CliResult result = Build(Join(FixedAlbum(folderName), {"--style", row.style}));
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_TRUE(result.out.empty()) << result.out;
    EXPECT_TRUE(Contains(result.err, "Is a directory: \"" + blocked.string() + "\"")) << result.err;
    EXPECT_TRUE(Contains(result.err, "ファイルを出力することができませんでした。")) << result.err;
    EXPECT_FALSE(Contains(result.err, "出力が完了しました。")) << result.err;
  }
}

TEST_F(BuildFaults, TiffIsWrittenAsJpegAndAnimatedGifsStayAnimated) {
  WriteAnimatedGif(Photos() / "spin.gif", 200, 150, 3);
  const std::vector<std::string> gifs = {"--set", "Options\\View", "GIF", "1"};
  const CliResult own = Build(Join(FixedAlbum("own"), gifs));
  ASSERT_EQ(own.status, 0) << own.err;
  const fs::path album = Albums() / "own";
  EXPECT_EQ(ListFolder(album / "photos"),
            (std::vector<std::string>{"a harbour.jpg", "c snow.jpg", "spin.gif"}));
  EXPECT_EQ(ReadBackImage(album / "photos" / "c snow.jpg").loader, "jpegload");
  EXPECT_EQ(ReadBackImage(album / "thumbs" / "c snow.jpg").loader, "jpegload");
  EXPECT_TRUE(Contains(ReadFileBytes(album / "index.html"), "thumbs/c%20snow.jpg"));
  EXPECT_TRUE(CheckAlbum(album).Ok()) << CheckAlbum(album).Describe();
  // Small enough for the photo size: the animation is copied as it is.
  EXPECT_EQ(ReadFileBytes(album / "photos" / "spin.gif"), ReadFileBytes(Photos() / "spin.gif"));
  EXPECT_EQ(ReadBackImage(album / "thumbs" / "spin.gif").pages, 3);

  const CliResult resized = Build(Join(Join(FixedAlbum("small"), gifs),
                                       {"--set", "Options\\OutputPhoto", "PhotoSize", "4", "--set",
                                        "Options\\OutputPhoto", "PhotoDimensions", "100"}));
  ASSERT_EQ(resized.status, 0) << resized.err;
  const ReadBack spin = ReadBackImage(Albums() / "small" / "photos" / "spin.gif");
  EXPECT_EQ(spin.pages, 3);
  EXPECT_EQ(spin.width, 100);
  EXPECT_EQ(spin.height, 75) << "each frame scaled, not the strip of frames";

  const CliResult show = Build(Join(FixedAlbum("show"), {"--style", "slideshow"}));
  ASSERT_EQ(show.status, 0) << show.err;
  EXPECT_TRUE(Contains(ReadFileBytes(Albums() / "show" / "js" / "slideshow.js"), "c%20snow.jpg"));
  EXPECT_TRUE(CheckAlbum(Albums() / "show").Ok());
}

TEST_F(BuildFaults, FilesAndFoldersThatCannotBeReadAreNamedWithTheReason) {
  fs::create_symlink("loop.jpg", Photos() / "loop.jpg");
  std::vector<fs::path> unreadable = {Photos() / "loop.jpg"};
  if (geteuid() != 0) {  // root reads every file whatever its permissions
    WriteImage(Photos() / "locked.jpg", 40, 30, ImageFormat::Jpeg);
    fs::permissions(Photos() / "locked.jpg", fs::perms::none);
    unreadable.push_back(Photos() / "locked.jpg");
  }
  const CliResult listed = Build(FixedAlbum("listed"));
  ASSERT_EQ(listed.status, 0) << listed.err;
  for (const fs::path& path : unreadable) {
    EXPECT_TRUE(Contains(listed.err, "skipped, cannot read: " + path.string() + ": "))
        << listed.err;
  }
  EXPECT_TRUE(Contains(listed.err, "Too many levels of symbolic links")) << listed.err;

  const fs::path loopFolder = m_home / "loop";
  fs::create_symlink("loop", loopFolder);
  const CliResult folder = Build({}, loopFolder);
  EXPECT_EQ(folder.status, 2);
  EXPECT_TRUE(Contains(folder.err, "cannot read the folder \"" + loopFolder.string() +
                                       "\": Too many levels of symbolic links"))
      << folder.err;

  // A location below a file: the folder it needs cannot be made, and the message says where.
  const fs::path file = m_home / "file";
  WriteBytes(file, "x");
  const CliResult location = Build(FixedAlbum("a"), {}, file);
  EXPECT_EQ(location.status, 1);
  EXPECT_TRUE(Contains(location.err, "Not a directory: \"" + (file / "a" / "photos").string()))
      << location.err;
}

}  // namespace
}  // namespace pictavo::testing
