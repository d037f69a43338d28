#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "HtmlCheck.h"
#include "album/PhotoPage.h"
#include "core/LogUtils.h"
#include "core/PathUtils.h"
#include "items/ItemList.h"
#include "support/Fixtures.h"
#include "support/RecordingHost.h"

namespace pictavo {
namespace {

namespace fs = std::filesystem;
using testing::ImageFormat;

std::size_t Count(const std::string& text, const std::string& piece) {
  std::size_t count = 0;
  for (auto at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
  return count;
}

// An album folder with resized photos in photos/, a styles folder with its own property.ini,
// and a list whose rows the test ticks.
class PhotoPages : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(m_album / "photos");
    fs::create_directories(PhotoPage::GetPropertyFolder(m_styles));
    WritePropertyIni(
        "[Column]\r\nCount=3\r\n"
        "[Column\\Item1]\r\nStringID=10001\r\nShow=1\r\n"
        "[Column\\Item2]\r\nStringID=10010\r\nShow=1\r\n"
        "[Column\\Item3]\r\nStringID=10002\r\nShow=0\r\n");
  }

  void WritePropertyIni(const std::string& text) {
    std::ofstream out(PhotoPage::GetPropertyFolder(m_styles) / "property.ini", std::ios::binary);
    out << text;
  }

  // Adds a row for name with a photo of width x height in photos/ (none when width is 0).
  int AddPhoto(const std::string& name, int width, int height, bool checked = true,
               const std::string& note = {}) {
    if (width > 0) testing::WriteImage(m_album / "photos" / name, width, height, ImageFormat::Jpeg);
    ALBUMITEM item;
    item.fullPath = "/source/" + name;
    item.name = name;
    item.folder = "/source";
    item.dimensionsText = std::to_string(width) + " x " + std::to_string(height);
    item.sizeText = "12 KB";
    item.note = note;
    const int row = m_list.InsertRow(m_list.AddItem(item));
    m_list.SetRowChecked(row, checked);
    return row;
  }

  OutputContext Context() {
    OutputContext run{m_list, m_settings, m_host, "/source", "blue.css"};
    run.styleFolder = m_styles.string();
    return run;
  }

  bool Write(PhotoPagesReport* report = nullptr) {
    return WritePhotoPages(Context(), (m_album / "index.html").string(), "index.html", report);
  }

  std::string Page(int n) {
    const std::string bytes =
        testing::ReadFileBytes(m_album / "src" / ("page" + std::to_string(n) + ".html"));
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    return bytes.size() >= 3 ? bytes.substr(3) : std::string();
  }

