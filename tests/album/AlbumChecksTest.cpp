#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "support/AlbumChecks.h"
#include "support/Fixtures.h"

namespace pictavo {
namespace {

namespace fs = std::filesystem;

const std::string kBom = "\xEF\xBB\xBF";

std::string Page(const std::string& body) {
  return kBom +
         "<!DOCTYPE html>\r\n<html lang=\"ja\">\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
         "<title>t</title>\r\n</head>\r\n<body>\r\n" +
         body + "\r\n</body>\r\n</html>\r\n";
}

// The checker is only worth something if each kind of fault makes it fail.
TEST(AlbumChecks, EachKindOfFaultIsFoundAndACleanAlbumPasses) {
  struct Row {
    const char* what;
    std::string page;
    const char* expected;  // part of the problem text; empty: the album passes
  };
  const Row rows[] = {
      {"clean",
       Page("<p><a href=\"sub/my%20file%20%E5%A4%8F.txt\">x</a> "
            "<img src=\"a&amp;b.png\" alt=\"\"> <a href=\"http://\">h</a> "
            "<a href=\"#top\">t</a> <a href=\"index.html?x#y\">i</a></p>"),
       ""},
      {"no mark", Page("<p>x</p>").substr(3), "no UTF-8 mark"},
      {"bare LF", Page("<p>x</p>\n<p>y</p>"), "bare LF"},
      {"bare CR", Page("<p>x</p>\r<p>y</p>"), "bare CR"},
      {"invalid UTF-8", Page("<p>\xC3(</p>"), "invalid UTF-8"},
      {"missing file", Page("<p><img src=\"thumbs/none.jpg\" alt=\"\"></p>"), "names no file"},
      {"unencoded space", Page("<p><a href=\"sub/my file 夏.txt\">x</a></p>"), ""},
      {"bad escape", Page("<p><a href=\"sub/%E5%A4\">x</a></p>"), "names no file"},
      {"truncated escape", Page("<p><a href=\"sub/%E\">x</a></p>"), "malformed escape"},
      {"outside", Page("<p><a href=\"../outside.txt\">x</a></p>"), "leaves the album"},
      {"folder", Page("<p><a href=\"sub\">x</a></p>"), "names no file"},
      {"tidy error", Page("<p><foo>x</foo></p>"), "Error"},
  };
  for (const Row& row : rows) {
    testing::TempDir dir;
    fs::create_directories(dir / "album/sub");
    testing::WriteBytes(dir / "album/sub/my file 夏.txt", "x");
    testing::WriteBytes(dir / "album/a&b.png", "x");
    testing::WriteBytes(dir / "outside.txt", "x");
    testing::WriteBytes(dir / "album/index.html", row.page);
    const auto result = testing::CheckAlbum(dir / "album");
    EXPECT_EQ(result.pages, 1) << row.what;
    if (std::string(row.expected).empty()) {
      EXPECT_TRUE(result.Ok()) << row.what << ": " << result.Describe();
    } else {
      EXPECT_FALSE(result.Ok()) << row.what;
      EXPECT_NE(result.Describe().find(row.expected), std::string::npos)
          << row.what << ": " << result.Describe();
    }
  }
}

TEST(AlbumChecks, AnAlbumWithoutPagesFails) {
  testing::TempDir dir;
  EXPECT_FALSE(testing::CheckAlbum(dir.Path()).Ok());
}

TEST(AlbumChecks, LinkTargetsAreReadWithEntitiesDecoded) {
  const auto targets = testing::GetLinkTargets(
      "<a href=\"a&amp;b.html\">x</a><img class=\"c\" src=\"t/&quot;q&quot;.jpg\"><link "
      "href=\"c.css\">");
  EXPECT_EQ(targets, (std::vector<std::string>{"a&b.html", "t/\"q\".jpg", "c.css"}));
}

}  // namespace
}  // namespace pictavo
