#include "app/ItemTableModel.h"

#include <QBrush>
#include <QColor>
#include <QFileIconProvider>
#include <QIcon>

#include "core/AlbumColumns.h"
#include "core/StringUtils.h"
#include "items/ListCommands.h"

namespace pictavo::app {

namespace {

QColor ColorOf(COLORREF color) {
  return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

const QIcon& FileIcon() {
  static const QIcon icon = QFileIconProvider().icon(QFileIconProvider::File);
  return icon;
}

}  // namespace

ItemTableModel::ItemTableModel(ItemList& list, const Settings& settings, QObject* parent)
    : QAbstractTableModel(parent), m_list(list), m_settings(settings) {
  m_list.SetObserver(this);
  Seen();
}

ItemTableModel::~ItemTableModel() {
  if (m_list.Observer() == this) m_list.SetObserver(nullptr);
}

int ItemTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : m_seenRows;
}

int ItemTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant ItemTableModel::data(const QModelIndex& index, int role) const {
  const int row = index.row();
  if (!index.isValid() || !m_list.IsValidRow(row)) return {};
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
      return QString::fromStdString(GetRowCellText(m_list, row, column));
    case Qt::CheckStateRole:
      if (column != 0) return {};
      return m_list.IsRowChecked(row) ? Qt::Checked : Qt::Unchecked;
    case Qt::DecorationRole:
      if (column != 0) return {};
      return FileIcon();
    case Qt::TextAlignmentRole:
      return static_cast<int>(
          Qt::AlignVCenter |
          (GetPropertyColumns()[column].rightAligned ? Qt::AlignRight : Qt::AlignLeft));
    case Qt::BackgroundRole:
      if (const auto color = GetAlternatingRowColor(row, m_settings))
        return QBrush(ColorOf(*color));
      return {};
    case Qt::ForegroundRole:
      // Chosen backgrounds are light by default; keep the text readable on them in dark themes.
      if (GetAlternatingRowColor(row, m_settings)) return QBrush(Qt::black);
      return {};
    default:
      return {};
  }
}

QVariant ItemTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) return {};
  if (role == Qt::DisplayRole)
    return QString::fromStdString(StringUtils::GetLoadString(kFirstColumnTitleId + section));
  if (role == Qt::TextAlignmentRole)
    return static_cast<int>(
        Qt::AlignVCenter |
        (GetPropertyColumns()[section].rightAligned ? Qt::AlignRight : Qt::AlignLeft));
  return {};
}

Qt::ItemFlags ItemTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == 0) flags |= Qt::ItemIsUserCheckable;
  return flags;
}

bool ItemTableModel::setData(const QModelIndex& index, const QVariant&, int role) {
  if (role != Qt::CheckStateRole || index.column() != 0 || !m_list.IsValidRow(index.row()))
    return false;
  if (onCheckClicked) onCheckClicked(index.row());
  return true;
}

void ItemTableModel::SyncWithList() {
  if (m_bulk) return;
  // Every change is reported one by one; a count that differs means one was missed.
  if (m_list.RowCount() != m_seenRows) {
    beginResetModel();
    Seen();
    endResetModel();
  }
}

void ItemTableModel::RepaintAll() {
  if (m_seenRows > 0) emit dataChanged(index(0, 0), index(m_seenRows - 1, kColumnCount - 1));
}

void ItemTableModel::BeginBulk() {
  beginResetModel();
  m_bulk = true;
  m_seenRows = 0;
  endResetModel();
}

void ItemTableModel::EndBulk() {
  beginResetModel();
  m_bulk = false;
  Seen();
  endResetModel();
  if (onRowsChanged) onRowsChanged();
}

void ItemTableModel::Seen() {
  m_seenRows = m_list.RowCount();
}

void ItemTableModel::RowsAboutToBeInserted(int first, int last) {
  if (m_bulk) return;
  beginInsertRows({}, first, last);
}

void ItemTableModel::RowsInserted(int, int) {
  if (m_bulk) return;
  Seen();
  endInsertRows();
  if (onRowsChanged) onRowsChanged();
}

void ItemTableModel::RowsAboutToBeRemoved(int first, int last) {
  if (m_bulk) return;
  beginRemoveRows({}, first, last);
}

void ItemTableModel::RowsRemoved(int, int) {
  if (m_bulk) return;
  Seen();
  endRemoveRows();
  if (onRowsChanged) onRowsChanged();
}

void ItemTableModel::RowAboutToBeMoved(int from, int to) {
  if (m_bulk) return;
  // Qt names the row before which the moved one lands, in the numbering before the move.
  beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
}

void ItemTableModel::RowMoved(int, int) {
  if (m_bulk) return;
  Seen();
  endMoveRows();
  if (onRowsChanged) onRowsChanged();
}

void ItemTableModel::RowsAboutToBeReordered() {
  if (m_bulk) return;
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  m_reorderIndexes.clear();
  for (const QModelIndex& index : persistentIndexList()) m_reorderIndexes.append(index);
}

void ItemTableModel::RowsReordered(const std::vector<int>& newRowOfOldRow) {
  if (m_bulk) return;
  QModelIndexList from;
  QModelIndexList to;
  for (const QPersistentModelIndex& old : m_reorderIndexes) {
    const int oldRow = old.row();
    if (oldRow < 0 || oldRow >= static_cast<int>(newRowOfOldRow.size())) continue;
    from.append(old);
    to.append(index(newRowOfOldRow[oldRow], old.column()));
  }
  m_reorderIndexes.clear();
  changePersistentIndexList(from, to);
  Seen();
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
  if (onRowsChanged) onRowsChanged();
}

void ItemTableModel::ListAboutToBeReset() {
  if (m_bulk) return;
  beginResetModel();
}

void ItemTableModel::ListReset() {
  if (m_bulk) return;
  Seen();
  endResetModel();
  if (onRowsChanged) onRowsChanged();
}

void ItemTableModel::RowsCheckChanged(int first, int last) {
  if (m_bulk || first > last || first < 0) return;
  emit dataChanged(index(first, 0), index(last, 0), {Qt::CheckStateRole});
  if (onRowsChanged) onRowsChanged();
}

void ItemTableModel::RowNoteChanged(int row) {
  if (m_bulk || row < 0 || row >= m_seenRows) return;
  emit dataChanged(index(row, kColumnCount - 1), index(row, kColumnCount - 1), {Qt::DisplayRole});
}

}  // namespace pictavo::app
