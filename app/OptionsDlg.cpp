#include "app/OptionsDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/BrowserFuncs.h"
#include "app/OptionsGeneralDlg.h"
#include "app/OptionsLayoutDlg.h"
#include "app/OptionsOutputDlg.h"
#include "app/OptionsOutputPageDlg.h"
#include "app/OptionsOutputPhotoDlg.h"
#include "app/OptionsOutputSlideshowDlg.h"
#include "app/OptionsOutputStyleDlg.h"
#include "app/OptionsOutputThumbnailDlg.h"
#include "app/OptionsUpdateDlg.h"
#include "app/OptionsViewDlg.h"
#include "core/SettingsStore.h"

namespace pictavo::app {

namespace {

// Titles in sheet order; "::" places a page under the page titled by the part before it.
const char* const kTitles[COptionsSheet::kPageCount] = {"全般",
                                                        "表示",
                                                        "レイアウト",
                                                        "出力",
                                                        "出力::スタイル",
                                                        "出力::ページ",
                                                        "出力::フォト",
                                                        "出力::サムネイル",
                                                        "出力::スライドショー",
                                                        "更新"};

// The sheet's size while the program runs, so the next opening looks as the user left it.
QSize& KeptSize() {
  static QSize size;
  return size;
}

}  // namespace

COptionsSheet::COptionsSheet(const Settings& settings, Runtime runtime,
                             std::function<void()> clearHistory, QWidget* parent)
    : QDialog(parent),
      m_settings(settings),
      m_runtime(std::move(runtime)),
      m_clearHistory(std::move(clearHistory)),
      m_tree(new QTreeWidget(this)),
      m_caption(new QLabel(this)),
      m_stack(new QStackedWidget(this)) {
  setWindowTitle(QStringLiteral("オプション"));
  setSizeGripEnabled(true);

  m_tree->setHeaderHidden(true);
  m_tree->setRootIsDecorated(true);
  for (int page = 0; page < kPageCount; ++page) {
    const QString title = QString::fromUtf8(kTitles[page]);
    const int separator = title.indexOf(QStringLiteral("::"));
    QTreeWidgetItem* item = nullptr;
    if (separator < 0) {
      item = new QTreeWidgetItem(m_tree, QStringList{title});
    } else {
      const QString parentTitle = title.left(separator);
      QTreeWidgetItem* parentItem = nullptr;
      for (int i = 0; i < page && !parentItem; ++i) {
        if (QString::fromUtf8(kTitles[i]) == parentTitle) parentItem = m_items[i];
      }
      item = parentItem ? new QTreeWidgetItem(parentItem, QStringList{title.mid(separator + 2)})
                        : new QTreeWidgetItem(m_tree, QStringList{title.mid(separator + 2)});
    }
    item->setData(0, Qt::UserRole, page);
    m_items[page] = item;
  }
  m_tree->expandAll();
  m_tree->setMinimumWidth(
      m_tree->fontMetrics().horizontalAdvance(QStringLiteral("スライドショー")) + 64);

  QFont captionFont = m_caption->font();
  captionFont.setBold(true);
  m_caption->setFont(captionFont);
  m_caption->setContentsMargins(8, 6, 8, 6);
  m_caption->setAutoFillBackground(true);
  m_caption->setBackgroundRole(QPalette::AlternateBase);

  auto* scroll = new QScrollArea(this);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidget(m_stack);
  auto* right = new QWidget(this);
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  rightLayout->addWidget(m_caption);
  rightLayout->addWidget(scroll, 1);

  auto* splitter = new QSplitter(this);
  splitter->addWidget(m_tree);
  splitter->addWidget(right);
  splitter->setStretchFactor(1, 1);
  splitter->setChildrenCollapsible(false);
  // The tree as wide as its longest title; the page takes the rest.
  splitter->setSizes({m_tree->minimumWidth(), 10000});

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &COptionsSheet::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &COptionsSheet::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(splitter, 1);
  layout->addWidget(buttons);

  connect(m_tree, &QTreeWidget::currentItemChanged, this, &COptionsSheet::OnTreeItemChanged);
  SetActivePage(kGeneral);
  resize(KeptSize().isValid() ? KeptSize() : QSize(700, 560));
}

COptionsSheet::~COptionsSheet() = default;

CKestoOptionsDlg* COptionsSheet::CreatePage(int page) {
  switch (page) {
    case kGeneral:
      return new COptionsGeneralDlg(m_settings, m_clearHistory);
    case kView:
      return new COptionsViewDlg(m_settings);
    case kLayout:
      return new COptionsLayoutDlg(m_settings);
    case kOutput:
      return new COptionsOutputDlg(m_settings, BrowserFuncs::GetBrowserItemsList());
    case kOutputStyle:
      return new COptionsOutputStyleDlg(m_settings, m_runtime);
    case kOutputPage:
      return new COptionsOutputPageDlg(m_settings);
    case kOutputPhoto:
      return new COptionsOutputPhotoDlg(m_settings);
    case kOutputThumbnail:
      return new COptionsOutputThumbnailDlg(m_settings);
    case kOutputSlideshow:
      return new COptionsOutputSlideshowDlg(m_settings);
    default:
      return new COptionsUpdateDlg(m_settings);
  }
}

bool COptionsSheet::SetActivePage(int page) {
  if (page < 0 || page >= kPageCount) return false;
  if (page == m_active) return true;
  if (m_active >= 0 && !m_pages[m_active]->IsValid()) {
    const QSignalBlocker blocker(m_tree);
    m_tree->setCurrentItem(m_items[m_active]);
    return false;
  }
  if (!m_pages[page]) {
    // Built from the copy as it was when the sheet opened: pages write only on OK.
    m_pages[page] = CreatePage(page);
    m_stack->addWidget(m_pages[page]);
  }
  m_stack->setCurrentWidget(m_pages[page]);
  m_caption->setText(m_items[page]->text(0));
  m_active = page;
  const QSignalBlocker blocker(m_tree);
  m_tree->setCurrentItem(m_items[page]);
  return true;
}

void COptionsSheet::OnTreeItemChanged(QTreeWidgetItem* current, QTreeWidgetItem*) {
  if (!current) return;
  // After the click has been handled: the view selects the clicked row once this returns,
  // which would undo putting the selection back on a page that may not be left.
  const int page = current->data(0, Qt::UserRole).toInt();
  QMetaObject::invokeMethod(
      this, [this, page] { SetActivePage(page); }, Qt::QueuedConnection);
}

void COptionsSheet::accept() {
  if (m_active >= 0 && !m_pages[m_active]->IsValid()) return;
  for (CKestoOptionsDlg* page : m_pages) {
    if (page) page->OnOK(m_settings);
  }
  UpdateCheckPeriod(m_settings);
  QDialog::accept();
}

void COptionsSheet::done(int result) {
  KeptSize() = size();
  QDialog::done(result);
}

bool ShowOptionsDialog(QWidget* parent, Settings& settings, const Runtime& runtime,
                       std::function<void()> clearHistory) {
  COptionsSheet sheet(settings, runtime, std::move(clearHistory), parent);
  if (sheet.exec() != QDialog::Accepted) return false;
  settings = sheet.GetSettings();
  return true;
}

}  // namespace pictavo::app
