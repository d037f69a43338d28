#pragma once

// The toolbar's customisation dialog "ツール バーのカスタマイズ": the buttons on offer and the
// current ones, add, remove, move up and down, separators, reset, and the text and icon
// options. It works on a copy of the layout and hands it back after OK.

#include <QDialog>

#include "app/ToolbarState.h"

class QComboBox;
class QListWidget;
class QPushButton;

namespace pictavo::app {

class CCustomizeToolbarDlg final : public QDialog {
  Q_OBJECT

 public:
  explicit CCustomizeToolbarDlg(const ToolbarLayout& layout, QWidget* parent = nullptr);

  // The layout as the dialog shows it now.
  ToolbarLayout Layout() const;

  // For tests: the controls.
  QListWidget* AvailableList() const { return m_available; }
  QListWidget* CurrentList() const { return m_current; }
  QPushButton* AddButton() const { return m_add; }
  QPushButton* RemoveButton() const { return m_remove; }
  QPushButton* ResetButton() const { return m_reset; }
  QPushButton* MoveUpButton() const { return m_moveUp; }
  QPushButton* MoveDownButton() const { return m_moveDown; }
  QComboBox* TextOptionsCombo() const { return m_textOptions; }
  QComboBox* IconOptionsCombo() const { return m_iconOptions; }

 private:
  void FillLists(const std::vector<ToolbarButton>& buttons);
  void Add();
  void Remove();
  void Move(int step);
  void UpdateButtons();

  QListWidget* m_available = nullptr;
  QListWidget* m_current = nullptr;
  QPushButton* m_add = nullptr;
  QPushButton* m_remove = nullptr;
  QPushButton* m_reset = nullptr;
  QPushButton* m_moveUp = nullptr;
  QPushButton* m_moveDown = nullptr;
  QComboBox* m_textOptions = nullptr;
  QComboBox* m_iconOptions = nullptr;
};

// The label and tooltip of a toolbar button (the part after "\n" of its command's string).
QString ToolbarButtonLabel(int commandId);

}  // namespace pictavo::app
