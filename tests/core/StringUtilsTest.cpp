#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <limits>
#include <string>

#include "core/StringUtils.h"

namespace pictavo {
namespace {

using namespace StringUtils;

TEST(StringUtils, DwordTextIsPlainDecimalAndReadsBack) {
  for (const std::uint32_t value : {0u, 1u, 0xE6E6E6u, 0xFFFFFFu, 0xFFFFFFFFu}) {
    EXPECT_EQ(StringToDWORDNumber(DWORDNumberToString(value)), value);
  }
  EXPECT_EQ(DWORDNumberToString(0xFFFFFF), "16777215");
  EXPECT_EQ(DWORDNumberToString(0xE6E6E6), "15132390");
}

TEST(StringUtils, DwordReadOfHostileTexts) {
  const struct {
    const char* text;
    std::uint32_t expected;
  } rows[] = {
      {"", 0},
      {"abc", 0},
      {"  42", 42},
      {"+42", 42},
      {"42abc", 42},
      {"-1", 0},
      {"0x00FF00", 0xFF00},
      {"0x", 0},
      {"4294967295", 0xFFFFFFFF},
      {"4294967296", 0xFFFFFFFF},
      {"99999999999999999999999", 0xFFFFFFFF},
      {"１２", 0},  // full-width digits are no number
  };
  for (const auto& row : rows) EXPECT_EQ(StringToDWORDNumber(row.text), row.expected) << row.text;
}

TEST(StringUtils, DoubleTextAlwaysHasAPointAndReadsBack) {
  const struct {
    double value;
    const char* text;
  } rows[] = {{3.0, "3.0"},   {0.1, "0.1"},   {10.0, "10.0"},
              {2.25, "2.25"}, {-1.5, "-1.5"}, {0.0, "0.0"}};
  for (const auto& row : rows) {
    EXPECT_EQ(DoubleNumberToString(row.value), row.text);
    EXPECT_EQ(StringToDoubleNumber(row.text), row.value);
  }
  EXPECT_EQ(DoubleNumberToString(std::numeric_limits<double>::infinity()), "0.0");
  EXPECT_EQ(DoubleNumberToString(std::numeric_limits<double>::quiet_NaN()), "0.0");
}

TEST(StringUtils, DoubleReadOfHostileTexts) {
  const struct {
    const char* text;
    double expected;
  } rows[] = {
      {"abc", 0.0}, {"", 0.0},      {" 2.5", 2.5}, {"+2.5", 2.5}, {"2,5", 2.0},   {"inf", 0.0},
      {"nan", 0.0}, {"1e999", 0.0}, {"3.0s", 3.0}, {".5", 0.5},   {"-0.1", -0.1}, {"1e2", 100.0},
  };
  for (const auto& row : rows) EXPECT_EQ(StringToDoubleNumber(row.text), row.expected) << row.text;
}

TEST(StringUtils, ConversionsIgnoreTheProcessLocale) {
  // A locale with a decimal comma must not change the file's text form.
  const char* previous = std::setlocale(LC_ALL, nullptr);
  const std::string saved = previous ? previous : "C";
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
    GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed";
  }
  EXPECT_EQ(DoubleNumberToString(2.5), "2.5");
  EXPECT_EQ(StringToDoubleNumber("2.5"), 2.5);
  std::setlocale(LC_ALL, saved.c_str());
}

}  // namespace
}  // namespace pictavo
