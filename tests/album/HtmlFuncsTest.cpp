#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "album/HtmlFuncs.h"
#include "album/OutputFuncs.h"

namespace pictavo {
namespace {

struct TextCase {
  const char* label;
  std::string input;
  std::string expected;
};

void PrintTo(const TextCase& c, std::ostream* os) {
  *os << c.label;
}

class EntityEncoding : public ::testing::TestWithParam<TextCase> {};

TEST_P(EntityEncoding, EscapesMarkupAndKeepsText) {
  EXPECT_EQ(EncodeUtils::GetTextToEntityString(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    HostileTexts, EntityEncoding,
    ::testing::Values(
        TextCase{"plain", "IMG_0001.jpg", "IMG_0001.jpg"}, TextCase{"empty", "", ""},
        TextCase{"ampersand", "Tom & Jerry", "Tom &amp; Jerry"},
        TextCase{"script", "<img src=x onerror=alert(1)>.jpg",
                 "&lt;img src=x onerror=alert(1)&gt;.jpg"},
        TextCase{"quotes", "say \"hi\" 'there'", "say &quot;hi&quot; &#39;there&#39;"},
        TextCase{"already an entity", "&copy;", "&amp;copy;"},
        TextCase{"japanese", "桜の写真　春.jpg", "桜の写真　春.jpg"},
        TextCase{"percent hash space", "100% #1 a b", "100% #1 a b"},
        TextCase{"four byte", "\xF0\x9F\x93\xB7", "\xF0\x9F\x93\xB7"},
        TextCase{"line breaks kept", "a\r\nb\tc", "a\r\nb\tc"},
        TextCase{"control char",
                 std::string("a\x01"
                             "b"),
                 "a\xEF\xBF\xBD"
                 "b"},
        TextCase{"nul", std::string("a\0b", 3),
                 "a\xEF\xBF\xBD"
                 "b"},
        TextCase{"lone continuation", "a\x80z", "a\xEF\xBF\xBDz"},
        TextCase{"latin1 byte", "caf\xE9.jpg", "caf\xEF\xBF\xBD.jpg"},
        TextCase{"truncated sequence at end", "ab\xE6\xA1", "ab\xEF\xBF\xBD\xEF\xBF\xBD"},
        TextCase{"overlong slash", "\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        TextCase{"surrogate", "\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}),
    [](const auto& info) {
      std::string name = info.param.label;
      for (auto& c : name) {
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
      }
      return name;
    });

class UrlEncoding : public ::testing::TestWithParam<TextCase> {};

TEST_P(UrlEncoding, PercentEncodesUtf8BytesKeepingSlashAndUnreserved) {
  EXPECT_EQ(EncodeUtils::GetTextToEncodeString(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    HostileNames, UrlEncoding,
    ::testing::Values(TextCase{"plain", "IMG_0001.jpg", "IMG_0001.jpg"},
                      TextCase{"unreserved", "a-b.c_d~e", "a-b.c_d~e"},
                      TextCase{"slash kept", "photos/a b.jpg", "photos/a%20b.jpg"},
                      TextCase{"percent", "100%.jpg", "100%25.jpg"},
                      TextCase{"hash and query", "a#b?c=d&e", "a%23b%3Fc%3Dd%26e"},
                      TextCase{"quotes and angle", "\"<'>", "%22%3C%27%3E"},
                      TextCase{"plus and comma", "a+b,c", "a%2Bb%2Cc"},
                      TextCase{"japanese", "桜.jpg", "%E6%A1%9C.jpg"},
                      TextCase{"invalid byte kept as its byte", "caf\xE9", "caf%E9"},
                      TextCase{"backslash", "a\\b", "a%5Cb"}, TextCase{"empty", "", ""}),
    [](const auto& info) {
      std::string name = info.param.label;
      for (auto& c : name) {
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
      }
      return name;
    });

struct TagCase {
  const char* label;
  std::string actual;
  std::string expected;
};

void PrintTo(const TagCase& c, std::ostream* os) {
  *os << c.label;
}

class TagText : public ::testing::TestWithParam<TagCase> {};

TEST_P(TagText, IsExactMarkup) {
  EXPECT_EQ(GetParam().actual, GetParam().expected);
}

using namespace HtmlFuncs;

INSTANTIATE_TEST_SUITE_P(
    FixedTags, TagText,
    ::testing::Values(
        TagCase{"doctype", GetDoctypeTag(), "<!DOCTYPE html>"},
        TagCase{"html", GetHtmlTag("ja"), "<html lang=\"ja\">"},
        TagCase{"xua", GetMetaXUACompatibleTag("Edge"),
                "<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\">"},
        TagCase{"charset", GetMetaContentTypeTag("utf-8"), "<meta charset=\"utf-8\">"},
        TagCase{"generator", GetMetaGeneratorTag("Pictavo 1.0"),
                "<meta name=\"generator\" content=\"Pictavo 1.0\">"},
        TagCase{"css", GetLinkCSSTag("../css/common.css"),
                "<link rel=\"stylesheet\" href=\"../css/common.css\">"},
        TagCase{"script", GetScriptSrcPairTag("js/slideshow.js"),
                "<script src=\"js/slideshow.js\"></script>"},
        TagCase{"br", GetBrTag(0), "<br>"},
        TagCase{"title keeps entities", GetTitleTag("A &amp; B"), "<title>A &amp; B</title>"},
        TagCase{"title drops tags", GetTitleTag("My <em>album</em>"), "<title>My album</title>"},
        TagCase{"title lone angle", GetTitleTag("a < b"), "<title>a &lt; b</title>"},
        TagCase{"title unclosed tag", GetTitleTag("a <b c"), "<title>a &lt;b c</title>"},
        TagCase{"div class", GetDivTag("grid"), "<div class=\"grid\">"},
        TagCase{"div id class", GetDivTag("container", "container"),
                "<div id=\"container\" class=\"container\">"},
        TagCase{"div empty id", GetDivTag("", "x"), "<div class=\"x\">"},
        TagCase{"header", GetHeaderTag("header", "header"),
                "<header id=\"header\" class=\"header\">"},
        TagCase{"footer", GetFooterTag("footer", "footer"),
                "<footer id=\"footer\" class=\"footer\">"},
        TagCase{"table", GetTableTag("main", "table-contents"),
                "<table id=\"main\" class=\"table-contents\">"},
        TagCase{"tr", GetTrTag("thumb"), "<tr class=\"thumb\">"},
        TagCase{"td two", GetTdTag("item-property", "item-property"),
                "<td id=\"item-property\" class=\"item-property\">"},
        TagCase{
            "td style attribute",
            GetTdTag("image-contents", "image-contents", "style=\"width: 640px; height: 640px;\""),
            "<td id=\"image-contents\" class=\"image-contents\" "
            "style=\"width: 640px; height: 640px;\">"},
        TagCase{"td bare style", GetTdTag("a", "b", "width: 1px;"),
                "<td id=\"a\" class=\"b\" style=\"width: 1px;\">"},
        TagCase{"td col", GetTdColTag("title", "4"), "<td class=\"title\" colspan=\"4\">"},
        TagCase{"td col style", GetTdColTag("note", "3", "style=\"width: 640px;\""),
                "<td class=\"note\" colspan=\"3\" style=\"width: 640px;\">"},
        TagCase{"td pair empty", GetTdPairTag(""), "<td></td>"},
        TagCase{"td pair class", GetTdPairTag("key-property", "名前"),
                "<td class=\"key-property\">名前</td>"},
        TagCase{"td pair data", GetTdPairTag("value-property", "data-date_taken", "x"),
                "<td class=\"value-property\" data-date_taken>x</td>"},
        TagCase{"td pair empty data key", GetTdPairTag("value-property", "data-", "x"),
                "<td class=\"value-property\">x</td>"},
        TagCase{"td pair hostile data key", GetTdPairTag("v", "data-x onclick=alert(1)", "x"),
                "<td class=\"v\">x</td>"},
        TagCase{"h1 content unescaped", GetH1PairTag("title", "<b>My</b> album"),
                "<h1 class=\"title\"><b>My</b> album</h1>"},
        TagCase{"div pair footer entity", GetDivPairTag("footer-copyright", "&copy; me", 1),
                "<div class=\"footer-copyright\">&copy; me</div>"},
        TagCase{"div pair id", GetDivPairTag("title", "file-name", "x", 0),
                "<div id=\"title\" class=\"file-name\">x</div>"},
        TagCase{"span pair", GetSpanPairTag("page_current", "3", 0),
                "<span class=\"page_current\">3</span>"},
        TagCase{"a", GetAPairTag("page2.html", "page-link nextpage", "次へ"),
                "<a href=\"page2.html\" class=\"page-link nextpage\">次へ</a>"},
        TagCase{"a target", GetAPairTag("src/page7.html", "thumb", "_self", "<img>"),
                "<a href=\"src/page7.html\" class=\"thumb\" target=\"_self\"><img></a>"},
        TagCase{"a empty href", GetAPairTag("", "thumb", "_self", "x"),
                "<a href=\"\" class=\"thumb\" target=\"_self\">x</a>"},
        TagCase{"a href ampersand", GetAPairTag("http://a/?x=1&y=\"2\"", "homepage", "h"),
                "<a href=\"http://a/?x=1&amp;y=&quot;2&quot;\" class=\"homepage\">h</a>"},
        TagCase{"img", GetImgTag("thumbs/a%20b.jpg", "thumbnail", 248, 186, "a b.jpg"),
                "<img src=\"thumbs/a%20b.jpg\" class=\"thumbnail\" width=\"248\" height=\"186\" "
                "alt=\"a b.jpg\">"},
        TagCase{"img hostile alt",
                GetImgTag("t/x.jpg", "thumbnail", 1, 1, "<img src=x onerror=alert(1)>.jpg"),
                "<img src=\"t/x.jpg\" class=\"thumbnail\" width=\"1\" height=\"1\" "
                "alt=\"&lt;img src=x onerror=alert(1)&gt;.jpg\">"},
        TagCase{"img quote alt", GetImgTag("x", "c", 2, 3, "a\" onload=\"b"),
                "<img src=\"x\" class=\"c\" width=\"2\" height=\"3\" "
                "alt=\"a&quot; onload=&quot;b\">"},
        TagCase{"img zero size leaves out sizes", GetImgTag("x", "c", 0, 0, ""),
                "<img src=\"x\" class=\"c\" alt=\"\">"},
        TagCase{"img six", GetImgTag("photos/a.jpg", "photos-slideshow", 8, 6, "a", "ph"),
                "<img src=\"photos/a.jpg\" class=\"photos-slideshow\" width=\"8\" height=\"6\" "
                "alt=\"a\" id=\"ph\">"},
        TagCase{
            "img seven",
            GetImgTag("../images/prev.png", "button-navi", 32, 32, "前へ", "button-prev", "前へ"),
            "<img src=\"../images/prev.png\" class=\"button-navi\" width=\"32\" "
            "height=\"32\" alt=\"前へ\" id=\"button-prev\" title=\"前へ\">"},
        TagCase{"class escaped", GetDivTag("a\"b"), "<div class=\"a&quot;b\">"},
        TagCase{"text node", GetTextNode("a<b>&c"), "a&lt;b&gt;&amp;c"}),
    [](const auto& info) {
      std::string name = info.param.label;
      for (auto& c : name) {
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
      }
      return name;
    });

TEST(StringArrayString, JoinsWithCrLfAndLeavesNoLineEndAfterTheLast) {
  EXPECT_EQ(StringUtils::GetStringArrayString({}), "");
  EXPECT_EQ(StringUtils::GetStringArrayString({"a"}), "a");
  EXPECT_EQ(StringUtils::GetStringArrayString({"a", "b", "c"}), "a\r\nb\r\nc");
  EXPECT_EQ(StringUtils::GetStringArrayString({"a\r\n", "b"}), "a\r\n\r\nb");
  EXPECT_EQ(StringUtils::GetStringArrayString({"", ""}), "\r\n");
}

TEST(PageLinesList, PutsTabsBeforeAndAnOptionalCrLfAfterEachLine) {
  PageLines lines;
  lines.Add(0, "<a>");
  lines.Add(2, "<b>", true);
  lines.Add(-1, "<c>");
  lines.Add("<d>");
  EXPECT_EQ(lines.Lines().size(), 4u);
  EXPECT_EQ(lines.Join(), "<a>\r\n\t\t<b>\r\n\r\n<c>\r\n<d>");
}

TEST(GeneratorText, NamesPictavoAndItsVersion) {
  EXPECT_EQ(OutputFuncs::GetGeneratorOutputString(), std::string("Pictavo ") + PICTAVO_VERSION);
  EXPECT_NE(std::string(PICTAVO_VERSION), "");
}

}  // namespace
}  // namespace pictavo
