#include "core/Encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace pictavo {
namespace {

TEST(Encoding, KnowsTheProgramsCodePagesAndRefusesOthers) {
  struct Row {
    int codePage;
    bool supported;
  };
  const Row rows[] = {{65001, true},      {932, true},       {1252, true},   {-1, true},
                      {0, false},         {-7, false},       {12345, false}, {99999, false},
                      {INT32_MIN, false}, {INT32_MAX, false}};
  for (const Row& row : rows) {
    EXPECT_EQ(Encoding::IsCodePageSupported(row.codePage), row.supported) << row.codePage;
    EXPECT_EQ(Encoding::Utf8ToCodePage("a", row.codePage).has_value(), row.supported);
    EXPECT_EQ(Encoding::CodePageToUtf8("a", row.codePage).has_value(), row.supported);
  }
}

TEST(Encoding, Utf16LeDecodingReplacesWhatIsBroken) {
  struct Row {
    const char* name;
    std::string bytes;
    std::string text;
  };
  const Row rows[] = {
      {"plain", std::string("a\0b\0", 4), "ab"},
      {"surrogate pair", std::string("\x3D\xD8\x00\xDE", 4), "😀"},
      {"lone high surrogate",
       std::string("\x3D\xD8"
                   "a\0",
                   4),
       "\xEF\xBF\xBD"
       "a"},
      {"lone low surrogate", std::string("\x00\xDE", 2), "\xEF\xBF\xBD"},
      {"odd byte", std::string("a\0b", 3), "a\xEF\xBF\xBD"},
      {"empty", "", ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Encoding::Utf16LeToUtf8(row.bytes), row.text) << row.name;
  }
}

TEST(Encoding, TextRoundTripsThroughUtf16AndTheJapaneseCodePage) {
  const std::string text = "名前 アイウ ｶﾀｶﾅ & 100% #1 \"x\"";
  EXPECT_EQ(Encoding::Utf16LeToUtf8(Encoding::Utf8ToUtf16Le(text)), text);
  const auto bytes = Encoding::Utf8ToCodePage(text, 932);
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(Encoding::CodePageToUtf8(*bytes, 932).value_or(""), text);
}

TEST(Encoding, DefaultCharacterIsTheCallersChoice) {
  EXPECT_EQ(Encoding::Utf8ToCodePage("a漢b", 1252, '?').value_or(""), "a?b");
  EXPECT_EQ(Encoding::Utf8ToCodePage("a漢b", 1252).value_or(""), "a#b");
}

}  // namespace
}  // namespace pictavo
