#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "album/OutputRun.h"
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

const std::string kConfirm = "選択した項目を出力しますか?";
const std::string kDone = "出力が完了しました。";
const std::string kFailed = "ファイルを出力することができませんでした。";
const std::string kSelect = "項目を選択してください。";
const std::string kOpenFailed =
    "出力ファイルを開くことができませんでした。\r\n\r\nプログラムに関連付けされていない可能性が"
    "あります。\r\nプログラムの関連付けをご確認ください。";

// A listed folder with generated photos, a list of them all ticked, settings that write into
// the scratch folder and a recording host.
class OutputRunFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    m_runtime.styleFolder = PICTAVO_STYLES_DIR;
    ASSERT_EQ(LoadDesigns(m_runtime), "");
    fs::create_directories(m_dir / "listed");
    fs::create_directories(m_dir / "out");
    m_settings.Output.Location = m_dir.File("out");
    m_settings.Output.ShowOutputSettings = 0;
    m_settings.OutputThumbnail.ThumbnailImageLink = 0;
    setenv("XDG_CACHE_HOME", m_dir.File("cache").c_str(), 1);
  }
  void TearDown() override { unsetenv("XDG_CACHE_HOME"); }

  void AddPhotos(const std::vector<std::string>& names, int width = 120, int height = 90) {
    for (const auto& name : names) {
      testing::WriteImage(m_dir / ("listed/" + name), width, height, testing::ImageFormat::Jpeg);
      AddItem(name, true);
    }
  }
  void AddNumberedPhotos(int count) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i) names.push_back("p" + std::to_string(i) + ".jpg");
    AddPhotos(names);
  }
  int AddItem(const std::string& name, bool checked) {
    ALBUMITEM item;
    item.name = name;
    item.fullPath = m_dir.File("listed/" + name);
    const int row = m_list.InsertRow(m_list.AddItem(item));
    m_list.SetRowChecked(row, checked);
    return row;
  }
  OutputRun MakeRun() {
    OutputRun run(m_list, m_settings, m_host, m_runtime);
    run.SetListedFolder(m_dir.File("listed"));
    return run;
  }
  fs::path Album() const { return m_dir / "out/Pictavo"; }

  testing::TempDir m_dir;
  ItemList m_list;
  Settings m_settings;
  Runtime m_runtime;
  RecordingHost m_host;
};

TEST_F(OutputRunFixture, NoTickedRowAsksToSelectAndWritesNothing) {
  AddPhotos({"a.jpg"});
  m_list.CheckAllRows(false);
  OutputRun run = MakeRun();
  EXPECT_FALSE(run.ExecuteOutput(0));
  EXPECT_FALSE(run.PreviewOutput(0));
  EXPECT_EQ(m_host.MessageTexts(), (std::vector<std::string>{kSelect, kSelect}));
  EXPECT_EQ(m_host.m_messages[0].icon, MessageIcon::None);
  EXPECT_TRUE(m_host.m_progressWindows.empty());
  EXPECT_TRUE(testing::ListFolder(m_dir / "out").empty());
}

