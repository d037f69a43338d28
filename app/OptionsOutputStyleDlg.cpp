#include "app/OptionsOutputStyleDlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

#include "album/StyleFuncs.h"
#include "app/StyleDesignSettingsDlg.h"

namespace pictavo::app {

namespace {

// A small drawing of each output type beside its radio: a grid of thumbnails, thumbnails with
// note lines, one large photo.
QPixmap StylePicture(int style, const QPalette& palette) {
  QPixmap pixmap(48, 36);
  pixmap.fill(palette.color(QPalette::Base));
  QPainter painter(&pixmap);
  painter.setPen(palette.color(QPalette::Mid));
  painter.drawRect(0, 0, 47, 35);
  const QColor photo(0x6a, 0x9f, 0xd4);
  if (style == 2) {
    painter.fillRect(8, 6, 32, 24, photo);
    return pixmap;
  }
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < (style == 0 ? 4 : 2); ++column) {
      const int x = style == 0 ? 5 + column * 10 : 5 + column * 22;
      painter.fillRect(x, 5 + row * 10, 8, 7, photo);
      if (style == 1) painter.fillRect(x + 10, 7 + row * 10, 9, 2, palette.color(QPalette::Mid));
    }
  }
  return pixmap;
}

}  // namespace

COptionsOutputStyleDlg::COptionsOutputStyleDlg(const Settings& settings, const Runtime& runtime,
                                               QWidget* parent)
    : CKestoOptionsDlg(parent),
      m_runtime(runtime),
      m_values(settings.OutputStyle),
      m_style{new QRadioButton(QStringLiteral("サムネイル"), this),
              new QRadioButton(QStringLiteral("アルバム"), this),
              new QRadioButton(QStringLiteral("スライドショー"), this)},
      m_design(new QComboBox(this)),
      m_settings(new QPushButton(QStringLiteral("設定(&E)..."), this)) {
  auto* styleGroup = new QGroupBox(QStringLiteral("出力形式(&F)"), this);
  auto* styleGrid = new QGridLayout(styleGroup);
  auto* buttons = new QButtonGroup(this);
  for (int style = 0; style < 3; ++style) {
    buttons->addButton(m_style[style], style);
    auto* picture = new QLabel(this);
    picture->setPixmap(StylePicture(style, palette()));
    styleGrid->addWidget(picture, 0, style, Qt::AlignHCenter);
    styleGrid->addWidget(m_style[style], 1, style, Qt::AlignHCenter);
  }
  if (m_values.Style >= 0 && m_values.Style < 3) m_style[m_values.Style]->setChecked(true);

  for (const StyleFuncs::DESIGNITEM& item : m_runtime.designs) {
    m_design->insertItem(std::clamp(item.id, 0, m_design->count()),
                         QString::fromStdString(item.name));
  }
  m_design->setCurrentIndex(m_values.StyleDesign < m_design->count() ? m_values.StyleDesign : -1);

  auto* designGroup = new QGroupBox(QStringLiteral("デザイン スタイル"), this);
  auto* designGrid = new QGridLayout(designGroup);
  designGrid->addWidget(MakeLabel(QStringLiteral("スタイルシート(&S):"), m_design), 0, 0);
  designGrid->addWidget(m_design, 0, 1);
  designGrid->addWidget(m_settings, 0, 2);
  designGrid->setColumnStretch(1, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(styleGroup);
  layout->addWidget(designGroup);
  layout->addStretch(1);
  connect(m_settings, &QPushButton::clicked, this, &COptionsOutputStyleDlg::OnDesignSettings);
}

void COptionsOutputStyleDlg::OnDesignSettings() {
  CStyleDesignSettingsDlg dialog(m_design->currentIndex(), m_runtime, this);
  if (dialog.exec() == QDialog::Accepted && dialog.GetSelection() >= 0) {
    m_design->setCurrentIndex(dialog.GetSelection());
  }
}

void COptionsOutputStyleDlg::OnOK(Settings& settings) {
  for (int style = 0; style < 3; ++style) {
    if (m_style[style]->isChecked()) m_values.Style = style;
  }
  if (m_design->currentIndex() >= 0) m_values.StyleDesign = m_design->currentIndex();
  settings.OutputStyle = m_values;
}

}  // namespace pictavo::app
