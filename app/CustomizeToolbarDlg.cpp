#include "app/CustomizeToolbarDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "app/Commands.h"
#include "core/StringUtils.h"

namespace pictavo::app {

namespace {

// Each row carries its button: command id, bitmap, state and style.
constexpr int kButtonRole = Qt::UserRole;

QString Str(int id) {
  return QString::fromStdString(StringUtils::GetLoadString(id));
}

const QString kSeparatorText = QStringLiteral("区切り");

QVariant ToVariant(const ToolbarButton& button) {
  return QVariantList{button.commandId, button.bitmap, button.state, button.style};
}

ToolbarButton FromVariant(const QVariant& value) {
  const QVariantList list = value.toList();
  ToolbarButton button;
  button.commandId = list.value(0).toInt();
  button.bitmap = list.value(1).toInt();
  button.state = static_cast<std::uint8_t>(list.value(2).toUInt());
  button.style = static_cast<std::uint8_t>(list.value(3).toUInt());
  return button;
}

QListWidgetItem* MakeItem(const ToolbarButton& button) {
  auto* item = new QListWidgetItem;
  if (button.IsSeparator()) {
    item->setText(kSeparatorText);
  } else {
    const CommandDef* def = FindCommandDef(button.commandId);
    // A command this version does not know stays where it was, under its number.
    item->setText(def ? ToolbarButtonLabel(button.commandId) : QString::number(button.commandId));
    if (def) item->setIcon(CommandIcon(def->icon));
  }
  item->setData(kButtonRole, ToVariant(button));
  return item;
}

}  // namespace

QString ToolbarButtonLabel(int commandId) {
  const CommandDef* def = FindCommandDef(commandId);
  if (!def) return {};
  QString label = QString::fromUtf8(def->label);
  if (label.isEmpty()) {
    label = QString::fromUtf8(def->text).section(QLatin1Char('\t'), 0, 0);
    label.remove(QRegularExpression(QStringLiteral("\\(&.\\)|\\.\\.\\.$|&")));
  }
  return label;
}

CCustomizeToolbarDlg::CCustomizeToolbarDlg(const ToolbarLayout& layout, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("ツール バーのカスタマイズ"));
  auto* grid = new QGridLayout;
  auto* availableLabel = new QLabel(QStringLiteral("利用できるボタン(&V):"), this);
  auto* currentLabel = new QLabel(QStringLiteral("現在のボタン(&T):"), this);
  m_available = new QListWidget(this);
  m_current = new QListWidget(this);
  for (QListWidget* list : {m_available, m_current}) {
    list->setIconSize(QSize(16, 16));
    list->setMinimumSize(220, 380);
  }
  availableLabel->setBuddy(m_available);
  currentLabel->setBuddy(m_current);
  m_add = new QPushButton(QStringLiteral("追加(&A) ->"), this);
  m_remove = new QPushButton(QStringLiteral("<- 削除(&R)"), this);
  m_reset = new QPushButton(QStringLiteral("リセット(&E)"), this);
  m_moveUp = new QPushButton(QStringLiteral("上へ移動(&U)"), this);
  m_moveDown = new QPushButton(QStringLiteral("下へ移動(&D)"), this);

  auto* middle = new QVBoxLayout;
  middle->addStretch(1);
  middle->addWidget(m_add);
  middle->addWidget(m_remove);
  middle->addStretch(1);
  auto* right = new QVBoxLayout;
  right->addWidget(m_reset);
  right->addSpacing(12);
  right->addWidget(m_moveUp);
  right->addWidget(m_moveDown);
  right->addStretch(1);
  grid->addWidget(availableLabel, 0, 0);
  grid->addWidget(currentLabel, 0, 2);
  grid->addWidget(m_available, 1, 0);
  grid->addLayout(middle, 1, 1);
  grid->addWidget(m_current, 1, 2);
  grid->addLayout(right, 1, 3);

  m_textOptions = new QComboBox(this);
  // Index = option: 0 labels on all buttons, 1 labels on the right, 2 none.
  m_textOptions->addItems({Str(10088), Str(10086), Str(10087)});
  m_iconOptions = new QComboBox(this);
  m_iconOptions->addItems({Str(10084), Str(10085)});
  m_textOptions->setCurrentIndex(std::clamp(layout.textOptions, 0, 2));
  m_iconOptions->setCurrentIndex(std::clamp(layout.iconOptions, 0, 1));
  auto* textLabel = new QLabel(QStringLiteral("文字列のオプション(&X):"), this);
  auto* iconLabel = new QLabel(QStringLiteral("アイコンのオプション(&N):"), this);
  textLabel->setBuddy(m_textOptions);
  iconLabel->setBuddy(m_iconOptions);
  grid->addWidget(textLabel, 2, 0, Qt::AlignRight);
  grid->addWidget(m_textOptions, 2, 2);
  grid->addWidget(iconLabel, 3, 0, Qt::AlignRight);
  grid->addWidget(m_iconOptions, 3, 2);

  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(grid);
  outer->addWidget(box);