TEST_F(OutputRunFixture, AnswerOtherThanYesStopsBeforeAnythingIsWritten) {
  AddPhotos({"a.jpg"});
  for (MessageResult answer : {MessageResult::No, MessageResult::Cancel}) {
    m_host.m_answers = {answer};
    m_host.m_messages.clear();
    EXPECT_FALSE(MakeRun().ExecuteOutput(0));
    ASSERT_EQ(m_host.m_messages.size(), 1u);
    EXPECT_EQ(m_host.m_messages[0].text, kConfirm);
    EXPECT_EQ(m_host.m_messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(m_host.m_messages[0].buttons, MessageButtons::YesNo);
  }
  EXPECT_TRUE(testing::ListFolder(m_dir / "out").empty());
  EXPECT_TRUE(m_host.m_opened.empty());
}

TEST_F(OutputRunFixture, SixteenPhotosMakeACompleteTwoPageAlbum) {
  AddNumberedPhotos(16);
  OutputRun run = MakeRun();
  ASSERT_TRUE(run.ExecuteOutput(0));
  EXPECT_EQ(m_host.MessageTexts(), (std::vector<std::string>{kConfirm, kDone}));
  EXPECT_EQ(m_host.m_messages[1].icon, MessageIcon::Information);
  ASSERT_EQ(m_host.m_progressWindows.size(), 1u);
  EXPECT_EQ(m_host.m_progressWindows[0]->m_texts[0],
            std::vector<std::string>{"選択した項目を出力しています。お待ちください。"});
  EXPECT_FALSE(m_host.m_progressWindows[0]->m_shown);
  EXPECT_EQ(m_host.m_opened, std::vector<std::string>{(Album() / "index.html").string()});
  EXPECT_TRUE(run.GetOutcome().succeeded);
  EXPECT_EQ(run.GetOutcome().firstPage, (Album() / "index.html").string());
  EXPECT_EQ(run.GetOutcome().photosWritten, 16);

  EXPECT_EQ(
      testing::ListFolder(Album()),
      (std::vector<std::string>{"css", "index.html", "js", "page2.html", "photos", "thumbs"}));
  EXPECT_EQ(testing::ListFolder(Album() / "js"), std::vector<std::string>{"page.js"});
  EXPECT_EQ(testing::ListFolder(Album() / "photos").size(), 16u);
  EXPECT_EQ(testing::ListFolder(Album() / "thumbs").size(), 16u);
  EXPECT_EQ(testing::ListFolder(Album() / "css"),
            (std::vector<std::string>{"common.css", "photo.css", "property.css", "standard.css",
                                      "style.css", "thumb.css"}));
  const auto thumb = testing::ReadBackImage(Album() / "thumbs/p1.jpg");
  EXPECT_EQ(thumb.width, 120);  // never enlarged past the 248 box
  const auto checks = testing::CheckAlbum(Album());
  EXPECT_TRUE(checks.Ok()) << checks.Describe();
  EXPECT_EQ(checks.pages, 2);
}

TEST_F(OutputRunFixture, AlbumStyleWritesTheSameFilesWithNoteCells) {
  AddPhotos({"a.jpg", "b.jpg"});
  m_list.SetRowNote(0, "<script>alert(1)</script>");
  m_settings.OutputStyle.Style = 1;
  ASSERT_TRUE(MakeRun().ExecuteOutput(OutputRun::GetOutputTypeOfStyle(1)));
  EXPECT_EQ(testing::ListFolder(Album()),
            (std::vector<std::string>{"css", "index.html", "js", "photos", "thumbs"}));
  const std::string page = testing::ReadFileBytes(Album() / "index.html");
  EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
  EXPECT_EQ(page.find("<script>"), std::string::npos);
  const auto checks = testing::CheckAlbum(Album());
  EXPECT_TRUE(checks.Ok()) << checks.Describe();
}

TEST_F(OutputRunFixture, OddFileNamesStillGiveAnAlbumWhoseLinksResolve) {
  std::vector<std::string> names = {"my photo 夏.jpg", "a&b#1%.jpg", "q'uote.jpg"};
  for (const auto& stem : testing::OddFileStems()) names.push_back(stem + ".jpg");
  AddPhotos(names);
  ASSERT_TRUE(MakeRun().ExecuteOutput(0));
  const auto checks = testing::CheckAlbum(Album());
  EXPECT_TRUE(checks.Ok()) << checks.Describe();
  EXPECT_EQ(testing::ListFolder(Album() / "photos").size(), names.size());
}

TEST_F(OutputRunFixture, EmptyLocationFailsAndWritesNothingAnywhere) {
  AddPhotos({"a.jpg"});
  m_settings.Output.Location = "";
  const fs::path cwd = fs::current_path();
  fs::current_path(m_dir / "out");
  const bool written = MakeRun().ExecuteOutput(0);
  fs::current_path(cwd);
  EXPECT_FALSE(written);
  EXPECT_EQ(m_host.MessageTexts(), (std::vector<std::string>{kConfirm, kFailed}));
  EXPECT_EQ(m_host.m_messages[1].icon, MessageIcon::Error);
  EXPECT_TRUE(testing::ListFolder(m_dir / "out").empty());
  EXPECT_TRUE(m_host.m_opened.empty());
}

TEST_F(OutputRunFixture, RowOrColumnBelowOneCountsAsOne) {
  AddNumberedPhotos(3);
  struct Row {
    int rows, columns;
    std::vector<std::string> pages;
  };
  const Row rows[] = {{0, 5, {"index.html"}},
                      {3, 0, {"index.html"}},
                      {1, 0, {"index.html", "page2.html", "page3.html"}},
                      {-4, -1, {"index.html", "page2.html", "page3.html"}}};
  for (const Row& row : rows) {
    fs::remove_all(Album());
    m_settings.OutputThumbnail.Row = row.rows;
    m_settings.OutputThumbnail.Column = row.columns;
    ASSERT_TRUE(MakeRun().GenerateOutput(0, (Album() / "index.html").string(), "T", "H"));
    std::vector<std::string> pages;
    for (const auto& page : testing::FindAlbumPages(Album())) {
      pages.push_back(page.filename().string());
    }
    EXPECT_EQ(pages, row.pages) << row.rows << " x " << row.columns;
  }
}

TEST_F(OutputRunFixture, DialogProposesAFreeFolderAndItsValuesHoldForThisRunOnly) {
  AddPhotos({"a.jpg"});
  m_settings.Output.ShowOutputSettings = 1;
  fs::create_directories(m_dir / "out/Pictavo1");
  OutputRun run = MakeRun();
  run.SetListedFolder(m_dir.File("listed") + "/");
  m_host.m_dialogEdit = [](OutputSettingsValues& values) { values.title = "夏 <b>休み</b>"; };
  ASSERT_TRUE(run.ExecuteOutput(0));
  ASSERT_EQ(m_host.m_dialogProposals.size(), 1u);
  const auto& proposal = m_host.m_dialogProposals[0];
  EXPECT_EQ(proposal.folderName, "Pictavo2");
  EXPECT_EQ(proposal.location, m_dir.File("out"));
  EXPECT_EQ(proposal.title, "listed");
  EXPECT_EQ(proposal.header, "listed");
  EXPECT_FALSE(proposal.preferDetailedSettings);
  const std::string page = testing::ReadFileBytes(m_dir / "out/Pictavo2/index.html");
  EXPECT_NE(page.find("<title>夏 休み</title>"), std::string::npos);
  EXPECT_NE(page.find(">夏 <b>休み</b></h1>"), std::string::npos);
  EXPECT_EQ(m_settings.Output.FolderName, "Pictavo");
  EXPECT_EQ(m_settings.OutputPage.Title, "ピクタボ");

  // Ticking "詳細設定を優先する" keeps the settings' title even when the fields are empty.
  m_host.m_dialogEdit = [](OutputSettingsValues& values) {
    values.preferDetailedSettings = true;
    values.title.clear();
    values.header.clear();
  };
  ASSERT_TRUE(run.ExecuteOutput(0));
  EXPECT_EQ(m_host.m_dialogProposals.back().folderName, "Pictavo3");
  EXPECT_NE(
      testing::ReadFileBytes(m_dir / "out/Pictavo3/index.html").find("<title>ピクタボ</title>"),
      std::string::npos);
}

TEST_F(OutputRunFixture, DialogCancelEndsTheRunSilently) {
  AddPhotos({"a.jpg"});
  m_settings.Output.ShowOutputSettings = 1;
  m_host.m_dialogAccept = false;
  EXPECT_FALSE(MakeRun().ExecuteOutput(0));
  EXPECT_EQ(m_host.MessageTexts(), std::vector<std::string>{kConfirm});
  EXPECT_TRUE(testing::ListFolder(m_dir / "out").empty());
}

TEST_F(OutputRunFixture, DialogValuesThatWouldLeaveTheLocationAreRefused) {
  AddPhotos({"a.jpg"});
  m_settings.Output.ShowOutputSettings = 1;
  for (const char* name : {"../escape", "..", "", "a/b"}) {
    m_host.m_messages.clear();
    m_host.m_dialogEdit = [name](OutputSettingsValues& values) { values.folderName = name; };
    EXPECT_FALSE(MakeRun().ExecuteOutput(0)) << name;
    ASSERT_EQ(m_host.m_messages.size(), 2u) << name;
    EXPECT_EQ(m_host.m_messages[1].icon, MessageIcon::Error) << name;
  }
  m_host.m_dialogEdit = [](OutputSettingsValues& values) { values.location.clear(); };
  EXPECT_FALSE(MakeRun().ExecuteOutput(0));
  EXPECT_EQ(m_host.MessageTexts().back(), kFailed);
  EXPECT_FALSE(fs::exists(m_dir / "escape"));
  EXPECT_TRUE(testing::ListFolder(m_dir / "out").empty());
}

TEST_F(OutputRunFixture, AnExistingAlbumFolderIsWrittenIntoWithoutTheDialog) {
  AddPhotos({"a.jpg"});
  fs::create_directories(Album());
  testing::WriteBytes(Album() / "keep.txt", "mine");
  testing::WriteBytes(Album() / "index.html", "old");
  ASSERT_TRUE(MakeRun().ExecuteOutput(0));
  EXPECT_EQ(testing::ReadFileBytes(Album() / "keep.txt"), "mine");
  EXPECT_NE(testing::ReadFileBytes(Album() / "index.html"), "old");
}

TEST_F(OutputRunFixture, APhotoThatFailsInTheMiddleIsNamedTheRestIsWrittenAndTheRunFails) {
  AddPhotos({"a.jpg", "b.jpg", "c.jpg"});
  // A folder where b's photo belongs: it cannot be written, its thumbnail can.
  fs::create_directories(Album() / "photos/b.jpg");
  OutputRun run = MakeRun();
  EXPECT_FALSE(run.ExecuteOutput(0));
  const auto texts = m_host.MessageTexts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0], kConfirm);
  EXPECT_EQ(texts[1], "Is a directory: \"" + (Album() / "photos/b.jpg").string() + "\"");
  EXPECT_EQ(m_host.m_messages[1].icon, MessageIcon::None);
  EXPECT_EQ(texts[2], kFailed) << "the pages link a photo that is not there";
  ASSERT_EQ(run.GetOutcome().failures.size(), 1u);
  EXPECT_EQ(run.GetOutcome().failures[0].path, (Album() / "photos/b.jpg").string());
  EXPECT_TRUE(fs::is_regular_file(Album() / "photos/c.jpg"));
  EXPECT_EQ(testing::ListFolder(Album() / "thumbs").size(), 3u);
  EXPECT_TRUE(fs::is_regular_file(Album() / "css/common.css"));
  EXPECT_TRUE(m_host.m_opened.empty());
}

