#pragma once

// Every command of the item list as a model operation with its enabling condition, the
// clipboard texts and the data of the sort and copy submenus. The window binds menus, keys and
// the toolbar to these; the command line calls them directly. Enabling is computed on demand.

#include <optional>
#include <string>
#include <vector>

#include "core/Settings.h"
#include "core/StringIds.h"

namespace pictavo {

class Host;
class ItemList;

namespace ListCommand {
inline constexpr int kCheck = 32781;       // "選択(&S)"
inline constexpr int kUncheck = 32782;     // "クリア(&C)"
inline constexpr int kRemove = 32783;      // "削除(&R)"
inline constexpr int kCheckAll = 32784;    // "すべて選択(&L)"
inline constexpr int kUncheckAll = 32785;  // "すべてクリア(&A)"
inline constexpr int kInvert = 32786;      // "選択の切り替え(&I)"
inline constexpr int kRemoveAll = 32787;   // "すべて削除(&E)"
inline constexpr int kMoveUp = 32788;      // "上へ(&U)"
inline constexpr int kMoveDown = 32789;    // "下へ(&D)"
inline constexpr int kOpen = 32845;        // "開く(&O)"
inline constexpr int kOpenFileLocation = 32848;
inline constexpr int kOpenFolderLocation = 32849;
inline constexpr int kProperties = 32841;
inline constexpr int kCopyPaths = 32941;  // "ファイル パス"
inline constexpr int kCopyAll = 32942;    // "すべて"
inline constexpr int kSortAscending = 32831;
inline constexpr int kSortDescending = 32832;
inline constexpr int kGridlines = 32836;
inline constexpr int kAlternatingRows = 32837;
inline constexpr int kAutoSizeColumn = 32902;
inline constexpr int kAutoSizeAllColumns = 32903;
// 33001 + column sorts by it, 33201 + column copies it (core/AlbumColumns.h).
inline constexpr StringId kSortMenuTitleId = StringId::SortMenuTitle;  // "並べ替え(&O)"
inline constexpr StringId kCopyMenuTitleId =
    StringId::CopyMenuTitle;  // "クリップボードにコピー(&B)"
}  // namespace ListCommand

// What the view owns and the model needs: the highlighted rows and the columns in display order
// (column identities; empty means 0 to 19; unknown or repeated identities are skipped).
struct ListViewState {
  std::vector<int> highlighted;
  std::vector<int> columnOrder;
};

// The menu text of a list command ("選択(&S)"); empty for an id that is not one.
std::string GetListCommandText(int command);

// Whether the command can run now. Ids that are not list commands are disabled.
bool IsListCommandEnabled(int command, const ItemList& list, const ListViewState& view);
// Check marks: grid lines and alternating rows from the settings, the radio items of the sort
// column and direction.
bool IsListCommandChecked(int command, const ItemList& list, const Settings& settings);

// What the window refreshes after a command.
struct ListCommandResult {
  static constexpr int kDetailsUnchanged = -2;
  bool handled = false;                // a model command that was enabled and ran
  std::vector<int> highlighted;        // the highlight afterwards
  bool countsChanged = false;          // status bar counts and note buttons
  int detailsRow = kDetailsUnchanged;  // -1 clears the details pane
  bool sortCompleted = true;           // false when a sort was cancelled
};

// Runs an enabled command. The view-only commands (properties, auto-size of columns) and
// disabled ones are not handled; the highlight is then returned unchanged.
ListCommandResult ExecuteListCommand(int command, ItemList& list, const ListViewState& view,
                                     Host& host, Settings& settings);

// Sorting by the current column's rule (CompareAlbumItems) with the list's progress window.
bool SortItemList(ItemList& list, Host& host);
// A click on header column c: toggles the direction on the sort column, else ascending; sorts.
bool SortItemListByColumnClick(ItemList& list, int column, Host& host);

// The column order that is used: valid identities once each, or 0 to 19 when none is given.
std::vector<int> EffectiveColumnOrder(const std::vector<int>& columnOrder);
// The text a row shows in a column: the column text of the item, its note for column 19.
std::string GetRowCellText(const ItemList& list, int row, int column);
// text in double quotes, each quote inside doubled.
std::string GetAddTwiceDoubleQuotesString(const std::string& text);
// Paths of the highlighted rows in list order, each followed by CR LF.
std::string GetFilePathsText(const ItemList& list, const std::vector<int>& highlighted);
// A header line of the titles and one line per highlighted row, quoted fields joined by commas
// in the display order, each line ended by CR LF; empty when nothing is highlighted.
std::string GetAllColumnsText(const ItemList& list, const std::vector<int>& highlighted,
                              const std::vector<int>& columnOrder);
// One column's texts of the highlighted rows, each followed by CR LF.
std::string GetSelectedItemsColumnText(const ItemList& list, const std::vector<int>& highlighted,
                                       int column);

// Submenu data: one item per column in display order with its header title.
struct ListMenuItem {
  int command;
  std::string text;
  bool checked;  // radio check of the sort column
};
std::vector<ListMenuItem> BuildSortMenuItems(const ItemList& list,
                                             const std::vector<int>& columnOrder);
std::vector<ListMenuItem> BuildCopyMenuItems(const std::vector<int>& columnOrder);
// The direction item to radio-check below the columns: 32831 or 32832.
int GetSortDirectionCommand(const ItemList& list);
// Items to drop from the row context menu: with one highlighted row the location item that does
// not fit it (32849 for a file, 32848 for a folder), with several both.
std::vector<int> GetRowMenuItemsToRemove(const ItemList& list, const std::vector<int>& highlighted);

// Ctrl+A: every row highlighted, one pump per row; a quit stops with the rows so far.
std::vector<int> HighlightAllRows(const ItemList& list, Host& host);

// The background of a row while alternating colours are on: the odd colour for the 1st, 3rd ...
// row (even zero-based rows), the even colour for the others; nothing when they are off.
std::optional<COLORREF> GetAlternatingRowColor(int row, const Settings& settings);

}  // namespace pictavo
