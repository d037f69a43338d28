#pragma once

// The decisions of the options pages that need no widget: enabling rules, the fall-backs of the
// size combos and of the play and repeat radios, the up-down steps, the fixed row texts.

#include <QString>
#include <QStringList>

namespace pictavo::app::OptionsRules {

inline constexpr int kCustomSize = 4;  // row "カスタム" of the photo size combos
inline constexpr int kMinDimension = 1;
inline constexpr int kMaxDimension = 4800;
inline constexpr double kMinDuration = 0.1;
inline constexpr double kMaxDuration = 10.0;

// "原寸大", "大: 1024", "中: 800", "小: 640", "カスタム".
QStringList PhotoSizeRows();
// "大", "中", "小".
QStringList ThumbnailSizeRows();
// Rows of "リンク(&L):" in ThumbnailImageLink order: "フォト表示", "フォト ページ表示",
// "何もしない".
QStringList ThumbnailLinkRows();
// "特定のフォルダーを表示する", "空白アドレスを表示する", "前回終了時のアドレスを復元する".
QStringList StartupAddressRows();
// "毎日", "毎週", "毎月".
QStringList IntervalRows();

inline bool IsCustomSizeEnabled(int photoSize) {
  return photoSize == kCustomSize;
}
inline bool AreOpenProgramRadiosEnabled(bool openFile) {
  return openFile;
}
inline bool IsBrowserComboEnabled(bool openFile, int openFileProgram) {
  return openFile && openFileProgram == 1;
}
inline bool IsThumbnailLinkEnabled(bool viewLinkThumbnailPage) {
  return viewLinkThumbnailPage;
}
inline bool AreHomePageLinksEnabled(bool onThumbnailPages, bool onPhotoPages) {
  return onThumbnailPages || onPhotoPages;
}
inline bool IsDurationEnabled(int play) {
  return play == 1;
}
inline bool IsRepeatLimitEnabled(int repeat) {
  return repeat == 2;
}
inline bool IsIntervalEnabled(bool updateEnabled) {
  return updateEnabled;
}

// The choice that stands after the user picked requested while previous was chosen. A field
// that depends on the previous choice (enabled under it) and holds a wrong value keeps the
// previous choice, so the wrong value stays in view.
int ResolveChoice(int previous, int requested, bool dependentWasEnabled, bool dependentValid);

// The size combos: leaving "カスタム" with a wrong custom size stays on "カスタム".
inline int ResolveSizeSelection(int previous, int requested, bool customValid) {
  return ResolveChoice(previous, requested, IsCustomSizeEnabled(previous), customValid);
}

// "%.1f", independent of the locale.
QString FormatDuration(double seconds);
// One up-down step of the duration: steps times 0.1 added to the number in text (a text that
// is no number counts as 0), clamped to 0.1..10.0, formatted "%.1f".
QString StepDuration(const QString& text, int steps);
// An integer up-down step within min..max; a text that is no number steps from the bound the
// step moves away from.
QString StepInteger(const QString& text, int steps, int min, int max);

}  // namespace pictavo::app::OptionsRules
