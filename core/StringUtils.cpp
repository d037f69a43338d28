#include "core/StringUtils.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace pictavo::StringUtils {

namespace {

std::size_t SkipBlanks(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  return i;
}

}  // namespace

std::string DWORDNumberToString(std::uint32_t value) {
  return std::to_string(value);
}

std::uint32_t StringToDWORDNumber(const std::string& text) {
  std::size_t i = SkipBlanks(text);
  if (i < text.size() && text[i] == '+') ++i;
  int base = 10;
  if (text.size() - i >= 2 && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  std::uint64_t value = 0;
  const char* first = text.data() + i;
  const char* last = text.data() + text.size();
  const auto [end, ec] = std::from_chars(first, last, value, base);
  if (end == first) return 0;
  if (ec == std::errc::result_out_of_range || value > std::numeric_limits<std::uint32_t>::max()) {
    return std::numeric_limits<std::uint32_t>::max();
  }
  return static_cast<std::uint32_t>(value);
}

std::string DoubleNumberToString(double value) {
  if (!std::isfinite(value)) return "0.0";
  char buffer[64];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, ec == std::errc() ? end : buffer);
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

double StringToDoubleNumber(const std::string& text) {
  std::size_t i = SkipBlanks(text);
  if (i < text.size() && text[i] == '+') ++i;
  double value = 0.0;
  const char* first = text.data() + i;
  const auto [end, ec] =
      std::from_chars(first, text.data() + text.size(), value, std::chars_format::general);
  if (end == first || ec != std::errc() || !std::isfinite(value)) return 0.0;
  return value;
}

}  // namespace pictavo::StringUtils