  testing::TempDir m_temp;
  fs::path m_album = m_temp.Path() / "album";
  fs::path m_styles = m_temp.Path() / "styles";
  ItemList m_list;
  Settings m_settings;
  testing::RecordingHost m_host;
};

TEST_F(PhotoPages, WritesOnePagePerTickedRowInListOrderSkippingUnticked) {
  AddPhoto("a.jpg", 40, 30);
  AddPhoto("skip.jpg", 40, 30, false);
  AddPhoto("b.jpg", 30, 40);
  PhotoPagesReport report;
  EXPECT_TRUE(Write(&report));
  EXPECT_TRUE(report.folderCreated);
  EXPECT_EQ(report.pagesWritten, 2);
  EXPECT_NE(Page(1).find("<title>a.jpg</title>"), std::string::npos);
  EXPECT_NE(Page(1).find("<link rel=\"stylesheet\" href=\"../css/blue.css\">"), std::string::npos);
  EXPECT_TRUE(m_host.m_messages.empty());
  const std::string second = Page(2);
  EXPECT_NE(second.find("<title>b.jpg</title>"), std::string::npos);
  EXPECT_NE(second.find("href=\"page1.html\" class=\"navi-prev\""), std::string::npos);
  EXPECT_NE(second.find("next-disabled.png"), std::string::npos);
  EXPECT_FALSE(fs::exists(m_album / "src" / "page3.html"));
}

TEST_F(PhotoPages, NoTickedItemWritesNothingAndSucceedsOnlyWhenItCreatedTheFolder) {
  AddPhoto("a.jpg", 40, 30, false);
  PhotoPagesReport report;
  EXPECT_TRUE(Write(&report)) << "the pages folder was created by this call";
  EXPECT_EQ(report.pagesWritten, 0);
  EXPECT_TRUE(fs::is_empty(m_album / "src"));
  EXPECT_FALSE(Write(&report)) << "the folder exists now and nothing was written";
  EXPECT_FALSE(report.folderCreated);
}

TEST_F(PhotoPages, AnEmptyOrRelativeOutputPathWritesNothing) {
  AddPhoto("a.jpg", 40, 30);
  const fs::path before = fs::current_path();
  fs::current_path(m_temp.Path());
  EXPECT_FALSE(WritePhotoPages(Context(), "", "index.html"));
  EXPECT_FALSE(LogUtils::GetLastErrorMessage().empty()) << "the caller can name the reason";
  EXPECT_FALSE(WritePhotoPages(Context(), "index.html", "index.html"));
  EXPECT_FALSE(fs::exists(m_temp.Path() / "src"));
  fs::current_path(before);
}

TEST_F(PhotoPages, APageThatCannotBeWrittenFailsTheRunAndTheOthersAreStillWritten) {
  AddPhoto("a.jpg", 40, 30);
  AddPhoto("b.jpg", 40, 30);
  fs::create_directories(m_album / "src" / "page1.html");  // a folder where the page goes
  PhotoPagesReport report;
  EXPECT_FALSE(Write(&report));
  ASSERT_EQ(report.failedPages.size(), 1u);
  EXPECT_NE(report.failedPages[0].find("page1.html"), std::string::npos);
  EXPECT_FALSE(report.lastError.empty());
  EXPECT_EQ(report.pagesWritten, 1);
  EXPECT_NE(Page(2).find("<title>b.jpg</title>"), std::string::npos);
}

TEST_F(PhotoPages, ActualSizeShowsTheOwnSizeInASquareOfItsLongerSide) {
  m_settings.OutputPhoto.PhotoSize = 0;
  AddPhoto("wide.jpg", 1200, 800);
  ASSERT_TRUE(Write());
  const std::string page = Page(1);
  EXPECT_NE(page.find("style=\"width: 1200px; height: 1200px;\""), std::string::npos);
  EXPECT_NE(page.find("class=\"property\" width=\"1200\" height=\"800\""), std::string::npos);
  EXPECT_NE(page.find("<td class=\"note\" colspan=\"3\" style=\"width: 1200px;\">"),
            std::string::npos);
}

TEST_F(PhotoPages, SmallSizeMakesEveryCell640SquareAndTheNote640Wide) {
  m_settings.OutputPhoto.PhotoSize = 3;
  AddPhoto("wide.jpg", 640, 427);
  AddPhoto("tall.jpg", 427, 640);
  ASSERT_TRUE(Write());
  for (int n = 1; n <= 2; ++n) {
    const std::string page = Page(n);
    EXPECT_NE(page.find("<td id=\"image-contents\" class=\"image-contents\" "
                        "style=\"width: 640px; height: 640px;\">"),
              std::string::npos);
    EXPECT_NE(page.find("style=\"width: 640px;\">"), std::string::npos);
  }
  EXPECT_NE(Page(1).find("width=\"640\" height=\"427\""), std::string::npos);
  EXPECT_NE(Page(2).find("width=\"427\" height=\"640\""), std::string::npos);
}

struct BoxCase {
  int photoSize;
  int dimensions;
  int box;
};

void PrintTo(const BoxCase& c, std::ostream* os) {
  *os << "PhotoSize " << c.photoSize << ", PhotoDimensions " << c.dimensions;
}

class DisplayBox : public ::testing::TestWithParam<BoxCase> {};

TEST_P(DisplayBox, FollowsThePhotoSizeSetting) {
  Settings settings;
  settings.OutputPhoto.PhotoSize = GetParam().photoSize;
  settings.OutputPhoto.PhotoDimensions = GetParam().dimensions;
  EXPECT_EQ(PhotoPage::GetDisplayBox(settings), GetParam().box);
  const auto size = PhotoPage::GetDisplaySize(settings, {3000, 2000});
  if (GetParam().box > 0) {
    EXPECT_EQ(size.box, GetParam().box);
    EXPECT_EQ(size.width, GetParam().box);
    EXPECT_EQ(size.height, std::lround(GetParam().box * 2 / 3.0)) << "rounded to the nearest pixel";
  } else {
    EXPECT_EQ(size.box, 3000);
    EXPECT_EQ(size.width, 3000);
    EXPECT_EQ(size.height, 2000);
  }
}

INSTANTIATE_TEST_SUITE_P(Settings, DisplayBox,
                         ::testing::Values(BoxCase{0, 1280, 0}, BoxCase{1, 1280, 1024},
                                           BoxCase{2, 1280, 800}, BoxCase{3, 1280, 640},
                                           BoxCase{4, 1500, 1500}, BoxCase{4, 0, 0},
                                           BoxCase{4, -7, 0}, BoxCase{9, 1280, 0},
                                           BoxCase{-1, 1280, 0}));

TEST_F(PhotoPages, ViewItemZeroLeavesOutThePropertyTable) {
  m_settings.OutputPhoto.ViewItem = 0;
  AddPhoto("a.jpg", 40, 30);
  ASSERT_TRUE(Write());
  const std::string page = Page(1);
  EXPECT_EQ(page.find("item-property"), std::string::npos);
  EXPECT_EQ(page.find("key-property"), std::string::npos);
}

TEST_F(PhotoPages, PropertyRowsFollowTheShownEntriesWithKeysAndListValues) {
  AddPhoto("a.jpg", 40, 30);
  ASSERT_TRUE(Write());
  const std::string page = Page(1);
  EXPECT_NE(page.find("<td class=\"key-property\">名前</td>\r\n"
                      "<td class=\"value-name-property\" data-name>a.jpg</td>"),
            std::string::npos)
      << page;
  EXPECT_NE(page.find("<td class=\"key-property\">大きさ</td>\r\n"
                      "<td class=\"value-property\" data-dimensions>40 x 30</td>"),
            std::string::npos)
      << page;
  EXPECT_EQ(page.find("data-folder"), std::string::npos) << "Show=0 hides the row";
  EXPECT_LT(page.find("data-name"), page.find("data-dimensions"));
}

TEST_F(PhotoPages, TwoEntriesForOneColumnAreBothWrittenAndAMissingIdGivesAnEmptyKey) {
  WritePropertyIni(
      "[Column]\r\nCount=3\r\n[Column\\Item1]\r\nStringID=10013\r\n"
      "[Column\\Item2]\r\nStringID=10013\r\n[Column\\Item3]\r\nShow=1\r\n");
  AddPhoto("a.jpg", 40, 30);
  ASSERT_TRUE(Write());
  const std::string page = Page(1);
  EXPECT_EQ(Count(page, "data-camera_maker"), 2u);
  EXPECT_EQ(Count(page, "<tr class=\"property\">"), 3u);
  EXPECT_NE(page.find("<td class=\"key-property\"></td>\r\n<td class=\"value-property\"></td>"),
            std::string::npos)
      << "the unknown column's row is written without a data attribute";
}

TEST_F(PhotoPages, AMissingPropertyIniLeavesOnlyTheTableFrame) {
  fs::remove(PhotoPage::GetPropertyFolder(m_styles) / "property.ini");
  AddPhoto("a.jpg", 40, 30);
  ASSERT_TRUE(Write());
  const std::string page = Page(1);
  EXPECT_NE(page.find("<table id=\"item-property-table\" class=\"table-item-property\">\r\n"
                      "\t\t\t\t\t\t\t\t<tbody>\r\n\t\t\t\t\t\t\t\t</tbody>"),
            std::string::npos)
      << page;
}

TEST_F(PhotoPages, NotesAreEscapedAndAnEmptyNoteIsALineBreak) {
  AddPhoto("a.jpg", 40, 30, true, "");
  AddPhoto("b.jpg", 40, 30, true, "1 < 2 & \"x\"");
  ASSERT_TRUE(Write());
  EXPECT_NE(Page(1).find("style=\"width: 640px;\">\r\n<br>\r\n</td>\r\n<td></td>"),
            std::string::npos);
  EXPECT_NE(Page(2).find("\r\n1 &lt; 2 &amp; &quot;x&quot;\r\n</td>"), std::string::npos);
  EXPECT_NE(Page(2).find("<div class=\"note\">メモ</div>"), std::string::npos);
  m_settings.OutputPhoto.ViewNote = 0;
  ASSERT_TRUE(Write());
  EXPECT_EQ(Page(2).find("メモ"), std::string::npos);
}

TEST_F(PhotoPages, AFileNameIsUrlEncodedOnlyInThePhotoReferenceAndEscapedAsText) {
  const std::string name = "<img src=x onerror=alert(1)> 桜 #1 100%.jpg";
  AddPhoto(name, 40, 30);
  ASSERT_TRUE(Write());
  const std::string page = Page(1);
  const std::string shown = "&lt;img src=x onerror=alert(1)&gt; 桜 #1 100%.jpg";
  EXPECT_NE(page.find("src=\"../photos/%3Cimg%20src%3Dx%20onerror%3Dalert%281%29%3E%20"
                      "%E6%A1%9C%20%231%20100%25.jpg\""),
            std::string::npos)
      << page;
  EXPECT_NE(page.find("<title>" + shown + "</title>"), std::string::npos);
  EXPECT_NE(page.find("<h1 class=\"title\">" + shown + "</h1>"), std::string::npos);
  EXPECT_NE(page.find("<div class=\"title\">" + shown + "</div>"), std::string::npos);
  EXPECT_NE(page.find("alt=\"" + shown + "\""), std::string::npos);
  EXPECT_NE(page.find("data-name>" + shown + "</td>"), std::string::npos);
  EXPECT_EQ(page.find("<img src=x"), std::string::npos) << "the name never becomes markup";
  EXPECT_NE(page.find("width=\"40\" height=\"30\""), std::string::npos)
      << "the photo's size is read under its odd name";
}

TEST_F(PhotoPages, LinksFollowTheirSettings) {
  for (int i = 0; i < 3; ++i) AddPhoto("p" + std::to_string(i) + ".jpg", 40, 30);
  m_settings.OutputPage.ViewLinkHomePagePhotoPage = 1;
  m_settings.OutputPage.LinkHomePage = "Home & away";
  ASSERT_TRUE(Write());
  std::string page = Page(2);
  EXPECT_NE(page.find("class=\"table-link\""), std::string::npos);
  EXPECT_NE(page.find("<a href=\"../index.html\" class=\"page-link toppage\">"), std::string::npos);
  EXPECT_NE(page.find(">Home &amp; away</a>"), std::string::npos);

  m_settings.OutputPage.ViewLinkPhotoPage = 0;
  m_settings.OutputPage.ViewLinkThumbnailPage = 0;
  m_settings.OutputPage.ViewLinkHomePagePhotoPage = 0;
  ASSERT_TRUE(Write());
  page = Page(2);
  EXPECT_EQ(page.find("table-link"), std::string::npos);
  EXPECT_EQ(page.find("toppage"), std::string::npos);
}

TEST_F(PhotoPages, PagesAreCrLfTextAndEveryLocalLinkResolves) {
  m_settings.OutputPhoto.PhotoSize = 0;
  for (int i = 0; i < 12; ++i) AddPhoto("img " + std::to_string(i) + ".jpg", 20 + i, 10);
  ASSERT_TRUE(Write());
  std::ofstream(m_album / "index.html") << "x";
  const std::regex link("(?:href|src)=\"([^\"]*)\"");
  for (int n = 1; n <= 12; ++n) {
    const std::string page = Page(n);
    EXPECT_EQ(std::regex_search(page, std::regex("[^\r]\n")), false) << "bare LF in page " << n;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), link);
         it != std::sregex_iterator(); ++it) {
      std::string target = (*it)[1];
      if (target.find("css/") != std::string::npos || target.find("images/") != std::string::npos ||
          target.find("js/") != std::string::npos)
        continue;  // copied by the output run
      if (target.rfind("http", 0) == 0) continue;
      std::string decoded;
      for (std::size_t i = 0; i < target.size(); ++i) {
        if (target[i] == '%' && i + 2 < target.size() + 0) {
          decoded += static_cast<char>(std::stoi(target.substr(i + 1, 2), nullptr, 16));
          i += 2;
        } else {
          decoded += target[i];
        }
      }
      EXPECT_TRUE(fs::exists(m_album / "src" / decoded)) << target << " on page " << n;
    }
  }
}

