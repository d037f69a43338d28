#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "album/ThumbnailPage.h"
#include "items/ItemList.h"
#include "support/Fixtures.h"
#include "support/RecordingHost.h"

namespace pictavo {
namespace {

using ThumbnailPage::PageCursor;

int Count(const std::string& text, const std::string& what) {
  int count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
    ++count;
  }
  return count;
}

// A list of named items without files: the page text does not need the images.
ItemList MakeList(int count, const std::vector<int>& unticked = {}) {
  ItemList list;
  for (int i = 1; i <= count; ++i) {
    ALBUMITEM item;
    item.name = "img" + std::to_string(i) + ".jpg";
    item.fullPath = "/nonexistent/" + item.name;
    const int row = list.InsertRow(list.AddItem(item));
    list.SetRowChecked(row, std::find(unticked.begin(), unticked.end(), i) == unticked.end());
  }
  return list;
}

struct Pages {
  std::vector<std::string> texts;
};

Pages BuildAll(const ItemList& list, const Settings& settings, testing::RecordingHost& host) {
  const OutputContext run{list, settings, host, "/nonexistent", "standard.css"};
  const int pageCount = ThumbnailPage::GetPageCount(
      list.CheckedCount(), settings.OutputThumbnail.Row, settings.OutputThumbnail.Column);
  PageCursor cursor;
  Pages pages;
  for (int page = 1; page <= pageCount; ++page) {
    pages.texts.push_back(
        ThumbnailPage::BuildThumbnailPage(run, cursor, "T", "H", pageCount, page));
  }
  return pages;
}

// The numbers of the photo pages the cells of a page link to, in page order.
std::vector<int> LinkedNumbers(const std::string& page) {
  static const std::regex kHref(R"(href="src/page(\d+)\.html")");
  std::vector<int> numbers;
  for (auto it = std::sregex_iterator(page.begin(), page.end(), kHref);
       it != std::sregex_iterator(); ++it) {
    numbers.push_back(std::stoi((*it)[1].str()));
  }
  return numbers;
}

TEST(ThumbnailPageCount, IsTheCeilingOfItemsOverCellsAndAtLeastOne) {
  struct Row {
    int items, rows, columns, pages;
  };
  const Row rows[] = {{15, 3, 5, 1}, {16, 3, 5, 2},  {20, 3, 5, 2}, {30, 3, 5, 2},
                      {31, 3, 5, 3}, {1, 3, 5, 1},   {0, 3, 5, 1},  {7, 0, 5, 2},
                      {7, 1, 0, 7},  {7, -3, -1, 7}, {5, 1, 1, 5},  {2000000000, 1, 1, 2000000000}};
  for (const Row& row : rows) {
    EXPECT_EQ(ThumbnailPage::GetPageCount(row.items, row.rows, row.columns), row.pages)
        << row.items << " items, " << row.rows << " x " << row.columns;
  }
}

TEST(ThumbnailPageGrid, ThreeRowsOfFiveSplitIntoPagesWithoutEmptyRows) {
  struct Row {
    int items;
    std::vector<int> cellsPerPage;
    std::vector<int> rowsPerPage;
  };
  const Row rows[] = {
      {15, {15}, {3}}, {16, {15, 1}, {3, 1}}, {20, {15, 5}, {3, 1}}, {1, {1}, {1}}, {6, {6}, {2}}};
  for (const Row& row : rows) {
    testing::RecordingHost host;
    Settings settings;
    const ItemList list = MakeList(row.items);
    const Pages pages = BuildAll(list, settings, host);
    ASSERT_EQ(pages.texts.size(), row.cellsPerPage.size()) << row.items;
    for (std::size_t p = 0; p < pages.texts.size(); ++p) {
      const std::string& text = pages.texts[p];
      EXPECT_EQ(Count(text, "<td class=\"center thumb-large\""), row.cellsPerPage[p])
          << row.items << " items, page " << p + 1;
      EXPECT_EQ(Count(text, "<tr class=\"thumb\">"), row.rowsPerPage[p])
          << row.items << " items, page " << p + 1;
      // A row opened right before its closing tag would be an empty row.
      EXPECT_FALSE(std::regex_search(text, std::regex(R"(<tr class="thumb">\s*</tr>)")))
          << row.items << " items, page " << p + 1;
    }
  }
}

TEST(ThumbnailPageGrid, SixteenItemsLinkTheSecondPageAndNumberOnFromSixteen) {
  testing::RecordingHost host;
  Settings settings;
  const Pages pages = BuildAll(MakeList(16), settings, host);
  ASSERT_EQ(pages.texts.size(), 2u);
  EXPECT_NE(pages.texts[0].find("href=\"page2.html\""), std::string::npos);
  EXPECT_NE(pages.texts[1].find("href=\"index.html\""), std::string::npos);
  EXPECT_EQ(LinkedNumbers(pages.texts[1]), std::vector<int>{16});
  EXPECT_NE(pages.texts[1].find("img16.jpg"), std::string::npos);
  EXPECT_EQ(pages.texts[1].find("img15.jpg"), std::string::npos);
}

TEST(ThumbnailPageGrid, FifteenItemsHaveNoPageLinks) {
  testing::RecordingHost host;
  Settings settings;
  const Pages pages = BuildAll(MakeList(15), settings, host);
  ASSERT_EQ(pages.texts.size(), 1u);
  EXPECT_EQ(pages.texts[0].find("page-link"), std::string::npos);
}

TEST(ThumbnailPageGrid, UntickedRowsNeitherCountNorLeaveGaps) {
  testing::RecordingHost host;
  Settings settings;
  settings.OutputThumbnail.Row = 1;
  settings.OutputThumbnail.Column = 3;
  // Items 2, 4, 5 and 9 are unticked: the album is 1 3 6 | 7 8 10 | 11.
  const ItemList list = MakeList(11, {2, 4, 5, 9});
  const Pages pages = BuildAll(list, settings, host);
  ASSERT_EQ(pages.texts.size(), 3u);
  const std::vector<std::vector<std::string>> expected = {
      {"img1.jpg", "img3.jpg", "img6.jpg"}, {"img7.jpg", "img8.jpg", "img10.jpg"}, {"img11.jpg"}};
  for (std::size_t p = 0; p < 3; ++p) {
    for (const auto& name : expected[p]) {
      EXPECT_NE(pages.texts[p].find("alt=\"" + name + "\""), std::string::npos) << name;
    }
    EXPECT_EQ(Count(pages.texts[p], "<img "), static_cast<int>(expected[p].size()));
  }
  EXPECT_EQ(LinkedNumbers(pages.texts[1]), (std::vector<int>{4, 5, 6}));
  for (const char* unticked : {"img2.jpg", "img4.jpg", "img5.jpg", "img9.jpg"}) {
    for (const auto& text : pages.texts) EXPECT_EQ(text.find(unticked), std::string::npos);
  }
}

TEST(ThumbnailPageGrid, TheSeventhThumbnailLinksItsPhotoPageOnWhicheverPage) {
  struct Row {
    int rows, columns;
  };
  for (const Row& row : {Row{3, 5}, Row{1, 2}, Row{2, 2}, Row{1, 1}}) {
    testing::RecordingHost host;
    Settings settings;
    settings.OutputThumbnail.Row = row.rows;
    settings.OutputThumbnail.Column = row.columns;
    const Pages pages = BuildAll(MakeList(9), settings, host);
    std::vector<int> all;
    for (const auto& text : pages.texts) {
      const auto numbers = LinkedNumbers(text);
      all.insert(all.end(), numbers.begin(), numbers.end());
      if (text.find("alt=\"img7.jpg\"") != std::string::npos) {
        EXPECT_TRUE(std::regex_search(
            text, std::regex(R"(href="src/page7\.html"[^>]*><img[^>]*alt="img7\.jpg")")))
            << row.rows << " x " << row.columns;
      }
    }
    EXPECT_EQ(all, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
  }
}

TEST(ThumbnailPageCell, LinkKindFollowsThumbnailImageLink) {
  struct Row {
    int link;
    const char* expected;  // regex on the cell
  };
  const Row rows[] = {
      {0, R"(<a [^>]*href="photos/my%20photo%20%E5%A4%8F\.jpg"[^>]*><img )"},
      {1, R"(<a [^>]*href="src/page7\.html"[^>]*><img )"},
      {2, R"(<td class="center thumb-large">\s*<img )"},
      {9, R"(<a [^>]*href=""[^>]*><img )"},
  };
  ALBUMITEM item;
  item.name = "my photo 夏.jpg";
  item.fullPath = "/nonexistent/" + item.name;
  for (const Row& row : rows) {
    testing::RecordingHost host;
    Settings settings;
    settings.OutputThumbnail.ThumbnailImageLink = row.link;
    const ItemList list;
    const OutputContext run{list, settings, host, "/nonexistent", ""};
    const std::string cell = ThumbnailPage::BuildThumbnailCell(run, item, 7);
    EXPECT_TRUE(std::regex_search(cell, std::regex(row.expected))) << row.link << "\n" << cell;
    if (row.link == 2) {
      EXPECT_EQ(cell.find("<a "), std::string::npos);
    }
  }
}

TEST(ThumbnailPageCell, NamesAreEncodedInSrcAndHrefOnlyAndEscapedAsText) {
  struct Row {
    const char* name;
    const char* src;
    const char* shown;
  };
  const Row rows[] = {
      {"my photo 夏.jpg", "thumbs/my%20photo%20%E5%A4%8F.jpg", "my photo 夏.jpg"},
      {"a&b#1%.jpg", "thumbs/a%26b%231%25.jpg", "a&amp;b#1%.jpg"},
      {"<img src=x onerror=alert(1)>.jpg",
       "thumbs/%3Cimg%20src%3Dx%20onerror%3Dalert%281%29%3E.jpg",
       "&lt;img src=x onerror=alert(1)&gt;.jpg"},
      {"q\"uote's.jpg", "thumbs/q%22uote%27s.jpg", "q&quot;uote&#39;s.jpg"},
  };
  for (const Row& row : rows) {
    testing::RecordingHost host;
    Settings settings;
    settings.OutputThumbnail.ThumbnailImageLink = 0;
    const ItemList list;
    const OutputContext run{list, settings, host, "/nonexistent", ""};
    ALBUMITEM item;
    item.name = row.name;
    item.fullPath = std::string("/nonexistent/") + row.name;
    const std::string cell = ThumbnailPage::BuildThumbnailCell(run, item, 1);
    EXPECT_NE(cell.find(std::string("src=\"") + row.src + "\""), std::string::npos) << cell;
    EXPECT_NE(cell.find(std::string("<div class=\"thumb-info\">\r\n") + row.shown),
              std::string::npos)
        << cell;
    EXPECT_EQ(cell.find("<img src=x"), std::string::npos) << cell;
  }
}

TEST(ThumbnailPageCell, SizeClassAndImageSizeFollowThumbnailSize) {
  testing::TempDir dir;
  testing::WriteImage(dir / "wide.jpg", 400, 300, testing::ImageFormat::Jpeg);
  struct Row {
    int thumbnailSize;
    const char* cls;
    const char* size;
  };
  const Row rows[] = {{0, "center thumb-large", "width=\"248\" height=\"186\""},
                      {1, "center thumb-middle", "width=\"92\" height=\"69\""},
                      {2, "center thumb-small", "width=\"46\" height=\"35\""},
                      {7, "center thumb-", "width=\"400\" height=\"300\""}};
  for (const Row& row : rows) {
    testing::RecordingHost host;
    Settings settings;
    settings.OutputThumbnail.ThumbnailSize = row.thumbnailSize;
    const ItemList list;
    const OutputContext run{list, settings, host, dir.File(""), ""};
    ALBUMITEM item;
    item.name = "wide.jpg";
    item.fullPath = dir.File("wide.jpg");
    const std::string cell = ThumbnailPage::BuildThumbnailCell(run, item, 1);
    EXPECT_NE(cell.find(std::string("<td class=\"") + row.cls + "\">"), std::string::npos) << cell;
    EXPECT_NE(cell.find(row.size), std::string::npos) << cell;
  }
}

TEST(ThumbnailPageCell, ViewNameOffLeavesALineBreak) {
  testing::RecordingHost host;
  Settings settings;
  settings.OutputThumbnail.ViewName = 0;
  const ItemList list;
  const OutputContext run{list, settings, host, "/nonexistent", ""};
  ALBUMITEM item;
  item.name = "shown.jpg";
  const std::string cell = ThumbnailPage::BuildThumbnailCell(run, item, 1);
  EXPECT_TRUE(std::regex_search(cell, std::regex(R"(<div class="thumb-info">\s*<br)"))) << cell;
  EXPECT_EQ(cell.find(">shown.jpg"), std::string::npos);
}

TEST(ThumbnailPageAlbumStyle, EveryThumbnailIsFollowedByItsNoteCell) {
  testing::RecordingHost host;
  Settings settings;
  settings.OutputStyle.Style = 1;
  settings.OutputThumbnail.Row = 1;
  settings.OutputThumbnail.Column = 2;
  ItemList list = MakeList(3);
  list.SetRowNote(0, "<b>bold</b> & \"q\"");
  list.SetRowNote(2, "line one\nline two\r\nthree\rfour");
  const Pages pages = BuildAll(list, settings, host);
  ASSERT_EQ(pages.texts.size(), 2u);
  const std::string& first = pages.texts[0];
  EXPECT_EQ(Count(first, "<td class=\"note\">"), 2);
  EXPECT_NE(first.find("&lt;b&gt;bold&lt;/b&gt; &amp; &quot;q&quot;"), std::string::npos) << first;
  EXPECT_EQ(first.find("<b>bold"), std::string::npos);
  // The empty note of the second item gives a line break in its cell.
  EXPECT_TRUE(
      std::regex_search(first, std::regex(R"(<td class="note">\s*<div class="thumb-info"><br)")))
      << first;
  EXPECT_NE(pages.texts[1].find("line one\r\nline two\r\nthree\r\nfour"), std::string::npos);
  // Thumbnail then note, per item.
  EXPECT_TRUE(std::regex_search(
      first,
      std::regex(
          R"(alt="img1\.jpg"[\s\S]*class="note"[\s\S]*alt="img2\.jpg"[\s\S]*class="note")")));

  settings.OutputStyle.Style = 0;
  const Pages plain = BuildAll(list, settings, host);
  EXPECT_EQ(plain.texts[0].find("class=\"note\""), std::string::npos);
}

TEST(ThumbnailPageCursor, AQuitEndsTheRowsButThePageIsStillClosed) {
  testing::RecordingHost host;
  host.m_pump.m_quitAt = {3};
  Settings settings;
  const ItemList list = MakeList(5);
  const OutputContext run{list, settings, host, "/nonexistent", ""};
  PageCursor cursor;
  const std::string page = ThumbnailPage::BuildThumbnailPage(run, cursor, "T", "H", 1, 1);
  EXPECT_TRUE(cursor.quit);
  EXPECT_EQ(cursor.row, 2);
  EXPECT_EQ(Count(page, "<img "), 2);
  EXPECT_NE(page.find("</html>"), std::string::npos);
}

TEST(ThumbnailPageCursor, MovesPastTheLastPlacedRowOnlyWhenThePageIsFull) {
  testing::RecordingHost host;
  Settings settings;
  settings.OutputThumbnail.Row = 1;
  settings.OutputThumbnail.Column = 2;
  const ItemList list = MakeList(5, {3});  // ticked rows 0 1 3 4
  const OutputContext run{list, settings, host, "/nonexistent", ""};
  PageCursor cursor;
  ThumbnailPage::BuildThumbnailPage(run, cursor, "T", "H", 2, 1);
  EXPECT_EQ(cursor.row, 2);
  ThumbnailPage::BuildThumbnailPage(run, cursor, "T", "H", 2, 2);
  EXPECT_EQ(cursor.row, 5);
  EXPECT_FALSE(cursor.quit);
}

}  // namespace
}  // namespace pictavo
