#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "HtmlCheck.h"
#include "album/Slideshow.h"
#include "core/PathUtils.h"
#include "items/ItemList.h"
#include "support/Fixtures.h"
#include "support/RecordingHost.h"

namespace pictavo {
namespace {

namespace fs = std::filesystem;
using testing::ImageFormat;
using testing::RecordingHost;
using testing::TempDir;

const std::string kBom = "\xEF\xBB\xBF";

void WriteFile(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1)) {
    ++n;
  }
  return n;
}

// A design of our own in a temp styles folder, a listed folder with photos and an album folder.
class SlideshowRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_design = m_dir / "styles" / "design";
    WriteFile(m_design / "css" / "common.css", "/* common */");
    WriteFile(m_design / "css" / "photo.css", "/* photo */");
    WriteFile(m_design / "css" / "slideshow.css", "/* slideshow */");
    WriteFile(m_design / "css" / "blue.css", "/* blue */");
    WriteFile(m_design / "images" / "play.png", "play");
    WriteFile(m_design / "images" / "pause.png", "pause");
    WriteTemplate(
        "play=[AUTOPLAY];\r\nnames=[[NAME]];\r\n\r\n[SHOWFILENAME]showNames();\r\n"
        "notes=[[NOTE]];\r\ndims=[[DIMENSIONS]];\r\n[SHOWNOTE]showNotes();\r\n");
    m_settings.OutputSlideshow.PhotoSize = 3;  // 640
    fs::create_directories(m_source);
    fs::create_directories(m_album);
  }

  void WriteTemplate(const std::string& text) { WriteFile(m_design / "js" / "slideshow.js", text); }

  // A listed photo; its copy in the album's photo folder stands for the photo step's output.
  void AddPhoto(const std::string& name, int width, int height, const std::string& note,
                bool ticked = true) {
    testing::WriteImage(m_source / name, width, height, ImageFormat::Jpeg);
    fs::create_directories(m_album / "photos");
    fs::copy_file(m_source / name, m_album / "photos" / name, fs::copy_options::overwrite_existing);
    ALBUMITEM item;
    item.fullPath = (m_source / name).string();
    item.name = name;
    item.note = note;
    const int row = m_list.InsertRow(m_list.AddItem(item));
    m_list.SetRowChecked(row, ticked);
  }

  OutputContext Run() {
    OutputContext run{m_list, m_settings, m_host, m_source.string(), "blue.css"};
    run.styleFolder = (m_dir / "styles").string();
    return run;
  }

  bool Generate() {
    return GenerateSlideshowOutput(Run(), (m_album / "index.html").string(), "タイトル",
                                   "<i>Header</i>");
  }

  std::string Page() { return testing::ReadFileBytes(m_album / "index.html"); }
  std::string Script() { return testing::ReadFileBytes(m_album / "js" / "slideshow.js"); }

  TempDir m_temp;
  fs::path m_dir = m_temp.Path();
  fs::path m_design;
  fs::path m_source = m_dir / "listed";
  fs::path m_album = m_dir / "album";
  Settings m_settings;
  ItemList m_list;
  RecordingHost m_host;
};

