#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "AlbumTestDir.h"
#include "album/StyleFuncs.h"
#include "core/Host.h"
#include "support/RecordingHost.h"

namespace pictavo {
namespace {

using albumtest::ScratchDir;
using albumtest::WriteText;
using StyleFuncs::DESIGNITEM;

std::string StylesXml(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<styles>\n" + body + "</styles>\n";
}

TEST(StylesFile, ReadsEveryDesignInFileOrder) {
  ScratchDir dir;
  const std::string path = dir / "styles.xml";
  ASSERT_TRUE(
      WriteText(path, StylesXml("<design id=\"0\" name=\"スタンダード\" stylesheet=\"a.css\"/>\n"
                                "<design id=\"1\" name=\"ダーク &amp; 黒\" "
                                "stylesheet=\"b b.css\"/>\n")));
  const auto result = StyleFuncs::ReadStylesFile(path);
  ASSERT_TRUE(result.ok) << result.error;
  ASSERT_EQ(result.items.size(), 2u);
  EXPECT_EQ(result.items[0].id, 0);
  EXPECT_EQ(result.items[0].name, "スタンダード");
  EXPECT_EQ(result.items[0].styleSheet, "a.css");
  EXPECT_EQ(result.items[1].name, "ダーク & 黒");
  EXPECT_EQ(result.items[1].styleSheet, "b b.css");
  EXPECT_TRUE(result.problems.empty());
}

TEST(StylesFile, HostileElementsAreSkippedAndNamedWhileTheRestLoads) {
  struct Row {
    const char* element;
    bool kept;
  };
  const Row rows[] = {
      {"<design id=\"3\" name=\"ok\" stylesheet=\"ok.css\"/>", true},
      {"<design id=\"x\" name=\"bad id\" stylesheet=\"a.css\"/>", false},
      {"<design id=\"\" name=\"empty id\" stylesheet=\"a.css\"/>", false},
      {"<design id=\"1x\" name=\"trailing\" stylesheet=\"a.css\"/>", false},
      {"<design id=\"99999999999\" name=\"too big\" stylesheet=\"a.css\"/>", false},
      {"<design name=\"no id\" stylesheet=\"a.css\"/>", false},
      {"<design id=\"4\" name=\"up\" stylesheet=\"../../etc/passwd\"/>", false},
      {"<design id=\"5\" name=\"abs\" stylesheet=\"/etc/passwd\"/>", false},
      {"<design id=\"6\" name=\"dotdot\" stylesheet=\"..\"/>", false},
      {"<design id=\"7\" name=\"none\"/>", false},
      {"<design id=\"8\" name=\"back\" stylesheet=\"a\\b.css\"/>", false},
      {"<design id=\"-2\" name=\"negative\" stylesheet=\"n.css\"/>", true},
  };
  for (const Row& row : rows) {
    ScratchDir dir;
    const std::string path = dir / "styles.xml";
    ASSERT_TRUE(
        WriteText(path, StylesXml(std::string(row.element) +
                                  "<design id=\"9\" name=\"last\" stylesheet=\"z.css\"/>")));
    const auto result = StyleFuncs::ReadStylesFile(path);
    ASSERT_TRUE(result.ok) << row.element;
    EXPECT_EQ(result.items.size(), row.kept ? 2u : 1u) << row.element;
    EXPECT_EQ(result.problems.size(), row.kept ? 0u : 1u) << row.element;
    EXPECT_EQ(result.items.back().styleSheet, "z.css") << row.element;
  }
}

TEST(StylesFile, UnreadableFilesFailWithAReasonAndKeepTheHeldList) {
  ScratchDir dir;
  const std::string broken = dir / "broken.xml";
  const std::string wrongRoot = dir / "root.xml";
  ASSERT_TRUE(WriteText(broken, "<styles><design id=\"0\""));
  ASSERT_TRUE(WriteText(wrongRoot, "<designs/>"));
  const std::string missing = dir / "missing.xml";

  std::vector<DESIGNITEM> held = {{7, "held", "held.css"}};
  for (const std::string& path : {broken, wrongRoot, missing}) {
    const auto result = StyleFuncs::ReadStylesFile(path);
    EXPECT_FALSE(result.ok) << path;
    EXPECT_NE(result.error.find(path), std::string::npos) << result.error;
    EXPECT_EQ(StyleFuncs::GetStylesInformation(path, held), -1) << path;
  }
  ASSERT_EQ(held.size(), 1u);
  EXPECT_EQ(held[0].styleSheet, "held.css");
}

TEST(StylesFile, ShippedStylesListNumbersItsDesignsInOrderAndEachSheetExists) {
  const std::filesystem::path styles = PICTAVO_STYLES_DIR;
  std::vector<DESIGNITEM> items;
  ASSERT_GE(StyleFuncs::GetStylesInformation(styles / "styles.xml", items), 2);
  for (std::size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i].id, static_cast<int>(i)) << items[i].name;
    EXPECT_FALSE(items[i].name.empty());
    EXPECT_TRUE(std::filesystem::is_regular_file(styles / "design" / "css" / items[i].styleSheet))
        << items[i].styleSheet;
  }
  for (const char* shared :
       {"common.css", "style.css", "thumb.css", "photo.css", "property.css", "slideshow.css"}) {
    EXPECT_TRUE(std::filesystem::is_regular_file(styles / "design" / "css" / shared)) << shared;
  }
  for (const char* image : {"prev.png", "next.png", "prev-disabled.png", "next-disabled.png",
                            "play.png", "pause.png"}) {
    const auto path = styles / "design" / "images" / image;
    ASSERT_TRUE(std::filesystem::is_regular_file(path)) << image;
    const std::string bytes = albumtest::ReadText(path.string());
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << image;
  }
}

TEST(DesignStyleSheetName, SelectsByIdNotByPosition) {
  const std::vector<DESIGNITEM> items = {
      {2, "two", "two.css"}, {0, "zero", "zero.css"}, {1, "one", "one.css"}, {1, "dup", "dup.css"}};
  struct Row {
    int styleDesign;
    const char* expected;
  };
  const Row rows[] = {{0, "zero.css"}, {1, "one.css"}, {2, "two.css"}, {3, ""}, {-1, ""}};
  for (const Row& row : rows) {
    NullPump pump;
    EXPECT_EQ(StyleFuncs::GetDesignStyleSheetName(items, row.styleDesign, pump), row.expected)
        << row.styleDesign;
  }
}

TEST(DesignStyleSheetName, PumpsBeforeEachItemAndAQuitEndsWithAnEmptyName) {
  const std::vector<DESIGNITEM> items = {{0, "a", "a.css"}, {1, "b", "b.css"}, {2, "c", "c.css"}};
  testing::CountingPump pump;
  EXPECT_EQ(StyleFuncs::GetDesignStyleSheetName(items, 2, pump), "c.css");
  EXPECT_EQ(pump.m_calls, 3);

  testing::CountingPump quitting;
  quitting.m_quitAt = {2};
  EXPECT_EQ(StyleFuncs::GetDesignStyleSheetName(items, 2, quitting), "");
  EXPECT_EQ(quitting.m_calls, 2);
}

}  // namespace
}  // namespace pictavo