TEST_F(OutputRunFixture, ThePhotoStepFailsOnlyWhenNoPhotoCouldBeWritten) {
  AddPhotos({"a.jpg", "b.jpg"});
  fs::create_directories(Album() / "photos/b.jpg");
  OutputRun run = MakeRun();
  const std::string output = (Album() / "index.html").string();
  // The last photo failing does not throw away the others.
  EXPECT_TRUE(run.WritePhotoFiles(output, 3, 0));
  fs::remove(Album() / "photos/a.jpg");
  fs::create_directories(Album() / "photos/a.jpg");
  EXPECT_FALSE(run.WritePhotoFiles(output, 3, 0));
  EXPECT_EQ(m_host.m_messages.size(), 3u);
}

TEST_F(OutputRunFixture, AThumbnailThatFailsFailsTheRunAndNothingFollows) {
  AddPhotos({"a.jpg", "b.jpg"});
  fs::create_directories(Album() / "thumbs/b.jpg");
  EXPECT_FALSE(MakeRun().ExecuteOutput(0));
  EXPECT_EQ(
      m_host.MessageTexts(),
      (std::vector<std::string>{
          kConfirm, "Is a directory: \"" + (Album() / "thumbs/b.jpg").string() + "\"", kFailed}));
  EXPECT_EQ(m_host.m_messages[2].icon, MessageIcon::Error);
  EXPECT_FALSE(fs::exists(Album() / "index.html"));
  EXPECT_FALSE(fs::exists(Album() / "css"));
  EXPECT_TRUE(m_host.m_opened.empty());
}

