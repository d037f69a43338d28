#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "HtmlCheck.h"
#include "album/Navigation.h"
#include "album/OutputFuncs.h"
#include "album/PageFrame.h"
#include "support/RecordingHost.h"

namespace pictavo {
namespace {

std::string FramedPage(PageKind kind, const std::string& title, const std::string& design,
                       const Settings& settings, const std::vector<std::string>& content = {}) {
  PageLines lines;
  PageFrame::AddPageOpening(lines, kind, title, design, "js/slideshow.js");
  for (const auto& line : content) lines.Add(line);
  PageFrame::AddPageClosing(lines, settings);
  return lines.Join();
}

std::vector<std::string> StyleSheetHrefs(const std::string& page) {
  std::vector<std::string> hrefs;
  const std::string marker = "<link rel=\"stylesheet\" href=\"";
  for (auto at = page.find(marker); at != std::string::npos; at = page.find(marker, at + 1)) {
    const auto start = at + marker.size();
    hrefs.push_back(page.substr(start, page.find('"', start) - start));
  }
  return hrefs;
}

TEST(PageFrame, EachPageKindLinksItsStyleSheetsInOrderWithItsPrefix) {
  Settings settings;
  EXPECT_EQ(StyleSheetHrefs(FramedPage(PageKind::Thumbnail, "t", "blue.css", settings)),
            (std::vector<std::string>{"css/common.css", "css/thumb.css", "css/blue.css"}));
  EXPECT_EQ(StyleSheetHrefs(FramedPage(PageKind::Photo, "t", "blue.css", settings)),
            (std::vector<std::string>{"../css/common.css", "../css/blue.css", "../css/photo.css",
                                      "../css/property.css"}));
  EXPECT_EQ(StyleSheetHrefs(FramedPage(PageKind::Slideshow, "t", "blue.css", settings)),
            (std::vector<std::string>{"css/common.css", "css/blue.css", "css/photo.css",
                                      "css/slideshow.css"}));
}

TEST(PageFrame, EachPageKindLoadsOneScriptBeforeItsTitle) {
  Settings settings;
  const std::pair<PageKind, std::string> cases[] = {
      {PageKind::Slideshow, "<script src=\"js/slideshow.js\"></script>"},
      {PageKind::Thumbnail, "<script src=\"js/page.js\"></script>"},
      {PageKind::Photo, "<script src=\"../js/page.js\"></script>"},
  };
  for (const auto& [kind, tag] : cases) {
    const std::string page = FramedPage(kind, "t", "a.css", settings);
    const auto script = page.find(tag);
    ASSERT_NE(script, std::string::npos) << tag;
    EXPECT_LT(script, page.find("<title>"));
    EXPECT_EQ(page.find("<script", script + 1), std::string::npos) << tag;
  }
}

TEST(PageFrame, AnUnknownDesignLinksTheCssFolderItself) {
  Settings settings;
  EXPECT_EQ(StyleSheetHrefs(FramedPage(PageKind::Thumbnail, "t", "", settings)).back(), "css/");
}

TEST(PageFrame, AnEmptyTitleGivesEmptyTitleAndHeaderWithoutPlaceholder) {
  Settings settings;
  const std::string page = FramedPage(PageKind::Thumbnail, "", "a.css", settings);
  EXPECT_NE(page.find("<title></title>"), std::string::npos);
  EXPECT_NE(page.find("<h1 class=\"title\"></h1>"), std::string::npos);
}

TEST(PageFrame, HeaderAndCopyrightAreTheUsersMarkupAndStayUnescaped) {
  Settings settings;
  settings.OutputPage.FooterCopyright = "Copyright &copy; <b>Me</b>";
  const std::string page = FramedPage(PageKind::Thumbnail, "My <em>album</em>", "a.css", settings);
  EXPECT_NE(page.find("<title>My album</title>"), std::string::npos);
  EXPECT_NE(page.find("<h1 class=\"title\">My <em>album</em></h1>"), std::string::npos);
  EXPECT_NE(page.find("<div class=\"footer-copyright\">Copyright &copy; <b>Me</b></div>"),
            std::string::npos);
  EXPECT_NE(page.find("<div class=\"footer-powered-by\">Powered by Ostrel</div>"),
            std::string::npos);
}

TEST(PageFrame, HeadLinesComeInOrderAndTheBodyIsFramedAndClosed) {
  Settings settings;
  const std::string page = FramedPage(PageKind::Photo, "x", "a.css", settings, {"CONTENT"});
  const std::vector<std::string> inOrder = {
      "<!DOCTYPE html>\r\n<html lang=\"ja\">\r\n<head>\r\n",
      "<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\">\r\n<meta charset=\"utf-8\">\r\n",
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n",
      "<meta name=\"generator\" content=\"" + OutputFuncs::GetGeneratorOutputString() + "\">",
      "<title>x</title>\r\n</head>\r\n<body>\r\n\t<header id=\"header\" class=\"header\">\r\n\r\n",
      "\t\t<div class=\"header-inner\">\r\n\r\n\t\t\t<div class=\"header-title\">\r\n\r\n"
      "\t\t\t\t<h1 class=\"title\">x</h1>\r\n\t\t\t</div>\r\n\t\t</div>\r\n\t</header>\r\n",
      "\t<div id=\"container\" class=\"container\">\r\n\r\n\t\t<div class=\"grid\">\r\n\r\n"
      "CONTENT\r\n\t\t</div>\r\n\t</div>\r\n",
      "\t<footer id=\"footer\" class=\"footer\">\r\n\r\n\t\t<div class=\"footer-inner\">\r\n\r\n",
      "\t\t</div>\r\n\t</footer>\r\n</body>\r\n</html>"};
  std::size_t at = 0;
  for (const auto& piece : inOrder) {
    const auto found = page.find(piece, at);
    ASSERT_NE(found, std::string::npos) << "missing or out of order: " << piece << "\n" << page;
    at = found + piece.size();
  }
  EXPECT_EQ(at, page.size());
}

TEST(PageFrame, FramedPagesWithEveryNavigationBlockPassTheHtmlChecker) {
  Settings settings;
  settings.OutputPage.LinkHomePage = "A & B";
  settings.OutputPage.LinkHomePageURL = "https://example.org/?a=1&b=2";
  testing::CountingPump pump;
  const std::string table = "\t\t\t<table class=\"t\"><tbody><tr>";
  const std::vector<std::string> photo = {
      table,
      Navigation::GetPhotoPageButtonCell(settings, 0, 3, "prev"),
      "<td>x</td>",
      Navigation::GetPhotoPageButtonCell(settings, 0, 3, "next"),
      "</tr></tbody></table>",
      Navigation::GetPhotoPageNumberLinks(settings, 0, 3, pump),
      Navigation::GetTopPageLink(settings, "index.html"),
      Navigation::GetHomePageLink(settings)};
  const std::vector<std::string> thumbs = {Navigation::GetThumbnailPageLinks(settings, 3, 2, pump),
                                           Navigation::GetHomePageLink(settings)};
  const std::vector<std::string> slideshow = {table, Navigation::GetSlideshowButtonCell("prev"),
                                              Navigation::GetSlideshowButtonCell("next"),
                                              "</tr></tbody></table>"};
  for (const auto& [kind, content] :
       {std::pair{PageKind::Photo, photo}, std::pair{PageKind::Thumbnail, thumbs},
        std::pair{PageKind::Slideshow, slideshow}}) {
    const auto check =
        testing::CheckHtml(FramedPage(kind, "Album &amp; <em>co</em>", "a.css", settings, content));
    if (!check.available) GTEST_SKIP() << "tidy is not installed";
    EXPECT_EQ(check.status, 0) << check.report;
  }
}

}  // namespace
}  // namespace pictavo