TEST_F(PhotoPages, PagesPassTheHtmlChecker) {
  AddPhoto("a & b.jpg", 40, 30, true, "note <1>");
  AddPhoto("c.jpg", 40, 30);
  m_settings.OutputPage.ViewLinkHomePagePhotoPage = 1;
  ASSERT_TRUE(Write());
  for (int n = 1; n <= 2; ++n) {
    const auto check = testing::CheckHtml(Page(n));
    if (!check.available) GTEST_SKIP() << "tidy is not installed";
    EXPECT_EQ(check.status, 0) << check.report;
  }
}

TEST_F(PhotoPages, AQuitEndsTheLoopWithThePagesWrittenSoFar) {
  for (int i = 0; i < 4; ++i) AddPhoto("p" + std::to_string(i) + ".jpg", 40, 30);
  m_settings.OutputPage.ViewLinkPhotoPage = 0;
  m_settings.OutputPhoto.ViewItem = 0;
  // Three pump calls read the entries, then one per row: quit at the third row.
  m_host.m_pump.m_quitAt = {3 + 3};
  PhotoPagesReport report;
  EXPECT_TRUE(Write(&report));
  EXPECT_EQ(report.pagesWritten, 2);
  EXPECT_FALSE(fs::exists(m_album / "src" / "page3.html"));
}

}  // namespace
}  // namespace pictavo