TEST_F(OutputRunFixture, APageThatCannotBeWrittenIsShownAndFailsTheRun) {
  AddNumberedPhotos(16);
  fs::create_directories(Album() / "page2.html");
  EXPECT_FALSE(MakeRun().ExecuteOutput(0));
  const auto texts = m_host.MessageTexts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_NE(texts[1].find("page2.html"), std::string::npos) << texts[1];
  EXPECT_EQ(m_host.m_messages[1].icon, MessageIcon::None);
  EXPECT_EQ(texts[2], kFailed);
  EXPECT_TRUE(fs::exists(Album() / "index.html"));
  EXPECT_FALSE(fs::exists(Album() / "css"));
}

TEST_F(OutputRunFixture, PhotoSizeZeroCopiesTheFileAndOthersFitTheBox) {
  AddPhotos({"big.jpg"}, 1000, 800);
  const std::string output = (Album() / "index.html").string();
  struct Row {
    int photoSize, custom, width, height;
  };
  const Row rows[] = {{1, 0, 1000, 800}, {2, 0, 800, 640}, {3, 0, 640, 512}, {4, 500, 500, 400}};
  for (const Row& row : rows) {
    ASSERT_TRUE(MakeRun().WritePhotoFiles(output, row.photoSize, row.custom));
    const auto back = testing::ReadBackImage(Album() / "photos/big.jpg");
    EXPECT_EQ(back.width, row.width) << row.photoSize;
    EXPECT_EQ(back.height, row.height) << row.photoSize;
  }
  ASSERT_TRUE(MakeRun().WritePhotoFiles(output, 0, 0));
  EXPECT_EQ(testing::ReadFileBytes(Album() / "photos/big.jpg"),
            testing::ReadFileBytes(m_dir / "listed/big.jpg"));
}

