#pragma once

// The toolkit-free half of the output settings dialog ("出力先の設定"): the values it proposes
// when it opens and the checks its OK button makes. The desktop dialog and the command line
// both drive it.

#include <string>

#include "core/Host.h"
#include "core/Settings.h"

namespace pictavo::OutputSettingsModel {

// Labels of the four validating edits; their error texts are made from them.
inline constexpr const char* kFolderNameLabel = "フォルダー名(&N):";
inline constexpr const char* kLocationLabel = "ファイルの出力先(&L):";
inline constexpr const char* kTitleLabel = "タイトル(&T):";
inline constexpr const char* kHeaderLabel = "見出し(&H):";

// "フォルダー名(&N):" -> "フォルダー名を入力してください。"
std::string GetFieldErrorMessage(const std::string& label);

// folderName followed by the smallest n >= 1 for which nothing named so exists in location.
// The bare name is never offered.
std::string ProposeFolderName(const std::string& folderName, const std::string& location);

// Creates the album folder location/values.folderName exclusively (the location's missing
// parents first): a name that exists, even one created by another run a moment ago, is never
// written into. When the dialog kept the proposal (folderName equals proposedName) a taken
// name moves on to the next free number and values.folderName changes with it; a name typed
// by the user that exists is refused. Empty on success, else the message naming the path.
std::string CreateAlbumFolder(OutputSettingsValues& values, const std::string& baseName,
                              const std::string& proposedName);

// The values the dialog opens with: the proposed folder name, the location, and the listed
// folder's own name as title and header; "詳細設定を優先する" unticked.
OutputSettingsValues MakeProposal(const Settings& settings, const std::string& listedFolder);

// The title or header as the pages carry it. What the user typed is markup and stays as it
// is; the text proposed from the folder's name, still unchanged, is a name and is escaped, so a
// folder named "<img src=x onerror=...>" is shown, never run.
std::string GetPageText(const std::string& value, const std::string& proposed);

// Title and header are edited only while "詳細設定を優先する" is clear.
inline bool IsTitleHeaderEnabled(const OutputSettingsValues& values) {
  return !values.preferDetailedSettings;
}

enum class Field { None, FolderName, Location, Title, Header };

struct OkCheck {
  bool accepted = false;
  Field focus = Field::None;  // the field that gets the focus when refused
  std::string message;        // what the user is told when refused
  MessageIcon icon = MessageIcon::None;
};

// The checks of OK, in the dialog's order: folder name and location filled, folder name usable,
// no file or folder of that name at the location, then title and header filled while enabled.
// A folder name equal to proposedName (the dialog's own proposal, kept) may exist by now:
// CreateAlbumFolder moves it on to the next free number.
OkCheck CheckOk(const OutputSettingsValues& values, const std::string& proposedName = {});

// The text shown for a folder name with characters the album folder cannot carry.
std::string GetInvalidNameMessage();

// A folder name must stay one component inside the location on every desktop the album may be
// copied to: none of \ / : * ? " < > |, no control characters, not "." or "..".
bool IsValidFolderName(const std::string& name);

}  // namespace pictavo::OutputSettingsModel
