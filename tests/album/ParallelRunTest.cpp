// The image steps run on worker threads; what the user sees and what lands on disk must be
// exactly what a run with one worker gives.

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "album/OutputRun.h"
#include "core/OrderedWork.h"
#include "core/PathUtils.h"
#include "core/StringUtils.h"
#include "items/ItemList.h"
#include "support/AlbumChecks.h"
#include "support/Fixtures.h"
#include "support/RecordingHost.h"

namespace pictavo {
namespace {

namespace fs = std::filesystem;
using testing::RecordingHost;

// Every file under root by its relative path, with its bytes.
std::map<std::string, std::string> Tree(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file())
      files[fs::relative(entry.path(), root).string()] = testing::ReadFileBytes(entry);
  }
  return files;
}

std::string Name(int i) {
  return "p" + std::to_string(100 + i) + ".jpg";
}

class ParallelRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_runtime.styleFolder = PICTAVO_STYLES_DIR;
    ASSERT_EQ(LoadDesigns(m_runtime), "");
    fs::create_directories(m_dir / "listed");
    m_settings.Output.ShowOutputSettings = 0;
    m_settings.OutputThumbnail.ThumbnailImageLink = 1;
    m_settings.OutputPhoto.PhotoSize = 4;
    m_settings.OutputPhoto.PhotoDimensions = 160;
    m_runtime.workerThreads = 4;
  }

  // Photos of varied sizes, some upright only through their EXIF orientation, every third one
  // large so that jobs finish out of list order.
  void AddPhotos(int count) {
    for (int i = 0; i < count; ++i) {
      const fs::path path = m_dir / ("listed/" + Name(i));
      if (i % 5 == 2) {
        testing::WriteOrientation6Jpeg(path, 200 + i, 120);
      } else {
        const int width = i % 3 == 0 ? 1400 : 150 + 7 * i;
        testing::WriteImage(path, width, width * 3 / 4, testing::ImageFormat::Jpeg,
                            testing::SampleExif());
      }
      AddItem(Name(i));
    }
  }
  void AddItem(const std::string& name) {
    ALBUMITEM item;
    item.name = name;
    item.fullPath = m_dir.File("listed/" + name);
    m_list.SetRowChecked(m_list.InsertRow(m_list.AddItem(item)), true);
  }
  OutputRun MakeRun() {
    OutputRun run(m_list, m_settings, m_host, m_runtime);
    run.SetListedFolder(m_dir.File("listed"));
    return run;
  }
  std::string Output(const std::string& album) const {
    return (m_dir / (album + "/index.html")).string();
  }
  std::vector<std::string> Names(const fs::path& folder) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  testing::TempDir m_dir;
  ItemList m_list;
  Settings m_settings;
  Runtime m_runtime;
  RecordingHost m_host;
};

TEST_F(ParallelRunTest, FourWorkersWriteTheSameAlbumByteForByteAsOne) {
  AddPhotos(24);
  m_runtime.workerThreads = 1;
  ASSERT_TRUE(MakeRun().GenerateOutput(0, Output("one"), "T", "H"));
  m_runtime.workerThreads = 4;
  ASSERT_TRUE(MakeRun().GenerateOutput(0, Output("four"), "T", "H"));
  const auto one = Tree(m_dir / "one");
  const auto four = Tree(m_dir / "four");
  EXPECT_EQ(one.size(), four.size());
  EXPECT_EQ(one.count("photos/" + Name(23)), 1u);
  EXPECT_EQ(one.count("src/page24.html"), 1u);
  for (const auto& [path, bytes] : one) {
    const auto other = four.find(path);
    ASSERT_NE(other, four.end()) << path << " is missing from the parallel album";
    EXPECT_TRUE(other->second == bytes) << path << " differs";
  }
  const testing::AlbumCheckResult check = testing::CheckAlbum(m_dir / "four");
  EXPECT_TRUE(check.Ok()) << check.Describe();
}

