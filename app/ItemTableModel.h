#pragma once

// The list control's model: reads the ItemList in place (no copy per repaint) and forwards the
// list's change notifications one to one. Column identity = model column; the view's header
// keeps the display order.

#include <QAbstractTableModel>
#include <functional>

#include "core/Settings.h"
#include "items/ItemList.h"

namespace pictavo::app {

class ItemTableModel final : public QAbstractTableModel, public ItemListObserver {
  Q_OBJECT

 public:
  ItemTableModel(ItemList& list, const Settings& settings, QObject* parent = nullptr);
  ~ItemTableModel() override;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // A check box click is passed to onCheckClicked (the window applies the several-rows rule).
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  std::function<void(int row)> onCheckClicked;
  // Called after every change the list reported, once the model is consistent again.
  std::function<void()> onRowsChanged;

  // After a command: a reset only if the list's row count went astray of what was reported.
  void SyncWithList();
  // Alternating colours or the settings changed: repaint every row.
  void RepaintAll();
  // A scan inserts thousands of rows one by one: between these the model shows no rows and
  // ignores the list's notifications, then takes the whole list in one reset.
  void BeginBulk();
  void EndBulk();

  // ItemListObserver
  void RowsAboutToBeInserted(int first, int last) override;
  void RowsInserted(int first, int last) override;
  void RowsAboutToBeRemoved(int first, int last) override;
  void RowsRemoved(int first, int last) override;
  void RowAboutToBeMoved(int from, int to) override;
  void RowMoved(int from, int to) override;
  void RowsAboutToBeReordered() override;
  void RowsReordered(const std::vector<int>& newRowOfOldRow) override;
  void ListAboutToBeReset() override;
  void ListReset() override;
  void RowsCheckChanged(int first, int last) override;
  void RowNoteChanged(int row) override;

 private:
  void Seen();

  ItemList& m_list;
  const Settings& m_settings;
  int m_seenRows = 0;
  bool m_bulk = false;
  QList<QPersistentModelIndex> m_reorderIndexes;
};

}  // namespace pictavo::app
