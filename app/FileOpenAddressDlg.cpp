#include "app/FileOpenAddressDlg.h"

#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AddressHistory.h"
#include "app/Commands.h"
#include "core/FileUtils.h"

namespace pictavo::app {

namespace {

constexpr int kIconSize = 32;

}  // namespace

CFileOpenAddressDlg::CFileOpenAddressDlg(const std::string& historyFilePath, BrowseFolder browse,
                                         QWidget* parent)
    : QDialog(parent), m_browseFolder(std::move(browse)) {
  setWindowTitle(QStringLiteral("フォルダーを開く"));
  setAcceptDrops(true);
  auto* icon = new QLabel(this);
  icon->setPixmap(CommandIcon("open").pixmap(kIconSize, kIconSize));
  icon->setAlignment(Qt::AlignTop);
  auto* text = new QLabel(QStringLiteral("フォルダーを開くには、パスを入力してください。"), this);
  text->setWordWrap(true);
  auto* label = new QLabel(QStringLiteral("開く(&O):"), this);
  m_combo = new QComboBox(this);
  m_combo->setEditable(true);
  m_combo->setInsertPolicy(QComboBox::NoInsert);
  m_combo->setMinimumWidth(360);
  m_combo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  label->setBuddy(m_combo);
  m_browse = new QPushButton(QStringLiteral("参照(&R)..."), this);

  auto* completionModel = new QFileSystemModel(this);
  completionModel->setFilter(QDir::AllEntries | QDir::NoDotAndDotDot);
  completionModel->setRootPath(QString());
  m_combo->setCompleter(new QCompleter(completionModel, this));

  AddressHistory history;
  history.Load(historyFilePath);
  QFileIconProvider icons;
  for (const std::string& entry : history.Entries()) {
    const QString path = QString::fromStdString(entry);
    m_combo->addItem(icons.icon(QFileInfo(path)), path);
  }
  m_combo->setCurrentIndex(-1);
  m_combo->setEditText(QString());

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  m_ok = buttons->button(QDialogButtonBox::Ok);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, &CFileOpenAddressDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* grid = new QGridLayout;
  grid->addWidget(icon, 0, 0, 2, 1);
  grid->addWidget(text, 0, 1, 1, 3);
  grid->addWidget(label, 1, 1);
  grid->addWidget(m_combo, 1, 2);
  grid->addWidget(m_browse, 1, 3);
  grid->setColumnStretch(2, 1);
  grid->setHorizontalSpacing(8);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(grid);
  outer->addSpacing(8);
  outer->addWidget(buttons);

  connect(m_combo, &QComboBox::editTextChanged, this, &CFileOpenAddressDlg::UpdateOk);
  connect(m_browse, &QPushButton::clicked, this, &CFileOpenAddressDlg::Browse);
  UpdateOk();
}

void CFileOpenAddressDlg::UpdateOk() {
  // Only existence counts: an existing file may be confirmed too.
  const std::string text = m_combo->currentText().toStdString();
  m_ok->setEnabled(!text.empty() && FileUtils::FileExists(text));
}

void CFileOpenAddressDlg::Browse() {
  if (!m_browseFolder) return;
  const std::optional<std::string> folder =
      m_browseFolder(this, m_combo->currentText().toStdString());
  if (folder && !folder->empty()) m_combo->setEditText(QString::fromStdString(*folder));
}

void CFileOpenAddressDlg::accept() {
  // Enter in the combo reaches here even while OK is disabled.
  if (!m_ok->isEnabled()) return;
  m_path = m_combo->currentText().toStdString();
  QDialog::accept();
}

void CFileOpenAddressDlg::DropPaths(const QStringList& paths) {
  for (const QString& path : paths)
    if (FileUtils::IsDirectory(path.toStdString())) m_combo->setEditText(path);
}

void CFileOpenAddressDlg::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CFileOpenAddressDlg::dropEvent(QDropEvent* event) {
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) paths.push_back(url.toLocalFile());
  DropPaths(paths);
  event->acceptProposedAction();
}

}  // namespace pictavo::app