TEST_F(SlideshowRunTest, WritesPageScriptImagesAndStyleSheets) {
  AddPhoto("a.jpg", 1200, 900, "first note");
  AddPhoto("b.jpg", 300, 400, "");
  ASSERT_TRUE(Generate());
  EXPECT_TRUE(m_host.MessageTexts().empty());

  const std::string page = Page();
  EXPECT_EQ(page.substr(0, 3), kBom);
  EXPECT_NE(page.find("js/slideshow.js"), std::string::npos);
  for (const char* sheet :
       {"css/common.css", "css/blue.css", "css/photo.css", "css/slideshow.css"}) {
    EXPECT_NE(page.find(sheet), std::string::npos) << sheet;
  }
  EXPECT_LT(page.find("css/common.css"), page.find("css/blue.css"));
  EXPECT_LT(page.find("css/photo.css"), page.find("css/slideshow.css"));
  EXPECT_LT(page.find("css/slideshow.css"), page.find("js/slideshow.js"));
  EXPECT_EQ(Count(page, "photos-slideshow"), 2u);  // class and id of the one photo
  EXPECT_NE(page.find("photos/a.jpg"), std::string::npos);
  EXPECT_NE(page.find("navi-prev"), std::string::npos);
  EXPECT_NE(page.find("navi-next"), std::string::npos);
  EXPECT_NE(page.find("./images/play.png"), std::string::npos);
  EXPECT_NE(page.find("./images/pause.png"), std::string::npos);
  EXPECT_NE(page.find("再生"), std::string::npos);
  EXPECT_NE(page.find("一時停止"), std::string::npos);
  EXPECT_NE(page.find("first note"), std::string::npos);
  EXPECT_EQ(page.find("page-link"), std::string::npos) << "no page links on a slideshow";

  EXPECT_EQ(Script(), kBom +
                          "play=false;\n"
                          "names=[\"a.jpg\",\r\n\"b.jpg\"];\n"
                          "showNames();\n"
                          "notes=[\"first note\",\r\n\"<br>\"];\n"
                          "dims=[\"640,480\",\r\n\"300,400\"];\n"
                          "showNotes();\n");

  EXPECT_EQ(testing::ReadFileBytes(m_album / "images" / "play.png"), "play");
  EXPECT_EQ(testing::ReadFileBytes(m_album / "images" / "pause.png"), "pause");
  for (const char* sheet : {"common.css", "photo.css", "slideshow.css", "blue.css"}) {
    EXPECT_TRUE(fs::exists(m_album / "css" / sheet)) << sheet;
  }
  EXPECT_FALSE(fs::exists(m_album / "css" / "style.css")) << "absent from the design";
}

TEST_F(SlideshowRunTest, PageHoldsItsPartsInOrderAndIsValidHtml) {
  AddPhoto("a.jpg", 1200, 900, "note text");
  ASSERT_TRUE(Generate());
  const std::string page = Page();
  // Each part after the one before it; tabs as the page writes them.
  const char* const parts[] = {
      "<title>タイトル</title>",
      "header-title",
      "タイトル",
      "\t\t<div class=\"grid\">",
      "\t\t\t<table",
      "\t\t\t\t\t<tr class=\"title\">",
      "file-name",
      "a.jpg",
      "\t\t\t\t\t<tr class=\"contents\">",
      "navi-prev",
      "\t\t\t\t\t\t<td id=\"image-contents\"",
      "\t\t\t\t\t\t\t<div id=\"slideshow-photos\"",
      "\t\t\t\t\t\t\t\t<img src=\"photos/a.jpg\"",
      "\t\t\t\t\t\t\t\t<div id=\"slideshow-button\"",
      "navi-play",
      "navi-pause",
      "navi-next",
      "メモ",
      "slideshow-note",
      "note text",
      "</table>",
      "footer",
      "</html>",
  };
  size_t at = 0;
  for (const char* part : parts) {
    const size_t found = page.find(part, at);
    ASSERT_NE(found, std::string::npos) << "missing or out of order: " << part;
    at = found + 1;
  }
  const auto check = testing::CheckHtml(page.substr(3));
  if (!check.available) GTEST_SKIP() << "no HTML checker installed (tidy)";
  EXPECT_EQ(check.status, 0) << check.report;
}

TEST_F(SlideshowRunTest, FirstTickedItemFillsThePage) {
  AddPhoto("skipped.jpg", 100, 100, "skipped note", false);
  AddPhoto("R&D <1>.jpg", 2000, 1000, "a & b");
  AddPhoto("later.jpg", 100, 100, "later note");
  ASSERT_TRUE(Generate());
  const std::string page = Page();
  EXPECT_NE(page.find("R&amp;D &lt;1&gt;.jpg"), std::string::npos);
  EXPECT_NE(page.find("photos/R%26D%20%3C1%3E.jpg"), std::string::npos);
  EXPECT_NE(page.find("a &amp; b"), std::string::npos);
  EXPECT_NE(page.find("\"640\""), std::string::npos);
  EXPECT_NE(page.find("\"320\""), std::string::npos);
  EXPECT_EQ(page.find("skipped"), std::string::npos);
  EXPECT_EQ(page.find("later"), std::string::npos);
  EXPECT_EQ(Count(Script(), "skipped"), 0u);
}

