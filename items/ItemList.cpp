#include "items/ItemList.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <numeric>

#include "core/AlbumColumns.h"
#include "core/Host.h"
#include "core/StringUtils.h"
#include "items/MergeSort.h"

namespace pictavo {

namespace {

constexpr int kSortingTextId = 10143;  // "項目を並べ替えています。お待ちください。"

const ALBUMITEM& DefaultItem() {
  static const ALBUMITEM item;
  return item;
}

}  // namespace

int ItemList::AddItem(ALBUMITEM item) {
  m_items.push_back(std::move(item));
  return static_cast<int>(m_items.size()) - 1;
}

int ItemList::InsertRow(int itemIndex) {
  if (itemIndex < 0 || itemIndex >= static_cast<int>(m_items.size())) return -1;
  const int row = RowCount();
  if (m_observer) m_observer->RowsAboutToBeInserted(row, row);
  m_rows.push_back({itemIndex, false});
  ++m_generation;
  if (m_observer) m_observer->RowsInserted(row, row);
  return row;
}

void ItemList::Clear() {
  if (m_observer) m_observer->ListAboutToBeReset();
  m_rows.clear();
  m_items.clear();
  ++m_generation;
  if (m_observer) m_observer->ListReset();
}

void ItemList::NotifyCheckChanged(int first, int last) const {
  if (m_observer && first <= last) m_observer->RowsCheckChanged(first, last);
}

int ItemList::RowItemIndex(int row) const {
  return IsValidRow(row) ? m_rows[row].itemIndex : -1;
}

const ALBUMITEM& ItemList::RowItem(int row) const {
  return ItemAt(RowItemIndex(row));
}

const ALBUMITEM& ItemList::ItemAt(int itemIndex) const {
  if (itemIndex < 0 || itemIndex >= static_cast<int>(m_items.size())) return DefaultItem();
  return m_items[itemIndex];
}

bool ItemList::IsRowChecked(int row) const {
  return IsValidRow(row) && m_rows[row].checked;
}

void ItemList::SetRowChecked(int row, bool checked) {
  if (!IsValidRow(row) || m_rows[row].checked == checked) return;
  m_rows[row].checked = checked;
  NotifyCheckChanged(row, row);
}

int ItemList::CheckedCount() const {
  return static_cast<int>(
      std::count_if(m_rows.begin(), m_rows.end(), [](const ItemRow& r) { return r.checked; }));
}

bool ItemList::IsAnyRowChecked() const {
  return std::any_of(m_rows.begin(), m_rows.end(), [](const ItemRow& r) { return r.checked; });
}

std::vector<int> ItemList::CheckedItemIndexes() const {
  std::vector<int> indexes;
  for (const ItemRow& r : m_rows) {
    if (r.checked) indexes.push_back(r.itemIndex);
  }
  return indexes;
}

std::vector<int> ItemList::ValidRows(const std::vector<int>& rows) const {
  std::vector<int> valid;
  std::copy_if(rows.begin(), rows.end(), std::back_inserter(valid),
               [this](int row) { return IsValidRow(row); });
  std::sort(valid.begin(), valid.end());
  valid.erase(std::unique(valid.begin(), valid.end()), valid.end());
  return valid;
}

int ItemList::FirstRow(const std::vector<int>& rows) const {
  const std::vector<int> valid = ValidRows(rows);
  return valid.empty() ? -1 : valid.front();
}

void ItemList::CheckRows(const std::vector<int>& rows, bool checked) {
  const std::vector<int> valid = ValidRows(rows);
  for (int row : valid) m_rows[row].checked = checked;
  if (!valid.empty()) NotifyCheckChanged(valid.front(), valid.back());
}

void ItemList::CheckAllRows(bool checked) {
  for (ItemRow& r : m_rows) r.checked = checked;
  NotifyCheckChanged(0, RowCount() - 1);
}

void ItemList::InvertAllRows() {
  for (ItemRow& r : m_rows) r.checked = !r.checked;
  NotifyCheckChanged(0, RowCount() - 1);
}

bool ItemList::ToggleRowsByKey(const std::vector<int>& highlighted) {
  const int first = FirstRow(highlighted);
  if (first < 0) return false;
  CheckRows(highlighted, !m_rows[first].checked);
  return true;
}

bool ItemList::ClickCheckBox(int row, const std::vector<int>& highlighted, bool ctrlHeld) {
  if (!IsValidRow(row)) return false;
  const std::vector<int> valid = ValidRows(highlighted);
  const bool isHighlighted = std::binary_search(valid.begin(), valid.end(), row);
  const bool newState = !m_rows[row].checked;
  if (isHighlighted && valid.size() >= 2 && !ctrlHeld) {
    CheckRows(valid, newState);
    return true;
  }
  m_rows[row].checked = newState;
  NotifyCheckChanged(row, row);
  return false;
}

int ItemList::RemoveRows(const std::vector<int>& rows) {
  const std::vector<int> valid = ValidRows(rows);
  if (valid.empty()) return 0;
  if (!m_observer) {
    std::vector<ItemRow> kept;
    kept.reserve(m_rows.size() - valid.size());
    std::size_t next = 0;
    for (int row = 0; row < RowCount(); ++row) {
      if (next < valid.size() && valid[next] == row) {
        ++next;
        continue;
      }
      kept.push_back(m_rows[row]);
    }
    m_rows.swap(kept);
  } else {
    // One pair of calls per run of adjacent rows, the last run first, so that the row numbers
    // of each call are those of the list at that moment.
    for (auto end = valid.rbegin(); end != valid.rend();) {
      auto start = end;
      while (std::next(start) != valid.rend() && *std::next(start) == *start - 1) ++start;
      const int first = *start;
      const int last = *end;
      m_observer->RowsAboutToBeRemoved(first, last);
      m_rows.erase(m_rows.begin() + first, m_rows.begin() + last + 1);
      m_observer->RowsRemoved(first, last);
      end = std::next(start);
    }
  }
  ++m_generation;
  return static_cast<int>(valid.size());
}

int ItemList::MoveRow(int from, int to) {
  if (m_observer) m_observer->RowAboutToBeMoved(from, to);
  std::swap(m_rows[from], m_rows[to]);
  ++m_generation;
  if (m_observer) m_observer->RowMoved(from, to);
  return to;
}

int ItemList::MoveRowUp(int row) {
  return CanMoveUp(row) ? MoveRow(row, row - 1) : -1;
}

int ItemList::MoveRowDown(int row) {
  return CanMoveDown(row) ? MoveRow(row, row + 1) : -1;
}

bool ItemList::UpdateNoteOfHighlightedRow(const std::vector<int>& highlighted,
                                          const std::string& text) {
  return SetRowNote(FirstRow(highlighted), text);
}

bool ItemList::SetRowNote(int row, const std::string& note) {
  if (!IsValidRow(row)) return false;
  m_items[m_rows[row].itemIndex].note = note;
  if (m_observer) m_observer->RowNoteChanged(row);
  return true;
}

void ItemList::SetSort(int column, bool descending) {
  m_sortColumn = (column >= 0 && column < kColumnCount) ? column : 0;
  m_sortDescending = descending;
}

void ItemList::ChooseSortByColumnClick(int column) {
  if (column < 0 || column >= kColumnCount) return;
  m_sortDescending = column == m_sortColumn && !m_sortDescending;
  m_sortColumn = column;
}

void ItemList::ChooseSortByCommand(int command) {
  // Only a sort command names a column; any other id means column 0.
  const bool isSortCommand =
      command >= kFirstSortCommand && command < kFirstSortCommand + kColumnCount;
  const int column = isSortCommand ? command - kFirstSortCommand : 0;
  m_sortDescending = command == GetSortCommandOfColumn(m_sortColumn) && !m_sortDescending;
  m_sortColumn = column;
}

bool ItemList::SortRows(const ItemCompare& compare, Host& host) {
  return SortRowsByIndex([&](int a, int b) { return compare(ItemAt(a), ItemAt(b)); }, host);
}

bool ItemList::SortRowsByIndex(const ItemIndexCompare& compare, Host& host) {
  std::unique_ptr<ProgressWindow> window = host.CreateProgressWindow(ProgressKind::Items);
  if (window) {
    window->SetText(0, StringUtils::GetLoadString(kSortingTextId));
    window->Show();
  }

  // Sort positions, not rows: a tick changed by a pumped message is then kept, and a change of
  // the rows themselves is detected by the generation and stops the sort.
  const std::uint64_t generation = m_generation;
  std::vector<int> order(m_rows.size());
  std::iota(order.begin(), order.end(), 0);
  Pump& pump = host.GetPump();
  bool stopped = false;
  MergeSort(order, [&](int a, int b) {
    if (stopped) return 0;
    if (!pump.PumpMessages() || (window && window->IsCancelled()) || m_generation != generation) {
      stopped = true;
      return 0;
    }
    return compare(m_rows[a].itemIndex, m_rows[b].itemIndex);
  });

  if (m_generation == generation) {
    if (m_observer) m_observer->RowsAboutToBeReordered();
    std::vector<ItemRow> sorted;
    sorted.reserve(order.size());
    std::vector<int> newRowOfOldRow(order.size());
    for (int position : order) {
      newRowOfOldRow[position] = static_cast<int>(sorted.size());
      sorted.push_back(m_rows[position]);
    }
    m_rows.swap(sorted);
    ++m_generation;
    if (m_observer) m_observer->RowsReordered(newRowOfOldRow);
  }
  if (window && !window->IsDestroyed()) {
    window->Hide();
    window->Destroy();
  }
  return !stopped;
}

}  // namespace pictavo
