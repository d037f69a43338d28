#include "app/UpdatesDlg.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/Commands.h"
#include "core/StringUtils.h"

namespace pictavo::app {

namespace {

constexpr int kIconSize = 32;

QString Str(int id) {
  return QString::fromStdString(StringUtils::GetLoadString(id));
}

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

// Fills each "%s" in turn.
QString Fill(int id, std::initializer_list<QString> values) {
  QString text = Str(id).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  for (const QString& value : values) {
    const int at = text.indexOf(QStringLiteral("%s"));
    if (at < 0) break;
    text.replace(at, 2, value);
  }
  return text;
}

QLabel* IconLabel(const QIcon& icon, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setPixmap(icon.pixmap(kIconSize, kIconSize));
  label->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
  return label;
}

}  // namespace

QIcon UpdateKindIcon(int kind) {
  switch (kind) {
    case 0:
      return CommandIcon("update-new");
    case 1:
      return CommandIcon("update-change");
    case 2:
      return CommandIcon("update-fix");
    default:
      return {};
  }
}

CMessageUpdatesQuestionDlg::CMessageUpdatesQuestionDlg(const UpdatesFuncs::UpdatesInformation& info,
                                                       OpenLink openLink, QWidget* parent)
    : QDialog(parent), m_info(info), m_openLink(std::move(openLink)) {
  setWindowTitle(Str(57344));
  m_text = new QLabel(Fill(10263, {Q(info.productName), Q(info.version)}), this);
  m_text->setTextFormat(Qt::PlainText);
  m_yes = new QPushButton(QStringLiteral("はい(&Y)"), this);
  m_no = new QPushButton(QStringLiteral("いいえ(&N)"), this);
  m_more = new QPushButton(QStringLiteral("詳細情報(&M)..."), this);
  m_yes->setDefault(true);
  auto* top = new QHBoxLayout;
  top->addWidget(IconLabel(style()->standardIcon(QStyle::SP_MessageBoxQuestion), this));
  top->addSpacing(8);
  top->addWidget(m_text, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(m_more);
  buttons->addStretch(1);
  buttons->addWidget(m_yes);
  buttons->addWidget(m_no);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(top);
  outer->addSpacing(12);
  outer->addLayout(buttons);
  connect(m_yes, &QPushButton::clicked, this, [this] { done(kYes); });
  connect(m_no, &QPushButton::clicked, this, [this] { done(kNo); });
  connect(m_more, &QPushButton::clicked, this, [this] {
    CUpdatesMoreInfoDlg details(m_info, m_openLink, this);
    details.exec();
  });
}

void CMessageUpdatesQuestionDlg::reject() {
  // Escape and the close button answer "いいえ".
  done(kNo);
}

CUpdatesMoreInfoDlg::CUpdatesMoreInfoDlg(const UpdatesFuncs::UpdatesInformation& info,
                                         OpenLink openLink, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(Str(57344));
  m_text =
      new QLabel(Fill(10282, {Q(info.productName), Q(info.version), Q(info.productName)}), this);
  m_text->setTextFormat(Qt::PlainText);
  m_text->setWordWrap(true);
  auto* linkLabel = new QLabel(QStringLiteral("更新履歴に関する詳細情報 :"), this);
  const QString address = Q(info.detailsUrl).toHtmlEscaped();
  m_link = new QLabel(Fill(11012, {address, QStringLiteral("ここをクリックしてください。")}), this);
  m_link->setTextFormat(Qt::RichText);
  m_link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  m_link->setToolTip(Q(info.detailsUrl));
  connect(m_link, &QLabel::linkActivated, this, [openLink, info](const QString&) {
    if (openLink) openLink(info.detailsUrl);
  });

  m_changes = new QTreeWidget(this);
  m_changes->setRootIsDecorated(false);
  m_changes->setUniformRowHeights(true);
  m_changes->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_changes->setIconSize(QSize(kIconSize / 2, kIconSize / 2));
  m_changes->setHeaderLabels({Str(10191), Str(10192)});
  m_changes->setMinimumSize(420, 220);
  for (const UpdatesFuncs::UPDATEITEM& change : info.items) {
    auto* row = new QTreeWidgetItem(m_changes);
    row->setIcon(0, UpdateKindIcon(change.kind));
    row->setText(1, Q(change.description));
    row->setToolTip(1, Q(change.description));
    if (change.kind >= 0 && change.kind <= 2) row->setToolTip(0, Str(10193 + change.kind));
  }
  m_changes->header()->setStretchLastSection(true);
  m_changes->resizeColumnToContents(0);
  m_changes->setColumnWidth(0, std::max(m_changes->columnWidth(0), 38));

  auto* close = new QPushButton(QStringLiteral("閉じる(&C)"), this);
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);

  auto* grid = new QGridLayout;
  grid->addWidget(IconLabel(CommandIcon("app"), this), 0, 0, 2, 1);
  grid->addWidget(m_text, 0, 1);
  auto* linkRow = new QHBoxLayout;
  linkRow->addWidget(linkLabel);
  linkRow->addWidget(m_link);
  linkRow->addStretch(1);
  grid->addLayout(linkRow, 1, 1);
  grid->addWidget(m_changes, 2, 1);
  grid->setColumnStretch(1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(close);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(grid, 1);
  outer->addLayout(buttons);
  resize(520, 380);
}

}  // namespace pictavo::app
