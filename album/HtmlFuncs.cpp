#include "album/HtmlFuncs.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>

namespace pictavo {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Length of the valid UTF-8 sequence at text[i], or 0 when the bytes there are not one.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  std::uint32_t minimum = 0;
  std::uint32_t code = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, minimum = 0x80, code = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, minimum = 0x800, code = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, minimum = 0x10000, code = lead & 0x07;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not text.
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

bool IsForbiddenControl(unsigned char c) {
  return (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F;
}

// One attribute, always written; the value escaped.
std::string Attr(std::string_view name, const std::string& value) {
  std::string out;
  out.reserve(name.size() + value.size() + 4);
  out += ' ';
  out += name;
  out += "=\"";
  out += EncodeUtils::GetTextToEntityString(value);
  out += '"';
  return out;
}

// An attribute left out when its value is empty (id="" and class="" say nothing).
std::string OptionalAttr(std::string_view name, const std::string& value) {
  return value.empty() ? std::string() : Attr(name, value);
}

std::string IdClass(const std::string& id, const std::string& cls) {
  return OptionalAttr("id", id) + OptionalAttr("class", cls);
}

// Accepts style="..." or the bare declarations and gives the escaped attribute.
std::string StyleAttr(const std::string& style) {
  constexpr std::string_view kPrefix = "style=\"";
  std::string_view value = style;
  if (value.size() >= kPrefix.size() + 1 && value.substr(0, kPrefix.size()) == kPrefix &&
      value.back() == '"') {
    value = value.substr(kPrefix.size(), value.size() - kPrefix.size() - 1);
  }
  return OptionalAttr("style", std::string(value));
}

bool IsValidDataAttributeName(std::string_view name) {
  constexpr std::string_view kPrefix = "data-";
  if (name.size() <= kPrefix.size() || name.substr(0, kPrefix.size()) != kPrefix) return false;
  for (const char c : name.substr(kPrefix.size())) {
    const bool ok =
        (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
    if (!ok) return false;
  }
  return true;
}

std::string Pair(std::string_view tag, const std::string& attributes, const std::string& content) {
  std::string out;
  out.reserve(tag.size() * 2 + attributes.size() + content.size() + 5);
  out += '<';
  out += tag;
  out += attributes;
  out += '>';
  out += content;
  out += "</";
  out += tag;
  out += '>';
  return out;
}

std::string Open(std::string_view tag, const std::string& attributes) {
  std::string out = "<";
  out += tag;
  out += attributes;
  out += '>';
  return out;
}

}  // namespace

namespace HtmlFuncs {

std::string GetDoctypeTag() {
  return "<!DOCTYPE html>";
}
std::string GetHtmlTag(const std::string& lang) {
  return Open("html", OptionalAttr("lang", lang));
}
std::string GetHtmlClosingTag() {
  return "</html>";
}
std::string GetHeadTag() {
  return "<head>";
}
std::string GetHeadClosingTag() {
  return "</head>";
}

std::string GetMetaXUACompatibleTag(const std::string& value) {
  std::string content = value;
  if (content == "Edge") content = "edge";
  return Open("meta", Attr("http-equiv", "X-UA-Compatible") + Attr("content", "IE=" + content));
}

std::string GetMetaContentTypeTag(const std::string& charset) {
  return Open("meta", Attr("charset", charset));
}

std::string GetMetaGeneratorTag(const std::string& generator) {
  return Open("meta", Attr("name", "generator") + Attr("content", generator));
}

std::string GetMetaViewportTag() {
  return Open("meta",
              Attr("name", "viewport") + Attr("content", "width=device-width, initial-scale=1"));
}

std::string GetTitleTag(const std::string& title) {
  // The title element holds text only: a tag in the user's title would show as such in the
  // window title and confuse parsers, so tags are dropped and their text kept.
  std::string text;
  text.reserve(title.size());
  for (std::size_t i = 0; i < title.size(); ++i) {
    if (title[i] != '<') {
      text += title[i];
      continue;
    }
    const auto end = title.find('>', i);
    if (end == std::string::npos) {
      text += "&lt;";
    } else {
      i = end;
    }
  }
  return Pair("title", "", text);
}

std::string GetLinkCSSTag(const std::string& href) {
  return Open("link", Attr("rel", "stylesheet") + Attr("href", href));
}

std::string GetScriptSrcPairTag(const std::string& src) {
  return Pair("script", Attr("src", src), "");
}

std::string GetBodyTag() {
  return "<body>";
}
std::string GetBodyClosingTag() {
  return "</body>";
}
std::string GetBrTag(int) {
  return "<br>";
}

std::string GetDivTag(const std::string& cls) {
  return Open("div", OptionalAttr("class", cls));
}
std::string GetDivTag(const std::string& id, const std::string& cls) {
  return Open("div", IdClass(id, cls));
}
std::string GetDivClosingTag(int) {
  return "</div>";
}

std::string GetDivPairTag(const std::string& cls, const std::string& content, int) {
  return Pair("div", OptionalAttr("class", cls), content);
}
std::string GetDivPairTag(const std::string& id, const std::string& cls, const std::string& content,
                          int) {
  return Pair("div", IdClass(id, cls), content);
}
std::string GetSpanPairTag(const std::string& cls, const std::string& content, int) {
  return Pair("span", OptionalAttr("class", cls), content);
}
std::string GetSpanPairTag(const std::string& id, const std::string& cls,
                           const std::string& content, int) {
  return Pair("span", IdClass(id, cls), content);
}
std::string GetH1PairTag(const std::string& cls, const std::string& content) {
  return Pair("h1", OptionalAttr("class", cls), content);
}

std::string GetHeaderTag(const std::string& id, const std::string& cls) {
  return Open("header", IdClass(id, cls));
}
std::string GetHeaderClosingTag() {
  return "</header>";
}
std::string GetFooterTag(const std::string& id, const std::string& cls) {
  return Open("footer", IdClass(id, cls));
}
std::string GetFooterClosingTag() {
  return "</footer>";
}

std::string GetTableTag(const std::string& id, const std::string& cls) {
  return Open("table", IdClass(id, cls));
}
std::string GetTableClosingTag() {
  return "</table>";
}
std::string GetTbodyTag() {
  return "<tbody>";
}
std::string GetTbodyClosingTag() {
  return "</tbody>";
}
std::string GetTrTag() {
  return "<tr>";
}
std::string GetTrTag(const std::string& cls) {
  return Open("tr", OptionalAttr("class", cls));
}
std::string GetTrClosingTag() {
  return "</tr>";
}

std::string GetTdTag() {
  return "<td>";
}
std::string GetTdTag(const std::string& cls) {
  return Open("td", OptionalAttr("class", cls));
}
std::string GetTdTag(const std::string& id, const std::string& cls) {
  return Open("td", IdClass(id, cls));
}
std::string GetTdTag(const std::string& id, const std::string& cls, const std::string& style) {
  return Open("td", IdClass(id, cls) + StyleAttr(style));
}
std::string GetTdColTag(const std::string& cls, const std::string& colspan) {
  return Open("td", OptionalAttr("class", cls) + OptionalAttr("colspan", colspan));
}
std::string GetTdColTag(const std::string& cls, const std::string& colspan,
                        const std::string& style) {
  return Open("td",
              OptionalAttr("class", cls) + OptionalAttr("colspan", colspan) + StyleAttr(style));
}
std::string GetTdClosingTag() {
  return "</td>";
}

std::string GetTdPairTag(const std::string& content) {
  return Pair("td", "", content);
}
std::string GetTdPairTag(const std::string& cls, const std::string& content) {
  return Pair("td", OptionalAttr("class", cls), content);
}
std::string GetTdPairTag(const std::string& cls, const std::string& dataAttribute,
                         const std::string& content) {
  std::string attributes = OptionalAttr("class", cls);
  if (IsValidDataAttributeName(dataAttribute)) attributes += " " + dataAttribute;
  return Pair("td", attributes, content);
}

std::string GetAPairTag(const std::string& href, const std::string& cls,
                        const std::string& content) {
  return Pair("a", Attr("href", href) + OptionalAttr("class", cls), content);
}
std::string GetAPairTag(const std::string& href, const std::string& cls, const std::string& target,
                        const std::string& content) {
  return Pair("a", Attr("href", href) + OptionalAttr("class", cls) + OptionalAttr("target", target),
              content);
}

std::string GetImgTag(const std::string& src, const std::string& cls, int width, int height,
                      const std::string& alt) {
  // alt is always written: an image without it is not valid HTML.
  std::string attributes = Attr("src", src) + OptionalAttr("class", cls);
  if (width > 0) attributes += Attr("width", std::to_string(width));
  if (height > 0) attributes += Attr("height", std::to_string(height));
  attributes += Attr("alt", alt);
  return Open("img", attributes);
}
std::string GetImgTag(const std::string& src, const std::string& cls, int width, int height,
                      const std::string& alt, const std::string& id) {
  std::string tag = GetImgTag(src, cls, width, height, alt);
  tag.insert(tag.size() - 1, OptionalAttr("id", id));
  return tag;
}
std::string GetImgTag(const std::string& src, const std::string& cls, int width, int height,
                      const std::string& alt, const std::string& id, const std::string& title) {
  std::string tag = GetImgTag(src, cls, width, height, alt, id);
  tag.insert(tag.size() - 1, OptionalAttr("title", title));
  return tag;
}

std::string GetTextNode(const std::string& text) {
  return EncodeUtils::GetTextToEntityString(text);
}

}  // namespace HtmlFuncs

namespace StringUtils {

std::string GetStringArrayString(const std::vector<std::string>& lines) {
  std::size_t total = 0;
  for (const auto& line : lines) total += line.size() + 2;
  std::string out;
  out.reserve(total);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) out += "\r\n";
    out += lines[i];
  }
  return out;
}

}  // namespace StringUtils

namespace EncodeUtils {

std::string GetTextToEntityString(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    const std::size_t length = Utf8SequenceLength(text, i);
    if (length == 0) {
      out += kReplacement;
      ++i;
      continue;
    }
    if (length > 1) {
      out.append(text, i, length);
      i += length;
      continue;
    }
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        if (IsForbiddenControl(static_cast<unsigned char>(c))) {
          out += kReplacement;
        } else {
          out += c;
        }
    }
    ++i;
  }
  return out;
}

std::string GetTextToEncodeString(const std::string& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size() * 3);
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    const bool keep = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') ||
                      b == '-' || b == '.' || b == '_' || b == '~' || b == '/';
    if (keep) {
      out += c;
    } else {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 0x0F];
    }
  }
  return out;
}

}  // namespace EncodeUtils

void PageLines::Add(int tabs, const std::string& text, bool crlf) {
  std::string line;
  const std::size_t tabCount = tabs > 0 ? static_cast<std::size_t>(tabs) : 0;
  line.reserve(tabCount + text.size() + (crlf ? 2 : 0));
  line.append(tabCount, '\t');
  line += text;
  if (crlf) line += "\r\n";
  m_lines.push_back(std::move(line));
}

}  // namespace pictavo
