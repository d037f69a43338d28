#include "app/OptionsLayoutDlg.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pictavo::app {

QColor ColorFromCOLORREF(COLORREF value) {
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

COLORREF COLORREFFromColor(const QColor& color) {
  return static_cast<COLORREF>(color.red()) | (static_cast<COLORREF>(color.green()) << 8) |
         (static_cast<COLORREF>(color.blue()) << 16);
}

COptionsLayoutDlg::COptionsLayoutDlg(const Settings& settings, QWidget* parent)
    : CKestoOptionsDlg(parent),
      m_colors{settings.Layout.AlternatingRowColorsTextBkOdd,
               settings.Layout.AlternatingRowColorsTextBkEven} {
  static const char* const kRowLabels[] = {"奇数行:", "偶数行:"};
  static const char* const kSwatchTexts[] = {"色1", "色2"};
  static const char* const kButtonTexts[] = {"色1の設定...", "色2の設定..."};
  auto* group = new QGroupBox(QStringLiteral("交互の行の色"), this);
  auto* grid = new QGridLayout(group);
  for (int row = 0; row < 2; ++row) {
    m_swatches[row] = new QLabel(QString::fromUtf8(kSwatchTexts[row]), this);
    m_swatches[row]->setAlignment(Qt::AlignCenter);
    m_swatches[row]->setFrameShape(QFrame::Box);
    m_swatches[row]->setAutoFillBackground(true);
    m_swatches[row]->setMinimumSize(80, 24);
    m_buttons[row] = new QPushButton(QString::fromUtf8(kButtonTexts[row]), this);
    grid->addWidget(new QLabel(QString::fromUtf8(kRowLabels[row]), this), row, 0);
    grid->addWidget(m_swatches[row], row, 1);
    grid->addWidget(m_buttons[row], row, 2);
    connect(m_buttons[row], &QPushButton::clicked, this, [this, row] { OnChooseColor(row); });
    SetColor(row, m_colors[row]);
  }
  grid->setColumnStretch(3, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addStretch(1);
}

void COptionsLayoutDlg::SetColor(int row, COLORREF color) {
  m_colors[row] = color;
  QPalette palette = m_swatches[row]->palette();
  palette.setColor(QPalette::Window, ColorFromCOLORREF(m_colors[row]));
  // The swatch text stays black whatever the colour, as on a painted swatch.
  palette.setColor(QPalette::WindowText, Qt::black);
  m_swatches[row]->setPalette(palette);
  m_swatches[row]->update();
}

void COptionsLayoutDlg::OnChooseColor(int row) {
  const QColor chosen = QColorDialog::getColor(ColorFromCOLORREF(m_colors[row]), this);
  if (chosen.isValid()) SetColor(row, COLORREFFromColor(chosen));
}

void COptionsLayoutDlg::OnOK(Settings& settings) {
  // Only the colours: grid lines and alternating rows are the list's own view commands.
  settings.Layout.AlternatingRowColorsTextBkOdd = m_colors[0];
  settings.Layout.AlternatingRowColorsTextBkEven = m_colors[1];
}

}  // namespace pictavo::app
