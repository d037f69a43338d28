#include "core/Encoding.h"

#include <map>
#include <memory>

#include <unicode/normalizer2.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

namespace pictavo::Encoding {

namespace {

// ICU lengths are 32-bit; a longer text cannot be converted in one piece.
constexpr size_t kMaxIcuLength = 0x3FFFFFFF;

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

ConverterPtr OpenConverter(int codePage) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = nullptr;
  if (codePage == kCodePageAnsi) {
    converter = ucnv_open(nullptr, &status);  // ICU's default: the locale's character set
  } else if (codePage == kCodePageUtf8) {
    converter = ucnv_open("UTF-8", &status);
  } else if (codePage > 0) {
    converter = ucnv_open(("windows-" + std::to_string(codePage)).c_str(), &status);
  }
  if (U_FAILURE(status)) {
    if (converter) ucnv_close(converter);
    return nullptr;
  }
  return ConverterPtr(converter);
}

// Opening a converter loads its tables; each thread keeps the ones it used. Converters are
// stateful, so every use starts with a reset.
UConverter* ConverterFor(int codePage) {
  thread_local std::map<int, ConverterPtr> converters;
  auto it = converters.find(codePage);
  if (it == converters.end()) it = converters.emplace(codePage, OpenConverter(codePage)).first;
  UConverter* converter = it->second.get();
  if (converter) ucnv_reset(converter);
  return converter;
}

std::string ToUtf8(const icu::UnicodeString& text) {
  std::string out;
  text.toUTF8String(out);
  return out;
}

}  // namespace

bool IsCodePageSupported(int codePage) {
  return ConverterFor(codePage) != nullptr;
}

std::string Utf8ToUtf16Le(std::string_view text) {
  const icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(
      icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
  std::string bytes;
  bytes.reserve(static_cast<size_t>(unicode.length()) * 2);
  for (int32_t i = 0; i < unicode.length(); ++i) {
    const char16_t unit = unicode.charAt(i);
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

std::string Utf16LeToUtf8(std::string_view bytes) {
  icu::UnicodeString unicode;
  const size_t units = bytes.size() / 2;
  char16_t* buffer = unicode.getBuffer(static_cast<int32_t>(units));
  if (!buffer) return std::string();
  for (size_t i = 0; i < units; ++i) {
    buffer[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                      (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  unicode.releaseBuffer(static_cast<int32_t>(units));
  if (bytes.size() % 2 != 0) unicode.append(static_cast<char16_t>(0xFFFD));
  // toUTF8String writes U+FFFD for unpaired surrogates.
  return ToUtf8(unicode);
}

std::optional<std::string> Utf8ToCodePage(std::string_view text, int codePage, char defaultChar) {
  UConverter* converter = ConverterFor(codePage);
  if (!converter || text.size() > kMaxIcuLength) return std::nullopt;
  icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(
      icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
  UErrorCode status = U_ZERO_ERROR;
  if (codePage != kCodePageUtf8) {
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_SUCCESS(status)) unicode = nfc->normalize(unicode, status);
    if (U_FAILURE(status)) return std::nullopt;
    ucnv_setSubstChars(converter, &defaultChar, 1, &status);
    if (U_FAILURE(status)) return std::nullopt;
  }
  const int32_t needed = unicode.extract(nullptr, 0, converter, status);
  if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return std::nullopt;
  std::string bytes(static_cast<size_t>(needed), '\0');
  status = U_ZERO_ERROR;
  ucnv_reset(converter);
  unicode.extract(bytes.data(), needed, converter, status);
  // A filled buffer without room for a terminator reports a warning, not a failure.
  if (U_FAILURE(status)) return std::nullopt;
  return bytes;
}

std::optional<std::string> CodePageToUtf8(std::string_view bytes, int codePage) {
  UConverter* converter = ConverterFor(codePage);
  if (!converter || bytes.size() > kMaxIcuLength) return std::nullopt;
  UErrorCode status = U_ZERO_ERROR;
  const icu::UnicodeString unicode(bytes.data(), static_cast<int32_t>(bytes.size()), converter,
                                   status);
  if (U_FAILURE(status)) return std::nullopt;
  return ToUtf8(unicode);
}

}  // namespace pictavo::Encoding