TEST_F(SlideshowRunTest, SwitchedOffNamesShowTheHeaderAndNotesLeaveNoRows) {
  struct Row {
    int viewName;
    int viewNote;
    bool nameShown;
    bool headerShown;
    bool noteRows;
  };
  const Row rows[] = {{1, 1, true, false, true},
                      {0, 1, false, true, true},
                      {1, 0, true, false, false},
                      {0, 0, false, true, false}};
  AddPhoto("photo one.jpg", 800, 600, "");
  for (const auto& row : rows) {
    m_settings.OutputSlideshow.ViewName = row.viewName;
    m_settings.OutputSlideshow.ViewNote = row.viewNote;
    ASSERT_TRUE(Generate());
    const std::string page = Page();
    const std::string title = page.substr(page.find("file-name"), 60);
    SCOPED_TRACE("ViewName " + std::to_string(row.viewName) + " ViewNote " +
                 std::to_string(row.viewNote));
    EXPECT_EQ(title.find("photo one.jpg") != std::string::npos, row.nameShown) << title;
    EXPECT_EQ(title.find("<i>Header</i>") != std::string::npos, row.headerShown) << title;
    EXPECT_EQ(page.find("slideshow-note") != std::string::npos, row.noteRows);
    EXPECT_EQ(page.find("メモ") != std::string::npos, row.noteRows);
    EXPECT_EQ(Script().find("showNames();") != std::string::npos, row.viewName != 0);
    EXPECT_EQ(Script().find("showNotes();") != std::string::npos, row.viewNote != 0);
  }
}

TEST_F(SlideshowRunTest, PhotoSizeSettingGivesTheDimensions) {
  struct Row {
    int photoSize;
    int custom;
    const char* dims;
  };
  const Row rows[] = {{0, 0, "2000,1500"}, {1, 0, "1024,768"}, {2, 0, "800,600"},
                      {3, 0, "640,480"},   {4, 100, "100,75"}, {4, 4000, "2000,1500"},
                      {9, 0, "2000,1500"}};
  AddPhoto("big.jpg", 2000, 1500, "");
  for (const auto& row : rows) {
    m_settings.OutputSlideshow.PhotoSize = row.photoSize;
    m_settings.OutputSlideshow.PhotoDimensions = row.custom;
    const auto entries = Slideshow::GetTickedEntries(Run());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(std::to_string(entries[0].width) + "," + std::to_string(entries[0].height), row.dims)
        << "PhotoSize " << row.photoSize;
  }
}

TEST_F(SlideshowRunTest, CrlfTemplateGivesOneLineFeedPerLine) {
  AddPhoto("a.jpg", 10, 10, "");
  WriteTemplate("one\r\n\r\ntwo\r\n[SHOWNOTE]three\r\n  \r\nfour");
  m_settings.OutputSlideshow.ViewNote = 0;
  ASSERT_TRUE(Generate());
  EXPECT_EQ(Script(), kBom + "one\ntwo\n  \nfour\n");
}

TEST_F(SlideshowRunTest, MissingTemplateLeavesAnEmptyScriptAndTheRunGoesOn) {
  AddPhoto("a.jpg", 10, 10, "");
  fs::remove(m_design / "js" / "slideshow.js");
  EXPECT_TRUE(Generate());
  ASSERT_EQ(m_host.MessageTexts().size(), 1u);
  EXPECT_NE(m_host.MessageTexts()[0].find("slideshow.js"), std::string::npos)
      << m_host.MessageTexts()[0];
  ASSERT_TRUE(fs::exists(m_album / "js" / "slideshow.js"));
  std::string script = Script();
  if (script.rfind(kBom, 0) == 0) script.erase(0, 3);
  EXPECT_EQ(script, "");
  EXPECT_TRUE(fs::exists(m_album / "css" / "slideshow.css")) << "style sheets are still copied";
}

