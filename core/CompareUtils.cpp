#include "core/CompareUtils.h"

#include <array>
#include <cstring>
#include <memory>
#include <optional>

#include <unicode/coll.h>
#include <unicode/locid.h>

namespace pictavo::CompareUtils {

namespace {

enum class CollatorKind { FileName, TextIgnoreCase, Text };

// ICU's default for an unset or "C" locale is en_US_POSIX, whose collation orders by code point
// and so would never ignore case; the root order is what such a user expects.
icu::Locale UserLocale() {
  icu::Locale locale = icu::Locale::getDefault();
  if (std::strcmp(locale.getName(), "en_US_POSIX") == 0 || locale.isBogus()) {
    return icu::Locale::getRoot();
  }
  return locale;
}

std::unique_ptr<icu::Collator> MakeCollator(CollatorKind kind) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Collator> collator(icu::Collator::createInstance(UserLocale(), status));
  if (U_FAILURE(status) || !collator) return nullptr;
  if (kind == CollatorKind::FileName) {
    collator->setAttribute(UCOL_NUMERIC_COLLATION, UCOL_ON, status);
  }
  collator->setStrength(kind == CollatorKind::TextIgnoreCase ? icu::Collator::SECONDARY
                                                             : icu::Collator::TERTIARY);
  if (U_FAILURE(status)) return nullptr;
  return collator;
}

// Creating a collator costs far more than a comparison, and ICU collators are not safe to share
// between threads, so each thread keeps its own.
icu::Collator* CollatorFor(CollatorKind kind) {
  thread_local std::array<std::optional<std::unique_ptr<icu::Collator>>, 3> collators;
  auto& slot = collators[static_cast<size_t>(kind)];
  if (!slot) slot = MakeCollator(kind);
  return slot->get();
}

int Sign(int value) {
  return (value > 0) - (value < 0);
}

int Directed(int result, bool descending) {
  return descending ? -result : result;
}

int CompareBytes(std::string_view a, std::string_view b) {
  return Sign(a.compare(b));
}

int Collate(CollatorKind kind, std::string_view a, std::string_view b) {
  icu::Collator* collator = CollatorFor(kind);
  if (!collator) return CompareBytes(a, b);
  UErrorCode status = U_ZERO_ERROR;
  const UCollationResult result =
      collator->compareUTF8(icu::StringPiece(a.data(), static_cast<int32_t>(a.size())),
                            icu::StringPiece(b.data(), static_cast<int32_t>(b.size())), status);
  if (U_FAILURE(status)) return CompareBytes(a, b);
  return static_cast<int>(result);
}

// Up to six digit fields (year, month, day, hour, minute, second) into one sortable number.
std::optional<std::int64_t> DateKey(std::string_view text) {
  constexpr std::array<int, 6> kMaxDigits = {4, 2, 2, 2, 2, 2};
  std::array<std::int64_t, 6> fields{};
  size_t count = 0;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] < '0' || text[i] > '9') {
      ++i;
      continue;
    }
    if (count == fields.size()) return std::nullopt;
    int digits = 0;
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
      if (digits == kMaxDigits[count]) return std::nullopt;
      value = value * 10 + (text[i] - '0');
    }
    fields[count++] = value;
  }
  if (count < 3) return std::nullopt;
  std::int64_t key = 0;
  for (std::int64_t field : fields) key = key * 100 + field;
  return key;
}

}  // namespace

int CompareFileName(std::string_view a, std::string_view b, bool descending) {
  int result = Collate(CollatorKind::FileName, a, b);
  if (result == 0) result = CompareBytes(a, b);
  return Directed(result, descending);
}

int CompareNumber(std::int64_t a, std::int64_t b, bool descending) {
  return Directed((a > b) - (a < b), descending);
}

int CompareFileTime(std::string_view a, std::string_view b, bool descending) {
  const std::optional<std::int64_t> keyA = DateKey(a);
  const std::optional<std::int64_t> keyB = DateKey(b);
  int result = 0;
  if (keyA && keyB) {
    result = (*keyA > *keyB) - (*keyA < *keyB);
  } else if (keyA || keyB) {
    result = keyA ? 1 : -1;
  } else {
    result = CompareBytes(a, b);
  }
  return Directed(result, descending);
}

int CompareText(std::string_view a, std::string_view b, bool descending, unsigned flags,
                unsigned /*locale*/) {
  const CollatorKind kind =
      (flags & kIgnoreCase) != 0 ? CollatorKind::TextIgnoreCase : CollatorKind::Text;
  return Directed(Collate(kind, a, b), descending);
}

}  // namespace pictavo::CompareUtils
