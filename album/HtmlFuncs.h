#pragma once

// The tag builder of the generated pages, the page line list and the text encoders.
//
// Markup rules every caller relies on:
// - Every attribute value is entity-escaped here, so a caller passes plain values (a file name
//   as alt text, a home page address as href). Values meant for src and href must already be
//   percent-encoded where they come from file names (EncodeUtils::GetTextToEncodeString).
// - Element content is markup and is inserted unchanged: titles, headers and the copyright
//   text are the user's own markup, and a link may hold an image tag. Plain text such as a
//   file name or a note goes through EncodeUtils::GetTextToEntityString (or GetTextNode) first.
// - In a "name and class" pair the first text is the id, the second the class. An empty id
//   or class is left out, since id="" is not valid HTML.

#include <string>
#include <vector>

namespace pictavo {

namespace HtmlFuncs {

std::string GetDoctypeTag();
std::string GetHtmlTag(const std::string& lang);
std::string GetHtmlClosingTag();
std::string GetHeadTag();
std::string GetHeadClosingTag();
// value "Edge" gives content "IE=edge".
std::string GetMetaXUACompatibleTag(const std::string& value);
std::string GetMetaContentTypeTag(const std::string& charset);
std::string GetMetaGeneratorTag(const std::string& generator);
// Phones lay a page without it out at desktop width and shrink it to fit.
std::string GetMetaViewportTag();
// Tags in title are dropped (the element holds text only); entities stay.
std::string GetTitleTag(const std::string& title);
std::string GetLinkCSSTag(const std::string& href);
std::string GetScriptSrcPairTag(const std::string& src);
std::string GetBodyTag();
std::string GetBodyClosingTag();
// The int arguments of the calls below keep the calling shape of the pages; the markup is
// the same for every value.
std::string GetBrTag(int kind);

std::string GetDivTag(const std::string& cls);
std::string GetDivTag(const std::string& id, const std::string& cls);
std::string GetDivClosingTag(int kind);
std::string GetDivPairTag(const std::string& cls, const std::string& content, int kind);
std::string GetDivPairTag(const std::string& id, const std::string& cls, const std::string& content,
                          int kind);
std::string GetSpanPairTag(const std::string& cls, const std::string& content, int kind);
std::string GetSpanPairTag(const std::string& id, const std::string& cls,
                           const std::string& content, int kind);
std::string GetH1PairTag(const std::string& cls, const std::string& content);

std::string GetHeaderTag(const std::string& id, const std::string& cls);
std::string GetHeaderClosingTag();
std::string GetFooterTag(const std::string& id, const std::string& cls);
std::string GetFooterClosingTag();

std::string GetTableTag(const std::string& id, const std::string& cls);
std::string GetTableClosingTag();
std::string GetTbodyTag();
std::string GetTbodyClosingTag();
std::string GetTrTag();
std::string GetTrTag(const std::string& cls);
std::string GetTrClosingTag();

// A style argument is either a whole attribute text, style="width: 640px;", or the bare
// declarations; either way its value is escaped like any other.
std::string GetTdTag();
std::string GetTdTag(const std::string& cls);
std::string GetTdTag(const std::string& id, const std::string& cls);
std::string GetTdTag(const std::string& id, const std::string& cls, const std::string& style);
std::string GetTdColTag(const std::string& cls, const std::string& colspan);
std::string GetTdColTag(const std::string& cls, const std::string& colspan,
                        const std::string& style);
std::string GetTdClosingTag();
std::string GetTdPairTag(const std::string& content);
std::string GetTdPairTag(const std::string& cls, const std::string& content);
// dataAttribute is an attribute name such as "data-date_taken", written without a value.
// A name that is not a valid data attribute (for example "data-" of an unknown column) is
// left out rather than breaking the page.
std::string GetTdPairTag(const std::string& cls, const std::string& dataAttribute,
                         const std::string& content);

std::string GetAPairTag(const std::string& href, const std::string& cls,
                        const std::string& content);
std::string GetAPairTag(const std::string& href, const std::string& cls, const std::string& target,
                        const std::string& content);

std::string GetImgTag(const std::string& src, const std::string& cls, int width, int height,
                      const std::string& alt);
std::string GetImgTag(const std::string& src, const std::string& cls, int width, int height,
                      const std::string& alt, const std::string& id);
std::string GetImgTag(const std::string& src, const std::string& cls, int width, int height,
                      const std::string& alt, const std::string& id, const std::string& title);

// Plain text as a page line: the text entity-escaped, for a file name shown below a thumbnail.
std::string GetTextNode(const std::string& text);

}  // namespace HtmlFuncs

namespace StringUtils {

// The page text: lines separated by "\r\n", no line end after the last line. A line that ends
// in "\r\n" itself therefore leaves an empty line after it.
std::string GetStringArrayString(const std::vector<std::string>& lines);

}  // namespace StringUtils

namespace EncodeUtils {

// & < > " ' as entities, for text and attribute values. Bytes that are not valid UTF-8 and
// control characters other than tab, CR and LF become U+FFFD: a file name on Linux may hold
// any byte, and the page must stay valid UTF-8 HTML.
std::string GetTextToEntityString(const std::string& text);

// UTF-8 percent-encoding for src and href: keeps "/" and the unreserved characters
// A-Z a-z 0-9 - . _ ~; every other byte becomes %XX (upper-case hex), so the link names the
// file's exact bytes.
std::string GetTextToEncodeString(const std::string& text);

}  // namespace EncodeUtils

// A page or block under construction: each line is a number of tabs, one tag text and
// optionally an extra "\r\n"; Join gives the text through GetStringArrayString.
class PageLines {
 public:
  void Add(int tabs, const std::string& text, bool crlf = false);
  void Add(const std::string& text) { Add(0, text, false); }
  const std::vector<std::string>& Lines() const { return m_lines; }
  std::string Join() const { return StringUtils::GetStringArrayString(m_lines); }

 private:
  std::vector<std::string> m_lines;
};

}  // namespace pictavo