TEST_F(OutputRunFixture, UntickedRowsAndFoldersAreNotPhotographed) {
  AddPhotos({"a.jpg"});
  testing::WriteImage(m_dir / "listed/off.jpg", 20, 20, testing::ImageFormat::Jpeg);
  AddItem("off.jpg", false);
  fs::create_directories(m_dir / "listed/sub.jpg");
  AddItem("sub.jpg", true);
  ASSERT_TRUE(MakeRun().WritePhotoFiles((Album() / "index.html").string(), 3, 0));
  EXPECT_EQ(testing::ListFolder(Album() / "photos"), std::vector<std::string>{"a.jpg"});
  EXPECT_TRUE(m_host.m_messages.empty());
}

TEST_F(OutputRunFixture, TheSlideshowStyleWritesASlideshowAlbum) {
  AddPhotos({"a.jpg", "b c.jpg"});
  m_settings.OutputStyle.Style = 2;
  ASSERT_TRUE(MakeRun().ExecuteOutput(OutputRun::GetOutputTypeOfStyle(2)));
  EXPECT_EQ(m_host.MessageTexts().back(), kDone);
  EXPECT_TRUE(fs::is_regular_file(Album() / "js/slideshow.js"));
  EXPECT_EQ(testing::ListFolder(Album() / "photos"),
            (std::vector<std::string>{"a.jpg", "b c.jpg"}));
  EXPECT_FALSE(fs::exists(Album() / "thumbs"));
  const auto checks = testing::CheckAlbum(Album());
  EXPECT_TRUE(checks.Ok()) << checks.Describe();
}

TEST_F(OutputRunFixture, OutputTypeTwoHasNoGenerator) {
  AddPhotos({"a.jpg"});
  EXPECT_FALSE(MakeRun().ExecuteOutput(2));
  EXPECT_EQ(m_host.MessageTexts().back(), kFailed);
  EXPECT_TRUE(m_host.m_opened.empty());
}

TEST_F(OutputRunFixture, PhotoPageLinksNeedThePhotoPagesAndTheDesignImages) {
  AddPhotos({"a.jpg", "b.jpg"});
  m_settings.OutputThumbnail.ThumbnailImageLink = 1;
  ASSERT_TRUE(MakeRun().ExecuteOutput(0));
  EXPECT_EQ(
      testing::ListFolder(Album()),
      (std::vector<std::string>{"css", "images", "index.html", "js", "photos", "src", "thumbs"}));
  EXPECT_EQ(testing::ListFolder(Album() / "src"),
            (std::vector<std::string>{"page1.html", "page2.html"}));
  EXPECT_TRUE(fs::is_regular_file(Album() / "images/prev-disabled.png"));
  const auto checks = testing::CheckAlbum(Album());
  EXPECT_TRUE(checks.Ok()) << checks.Describe();
  EXPECT_EQ(checks.pages, 3);
}

