#include <gtest/gtest.h>

#include "core/StringUtils.h"

namespace pictavo {
namespace {

TEST(StringTable, KnownIdGivesItsExactText) {
  EXPECT_EQ(StringUtils::GetLoadString(10231), "項目を選択してください。");
  EXPECT_EQ(StringUtils::GetLoadString(57344), "Pictavo");
}

TEST(StringTable, UnknownIdGivesEmptyText) { EXPECT_EQ(StringUtils::GetLoadString(1), ""); }

}  // namespace
}  // namespace pictavo
