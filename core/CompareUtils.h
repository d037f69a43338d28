#pragma once

// Orderings for the list sort: file names in natural order, numbers, date texts and plain text.
// Each returns negative, zero or positive for first-before, equal, first-after in ascending
// order, and the opposite sign when descending is true.

#include <cstdint>
#include <string_view>

namespace pictavo::CompareUtils {

// Flags and locale of CompareText.
inline constexpr unsigned kIgnoreCase = 1;
inline constexpr unsigned kUserDefaultLocale = 0x400;

// Natural order (IMG_2 before IMG_10), letter case only breaking ties, in the user's locale.
// Texts that collate equal fall back to their bytes, so distinct names never compare equal.
int CompareFileName(std::string_view a, std::string_view b, bool descending);

int CompareNumber(std::int64_t a, std::int64_t b, bool descending);

// Date texts "YYYY/MM/DD HH:MM:SS" (fields may be shorter; time optional). A text that holds no
// such date, the empty text included, sorts before every date, among such texts by bytes.
int CompareFileTime(std::string_view a, std::string_view b, bool descending);

// Text order of the user's locale; with kIgnoreCase letter case is ignored. Any locale value
// means the user's default locale, the only one the program asks for.
int CompareText(std::string_view a, std::string_view b, bool descending,
                unsigned flags = kIgnoreCase, unsigned locale = kUserDefaultLocale);

}  // namespace pictavo::CompareUtils