  connect(m_add, &QPushButton::clicked, this, &CCustomizeToolbarDlg::Add);
  connect(m_remove, &QPushButton::clicked, this, &CCustomizeToolbarDlg::Remove);
  connect(m_moveUp, &QPushButton::clicked, this, [this] { Move(-1); });
  connect(m_moveDown, &QPushButton::clicked, this, [this] { Move(1); });
  connect(m_reset, &QPushButton::clicked, this,
          [this] { FillLists(DefaultToolbarLayout().buttons); });
  connect(m_available, &QListWidget::itemDoubleClicked, this, &CCustomizeToolbarDlg::Add);
  connect(m_current, &QListWidget::itemDoubleClicked, this, &CCustomizeToolbarDlg::Remove);
  connect(m_available, &QListWidget::currentRowChanged, this, &CCustomizeToolbarDlg::UpdateButtons);
  connect(m_current, &QListWidget::currentRowChanged, this, &CCustomizeToolbarDlg::UpdateButtons);
  FillLists(layout.buttons);
}

void CCustomizeToolbarDlg::FillLists(const std::vector<ToolbarButton>& buttons) {
  m_current->clear();
  for (const ToolbarButton& button : buttons) m_current->addItem(MakeItem(button));
  m_available->clear();
  m_available->addItem(MakeItem(MakeToolbarSeparator()));
  for (const int id : AvailableToolbarCommands()) {
    const bool shown = std::any_of(buttons.begin(), buttons.end(), [id](const ToolbarButton& b) {
      return !b.IsSeparator() && b.commandId == id;
    });
    if (!shown) m_available->addItem(MakeItem(MakeToolbarButton(id)));
  }
  m_available->setCurrentRow(0);
  m_current->setCurrentRow(0);
  UpdateButtons();
}

void CCustomizeToolbarDlg::Add() {
  QListWidgetItem* chosen = m_available->currentItem();
  if (!chosen) return;
  const ToolbarButton button = FromVariant(chosen->data(kButtonRole));
  // Inserted before the highlighted current button, as the toolbar's own dialog does.
  const int at = m_current->currentRow() < 0 ? m_current->count() : m_current->currentRow();
  m_current->insertItem(at, MakeItem(button));
  if (!button.IsSeparator()) delete m_available->takeItem(m_available->row(chosen));
  m_current->setCurrentRow(at);
  UpdateButtons();
}

void CCustomizeToolbarDlg::Remove() {
  const int row = m_current->currentRow();
  if (row < 0) return;
  std::unique_ptr<QListWidgetItem> item(m_current->takeItem(row));
  const ToolbarButton button = FromVariant(item->data(kButtonRole));
  if (!button.IsSeparator() && FindCommandDef(button.commandId)) {
    // Back into the offer at its default place.
    const std::vector<int> order = AvailableToolbarCommands();
    const auto rank = [&order](int id) {
      return std::find(order.begin(), order.end(), id) - order.begin();
    };
    int at = 1;
    while (at < m_available->count() &&
           rank(FromVariant(m_available->item(at)->data(kButtonRole)).commandId) <
               rank(button.commandId))
      ++at;
    m_available->insertItem(at, MakeItem(button));
  }
  m_current->setCurrentRow(std::min(row, m_current->count() - 1));
  UpdateButtons();
}

void CCustomizeToolbarDlg::Move(int step) {
  const int row = m_current->currentRow();
  const int to = row + step;
  if (row < 0 || to < 0 || to >= m_current->count()) return;
  m_current->insertItem(to, m_current->takeItem(row));
  m_current->setCurrentRow(to);
  UpdateButtons();
}

void CCustomizeToolbarDlg::UpdateButtons() {
  const int row = m_current->currentRow();
  m_add->setEnabled(m_available->currentRow() >= 0);
  m_remove->setEnabled(row >= 0);
  m_moveUp->setEnabled(row > 0);
  m_moveDown->setEnabled(row >= 0 && row + 1 < m_current->count());
}

ToolbarLayout CCustomizeToolbarDlg::Layout() const {
  ToolbarLayout layout;
  for (int row = 0; row < m_current->count(); ++row)
    layout.buttons.push_back(FromVariant(m_current->item(row)->data(kButtonRole)));
  layout.textOptions = m_textOptions->currentIndex();
  layout.iconOptions = m_iconOptions->currentIndex();
  return layout;
}

}  // namespace pictavo::app
