#pragma once

// Conversions between UTF-8 text in memory and the encodings of files: UTF-16LE and the code
// pages of narrow text files. Ill-formed input never fails: it becomes U+FFFD.

#include <optional>
#include <string>
#include <string_view>

namespace pictavo::Encoding {

inline constexpr int kCodePageAnsi = -1;  // the locale's character set
inline constexpr int kCodePageUtf8 = 65001;

// True when text in codePage can be converted (932, 1252, 65001, -1 and the other code pages
// ICU knows as "windows-<n>").
bool IsCodePageSupported(int codePage);

// UTF-16 little-endian bytes, no mark.
std::string Utf8ToUtf16Le(std::string_view text);
// From UTF-16 little-endian bytes; an odd last byte and unpaired surrogates become U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes);

// Bytes of codePage for text; characters the code page lacks become defaultChar. Decomposed
// sequences are composed first so that, for example, e + U+0301 is written as one é.
// Empty optional when the code page has no converter.
std::optional<std::string> Utf8ToCodePage(std::string_view text, int codePage,
                                          char defaultChar = '#');
// Text of bytes in codePage; empty optional when the code page has no converter.
std::optional<std::string> CodePageToUtf8(std::string_view bytes, int codePage);

}  // namespace pictavo::Encoding