TEST_F(SlideshowRunTest, PageThatCannotBeCreatedFailsWithTheSystemText) {
  AddPhoto("a.jpg", 10, 10, "");
  fs::create_directories(m_album / "index.html");  // a folder where the page should go
  EXPECT_FALSE(Generate());
  ASSERT_EQ(m_host.MessageTexts().size(), 1u);
  EXPECT_FALSE(m_host.MessageTexts()[0].empty());
  EXPECT_FALSE(fs::exists(m_album / "js")) << "nothing is written after the page fails";
  EXPECT_FALSE(fs::exists(m_album / "images"));
}

TEST_F(SlideshowRunTest, ScriptThatCannotBeCreatedFailsTheRun) {
  AddPhoto("a.jpg", 10, 10, "");
  struct Row {
    const char* name;
    std::function<void(const fs::path&)> block;
  };
  const Row rows[] = {
      // The folder is new, but the script is still missing: not a success.
      {"script name taken by a folder",
       [](const fs::path& album) { fs::create_directories(album / "js" / "slideshow.js"); }},
      {"script folder name taken by a file",
       [](const fs::path& album) { WriteFile(album / "js", "not a folder"); }},
  };
  for (const auto& row : rows) {
    fs::remove_all(m_album / "js");
    m_host.m_messages.clear();
    row.block(m_album);
    EXPECT_FALSE(Generate()) << row.name;
    EXPECT_EQ(m_host.MessageTexts().size(), 1u) << row.name;
    EXPECT_FALSE(fs::exists(m_album / "css")) << row.name << ": nothing copied after the failure";
  }
}

TEST_F(SlideshowRunTest, MissingDesignImagesFailTheRunWithoutAMessage) {
  AddPhoto("a.jpg", 10, 10, "");
  fs::remove_all(m_design / "images");
  EXPECT_FALSE(Generate());
  EXPECT_TRUE(m_host.MessageTexts().empty());
  EXPECT_TRUE(fs::exists(m_album / "index.html"));
  EXPECT_FALSE(fs::exists(m_album / "js" / "slideshow.js"));
}

TEST_F(SlideshowRunTest, TickedFoldersAreLeftOutOfTheShow) {
  // The photo step writes nothing for a folder; a slot for it would show a broken photo.
  fs::create_directories(m_source / "folder.jpg");
  ALBUMITEM folder;
  folder.name = "folder.jpg";
  folder.note = "folder note";
  m_list.SetRowChecked(m_list.InsertRow(m_list.AddItem(folder)), true);
  AddPhoto("real.jpg", 100, 50, "real note");
  ASSERT_TRUE(Generate());
  EXPECT_EQ(Script().find("folder"), std::string::npos) << Script();
  EXPECT_NE(Script().find("\"real.jpg\""), std::string::npos);
  const std::string page = Page();
  EXPECT_EQ(page.find("folder"), std::string::npos);
  EXPECT_NE(page.find("photos/real.jpg"), std::string::npos);
  EXPECT_NE(page.find("real note"), std::string::npos);
}

TEST_F(SlideshowRunTest, QuitFromThePumpEndsTheListsEarly) {
  AddPhoto("a.jpg", 10, 10, "");
  AddPhoto("b.jpg", 10, 10, "");
  AddPhoto("c.jpg", 10, 10, "");
  m_host.m_pump.m_quitAt = {2};
  const auto entries = Slideshow::GetTickedEntries(Run());
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "a.jpg");

  m_host.m_pump.m_calls = 0;
  m_host.m_pump.m_quitAt = {1};
  EXPECT_EQ(Slideshow::GetFirstTickedText(Run(), 0), "");
  m_host.m_pump.m_calls = 0;
  m_host.m_pump.m_quitAt = {};
  EXPECT_EQ(Slideshow::GetFirstTickedText(Run(), 0), "a.jpg");
  m_list.SetRowChecked(0, false);
  EXPECT_EQ(Slideshow::GetFirstTickedText(Run(), 0), "b.jpg");
  m_list.CheckAllRows(false);
  EXPECT_EQ(Slideshow::GetFirstTickedText(Run(), 0), "");
}

}  // namespace
}  // namespace pictavo
