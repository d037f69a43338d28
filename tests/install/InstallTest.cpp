// The installed program: the build is installed into a staging folder (DESTDIR, prefix /usr)
// once, and the staged pictavo-cli is run from there as a packaged copy would be, with its
// folder read-only and the user's folders in a sandbox.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../cli/CliRunner.h"
#include "support/AlbumChecks.h"
#include "support/Fixtures.h"

namespace pictavo::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kAppId = PICTAVO_APP_ID;

// Every entry below root with its size and change time, to prove that a run wrote nothing there.
std::map<std::string, std::pair<std::uintmax_t, std::int64_t>> Snapshot(const fs::path& root) {
  std::map<std::string, std::pair<std::uintmax_t, std::int64_t>> entries;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    struct stat info {};
    lstat(entry.path().c_str(), &info);
    entries[fs::relative(entry.path(), root).string()] = {
        static_cast<std::uintmax_t>(info.st_size),
        static_cast<std::int64_t>(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec};
  }
  return entries;
}

// Width and height from a PNG's IHDR chunk; {0, 0} when the file is no PNG.
std::pair<std::uint32_t, std::uint32_t> PngSize(const fs::path& path) {
  const std::string bytes = ReadFileBytes(path);
  if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {0, 0};
  const auto word = [&bytes](std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
      value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
  };
  return {word(16), word(20)};
}

void MakeReadOnly(const fs::path& root) {
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_symlink()) {
      fs::permissions(entry.path(),
                      fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                      fs::perm_options::remove);
    }
  }
  fs::permissions(root, fs::perms::owner_write, fs::perm_options::remove);
}

void MakeWritable(const fs::path& root) {
  std::error_code ec;
  fs::permissions(root, fs::perms::owner_write, fs::perm_options::add, ec);
  for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::end(it);
       it.increment(ec)) {
    if (!it->is_symlink())
      fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ec);
  }
}

class Installed : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_stage = std::make_unique<TempDir>();
    CliRun run;
    run.binary = PICTAVO_CMAKE_COMMAND;
    run.args = {"--install", PICTAVO_BUILD_DIR, "--prefix", "/usr"};
    run.env = {"DESTDIR=" + s_stage->Path().string()};
    s_install = RunCli(run);
    if (s_install.status == 0) MakeReadOnly(Usr());
  }
  static void TearDownTestSuite() {
    MakeWritable(Usr());
    s_stage.reset();
  }
  void SetUp() override { ASSERT_EQ(s_install.status, 0) << s_install.out << s_install.err; }

  static fs::path Usr() { return s_stage->Path() / "usr"; }

  CliResult Build(const std::string& binary, const fs::path& photos, const fs::path& albums) {
    CliRun run;
    run.binary = binary;
    run.home = m_home.Path().string();
    run.cwd = m_home.Path().string();
    run.args = {"build", "--quiet", "--location", albums.string(), photos.string()};
    return RunCli(run);
  }

  fs::path MakePhotos() {
    const fs::path photos = m_home / "photos";
    fs::create_directories(photos);
    WriteImage(photos / "a harbour.jpg", 320, 240, ImageFormat::Jpeg, SampleExif());
    WriteImage(photos / "b snow.tif", 200, 150, ImageFormat::Tiff);
    return photos;
  }

  static std::unique_ptr<TempDir> s_stage;
  static CliResult s_install;
  TempDir m_home;
};

std::unique_ptr<TempDir> Installed::s_stage;
CliResult Installed::s_install;

