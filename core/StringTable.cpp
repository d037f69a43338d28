#include <array>
#include <cstddef>
#include <iterator>
#include <map>

#include "core/StringIds.h"
#include "core/StringUtils.h"

namespace pictavo::StringUtils {

namespace {

// Titles of the twenty property columns, strings 10001 to 10020.
constexpr std::array<const char*, 20> kColumnTitles = {
    "名前",
    "フォルダー",
    "サイズ",
    "種類",
    "更新日時",
    "作成日時",
    "アクセス日時",
    "属性",
    "撮影日時",
    "大きさ",
    "デジタルデータ作成日時",
    "デジタルデータ更新日時",
    "カメラの製造元",
    "カメラのモデル",
    "EXIF バージョン",
    "プログラム名",
    "露出プログラム",
    "水平方向の解像度",
    "垂直方向の解像度",
    "メモ",
};

constexpr int kFirstColumnTitle = 10001;
constexpr int kFirstSortCommand = 33001;
constexpr int kFirstCopyCommand = 33201;

struct Entry {
  StringId id;
  const char* text;
};

// Ascending by id, one entry for every StringId.
constexpr Entry kTexts[] = {
    {StringId::SmallIcons, "小さいアイコン"},
    {StringId::LargeIcons, "大きいアイコン"},
    {StringId::TextOnRight, "文字列を右に表示する"},
    {StringId::NoTextOnButtons, "ボタンに文字列を表示しない"},
    {StringId::TextOnButtons, "ボタンに文字列を表示する"},
    {StringId::SelectFolderToAdd, "項目を追加するフォルダーを選択してください。"},
    {StringId::SelectStartupFolder, "起動時に表示するフォルダーを選択してください。"},
    {StringId::SelectOutputFolder, "出力先フォルダーを選択してください。"},
    {StringId::InsertingSuffix, " を挿入しています..."},
    {StringId::SortingItems, "項目を並べ替えています。お待ちください。"},
    {StringId::OutputtingItems, "選択した項目を出力しています。お待ちください。"},
    {StringId::CheckingForUpdates, "ソフトウェアの更新を確認しています。お待ちください。"},
    {StringId::Daily, "毎日"},
    {StringId::Weekly, "毎週"},
    {StringId::Monthly, "毎月"},
    {StringId::UpdateKind, "種類"},
    {StringId::UpdateDescription, "説明"},
    {StringId::UpdateNewFeatures, "新機能・改善"},
    {StringId::UpdateChanges, "仕様変更"},
    {StringId::UpdateFixes, "不具合修正"},
    {StringId::ShownItemCount, "表示項目: %d個"},
    {StringId::CheckedItemCount, "選択項目: %d個"},
    {StringId::FileLoaded, "ファイルの読み込みが完了しました。"},
    {StringId::FileSaved, "ファイルの保存が完了しました。"},
    {StringId::OutputDone, "出力が完了しました。"},
    {StringId::SelectItems, "項目を選択してください。"},
    {StringId::UpdateCheckFailed,
     "ソフトウェアの更新を確認できませんでした。\r\n\r\n"
     "サーバーが見つからない、またはネットワーク接続に問題が発生している可能性があります。\r\n"
     "プロキシ "
     "サーバーの設定やウイルス対策ソフトまたはセキュリティ対策ソフトの設定をご確認ください"
     "。\r\n\r\n"
     "上記方法で症状が改善しない場合は、しばらく時間をおいて再度お試しください。"},
    {StringId::DropFolder, "フォルダーをドロップしてください。"},
    {StringId::EnterField, "%sを入力してください。"},
    {StringId::FolderExists, "指定した場所には、既にフォルダーが存在します。"},
    {StringId::UpdateNotInstalled,
     "ソフトウェアの更新を確認できませんでした。\r\n\r\n"
     "%s が正しくインストールされていない可能性があります。\r\n"
     "%s を再インストールしてください。"},
    {StringId::HelpNotFound,
     "ヘルプファイルを開くことができませんでした。\r\n\r\n"
     "%s が正しくインストールされていない可能性があります。\r\n"
     "%s を再インストールしてください。"},
    {StringId::OutputFailed, "ファイルを出力することができませんでした。"},
    {StringId::OpenOutputFailed,
     "出力ファイルを開くことができませんでした。\r\n\r\n"
     "プログラムに関連付けされていない可能性があります。\r\n"
     "プログラムの関連付けをご確認ください。"},
    {StringId::ConfirmOutput, "選択した項目を出力しますか?"},
    {StringId::NewVersionAvailable,
     "新しいバージョンの %s (%s) を利用できます。\r\n今すぐダウンロードしますか?"},
    {StringId::OutputCancelled,
     "出力をキャンセルしました。\r\n\r\nそれまでに出力したファイルは残っています。"},
    {StringId::LatestVersion, "このバージョンの %s (%s) は、最新バージョンです。"},
    {StringId::NewestVersionIs,
     "最新の %s のバージョンは、%s です。\r\n"
     "%s を更新することによって、新しい機能を追加したり、様々な問題点を修正できます。"},
    {StringId::SortMenuTitle, "並べ替え(&O)"},
    {StringId::CopyMenuTitle, "クリップボードにコピー(&B)"},
    {StringId::FileWord, "ファイル"},
    {StringId::MutexNameFormat, "%sApplication%s"},
    {StringId::ExposureUndefined, "未定義"},
    {StringId::ExposureManual, "手動"},
    {StringId::ExposureNormal, "標準"},
    {StringId::ExposureAperturePriority, "絞り優先"},
    {StringId::ExposureShutterPriority, "シャッター優先"},
    {StringId::ExposureCreative, "深度優先"},
    {StringId::ExposureAction, "動体優先"},
    {StringId::ExposurePortrait, "縦長"},
    {StringId::ExposureLandscape, "横長"},
    {StringId::DefaultPageTitle, "ピクタボ"},
    {StringId::DefaultPageHeader, "フォト 一覧"},
    {StringId::DefaultCopyright, "Copyright &copy; Ostrel. All rights reserved."},
    {StringId::PoweredBy, "Powered by Ostrel"},
    {StringId::PrevLink, "前へ"},
    {StringId::NextLink, "次へ"},
    {StringId::ThumbnailPageLink, "フォト 一覧"},
    {StringId::HomePageLink, "ホームページ"},
    {StringId::HomePageUrlPrefix, "http://"},
    {StringId::NotesFileFilter, "メモ テキスト ファイル (*.dat)|*.dat|"},
    {StringId::PrevButton, "前へ"},
    {StringId::NextButton, "次へ"},
    {StringId::PlayButton, "再生"},
    {StringId::PauseButton, "一時停止"},
    {StringId::SizeOriginal, "原寸大"},
    {StringId::SizeLarge, "大"},
    {StringId::SizeMedium, "中"},
    {StringId::SizeSmall, "小"},
    {StringId::SizeCustom, "カスタム"},
    {StringId::LinkPhotoPage, "フォト ページ表示"},
    {StringId::LinkPhoto, "フォト表示"},
    {StringId::LinkNothing, "何もしない"},
    {StringId::StartupSpecificFolder, "特定のフォルダーを表示する"},
    {StringId::StartupBlankAddress, "空白アドレスを表示する"},
    {StringId::StartupRestoreLast, "前回終了時のアドレスを復元する"},
    {StringId::HomePageUrl, "https://www.ostrel.example/"},
    {StringId::LinkFormat, "<a href=\"%s\">%s</a>"},
    {StringId::DialogFontName, "MS UI Gothic"},
    // Titles of the photo page rows beyond the twenty columns.
    {StringId::PropertyAperture, "絞り値"},
    {StringId::PropertyExposureTime, "露出時間"},
    {StringId::PropertyIsoSpeed, "ISO 速度"},
    {StringId::PropertyFocalLength, "焦点距離"},
    {StringId::PropertyLens, "レンズ"},
    {StringId::ExecutePrompt, "一覧を出力します。\n実行"},
    {StringId::ApplicationTitle, "Pictavo"},
    {StringId::F1HelpPrompt, "ヘルプを表示するには、F1 キーを押してください。"},
    {StringId::SizeGripPrompt, "このウィンドウのサイズを変更します。\nサイズ変更"},
};

constexpr bool TextsMatchIds() {
  if (std::size(kTexts) != std::size(kAllStringIds)) return false;
  for (std::size_t i = 0; i < std::size(kTexts); ++i) {
    if (kTexts[i].id != kAllStringIds[i]) return false;
  }
  return true;
}
static_assert(TextsMatchIds(), "every StringId needs exactly one text, in the order of the ids");

std::map<int, std::string> BuildTable() {
  std::map<int, std::string> table;
  for (const Entry& entry : kTexts) table.emplace(static_cast<int>(entry.id), entry.text);
  // Column titles, and the prompt (status bar text, "\n", tooltip) of each column's sort and
  // copy command.
  for (int column = 0; column < static_cast<int>(kColumnTitles.size()); ++column) {
    const std::string title = kColumnTitles[column];
    table.emplace(kFirstColumnTitle + column, title);
    table.emplace(kFirstSortCommand + column,
                  "項目を" + title + "によって並び替えます。\n" + title);
    table.emplace(kFirstCopyCommand + column,
                  "項目の" + title + "をクリップボードにコピーします。\n" + title);
  }
  return table;
}

const std::map<int, std::string>& Table() {
  static const std::map<int, std::string> table = BuildTable();
  return table;
}

}  // namespace

std::string GetLoadString(StringId id) {
  return GetLoadString(static_cast<int>(id));
}

std::string GetLoadString(int id) {
  const auto& table = Table();
  const auto it = table.find(id);
  return it == table.end() ? std::string() : it->second;
}

}  // namespace pictavo::StringUtils
