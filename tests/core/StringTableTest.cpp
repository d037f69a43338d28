#include <gtest/gtest.h>

#include <string>

#include "core/StringUtils.h"

namespace pictavo {
namespace {

using StringUtils::GetLoadString;

struct QuotedString {
  int id;
  const char* text;
};

TEST(StringTable, QuotedIdsGiveTheirExactTexts) {
  const QuotedString rows[] = {
      {10001, "名前"},
      {10011, "デジタルデータ作成日時"},
      {10015, "EXIF バージョン"},
      {10020, "メモ"},
      {10141, " を挿入しています..."},  // leading blank: appended to a file name
      {10201, "表示項目: %d個"},
      {10231, "項目を選択してください。"},
      {10234, "%sを入力してください。"},
      {10254,
       "出力ファイルを開くことができませんでした。\r\n\r\nプログラムに関連付けされていない可能"
       "性があります。\r\nプログラムの関連付けをご確認ください。"},
      {10261, "選択した項目を出力しますか?"},
      {10323, "%sApplication%s"},
      {10332, "手動"},
      {10411, "ピクタボ"},
      {10412, "フォト 一覧"},
      {10414, "Powered by Ostrel"},
      {10425, "http://"},
      {10511, "メモ テキスト ファイル (*.dat)|*.dat|"},
      {10722, "フォト表示"},
      {11012, "<a href=\"%s\">%s</a>"},
      {32791, "一覧を出力します。\n実行"},
      {33005, "項目を更新日時によって並び替えます。\n更新日時"},
      {57344, "Pictavo"},
      {61184, "このウィンドウのサイズを変更します。\nサイズ変更"},
  };
  for (const auto& row : rows) EXPECT_EQ(GetLoadString(row.id), row.text) << row.id;
}

TEST(StringTable, EveryColumnHasATitleAndTwoCommandPromptsNamingIt) {
  for (int column = 0; column < 20; ++column) {
    const std::string title = GetLoadString(10001 + column);
    ASSERT_FALSE(title.empty()) << column;
    const std::string sort = GetLoadString(33001 + column);
    const std::string copy = GetLoadString(33201 + column);
    // The part after "\n" is the tooltip: the column title alone.
    ASSERT_NE(sort.find('\n'), std::string::npos) << column;
    ASSERT_NE(copy.find('\n'), std::string::npos) << column;
    EXPECT_EQ(sort.substr(sort.find('\n') + 1), title);
    EXPECT_EQ(copy.substr(copy.find('\n') + 1), title);
    EXPECT_NE(sort, copy);
  }
}

TEST(StringTable, CopyrightNoticeCarriesTheEntityAndTheMaker) {
  const std::string text = GetLoadString(10413);
  EXPECT_NE(text.find("&copy;"), std::string::npos);
  EXPECT_NE(text.find("Ostrel"), std::string::npos);
}

TEST(StringTable, UnknownIdsGiveEmptyText) {
  for (const int id : {0, -1, 1, 10000, 10021, 33000, 33021, 33221, 99999}) {
    EXPECT_EQ(GetLoadString(id), "") << id;
  }
}

}  // namespace
}  // namespace pictavo
