#include <gtest/gtest.h>

#include <ostream>
#include <regex>
#include <string>
#include <vector>

#include "album/Navigation.h"
#include "support/RecordingHost.h"

namespace pictavo {
namespace {

using Navigation::PageWindow;

// The page numbers a block shows, in order, and the one shown as current (0: none).
struct ShownNumbers {
  std::vector<int> numbers;
  int current = 0;
};

ShownNumbers NumbersOf(const std::string& block, const std::string& currentClass,
                       const std::string& linkClass) {
  ShownNumbers shown;
  const std::regex cell("<span class=\"" + currentClass + "\">([0-9]+)</span>|class=\"" +
                        linkClass + "\">([0-9]+)</a>");
  for (auto it = std::sregex_iterator(block.begin(), block.end(), cell);
       it != std::sregex_iterator(); ++it) {
    if ((*it)[1].matched) {
      shown.current = std::stoi((*it)[1]);
      shown.numbers.push_back(shown.current);
    } else {
      shown.numbers.push_back(std::stoi((*it)[2]));
    }
  }
  return shown;
}

std::vector<int> Range(int first, int last) {
  std::vector<int> numbers;
  for (int p = first; p <= last; ++p) numbers.push_back(p);
  return numbers;
}

struct WindowCase {
  const char* label;
  int index;
  int count;
  int naviCount;
  int first;
  int last;
};

void PrintTo(const WindowCase& c, std::ostream* os) {
  *os << c.label;
}

class PhotoPageWindow : public ::testing::TestWithParam<WindowCase> {};

TEST_P(PhotoPageWindow, ShowsTheExpectedPages) {
  const auto& c = GetParam();
  const PageWindow window = Navigation::GetPhotoPageWindow(c.index, c.count, c.naviCount);
  EXPECT_EQ(window.first, c.first);
  EXPECT_EQ(window.last, c.last);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, PhotoPageWindow,
    ::testing::Values(WindowCase{"N10_of30_page1", 0, 30, 10, 1, 10},
                      WindowCase{"N10_of30_page6_noShift", 5, 30, 10, 1, 10},
                      WindowCase{"N10_of30_page7_shiftsByOne", 6, 30, 10, 2, 11},
                      WindowCase{"N10_of30_page20", 19, 30, 10, 15, 24},
                      WindowCase{"N10_of30_page27_stopsAtEnd", 26, 30, 10, 21, 30},
                      WindowCase{"N10_of30_page30", 29, 30, 10, 21, 30},
                      WindowCase{"N3_of10_page1_leavesCurrentOut", 0, 10, 3, 3, 5},
                      WindowCase{"N3_of10_page10", 9, 10, 3, 8, 10},
                      WindowCase{"nEqualsN_allPages", 9, 10, 10, 1, 10},
                      WindowCase{"nBelowN_allPages", 3, 5, 10, 1, 5},
                      WindowCase{"onePage", 0, 1, 10, 1, 1}, WindowCase{"noPages", 0, 0, 10, 1, 0},
                      WindowCase{"N0_countsAsOne", 0, 10, 0, 5, 5},
                      WindowCase{"Nnegative_countsAsOne", 9, 10, -4, 10, 10}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(PhotoPageNumberLinks, PageSevenOfThirtyShowsTwoToElevenWithItsNeighbours) {
  Settings settings;
  testing::CountingPump pump;
  const std::string block = Navigation::GetPhotoPageNumberLinks(settings, 6, 30, pump);
  const ShownNumbers shown = NumbersOf(block, "numpage_current", "page-link numpage");
  EXPECT_EQ(shown.numbers, Range(2, 11));
  EXPECT_EQ(shown.current, 7);
  EXPECT_NE(block.find("<a href=\"page6.html\" class=\"page-link prevpage\">前へ</a>"),
            std::string::npos);
  EXPECT_NE(block.find("<a href=\"page8.html\" class=\"page-link nextpage\">次へ</a>"),
            std::string::npos);
  EXPECT_NE(block.find("<a href=\"page2.html\" class=\"page-link numpage\">2</a>"),
            std::string::npos);
  EXPECT_EQ(pump.m_calls, 10);
  EXPECT_EQ(block.find("page_current_string"), std::string::npos) << "no page count cell";
}

TEST(PhotoPageNumberLinks, FirstAndLastPagesHaveALineBreakForTheMissingNeighbour) {
  Settings settings;
  testing::CountingPump pump;
  const std::string first = Navigation::GetPhotoPageNumberLinks(settings, 0, 30, pump);
  EXPECT_NE(first.find("<td class=\"left\">\r\n<br>\r\n</td>"), std::string::npos);
  EXPECT_EQ(first.find("prevpage"), std::string::npos);
  EXPECT_NE(first.find("href=\"page2.html\" class=\"page-link nextpage\""), std::string::npos);

  const std::string last = Navigation::GetPhotoPageNumberLinks(settings, 29, 30, pump);
  EXPECT_NE(last.find("<td class=\"right\">\r\n<br>\r\n</td>"), std::string::npos);
  EXPECT_EQ(last.find("nextpage"), std::string::npos);
  const ShownNumbers shown = NumbersOf(last, "numpage_current", "page-link numpage");
  EXPECT_EQ(shown.numbers, Range(21, 30));
  EXPECT_EQ(shown.current, 30);
}

TEST(PhotoPageNumberLinks, NaviCountZeroShowsOneNumberInsteadOfNone) {
  Settings settings;
  settings.OutputPage.NaviCount = 0;
  testing::CountingPump pump;
  const std::string block = Navigation::GetPhotoPageNumberLinks(settings, 9, 10, pump);
  EXPECT_EQ(NumbersOf(block, "numpage_current", "page-link numpage").numbers, std::vector<int>{10});
}

TEST(PhotoPageNumberLinks, NumberCellsTakeSixTabsAndTheTableIsClosedAfterAQuit) {
  Settings settings;
  testing::CountingPump pump;
  pump.m_quitAt = {4};
  const std::string block = Navigation::GetPhotoPageNumberLinks(settings, 0, 30, pump);
  EXPECT_EQ(NumbersOf(block, "numpage_current", "page-link numpage").numbers, Range(1, 3));
  EXPECT_NE(block.find("\r\n\t\t\t\t\t\t<td class=\"center\">"), std::string::npos);
  EXPECT_NE(block.find("<td class=\"right\">"), std::string::npos);
  EXPECT_EQ(block.substr(block.size() - 11), "\t\t\t</table>");
}

TEST(PhotoPageNumberLinks, EncodesAPageFileNameThatNeedsIt) {
  Settings settings;
  settings.Output.PageFileName = "写真 #";
  testing::CountingPump pump;
  const std::string block = Navigation::GetPhotoPageNumberLinks(settings, 1, 3, pump);
  EXPECT_NE(block.find("href=\"%E5%86%99%E7%9C%9F%20%231.html\""), std::string::npos) << block;
  EXPECT_EQ(block.find("写真"), std::string::npos);
}

TEST(ThumbnailPageLinks, TwoPagesLinkEachOtherExactly) {
  Settings settings;
  testing::CountingPump pump;
  const std::string first = Navigation::GetThumbnailPageLinks(settings, 2, 1, pump);
  EXPECT_EQ(
      first,
      "\t\t\t<table id=\"link\" class=\"table-link-page\">\r\n"
      "\t\t\t\t<tbody>\r\n"
      "\t\t\t\t\t<tr class=\"link\">\r\n\r\n"
      "\t\t\t\t\t\t<td class=\"left\">\r\n<br>\r\n</td>\r\n\r\n"
      "\t\t\t\t<td class=\"center\">\r\n<span class=\"page_current\">1</span>\r\n</td>\r\n\r\n"
      "\t\t\t\t<td class=\"center\">\r\n"
      "<a href=\"page2.html\" class=\"page-link page\">2</a>\r\n</td>\r\n\r\n"
      "\t\t\t\t\t\t<td class=\"right\">\r\n"
      "<a href=\"page2.html\" class=\"page-link nextpage\">次へ</a>\r\n</td>\r\n\r\n"
      "\t\t\t\t\t\t<td class=\"right\">\r\n"
      "<span class=\"page_current_string\">(1/2)</span>\r\n</td>\r\n\r\n"
      "\t\t\t\t\t</tr>\r\n\r\n"
      "\t\t\t\t</tbody>\r\n"
      "\t\t\t</table>");

  const std::string second = Navigation::GetThumbnailPageLinks(settings, 2, 2, pump);
  EXPECT_NE(second.find("<a href=\"index.html\" class=\"page-link prevpage\">前へ</a>"),
            std::string::npos);
  EXPECT_NE(second.find("<a href=\"index.html\" class=\"page-link page\">1</a>"),
            std::string::npos);
  EXPECT_NE(second.find("<span class=\"page_current\">2</span>"), std::string::npos);
  EXPECT_NE(second.find("<td class=\"right\">\r\n<br>\r\n</td>"), std::string::npos);
  EXPECT_NE(second.find("(2/2)"), std::string::npos);
  EXPECT_EQ(second.find("nextpage"), std::string::npos);
}

TEST(ThumbnailPageLinks, ListEveryPageAndLinkThePreviousNumberedPage) {
  Settings settings;
  testing::CountingPump pump;
  const std::string block = Navigation::GetThumbnailPageLinks(settings, 30, 7, pump);
  const ShownNumbers shown = NumbersOf(block, "page_current", "page-link page");
  EXPECT_EQ(shown.numbers, Range(1, 30));
  EXPECT_EQ(shown.current, 7);
  EXPECT_NE(block.find("href=\"page6.html\" class=\"page-link prevpage\""), std::string::npos);
  EXPECT_NE(block.find("href=\"page8.html\" class=\"page-link nextpage\""), std::string::npos);
  EXPECT_NE(block.find("href=\"index.html\" class=\"page-link page\">1<"), std::string::npos);
  EXPECT_NE(block.find("(7/30)"), std::string::npos);
}

TEST(ThumbnailPageLinks, AQuitEndsTheNumbersButNotTheBlock) {
  Settings settings;
  testing::CountingPump pump;
  pump.m_quitAt = {3};
  const std::string block = Navigation::GetThumbnailPageLinks(settings, 5, 1, pump);
  EXPECT_EQ(NumbersOf(block, "page_current", "page-link page").numbers, Range(1, 2));
  EXPECT_NE(block.find("(1/5)"), std::string::npos);
  EXPECT_EQ(block.substr(block.size() - 11), "\t\t\t</table>");
}

TEST(PhotoPageButtonCell, FirstPagePrevIsTheDisabledImageWithoutALink) {
  Settings settings;
  const std::string cell = Navigation::GetPhotoPageButtonCell(settings, 0, 5, "prev");
  EXPECT_EQ(cell,
            "\t\t\t\t\t\t<td class=\"navi-prev-contents\">\r\n"
            "<img src=\"../images/prev-disabled.png\" class=\"button-navi disabled\" "
            "width=\"32\" height=\"32\" alt=\"前へ\" id=\"button-prev\" title=\"前へ\">\r\n"
            "</td>\r\n");
}

TEST(PhotoPageButtonCell, LastPageNextIsDisabledAndMiddlePagesLinkTheirNeighbours) {
  Settings settings;
  const std::string last = Navigation::GetPhotoPageButtonCell(settings, 4, 5, "next");
  EXPECT_NE(last.find("src=\"../images/next-disabled.png\" class=\"button-navi disabled\""),
            std::string::npos);
  EXPECT_EQ(last.find("<a "), std::string::npos);

  const std::string prev = Navigation::GetPhotoPageButtonCell(settings, 2, 5, "prev");
  EXPECT_NE(prev.find("<a href=\"page2.html\" class=\"navi-prev\"><img src=\"../images/prev.png\" "
                      "class=\"button-navi\" "),
            std::string::npos)
      << prev;
  const std::string next = Navigation::GetPhotoPageButtonCell(settings, 2, 5, "next");
  EXPECT_NE(next.find("<a href=\"page4.html\" class=\"navi-next\"><img src=\"../images/next.png\""),
            std::string::npos)
      << next;
  EXPECT_NE(next.find("alt=\"次へ\" id=\"button-next\""), std::string::npos);
}

TEST(PhotoPageButtonCell, ASinglePageDisablesBothButtons) {
  Settings settings;
  EXPECT_NE(Navigation::GetPhotoPageButtonCell(settings, 0, 1, "prev").find("prev-disabled.png"),
            std::string::npos);
  EXPECT_NE(Navigation::GetPhotoPageButtonCell(settings, 0, 1, "next").find("next-disabled.png"),
            std::string::npos);
}

TEST(SlideshowButtonCell, HoldsTheEnabledImageInANamedSpan) {
  EXPECT_EQ(Navigation::GetSlideshowButtonCell("next"),
            "\t\t\t\t\t\t<td class=\"navi-next-contents\">\r\n"
            "<span id=\"navi-next\" class=\"navi-next\"><img src=\"./images/next.png\" "
            "class=\"button-navi\" width=\"32\" height=\"32\" alt=\"次へ\" id=\"button-next\" "
            "title=\"次へ\"></span>\r\n"
            "</td>\r\n");
}

TEST(TopPageLink, LeadsOneFolderUpToTheFirstThumbnailPage) {
  Settings settings;
  settings.OutputPage.LinkThumbnailPage = "<一覧> & more";
  const std::string block = Navigation::GetTopPageLink(settings, "index.html");
  EXPECT_EQ(block,
            "\t\t\t<table id=\"link-top-page\" class=\"table-link-top-page\">\r\n"
            "\t\t\t\t<tbody>\r\n"
            "\t\t\t\t\t<tr class=\"link\">\r\n"
            "<td class=\"center\">\r\n"
            "<a href=\"../index.html\" class=\"page-link toppage\">&lt;一覧&gt; &amp; more</a>\r\n"
            "</td>\r\n"
            "</tr>\r\n\r\n"
            "\t\t\t\t</tbody>\r\n"
            "\t\t\t</table>");
}

struct HomeCase {
  const char* label;
  std::string text;
  std::string url;
  std::string expectedLink;
};

void PrintTo(const HomeCase& c, std::ostream* os) {
  *os << c.label;
}

class HomePageLink : public ::testing::TestWithParam<HomeCase> {};

TEST_P(HomePageLink, ShowsTheTextAsTextAndKeepsTheAddress) {
  Settings settings;
  settings.OutputPage.LinkHomePage = GetParam().text;
  settings.OutputPage.LinkHomePageURL = GetParam().url;
  const std::string block = Navigation::GetHomePageLink(settings);
  EXPECT_NE(block.find(GetParam().expectedLink), std::string::npos) << block;
  EXPECT_NE(block.find("<table id=\"link-homepage\" class=\"table-link-homepage\">"),
            std::string::npos);
  EXPECT_NE(block.find("\r\n<td>\r\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, HomePageLink,
    ::testing::Values(
        HomeCase{"defaults", "ホームページ", "http://",
                 "<a href=\"http://\" class=\"page-link homepage\">ホームページ</a>"},
        HomeCase{"ampersandText", "Tom & Jerry", "https://example.org/",
                 "<a href=\"https://example.org/\" class=\"page-link homepage\">Tom &amp; "
                 "Jerry</a>"},
        HomeCase{"queryKeptNotPercentEncoded", "x", "https://e.org/a b?q=1&r=%41",
                 "href=\"https://e.org/a b?q=1&amp;r=%41\""},
        HomeCase{"quoteCannotLeaveTheAttribute", "x", "http://e.org/\" onclick=\"alert(1)",
                 "href=\"http://e.org/&quot; onclick=&quot;alert(1)\""}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(PageFileNames, FirstThumbnailPageIsFileNameAndTheOthersAreNumbered) {
  Settings settings;
  EXPECT_EQ(Navigation::GetThumbnailPageFileName(settings, 1), "index.html");
  EXPECT_EQ(Navigation::GetThumbnailPageFileName(settings, 2), "page2.html");
  EXPECT_EQ(Navigation::GetPhotoPageFileName(settings, 1), "page1.html");
  settings.Output.FileName = "top";
  settings.Output.PageFileName = "p";
  EXPECT_EQ(Navigation::GetThumbnailPageFileName(settings, 1), "top.html");
  EXPECT_EQ(Navigation::GetThumbnailPageFileName(settings, 12), "p12.html");
}

}  // namespace
}  // namespace pictavo