TEST_F(Installed, LaysOutTheProgramItsDataAndItsDesktopFilesUnderThePrefix) {
  const std::vector<fs::path> files = {
      "bin/pictavo-cli",
      "share/pictavo/styles/styles.xml",
      "share/pictavo/guide/index.html",
  };
  for (const fs::path& file : files) EXPECT_TRUE(fs::is_regular_file(Usr() / file)) << file;
  EXPECT_TRUE(fs::is_directory(Usr() / "share/pictavo/styles/design"));
  EXPECT_FALSE(fs::exists(Usr() / "share/pictavo/styles/CMakeLists.txt"));
#if PICTAVO_APP_BUILT
  EXPECT_TRUE(fs::is_regular_file(Usr() / "bin/pictavo"));
  const std::string id = kAppId;
  EXPECT_TRUE(fs::is_regular_file(Usr() / "share/applications" / (id + ".desktop")));
  EXPECT_TRUE(fs::is_regular_file(Usr() / "share/metainfo" / (id + ".metainfo.xml")));
  EXPECT_TRUE(fs::is_regular_file(Usr() / "share/icons/hicolor/scalable/apps" / (id + ".svg")));
  for (const std::uint32_t size : std::vector<std::uint32_t>{PICTAVO_ICON_SIZES}) {
    const std::string folder = std::to_string(size) + "x" + std::to_string(size);
    const fs::path png = Usr() / "share/icons/hicolor" / folder / "apps" / (id + ".png");
    EXPECT_EQ(PngSize(png), std::make_pair(size, size)) << png;
  }
#endif
}

TEST_F(Installed, ManualPageIsMadeFromTheCommandsOwnHelp) {
#if !PICTAVO_MAN_PAGE_BUILT
  GTEST_SKIP() << "the build made no manual page (gzip missing)";
#endif
  CliRun run;
  run.binary = PICTAVO_GZIP;
  run.args = {"-dc", (Usr() / "share/man/man1/pictavo-cli.1.gz").string()};
  const CliResult page = RunCli(run);
  ASSERT_EQ(page.status, 0) << page.err;
  EXPECT_TRUE(Contains(page.out, ".TH PICTAVO\\-CLI 1")) << page.out;
  // Options of each command, escaped for roff.
  for (const char* option : {"\\-\\-location", "\\-\\-descending", "SECTION KEY VALUE"}) {
    EXPECT_TRUE(Contains(page.out, option)) << option;
  }
}

TEST_F(Installed, CliFindsTheInstalledStylesAndWritesACompleteAlbumWithoutWritingBesideItself) {
  const fs::path photos = MakePhotos();
  const fs::path albums = m_home / "albums";
  fs::create_directories(albums);
  const auto before = Snapshot(s_stage->Path());

  const CliResult result = Build((Usr() / "bin/pictavo-cli").string(), photos, albums);
  ASSERT_EQ(result.status, 0) << result.err;
  const fs::path album = PrintedPage(result).parent_path();
  ASSERT_EQ(album.parent_path(), albums) << result.out;
  const AlbumCheckResult check = CheckAlbum(album);
  EXPECT_TRUE(check.Ok()) << check.Describe();
  EXPECT_EQ(ListFolder(album / "photos"),
            (std::vector<std::string>{"a harbour.jpg", "b snow.jpg"}));
  EXPECT_FALSE(ListFolder(album / "css").empty());

  EXPECT_EQ(Snapshot(s_stage->Path()), before);
  // The user's files go only to the XDG folders of the sandbox; the run only reads them.
  for (const auto& entry : fs::directory_iterator(m_home.Path())) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "photos" || name == "albums" || name == "config" || name == "cache")
        << name;
  }
}

TEST_F(Installed, CopyRunFromAFolderWithSettingsBesideItKeepsItsSettingsThere) {
  const fs::path photos = MakePhotos();
  const fs::path albums = m_home / "albums";
  fs::create_directories(albums);
  const fs::path copy = m_home / "portable";
  fs::create_directories(copy / "Settings");
  fs::copy_file(Usr() / "bin/pictavo-cli", copy / "pictavo-cli");
  fs::copy(Usr() / "share/pictavo/styles", copy / "styles", fs::copy_options::recursive);
  WriteBytes(copy / "Settings/Pictavo.ini", "[Options\\Output]\r\nFolderName=Portable\r\n");
  fs::create_directories(m_home / "config/Pictavo");
  WriteBytes(m_home / "config/Pictavo/Pictavo.ini",
             "[Options\\Output]\r\nFolderName=Installed\r\n");

  const CliResult result = Build((copy / "pictavo-cli").string(), photos, albums);
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(PrintedPage(result), albums / "Portable1" / "index.html") << result.out;
}

}  // namespace
}  // namespace pictavo::testing
