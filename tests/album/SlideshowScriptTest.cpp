#include <clocale>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "album/Slideshow.h"

namespace pictavo {
namespace {

using Slideshow::FillScriptTemplate;
using Slideshow::GetIntervalText;
using Slideshow::MakeScriptValues;
using Slideshow::SplitTemplateLines;

struct IntervalRow {
  const char* duration;
  const char* expected;
};

TEST(SlideshowInterval, DurationTextBecomesWholeMilliseconds) {
  const IntervalRow rows[] = {
      {"2.5", "2500"},   {"0.0015", "1"},  {"3.0", "3000"},        {"10.0", "10000"},
      {"0.1", "100"},    {"2.01", "2010"}, {"8.19", "8190"},       {"0.0009", "0"},
      {" 1.5 ", "1500"}, {"+2", "2000"},   {"-0.5", "-500"},       {"", "0"},
      {"abc", "0"},      {"2,5", "2000"},  {"1e30", "2147483647"}, {"-1e30", "-2147483648"},
      {"nan", "0"},      {"1.5s", "1500"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(GetIntervalText(row.duration), row.expected) << "duration \"" << row.duration << '"';
  }
}

TEST(SlideshowInterval, DoesNotFollowTheUserLocale) {
  // A locale with a decimal comma must not turn "2.5" into 2 seconds.
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  bool switched = false;
  for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE", "fr_FR"}) {
    if (std::setlocale(LC_ALL, name) != nullptr && *std::localeconv()->decimal_point == ',') {
      switched = true;
      break;
    }
  }
  EXPECT_EQ(GetIntervalText("2.5"), "2500");
  EXPECT_EQ(GetIntervalText("0.0015"), "1");
  std::setlocale(LC_ALL, previous.c_str());
  if (!switched)
    GTEST_SKIP()
        << "no locale with a decimal comma is installed (localedef -i de_DE -f UTF-8 de_DE.UTF-8)";
}

TEST(SlideshowRepeat, RepeatSettingGivesPlayAndLimitTexts) {
  struct Row {
    int repeat;
    int limit;
    const char* play;
    const char* max;
  };
  const Row rows[] = {
      {0, 3, "true", "-1"},  {1, 3, "false", "-1"}, {2, 3, "true", "3"},
      {2, 10, "true", "10"}, {3, 3, "", ""},        {-1, 3, "", ""},
  };
  for (const auto& row : rows) {
    Settings s;
    s.OutputSlideshow.Repeat = row.repeat;
    s.OutputSlideshow.RepeatLimit = row.limit;
    const auto v = MakeScriptValues(s, {});
    EXPECT_EQ(v.repeatPlay, row.play) << "Repeat " << row.repeat;
    EXPECT_EQ(v.repeatMax, row.max) << "Repeat " << row.repeat;
  }
}

TEST(SlideshowValues, PlayAndPhotoFolder) {
  Settings s;
  s.OutputSlideshow.Play = 1;
  s.Output.PhotoName = "photos";
  auto v = MakeScriptValues(s, {});
  EXPECT_EQ(v.autoPlay, "true");
  EXPECT_EQ(v.photoDir, "\"photos/\"");
  for (int play : {0, 2, -1}) {
    s.OutputSlideshow.Play = play;
    EXPECT_EQ(MakeScriptValues(s, {}).autoPlay, "false") << "Play " << play;
  }
  s.Output.PhotoName = "my \"best\"\\shots";
  EXPECT_EQ(MakeScriptValues(s, {}).photoDir, "\"my \\\"best\\\"\\\\shots/\"");
}

TEST(SlideshowValues, TwoNamesAreQuotedJoinedByTheLineBreakWithoutFinalComma) {
  Settings s;
  const auto v = MakeScriptValues(s, {{"a.jpg", "", 640, 480}, {"b.jpg", "", 480, 640}});
  EXPECT_EQ(v.names, "\"a.jpg\",\r\n\"b.jpg\"");
  EXPECT_EQ(v.photosNames, "\"a.jpg\",\r\n\"b.jpg\"");
  EXPECT_EQ(v.dimensions, "\"640,480\",\r\n\"480,640\"");
  EXPECT_EQ(v.notes, "\"<br>\",\r\n\"<br>\"");
}

TEST(SlideshowValues, NoItemsGiveEmptyLists) {
  const auto v = MakeScriptValues(Settings{}, {});
  EXPECT_EQ(v.names, "");
  EXPECT_EQ(v.photosNames, "");
  EXPECT_EQ(v.notes, "");
  EXPECT_EQ(v.dimensions, "");
}

TEST(SlideshowValues, HostileNamesAndNotesStayInsideTheirStrings) {
  struct Row {
    SlideshowEntry entry;
    const char* name;
    const char* url;
    const char* note;
  };
  const Row rows[] = {
      {{"a b.jpg", "x", 1, 1}, "\"a b.jpg\"", "\"a%20b.jpg\"", "\"x\""},
      {{"say \"hi\".jpg", "", 1, 1},
       "\"say \\\"hi\\\".jpg\"",
       "\"say%20%22hi%22.jpg\"",
       "\"<br>\""},
      {{"back\\slash.jpg", "a\\b", 1, 1},
       "\"back\\\\slash.jpg\"",
       "\"back%5Cslash.jpg\"",
       "\"a\\\\b\""},
      {{"100%#1,2.jpg", "Tom & <Jerry>", 1, 1},
       "\"100%#1,2.jpg\"",
       "\"100%25%231%2C2.jpg\"",
       "\"Tom &amp; &lt;Jerry&gt;\""},
      {{"写真.jpg", "二行の\r\nメモ", 1, 1},
       "\"写真.jpg\"",
       "\"%E5%86%99%E7%9C%9F.jpg\"",
       "\"二行の\\r\\nメモ\""},
      {{"line\u2028sep.jpg", "\"quoted\"", 1, 1},
       "\"line\\u2028sep.jpg\"",
       "\"line%E2%80%A8sep.jpg\"",
       "\"&quot;quoted&quot;\""},
      {{"tab\there.jpg", "tab\tnote", 1, 1},
       "\"tab\\there.jpg\"",
       "\"tab%09here.jpg\"",
       "\"tab\\tnote\""},
      // The entity encoder turns control characters of a note into U+FFFD; a name keeps them.
      {{"bell\a.jpg", "bell\a", 1, 1},
       "\"bell\\u0007.jpg\"",
       "\"bell%07.jpg\"",
       "\"bell\xEF\xBF\xBD\""},
  };
  for (const auto& row : rows) {
    const auto v = MakeScriptValues(Settings{}, {row.entry});
    EXPECT_EQ(v.names, row.name) << row.entry.name;
    EXPECT_EQ(v.photosNames, row.url) << row.entry.name;
    EXPECT_EQ(v.notes, row.note) << row.entry.name;
  }
}

SlideshowScriptValues SampleValues() {
  Settings s;
  s.OutputSlideshow.Play = 1;
  s.OutputSlideshow.Duration = "2.5";
  s.OutputSlideshow.Repeat = 2;
  s.OutputSlideshow.RepeatLimit = 3;
  return MakeScriptValues(s, {{"a.jpg", "first", 800, 600}, {"b.jpg", "", 600, 800}});
}

TEST(SlideshowTemplate, ReplacesEveryPlaceholderInOrderOfTheLine) {
  const std::vector<std::string> lines = {
      "auto=[AUTOPLAY]; loop=[REPEATPLAY]; max=[REPEATMAX]; every=[INTERVAL];",
      "dir=[PHOTODIR]",
      "names=[[NAME]]",
      "urls=[[PHOTOSNAME]]",
      "notes=[[NOTE]]",
      "dims=[[DIMENSIONS]]",
      "[INTERVAL]+[INTERVAL]",
  };
  EXPECT_EQ(FillScriptTemplate(lines, SampleValues()),
            "auto=true; loop=true; max=3; every=2500;\n"
            "dir=\"photos/\"\n"
            "names=[\"a.jpg\",\r\n\"b.jpg\"]\n"
            "urls=[\"a.jpg\",\r\n\"b.jpg\"]\n"
            "notes=[\"first\",\r\n\"<br>\"]\n"
            "dims=[\"800,600\",\r\n\"600,800\"]\n"
            "2500+2500\n");
}

TEST(SlideshowTemplate, ShowLinesAreKeptOrDroppedWithTheirLineEnd) {
  struct Row {
    bool showName;
    bool showNote;
    const char* expected;
  };
  const std::vector<std::string> lines = {
      "a", "[SHOWFILENAME]name();",           "b",         "note([NOTE]); // [SHOWNOTE]",
      "c", "[SHOWFILENAME][SHOWNOTE]both();", "[SHOWNOTE]"};
  const Row rows[] = {
      {true, true, "a\nname();\nb\nnote(\"x\"); // \nc\nboth();\n"},
      {false, true, "a\nb\nnote(\"x\"); // \nc\n"},
      {true, false, "a\nname();\nb\nc\n"},
      {false, false, "a\nb\nc\n"},
  };
  for (const auto& row : rows) {
    auto v = MakeScriptValues(Settings{}, {{"x.jpg", "x", 1, 1}});
    v.showFileName = row.showName;
    v.showNote = row.showNote;
    EXPECT_EQ(FillScriptTemplate(lines, v), row.expected)
        << "ViewName " << row.showName << " ViewNote " << row.showNote;
  }
}

TEST(SlideshowTemplate, EmptyLinesAreNotWritten) {
  const std::vector<std::string> lines = {"", "x", "", "", "[NAME]", "y", ""};
  EXPECT_EQ(FillScriptTemplate(lines, MakeScriptValues(Settings{}, {})), "x\ny\n");
}

TEST(SlideshowTemplate, ValuesThatLookLikePlaceholdersAreNotReplacedAgain) {
  // Sequential replacement would put the notes into the file name and let the name's text
  // drop the whole list line when names are switched off.
  Settings s;
  s.OutputSlideshow.ViewName = 0;
  const auto v = MakeScriptValues(s, {{"[NOTE][SHOWFILENAME].jpg", "[DIMENSIONS]", 2, 3}});
  EXPECT_EQ(FillScriptTemplate({"[NAME]", "[NOTE]", "[DIMENSIONS]"}, v),
            "\"[NOTE][SHOWFILENAME].jpg\"\n\"[DIMENSIONS]\"\n\"2,3\"\n");
}

TEST(SlideshowTemplate, UnknownAndBrokenBracketsStay) {
  const std::vector<std::string> lines = {"[",    "[NAME",        "[name]",
                                          "a[]b", "[[AUTOPLAY]]", "[SHOWFILE]"};
  EXPECT_EQ(FillScriptTemplate(lines, MakeScriptValues(Settings{}, {})),
            "[\n[NAME\n[name]\na[]b\n[false]\n[SHOWFILE]\n");
}

TEST(SlideshowTemplate, LineEndsOfTheTemplateDoNotReachTheScript) {
  struct Row {
    const char* text;
    std::vector<std::string> lines;
  };
  const Row rows[] = {
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb", {"a", "b"}},
      {"\xEF\xBB\xBF"
       "a\r\n\r\nb",
       {"a", "", "b"}},
      {"a\r\r\nb", {"a\r", "b"}},
      {"", {}},
      {"\r\n", {""}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(SplitTemplateLines(row.text), row.lines) << row.text;
  }
  const auto script =
      FillScriptTemplate(SplitTemplateLines("x=[AUTOPLAY];\r\n\r\n[SHOWNOTE]y;\r\n"),
                         MakeScriptValues(Settings{}, {}));
  EXPECT_EQ(script, "x=false;\ny;\n");
}

std::string ReadShippedTemplate() {
  std::ifstream in(std::string(PICTAVO_STYLES_DIR) + "/design/js/slideshow.js", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(SlideshowTemplate, ShippedTemplateUsesEveryPlaceholder) {
  const std::string text = ReadShippedTemplate();
  ASSERT_FALSE(text.empty()) << "the design's slideshow.js is missing from the styles folder";
  for (const char* name :
       {"[AUTOPLAY]", "[REPEATPLAY]", "[REPEATMAX]", "[INTERVAL]", "[PHOTODIR]", "[NAME]",
        "[PHOTOSNAME]", "[NOTE]", "[DIMENSIONS]", "[SHOWFILENAME]", "[SHOWNOTE]"}) {
    EXPECT_NE(text.find(name), std::string::npos) << name;
  }
  // Filled with switched-off parts, nothing bracketed may be left over.
  Settings s;
  s.OutputSlideshow.ViewName = 0;
  s.OutputSlideshow.ViewNote = 0;
  const auto script = FillScriptTemplate(SplitTemplateLines(text), MakeScriptValues(s, {}));
  for (const char* name : {"[SHOWFILENAME]", "[SHOWNOTE]", "[NAME]", "[INTERVAL]"}) {
    EXPECT_EQ(script.find(name), std::string::npos) << name;
  }
  EXPECT_EQ(script.find('\r'), std::string::npos);
}

}  // namespace
}  // namespace pictavo
