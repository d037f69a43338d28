#pragma once

// Page "レイアウト": the two colours of alternating rows.

#include <QColor>

#include "app/KestoOptionsDlg.h"

class QLabel;
class QPushButton;

namespace pictavo::app {

// 0x00BBGGRR <-> QColor.
QColor ColorFromCOLORREF(COLORREF value);
COLORREF COLORREFFromColor(const QColor& color);

class COptionsLayoutDlg : public CKestoOptionsDlg {
  Q_OBJECT

 public:
  explicit COptionsLayoutDlg(const Settings& settings, QWidget* parent = nullptr);

  void OnOK(Settings& settings) override;

  // The colour of row 0 (odd) or 1 (even) as it stands; SetColor repaints its swatch.
  COLORREF GetColor(int row) const { return m_colors[row]; }
  void SetColor(int row, COLORREF color);
  QLabel* GetSwatch(int row) const { return m_swatches[row]; }
  QPushButton* GetColorButton(int row) const { return m_buttons[row]; }

 private:
  void OnChooseColor(int row);

  COLORREF m_colors[2];
  QLabel* m_swatches[2];
  QPushButton* m_buttons[2];
};

}  // namespace pictavo::app