TEST_F(ParallelRunTest, ACancelAfterTheTenthPhotoWritesNoMoreThanWasSubmitted) {
  for (int i = 0; i < 30; ++i) {
    testing::WriteImage(m_dir / ("listed/" + Name(i)), 320, 240, testing::ImageFormat::Jpeg);
    AddItem(Name(i));
  }
  m_runtime.workerThreads = 2;
  m_settings.Output.Location = m_dir.File("out");
  testing::RecordingProgressWindow* window = nullptr;
  m_host.m_onProgressWindow = [&](testing::RecordingProgressWindow& created) { window = &created; };
  // Pump calls 1 to 10 come before the first ten photos are handed to the workers.
  m_host.m_pump.m_hook = [&](int call) {
    if (call == 11 && window) window->Cancel();
    return true;
  };
  OutputRun run = MakeRun();
  EXPECT_FALSE(run.ExecuteOutput(0));
  const RunOutcome& outcome = run.GetOutcome();
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_FALSE(outcome.succeeded);
  EXPECT_LE(outcome.photosWritten, 10);
  const fs::path album = m_dir / "out/Pictavo";
  EXPECT_EQ(static_cast<int>(Names(album / "photos").size()), outcome.photosWritten);
  EXPECT_FALSE(fs::exists(album / "thumbs"));
  EXPECT_FALSE(fs::exists(album / "index.html"));
  ASSERT_EQ(m_host.m_messages.size(), 2u);
  EXPECT_EQ(m_host.m_messages[1].text, StringUtils::GetLoadString(10270));
  EXPECT_TRUE(m_host.m_opened.empty());
}

TEST_F(ParallelRunTest, TheRunCountsEachStepOnItsProgressWindow) {
  AddPhotos(3);
  m_settings.Output.Location = m_dir.File("out");
  ASSERT_TRUE(MakeRun().ExecuteOutput(0));
  const auto& window = *m_host.m_progressWindows.at(0);
  // Photos, thumbnails, one thumbnail page, photo pages: each counts up to its total.
  EXPECT_EQ(window.m_positions, (std::vector<int>{0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 0, 1, 2, 3}));
}

TEST_F(ParallelRunTest, PagesGiveEveryImageTheSizeOfItsWrittenFile) {
  AddPhotos(10);
  ASSERT_TRUE(MakeRun().GenerateOutput(0, Output("a"), "T", "H"));
  const std::string page = testing::ReadFileBytes(m_dir / "a/index.html");
  for (int i = 0; i < 10; ++i) {
    const ImageUtils::ImageSize thumb =
        ImageUtils::GetImageSize((m_dir / ("a/thumbs/" + Name(i))).string());
    const std::string tag = "src=\"thumbs/" + Name(i) + "\" class=\"thumbnail\" width=\"" +
                            std::to_string(thumb.width) + "\" height=\"" +
                            std::to_string(thumb.height) + "\"";
    EXPECT_NE(page.find(tag), std::string::npos) << tag;
  }
}

TEST_F(ParallelRunTest, FailingPhotosAreReportedInTheirListPositions) {
  AddPhotos(12);
  // Fast failures behind slow large photos: a source that is no image fails at its header.
  testing::WriteBytes(m_dir / ("listed/" + Name(4)), "not a photo");
  testing::WriteBytes(m_dir / ("listed/" + Name(7)), "not a photo either");
  ASSERT_TRUE(MakeRun().WritePhotoFiles(Output("a"), 4, 160));
  ASSERT_EQ(m_host.m_messages.size(), 2u);
  EXPECT_NE(m_host.m_messages[0].text.find(Name(4)), std::string::npos)
      << m_host.m_messages[0].text;
  EXPECT_NE(m_host.m_messages[1].text.find(Name(7)), std::string::npos)
      << m_host.m_messages[1].text;
  EXPECT_EQ(Names(m_dir / "a/photos").size(), 10u);
}

TEST_F(ParallelRunTest, AQuitBetweenItemsWritesNoLaterPhotoOrThumbnail) {
  AddPhotos(12);
  // The fifth pump call is the one before the fifth item.
  m_host.m_pump.m_hook = [](int call) { return call != 5; };
  OutputRun run = MakeRun();
  run.WritePhotoFiles(Output("a"), 4, 160);
  EXPECT_EQ(Names(m_dir / "a/photos"),
            (std::vector<std::string>{Name(0), Name(1), Name(2), Name(3)}));
  m_host.m_pump.m_calls = 0;
  m_host.m_pump.m_hook = [](int call) { return call != 3; };
  run.WriteThumbnailFiles(Output("a"));
  EXPECT_EQ(Names(m_dir / "a/thumbs"), (std::vector<std::string>{Name(0), Name(1)}));
}

TEST_F(ParallelRunTest, NoThumbnailAfterTheFirstFailureIsWritten) {
  AddPhotos(12);
  fs::create_directories(m_dir / ("a/thumbs/" + Name(3)));
  EXPECT_FALSE(MakeRun().WriteThumbnailFiles(Output("a")));
  EXPECT_EQ(Names(m_dir / "a/thumbs"),
            (std::vector<std::string>{Name(0), Name(1), Name(2), Name(3)}));
  EXPECT_TRUE(fs::is_directory(m_dir / ("a/thumbs/" + Name(3))));
}

}  // namespace
}  // namespace pictavo
