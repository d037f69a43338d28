#include "items/ListCommands.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "core/AlbumColumns.h"
#include "core/FileUtils.h"
#include "core/Host.h"
#include "core/StringUtils.h"
#include "items/ItemList.h"

namespace pictavo {

namespace {

using namespace ListCommand;

bool IsSortCommand(int command) {
  return command >= kFirstSortCommand && command < kFirstSortCommand + kColumnCount;
}

bool IsCopyColumnCommand(int command) {
  return command >= kFirstCopyCommand && command < kFirstCopyCommand + kColumnCount;
}

std::string ColumnTitle(int column) {
  return StringUtils::GetLoadString(GetPropertyColumns()[column].stringId);
}

const std::map<int, std::string>& CommandTexts() {
  static const std::map<int, std::string> texts = {
      {kCheck, "選択(&S)"},
      {kUncheck, "クリア(&C)"},
      {kRemove, "削除(&R)"},
      {kCheckAll, "すべて選択(&L)"},
      {kUncheckAll, "すべてクリア(&A)"},
      {kInvert, "選択の切り替え(&I)"},
      {kRemoveAll, "すべて削除(&E)"},
      {kMoveUp, "上へ(&U)"},
      {kMoveDown, "下へ(&D)"},
      {kOpen, "開く(&O)"},
      {kOpenFileLocation, "ファイルの場所を開く(&L)"},
      {kOpenFolderLocation, "フォルダーの場所を開く(&L)"},
      {kProperties, "プロパティ(&R)"},
      {kCopyPaths, "ファイル パス"},
      {kCopyAll, "すべて"},
      {kSortAscending, "昇順(&A)"},
      {kSortDescending, "降順(&D)"},
      {kGridlines, "グリッド線(&G)"},
      {kAlternatingRows, "交互の行の色(&A)"},
      {kAutoSizeColumn, "列のサイズを自動的に変更する(&S)"},
      {kAutoSizeAllColumns, "すべての列のサイズを自動的に変更する(&A)"},
  };
  return texts;
}

// The single highlighted row, or -1 when none or several are highlighted.
int SingleRow(const ItemList& list, const std::vector<int>& highlighted) {
  const std::vector<int> rows = list.ValidRows(highlighted);
  return rows.size() == 1 ? rows.front() : -1;
}

void OpenRows(const ItemList& list, const std::vector<int>& highlighted, Host& host) {
  for (int row : list.ValidRows(highlighted)) {
    std::string error;
    if (!host.OpenWithDesktop(list.RowItem(row).fullPath, &error)) host.ShowMessage(error);
  }
}

void OpenLocation(const ItemList& list, const std::vector<int>& highlighted, Host& host) {
  const std::string& path = list.RowItem(list.FirstRow(highlighted)).fullPath;
  if (path.empty() || !FileUtils::FileExists(path)) return;
  // The desktop opens a folder but cannot select a file in it; the folder is what it shows.
  const std::string folder = std::filesystem::path(path).parent_path().string();
  std::string error;
  if (!host.OpenWithDesktop(folder, &error)) host.ShowMessage(error, MessageIcon::Error);
}

}  // namespace

std::string GetListCommandText(int command) {
  if (IsSortCommand(command)) return ColumnTitle(command - kFirstSortCommand);
  if (IsCopyColumnCommand(command)) return ColumnTitle(command - kFirstCopyCommand);
  const auto it = CommandTexts().find(command);
  return it == CommandTexts().end() ? std::string() : it->second;
}

bool IsListCommandEnabled(int command, const ItemList& list, const ListViewState& view) {
  if (IsSortCommand(command)) return true;
  const bool anyHighlighted = list.FirstRow(view.highlighted) >= 0;
  if (IsCopyColumnCommand(command)) return anyHighlighted;
  const int single = SingleRow(list, view.highlighted);
  switch (command) {
    case kCheck:
    case kUncheck:
    case kRemove:
    case kOpen:
    case kCopyPaths:
    case kCopyAll:
      return anyHighlighted;
    case kCheckAll:
    case kUncheckAll:
    case kInvert:
    case kRemoveAll:
      return !list.IsEmpty();
    case kMoveUp:
      return list.CanMoveUp(single);
    case kMoveDown:
      return list.CanMoveDown(single);
    case kOpenFileLocation:
    case kOpenFolderLocation:
    case kProperties:
      return single >= 0;
    case kSortAscending:
    case kSortDescending:
    case kGridlines:
    case kAlternatingRows:
    case kAutoSizeColumn:
    case kAutoSizeAllColumns:
      return true;
    default:
      return false;
  }
}

bool IsListCommandChecked(int command, const ItemList& list, const Settings& settings) {
  if (IsSortCommand(command)) return command - kFirstSortCommand == list.SortColumn();
  switch (command) {
    case kSortAscending:
      return !list.IsSortDescending();
    case kSortDescending:
      return list.IsSortDescending();
    case kGridlines:
      return settings.Layout.ShowGridlines != 0;
    case kAlternatingRows:
      return settings.Layout.ShowAlternatingRowColors != 0;
    default:
      return false;
  }
}

ListCommandResult ExecuteListCommand(int command, ItemList& list, const ListViewState& view,
                                     Host& host, Settings& settings) {
  ListCommandResult result;
  result.highlighted = list.ValidRows(view.highlighted);
  if (!IsListCommandEnabled(command, list, view)) return result;
  result.handled = true;
  if (IsSortCommand(command)) {
    list.ChooseSortByCommand(command);
    result.sortCompleted = SortItemList(list, host);
    return result;
  }
  if (IsCopyColumnCommand(command)) {
    host.SetClipboardText(
        GetSelectedItemsColumnText(list, view.highlighted, command - kFirstCopyCommand));
    return result;
  }
  switch (command) {
    case kCheck:
    case kUncheck:
      list.CheckRows(view.highlighted, command == kCheck);
      result.countsChanged = true;
      break;
    case kRemove:
      list.RemoveRows(view.highlighted);
      result.highlighted.clear();
      result.detailsRow = -1;
      result.countsChanged = true;
      break;
    case kCheckAll:
    case kUncheckAll:
      list.CheckAllRows(command == kCheckAll);
      result.countsChanged = true;
      break;
    case kInvert:
      list.InvertAllRows();
      result.countsChanged = true;
      break;
    case kRemoveAll:
      list.Clear();
      result.highlighted.clear();
      result.detailsRow = 0;
      result.countsChanged = true;
      break;
    case kMoveUp:
    case kMoveDown: {
      const int row = SingleRow(list, view.highlighted);
      const int moved = command == kMoveUp ? list.MoveRowUp(row) : list.MoveRowDown(row);
      result.highlighted = {moved};
      break;
    }
    case kOpen:
      OpenRows(list, view.highlighted, host);
      break;
    case kOpenFileLocation:
    case kOpenFolderLocation:
      OpenLocation(list, view.highlighted, host);
      break;
    case kCopyPaths:
      host.SetClipboardText(GetFilePathsText(list, view.highlighted));
      break;
    case kCopyAll:
      host.SetClipboardText(GetAllColumnsText(list, view.highlighted, view.columnOrder));
      break;
    case kSortAscending:
    case kSortDescending:
      list.ChooseSortDirection(command == kSortDescending);
      result.sortCompleted = SortItemList(list, host);
      break;
    case kGridlines:
      settings.Layout.ShowGridlines = settings.Layout.ShowGridlines ? 0 : 1;
      break;
    case kAlternatingRows:
      settings.Layout.ShowAlternatingRowColors = settings.Layout.ShowAlternatingRowColors ? 0 : 1;
      break;
    default:
      result.handled = false;  // the view's own: properties, column widths
      break;
  }
  return result;
}

bool SortItemList(ItemList& list, Host& host) {
  const int column = list.SortColumn();
  const bool descending = list.IsSortDescending();
  // One file-system check per item, not two per comparison.
  std::vector<bool> isFolder;
  isFolder.reserve(list.Items().size());
  for (const ALBUMITEM& item : list.Items()) isFolder.push_back(IsFolderItem(item));
  const auto folderFlag = [&](int index) {
    return index >= 0 && index < static_cast<int>(isFolder.size())
               ? bool(isFolder[index])
               : IsFolderItem(list.ItemAt(index));
  };
  return list.SortRowsByIndex(
      [&](int a, int b) {
        return CompareAlbumItems(list.ItemAt(a), folderFlag(a), list.ItemAt(b), folderFlag(b),
                                 column, descending);
      },
      host);
}

bool SortItemListByColumnClick(ItemList& list, int column, Host& host) {
  list.ChooseSortByColumnClick(column);
  return SortItemList(list, host);
}

std::vector<int> EffectiveColumnOrder(const std::vector<int>& columnOrder) {
  std::vector<int> order;
  std::vector<bool> seen(kColumnCount, false);
  for (int column : columnOrder) {
    if (column < 0 || column >= kColumnCount || seen[column]) continue;
    seen[column] = true;
    order.push_back(column);
  }
  if (order.empty()) {
    for (int column = 0; column < kColumnCount; ++column) order.push_back(column);
  }
  return order;
}

std::string GetRowCellText(const ItemList& list, int row, int column) {
  const ALBUMITEM& item = list.RowItem(row);
  return column == kColumnCount - 1 ? item.note : GetColumnText(column, item);
}

std::string GetAddTwiceDoubleQuotesString(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

std::string GetFilePathsText(const ItemList& list, const std::vector<int>& highlighted) {
  std::string text;
  for (int row : list.ValidRows(highlighted)) text += list.RowItem(row).fullPath + "\r\n";
  return text;
}

std::string GetAllColumnsText(const ItemList& list, const std::vector<int>& highlighted,
                              const std::vector<int>& columnOrder) {
  const std::vector<int> rows = list.ValidRows(highlighted);
  if (rows.empty()) return std::string();
  const std::vector<int> order = EffectiveColumnOrder(columnOrder);
  const auto line = [&](auto&& field) {
    std::string text;
    for (int column : order) {
      if (!text.empty()) text += ',';
      text += GetAddTwiceDoubleQuotesString(field(column));
    }
    return text + "\r\n";
  };
  std::string text = line([](int column) { return ColumnTitle(column); });
  for (int row : rows) {
    text += line([&](int column) { return GetRowCellText(list, row, column); });
  }
  return text;
}

std::string GetSelectedItemsColumnText(const ItemList& list, const std::vector<int>& highlighted,
                                       int column) {
  std::string text;
  for (int row : list.ValidRows(highlighted)) text += GetRowCellText(list, row, column) + "\r\n";
  return text;
}

std::vector<ListMenuItem> BuildSortMenuItems(const ItemList& list,
                                             const std::vector<int>& columnOrder) {
  std::vector<ListMenuItem> items;
  for (int column : EffectiveColumnOrder(columnOrder)) {
    items.push_back({kFirstSortCommand + column, ColumnTitle(column), column == list.SortColumn()});
  }
  return items;
}

std::vector<ListMenuItem> BuildCopyMenuItems(const std::vector<int>& columnOrder) {
  std::vector<ListMenuItem> items;
  for (int column : EffectiveColumnOrder(columnOrder)) {
    items.push_back({kFirstCopyCommand + column, ColumnTitle(column), false});
  }
  return items;
}

int GetSortDirectionCommand(const ItemList& list) {
  return list.IsSortDescending() ? kSortDescending : kSortAscending;
}

std::vector<int> GetRowMenuItemsToRemove(const ItemList& list,
                                         const std::vector<int>& highlighted) {
  const int single = SingleRow(list, highlighted);
  if (single < 0) return {kOpenFileLocation, kOpenFolderLocation};
  return {FileUtils::IsDirectory(list.RowItem(single).fullPath) ? kOpenFileLocation
                                                                : kOpenFolderLocation};
}

std::vector<int> HighlightAllRows(const ItemList& list, Host& host) {
  std::vector<int> rows;
  for (int row = 0; row < list.RowCount(); ++row) {
    if (!host.GetPump().PumpMessages()) break;
    rows.push_back(row);
  }
  return rows;
}

std::optional<COLORREF> GetAlternatingRowColor(int row, const Settings& settings) {
  if (!settings.Layout.ShowAlternatingRowColors || row < 0) return std::nullopt;
  return row % 2 == 0 ? settings.Layout.AlternatingRowColorsTextBkOdd
                      : settings.Layout.AlternatingRowColorsTextBkEven;
}

}  // namespace pictavo
