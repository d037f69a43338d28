#include "core/CompareUtils.h"

#include <gtest/gtest.h>
#include <unicode/locid.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

namespace pictavo {
namespace {

int Sign(int value) {
  return (value > 0) - (value < 0);
}

struct TextRow {
  const char* a;
  const char* b;
  int expected;  // sign in ascending order
};

TEST(CompareUtils, FileNamesSortInNaturalOrder) {
  const TextRow rows[] = {
      {"IMG_2.jpg", "IMG_10.jpg", -1},
      {"IMG_10.jpg", "IMG_2.jpg", 1},
      {"img_9.jpg", "IMG_10.jpg", -1},  // case does not outrank the number
      {"a.jpg", "B.jpg", -1},
      {"B.jpg", "c.jpg", -1},
      {"photo 1.jpg", "photo 01.jpg", 1},  // equal numbers: bytes decide, still not equal
      {"x.jpg", "x.jpg", 0},
      {"", "a.jpg", -1},
      {"写真2.jpg", "写真10.jpg", -1},
      {"a&b #1.jpg", "a&b #2.jpg", -1},
      {"\xff\xfe.jpg", "a.jpg", 1},  // ill-formed UTF-8 still orders, no crash
  };
  for (const TextRow& row : rows) {
    SCOPED_TRACE(std::string(row.a) + " | " + row.b);
    EXPECT_EQ(Sign(CompareUtils::CompareFileName(row.a, row.b, false)), row.expected);
    EXPECT_EQ(Sign(CompareUtils::CompareFileName(row.a, row.b, true)), -row.expected);
  }
}

TEST(CompareUtils, FileNamesDifferingOnlyInCaseAreNotEqual) {
  const int ab = CompareUtils::CompareFileName("Photo.jpg", "photo.jpg", false);
  EXPECT_NE(ab, 0);
  EXPECT_EQ(Sign(CompareUtils::CompareFileName("photo.jpg", "Photo.jpg", false)), -Sign(ab));
}

TEST(CompareUtils, SortingNamesGivesTheOrderAPersonExpects) {
  std::vector<std::string> names = {"IMG_10.jpg", "img_1.jpg", "IMG_2.jpg", "IMG_100.jpg",
                                    "IMG_20.jpg"};
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return CompareUtils::CompareFileName(a, b, false) < 0;
  });
  const std::vector<std::string> expected = {"img_1.jpg", "IMG_2.jpg", "IMG_10.jpg", "IMG_20.jpg",
                                             "IMG_100.jpg"};
  EXPECT_EQ(names, expected);
}

TEST(CompareUtils, NumbersCompareBySignAndReverseWhenDescending) {
  struct Row {
    std::int64_t a, b;
    int expected;
  };
  const Row rows[] = {
      {1, 2, -1},
      {2, 1, 1},
      {7, 7, 0},
      {-5, 3, -1},
      {INT64_MIN, INT64_MAX, -1},  // no overflow from a subtraction
      {INT64_MAX, INT64_MIN, 1},
      {0, 0, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.a) + " | " + std::to_string(row.b));
    EXPECT_EQ(CompareUtils::CompareNumber(row.a, row.b, false), row.expected);
    EXPECT_EQ(CompareUtils::CompareNumber(row.a, row.b, true), -row.expected);
  }
}

TEST(CompareUtils, DateTextsCompareAsDates) {
  const TextRow rows[] = {
      {"2008/05/30 15:56:01", "2008/05/30 15:56:02", -1},
      {"2008/05/30 15:56:01", "2008/05/30 15:56:01", 0},
      {"2009/01/01 00:00:00", "2008/12/31 23:59:59", 1},
      {"2008/5/30 9:05:01", "2008/05/30 10:00:00", -1},  // short fields are numbers, not text
      {"2008/05/30", "2008/05/30 00:00:01", -1},         // date without a time is midnight
      {"1999/12/31 23:59:59", "2000/01/01 00:00:00", -1},
      {"0000/00/00 00:00:00", "1970/01/01 00:00:00", -1},
      // No date sorts before every date; among themselves by bytes.
      {"", "1970/01/01 00:00:00", -1},
      {"1970/01/01 00:00:00", "", 1},
      {"", "", 0},
      {"unknown", "2008/05/30 15:56:01", -1},
      {"2008/05", "2008/05/30 15:56:01", -1},                 // too few fields
      {"2008/05/30 15:56:01:07", "1970/01/01 00:00:00", -1},  // too many fields
      {"20080/05/30 15:56:01", "1970/01/01 00:00:00", -1},    // year too long
      {"", "unknown", -1},
  };
  for (const TextRow& row : rows) {
    SCOPED_TRACE(std::string(row.a) + " | " + row.b);
    EXPECT_EQ(Sign(CompareUtils::CompareFileTime(row.a, row.b, false)), row.expected);
    EXPECT_EQ(Sign(CompareUtils::CompareFileTime(row.a, row.b, true)), -row.expected);
  }
}

