#pragma once

// The program's string table and the number/text conversions of the settings file.
// Conversions never depend on the process locale.

#include <cstdint>
#include <string>

#include "core/StringIds.h"

namespace pictavo::StringUtils {

// The string-table text of id, exactly as the user sees it.
std::string GetLoadString(StringId id);
// The same for a computed id (a column's title, a sort or copy command's prompt); empty for an
// unknown id.
std::string GetLoadString(int id);

// Plain decimal text of a 32-bit value ("16777215").
std::string DWORDNumberToString(std::uint32_t value);
// Leading blanks, an optional "+", then decimal digits (or "0x" and hex digits); reading stops
// at the first other character. No digits or a minus sign give 0; a value above 0xFFFFFFFF
// gives 0xFFFFFFFF.
std::uint32_t StringToDWORDNumber(const std::string& text);

// Shortest text that reads back to the same double, always with a decimal point ("3.0",
// "0.1", "2.25"). Infinity and NaN give "0.0".
std::string DoubleNumberToString(double value);
// Leading blanks, then a decimal number with "." as the point; reading stops at the first
// other character. Text that is no number, infinity and NaN give 0.0.
double StringToDoubleNumber(const std::string& text);

}  // namespace pictavo::StringUtils