TEST_F(OutputRunFixture, MissingDesignImagesFailAPhotoPageAlbumBeforeTheStyleSheets) {
  AddPhotos({"a.jpg"});
  m_settings.OutputThumbnail.ThumbnailImageLink = 1;
  fs::create_directories(m_dir / "styles/design/css");
  testing::WriteBytes(m_dir / "styles/design/css/common.css", "body{}");
  m_runtime.styleFolder = m_dir.File("styles");
  EXPECT_FALSE(MakeRun().ExecuteOutput(0));
  EXPECT_EQ(m_host.MessageTexts().back(), kFailed);
  EXPECT_FALSE(fs::exists(Album() / "css"));
}

TEST_F(OutputRunFixture, ASecondDesignAddsItsSheetAndThePagesLinkOnlyIt) {
  AddPhotos({"a.jpg"});
  const std::string output = (Album() / "index.html").string();
  m_settings.OutputStyle.StyleDesign = 0;
  ASSERT_TRUE(MakeRun().GenerateOutput(0, output, "T", "H"));
  m_settings.OutputStyle.StyleDesign = 1;
  ASSERT_TRUE(MakeRun().GenerateOutput(0, output, "T", "H"));
  EXPECT_TRUE(fs::is_regular_file(Album() / "css/standard.css"));
  EXPECT_TRUE(fs::is_regular_file(Album() / "css/dark.css"));
  const std::string page = testing::ReadFileBytes(Album() / "index.html");
  EXPECT_NE(page.find("css/dark.css"), std::string::npos);
  EXPECT_EQ(page.find("css/standard.css"), std::string::npos);
}

TEST_F(OutputRunFixture, CopyStyleFileRefusesNamesThatLeaveTheCssFolder) {
  const std::string output = (Album() / "index.html").string();
  const std::string design = MakeRun().GetDesignFolderPath();
  for (const char* name : {"", "../styles.xml", "../../styles.xml", "/etc/passwd", "missing.css"}) {
    EXPECT_FALSE(OutputRun::CopyStyleFile(design, output, name)) << name;
  }
  EXPECT_TRUE(OutputRun::CopyStyleFile(design, output, "common.css"));
  EXPECT_EQ(testing::ListFolder(Album() / "css"), std::vector<std::string>{"common.css"});
  EXPECT_FALSE(OutputRun::CopyStyleFile(m_dir.File("no-styles/design"), output, "thumb.css"));
  EXPECT_FALSE(fs::exists(Album() / "css/thumb.css"));
}

TEST_F(OutputRunFixture, ACancelBeforeTheFirstPhotoWritesNothingAndSaysSo) {
  AddPhotos({"a.jpg", "b.jpg"});
  m_host.m_onProgressWindow = [](testing::RecordingProgressWindow& window) { window.Cancel(); };
  OutputRun run = MakeRun();
  EXPECT_FALSE(run.ExecuteOutput(0));
  EXPECT_TRUE(run.GetOutcome().cancelled);
  EXPECT_EQ(m_host.MessageTexts().back(), StringUtils::GetLoadString(10270));
  EXPECT_FALSE(fs::exists(Album() / "index.html"));
  EXPECT_TRUE(m_host.m_opened.empty());
}

TEST_F(OutputRunFixture, PreviewsAskNothingAndEachGetsItsOwnFolder) {
  AddPhotos({"a.jpg"});
  m_settings.Output.ShowOutputSettings = 1;
  m_settings.Output.OpenFileProgram = 1;  // previews open with the desktop all the same
  m_settings.Output.OpenProgram = "browser";
  OutputRun run = MakeRun();
  ASSERT_TRUE(run.PreviewOutput(0));
  ASSERT_TRUE(run.PreviewOutput(0));
  EXPECT_TRUE(m_host.m_messages.empty());
  EXPECT_TRUE(m_host.m_dialogProposals.empty());
  ASSERT_EQ(m_host.m_opened.size(), 2u);
  EXPECT_NE(m_host.m_opened[0], m_host.m_opened[1]);
  const fs::path root = m_dir / "cache/Pictavo/Preview";
  EXPECT_EQ(testing::ListFolder(root).size(), 2u);
  for (const auto& opened : m_host.m_opened) {
    const fs::path page(opened);
    EXPECT_EQ(page.filename(), "index.html");
    EXPECT_EQ(page.parent_path().filename(), "Pictavo");
    EXPECT_EQ(page.parent_path().parent_path().parent_path(), root);
    EXPECT_TRUE(fs::is_regular_file(page));
  }
  EXPECT_TRUE(testing::ListFolder(m_dir / "out").empty());
}