TEST(CompareUtils, DateOrderIsTransitiveOverMixedTexts) {
  const std::vector<std::string> texts = {
      "",  "2008/05/30 15:56:01", "garbage", "2001/01/01", "1999/12/31 23:59:59",
      "x", "2008/05/30 15:56:01"};
  for (const auto& a : texts) {
    for (const auto& b : texts) {
      EXPECT_EQ(Sign(CompareUtils::CompareFileTime(a, b, false)),
                -Sign(CompareUtils::CompareFileTime(b, a, false)))
          << a << " | " << b;
      for (const auto& c : texts) {
        if (CompareUtils::CompareFileTime(a, b, false) < 0 &&
            CompareUtils::CompareFileTime(b, c, false) < 0) {
          EXPECT_LT(CompareUtils::CompareFileTime(a, c, false), 0) << a << " | " << c;
        }
      }
    }
  }
}

TEST(CompareUtils, TextIgnoresCaseOnlyWhenAsked) {
  EXPECT_EQ(CompareUtils::CompareText("Canon", "canon", false), 0);
  EXPECT_EQ(CompareUtils::CompareText("ÉCLAIR", "éclair", true), 0);
  EXPECT_NE(CompareUtils::CompareText("Canon", "canon", false, 0), 0);
  const TextRow rows[] = {
      {"apple", "Banana", -1}, {"Banana", "apple", 1}, {"NIKON", "canon", 1},
      {"", "a", -1},           {"手動", "手動", 0},    {"e", "é", -1},  // accents still count
  };
  for (const TextRow& row : rows) {
    SCOPED_TRACE(std::string(row.a) + " | " + row.b);
    EXPECT_EQ(Sign(CompareUtils::CompareText(row.a, row.b, false)), row.expected);
    EXPECT_EQ(Sign(CompareUtils::CompareText(row.a, row.b, true)), -row.expected);
  }
}

TEST(CompareUtils, EachThreadGetsWorkingCollators) {
  std::vector<int> results(4, 99);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < results.size(); ++i) {
    threads.emplace_back([&results, i] {
      int sum = 0;
      for (int n = 0; n < 200; ++n) {
        sum += CompareUtils::CompareFileName("IMG_2", "IMG_10", false) < 0;
        sum += CompareUtils::CompareText("a", "A", false) == 0;
      }
      results[i] = sum;
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(results, std::vector<int>(4, 400));
}

// The user's locale is read when a thread makes its collators, so each row runs in a new thread.
TEST(CompareUtils, OrdersHoldInEveryUserLocale) {
  const icu::Locale saved = icu::Locale::getDefault();
  for (const char* name : {"en_US_POSIX", "ja_JP", "de_DE", "fr_FR", ""}) {
    SCOPED_TRACE(name);
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale::setDefault(icu::Locale(name), status);
    ASSERT_TRUE(U_SUCCESS(status));
    int caseIgnored = 99, natural = 99, ordered = 99;
    std::thread([&] {
      caseIgnored = CompareUtils::CompareText("Canon EOS", "CANON eos", false);
      natural = CompareUtils::CompareFileName("img_2.jpg", "IMG_10.jpg", false);
      ordered = CompareUtils::CompareText("apple", "Banana", false);
    }).join();
    EXPECT_EQ(caseIgnored, 0);
    EXPECT_LT(natural, 0);
    EXPECT_LT(ordered, 0);
  }
  UErrorCode status = U_ZERO_ERROR;
  icu::Locale::setDefault(saved, status);
}

}  // namespace
}  // namespace pictavo
