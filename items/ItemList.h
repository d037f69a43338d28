#pragma once

// The item list model behind the main window's list and the command line: the array of album
// items and the rows that show them. A row holds the index of its item and its tick; removing
// rows leaves the items in place, so an index stays valid until the whole list is emptied. The
// ticked rows in list order are what an output run writes. The highlight belongs to the view
// and comes in as a list of rows; bad or repeated row numbers in it are ignored.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/AlbumItem.h"

namespace pictavo {

class Host;

struct ItemRow {
  int itemIndex = -1;
  bool checked = false;
};

// Told before and after every change of the rows, so that a view's model can follow the list
// one change at a time (a Qt model forwards each pair as beginInsertRows / endInsertRows ...).
// Row numbers are those of the list at the time of the call.
class ItemListObserver {
 public:
  virtual ~ItemListObserver() = default;
  virtual void RowsAboutToBeInserted(int first, int last) = 0;
  virtual void RowsInserted(int first, int last) = 0;
  virtual void RowsAboutToBeRemoved(int first, int last) = 0;
  virtual void RowsRemoved(int first, int last) = 0;
  // One row moves from `from` so that it ends at row `to`.
  virtual void RowAboutToBeMoved(int from, int to) = 0;
  virtual void RowMoved(int from, int to) = 0;
  // The same rows in another order (a sort); newRowOfOldRow[old] is where each row went.
  virtual void RowsAboutToBeReordered() = 0;
  virtual void RowsReordered(const std::vector<int>& newRowOfOldRow) = 0;
  // Every row and item goes (a new listing).
  virtual void ListAboutToBeReset() = 0;
  virtual void ListReset() = 0;
  // After the tick of rows first..last or the note of a row's item changed.
  virtual void RowsCheckChanged(int first, int last) = 0;
  virtual void RowNoteChanged(int row) = 0;
};

// Three-way order of two items: negative puts a first.
using ItemCompare = std::function<int(const ALBUMITEM& a, const ALBUMITEM& b)>;
// The same on indexes into the item array, for orders that keep values per item.
using ItemIndexCompare = std::function<int(int a, int b)>;

class ItemList {
 public:
  // The one observer (the window's table model), or null. It must outlive its registration.
  void SetObserver(ItemListObserver* observer) { m_observer = observer; }
  ItemListObserver* Observer() const { return m_observer; }

  // The item array. Changes go through the calls below, which tell the observer.
  const std::vector<ALBUMITEM>& Items() const { return m_items; }
  // Appends an item without a row; returns its index.
  int AddItem(ALBUMITEM item);
  // Appends an unticked row for the item at itemIndex; returns the new row, or -1 when the
  // index names no item.
  int InsertRow(int itemIndex);
  // Empties the rows and the item array; the next item gets index 0.
  void Clear();

  // Rows.
  int RowCount() const { return static_cast<int>(m_rows.size()); }
  bool IsEmpty() const { return m_rows.empty(); }
  bool IsValidRow(int row) const { return row >= 0 && row < RowCount(); }
  const std::vector<ItemRow>& Rows() const { return m_rows; }
  // -1 for a row that does not exist.
  int RowItemIndex(int row) const;
  // The item of a row; a default item for a bad row.
  const ALBUMITEM& RowItem(int row) const;
  // The item at an index; a default item for a bad index.
  const ALBUMITEM& ItemAt(int itemIndex) const;
  bool IsRowChecked(int row) const;
  void SetRowChecked(int row, bool checked);
  int CheckedCount() const;
  bool IsAnyRowChecked() const;
  // Item indexes of the ticked rows in list order: what an output run writes.
  std::vector<int> CheckedItemIndexes() const;

  // The highlighted rows that exist, ascending, each once.
  std::vector<int> ValidRows(const std::vector<int>& rows) const;
  // First existing highlighted row (in list order) or -1.
  int FirstRow(const std::vector<int>& rows) const;

  // Ticks.
  void CheckRows(const std::vector<int>& rows, bool checked);
  void CheckAllRows(bool checked);
  void InvertAllRows();
  // Space on the list: every highlighted row takes the new state of the first one (its tick
  // toggled). False when nothing is highlighted, the key is then the list's own.
  bool ToggleRowsByKey(const std::vector<int>& highlighted);
  // A click on the check box of row. When row is one of two or more highlighted rows (and Ctrl is
  // not held) all of them take row's new state and true is returned; otherwise only row's tick
  // toggles (the list's own handling) and false is returned.
  bool ClickCheckBox(int row, const std::vector<int>& highlighted, bool ctrlHeld);

  // Removes rows; their items (and notes) stay in the array. Returns the number removed.
  int RemoveRows(const std::vector<int>& rows);

  // Moves: the new row of the moved one, or -1 when it cannot move.
  bool CanMoveUp(int row) const { return IsValidRow(row) && row > 0; }
  bool CanMoveDown(int row) const { return IsValidRow(row) && row + 1 < RowCount(); }
  int MoveRowUp(int row);
  int MoveRowDown(int row);

  // Notes: one store, the item's note; the list's note cell shows it.
  // The note box changed: the note goes to the item of the first highlighted row, if any.
  bool UpdateNoteOfHighlightedRow(const std::vector<int>& highlighted, const std::string& text);
  bool SetRowNote(int row, const std::string& note);

  // Sort state: column identity and direction (a new listing resets both).
  int SortColumn() const { return m_sortColumn; }
  bool IsSortDescending() const { return m_sortDescending; }
  void SetSort(int column, bool descending);
  // The choosing rules: a header click on the current column toggles the direction, another
  // column sorts ascending; so does a sort command (33001 + column); 32831 / 32832 keep the
  // column.
  void ChooseSortByColumnClick(int column);
  void ChooseSortByCommand(int command);
  void ChooseSortDirection(bool descending) { m_sortDescending = descending; }

  // Sorts the rows (stable) with a progress window and one pump per comparison. Once the window
  // is cancelled or a quit arrives, every comparison answers 0, so the rows end partly sorted.
  // Returns true when the sort ran to its end. If a pumped message changed the rows meanwhile,
  // the sort result is dropped and the rows stay as that change left them.
  bool SortRows(const ItemCompare& compare, Host& host);
  bool SortRowsByIndex(const ItemIndexCompare& compare, Host& host);

  // Changes on every change of the rows' number or order (not on ticks or notes).
  std::uint64_t Generation() const { return m_generation; }

 private:
  int MoveRow(int from, int to);
  void NotifyCheckChanged(int first, int last) const;

  std::vector<ALBUMITEM> m_items;
  std::vector<ItemRow> m_rows;
  int m_sortColumn = 0;
  bool m_sortDescending = false;
  std::uint64_t m_generation = 0;
  ItemListObserver* m_observer = nullptr;
};

}  // namespace pictavo