TEST_F(OutputRunFixture, APreviewThatCannotBeOpenedSaysSo) {
  AddPhotos({"a.jpg"});
  m_host.m_openSucceeds = false;
  ASSERT_TRUE(MakeRun().PreviewOutput(0));
  EXPECT_EQ(m_host.MessageTexts(),
            (std::vector<std::string>{"no program is associated", kOpenFailed}));
}

TEST_F(OutputRunFixture, OpeningTheFirstPageFollowsTheOptions) {
  struct Row {
    int openFile, program;
    bool succeeds;
    bool opened;
    std::vector<std::string> targets;
    std::size_t messages;
  };
  const std::string page = "/album/index.html";
  const Row rows[] = {
      {0, 0, true, true, {}, 0},
      {1, 0, true, true, {page}, 0},
      {1, 1, true, true, {"firefox " + page}, 0},
      {1, 0, false, false, {page}, 1},
      {1, 1, false, false, {"firefox " + page}, 1},
      {1, 7, true, false, {}, 1},
  };
  for (const Row& row : rows) {
    RecordingHost host;
    host.m_openSucceeds = row.succeeds;
    Settings settings;
    settings.Output.OpenFile = row.openFile;
    settings.Output.OpenFileProgram = row.program;
    settings.Output.OpenProgram = "firefox";
    OutputRun run(m_list, settings, host, m_runtime);
    EXPECT_EQ(run.OpenOutputFile(page), row.opened) << row.openFile << "/" << row.program;
    EXPECT_EQ(host.m_opened, row.targets) << row.openFile << "/" << row.program;
    ASSERT_EQ(host.m_messages.size(), row.messages) << row.openFile << "/" << row.program;
    if (row.messages > 0) {
      EXPECT_EQ(host.m_messages[0].icon, MessageIcon::Error);
      EXPECT_FALSE(host.m_messages[0].text.empty());
    }
  }
}

TEST_F(OutputRunFixture, AFailedOpenAfterARunShowsTheErrorThenTheOpenMessage) {
  AddPhotos({"a.jpg"});
  m_host.m_openSucceeds = false;
  ASSERT_TRUE(MakeRun().ExecuteOutput(0));
  EXPECT_EQ(m_host.MessageTexts(),
            (std::vector<std::string>{kConfirm, kDone, "no program is associated", kOpenFailed}));
  EXPECT_EQ(m_host.m_messages.back().icon, MessageIcon::Error);
}

TEST_F(OutputRunFixture, AnAlbumFileNameThatLeavesTheAlbumIsRefusedBeforeAnythingIsWritten) {
  AddPhotos({"a.jpg"});
  m_settings.Output.PhotoName = "../escaped";
  EXPECT_FALSE(MakeRun().GenerateOutput(0, (Album() / "index.html").string(), "T", "H"));
  EXPECT_FALSE(fs::exists(m_dir / "out/escaped"));
  EXPECT_FALSE(fs::exists(Album() / "index.html"));
  ASSERT_FALSE(m_host.m_messages.empty());
  EXPECT_NE(m_host.m_messages[0].text.find("PhotoName"), std::string::npos);
}

TEST_F(OutputRunFixture, AQuitDuringThePagesSkipsTheRemainingPages) {
  AddNumberedPhotos(16);
  OutputRun run = MakeRun();
  // Pump calls: 16 photos, 16 thumbnails, then the design lookup and the rows of page 1.
  m_host.m_pump.m_hook = [](int call) { return call != 40; };
  ASSERT_TRUE(run.GenerateOutput(0, (Album() / "index.html").string(), "T", "H"));
  EXPECT_TRUE(run.GetPageCursor().quit);
  EXPECT_TRUE(fs::exists(Album() / "index.html"));
  EXPECT_FALSE(fs::exists(Album() / "page2.html"));
}

}  // namespace
}  // namespace pictavo
