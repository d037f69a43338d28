#include "cli/TerminalText.h"

#include <cstdint>
#include <cstdio>

#include <unicode/utf8.h>

namespace pictavo::cli {

namespace {

std::string Hex(const char* format, unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

std::string EscapeControls(const std::string& text, bool keepLayout) {
  std::string shown;
  shown.reserve(text.size());
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const auto length = static_cast<int32_t>(text.size());
  for (int32_t i = 0; i < length;) {
    const int32_t start = i;
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) {
      for (int32_t at = start; at < i; ++at) shown += Hex("\\x%02X", bytes[at]);
    } else if (c == '\n') {
      shown += keepLayout ? "\n" : "\\n";
    } else if (c == '\r') {
      shown += "\\r";
    } else if (c == '\t') {
      shown += keepLayout ? "\t" : "\\t";
    } else if (c < 0x20 || c == 0x7F) {
      shown += Hex("\\x%02X", static_cast<unsigned>(c));
    } else if (c >= 0x80 && c < 0xA0) {
      shown += Hex("\\u%04X", static_cast<unsigned>(c));
    } else {
      shown.append(text, static_cast<size_t>(start), static_cast<size_t>(i - start));
    }
  }
  return shown;
}

}  // namespace pictavo::cli
