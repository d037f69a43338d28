#include "app/PictavoDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFileIconProvider>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyleOptionHeader>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

#include "album/OutputRun.h"
#include "album/StyleFuncs.h"
#include "app/AboutDlg.h"
#include "app/Commands.h"
#include "app/CustomizeToolbarDlg.h"
#include "app/DetailsPane.h"
#include "app/FileOpenAddressDlg.h"
#include "app/Help.h"
#include "app/ItemTableModel.h"
#include "app/OptionsDlg.h"
#include "app/TerminationSignal.h"
#include "app/UpdateCheck.h"
#include "app/WindowPlacement.h"
#include "core/AlbumColumns.h"
#include "core/FileUtils.h"
#include "core/Host.h"
#include "core/PathUtils.h"
#include "core/Profile.h"
#include "core/SettingsStore.h"
#include "core/StringUtils.h"
#include "items/FolderScan.h"
#include "items/ListCommands.h"
#include "items/NotesFile.h"

// The icons live in the static library; its resources must be registered by name.
static void InitPictavoIcons() {
  Q_INIT_RESOURCE(PictavoIcons);
}

namespace pictavo::app {

// Off unless asked for (QT_LOGGING_RULES="pictavo.window.info=true"): what was listed, for
// scripts that drive the program.
Q_LOGGING_CATEGORY(lcWindow, "pictavo.window", QtWarningMsg)

namespace {

// Named ids and computed ones (column titles) alike.
template <typename Id>
QString Str(Id id) {
  return QString::fromStdString(StringUtils::GetLoadString(id));
}

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

// The note box prompt, string 2116.
const char* const kNotePrompt = "項目を選択し、入力してください。";

constexpr int kDetailsWidth = 300;

bool IsFolder(const std::string& path) {
  return FileUtils::IsDirectory(path);
}

// Qt draws an ascending sort as a down arrow; the list's users expect up for ascending.
class ListHeader final : public QHeaderView {
 public:
  explicit ListHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

 protected:
  void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override {
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    if (option->sortIndicator == QStyleOptionHeader::SortDown) {
      option->sortIndicator = QStyleOptionHeader::SortUp;
    } else if (option->sortIndicator == QStyleOptionHeader::SortUp) {
      option->sortIndicator = QStyleOptionHeader::SortDown;
    }
  }
};

}  // namespace

CPictavoDlg::CPictavoDlg(pictavo::Host& host, AppServices& services, QWidget* parent)
    : QMainWindow(parent), m_host(host), m_services(services) {
  InitPictavoIcons();
  setWindowTitle(Str(57344));
  setWindowIcon(CommandIcon("app"));
  setAcceptDrops(true);
  // The first size, before any saved placement: most of a small screen, no more than needed.
  const QRect screen = QGuiApplication::primaryScreen()
                           ? QGuiApplication::primaryScreen()->availableGeometry()
                           : QRect(0, 0, 1280, 800);
  resize(std::min(1100, screen.width() * 9 / 10), std::min(720, screen.height() * 9 / 10));
  // 1. Widgets, the columns, the menu and the accelerators.
  m_model = new ItemTableModel(m_list, m_settings, this);
  BuildWidgets();
  m_commands = new CommandTable(this);
  m_updateCheck = new CUpdateCheck(m_host, m_services.updates, this);
  BuildCommands();
  BuildMenus();
  // 4, 5. Toolbar, then the window placement.
  BuildToolBar();
  RestoreWindowPos();
  // 6, 7. Address history, then the settings.
  LoadHistory();
  if (!LoadSettingsFile(m_services.settingsFilePath, m_settings)) {
    // An unreadable file keeps the defaults; the file is rewritten at shut-down.
  }
  // 8. The exposure program names are built on first use (thread-safe).
  GetExposureProgramNameTable();
  // 9. The list control from the settings.
  SetUpListView();
  // 10. Design styles.
  LoadDesigns(m_services.runtime);
  // 11. Note prompt and buttons.
  SetNotePrompt();
  UpdateNoteButtons();
  // 12. Status bar.
  BuildStatusBar();
  UpdateCounts();
  m_commands->UpdateStates();
  // 13 runs once the event loop turns, so the window shows before a long listing.
  QTimer::singleShot(0, this, &CPictavoDlg::Start);
  // Toolbar and menu states follow the list and the focus when the window is idle.
  auto* idle = new QTimer(this);
  connect(idle, &QTimer::timeout, this, [this] {
    if (!m_busy) m_commands->UpdateStates();
  });
  idle->start(250);
  CloseOnTerminationSignal(this);
}

CPictavoDlg::~CPictavoDlg() {
  ShutDown();
  m_list.SetObserver(nullptr);
}

void CPictavoDlg::BuildWidgets() {
  auto* central = new QWidget(this);
  auto* outer = new QVBoxLayout(central);
  outer->setContentsMargins(6, 6, 6, 2);

  auto* addressRow = new QHBoxLayout;
  auto* addressLabel = new QLabel(QStringLiteral("アドレス(&D):"), central);
  m_address = new QComboBox(central);
  m_address->setEditable(true);
  m_address->setInsertPolicy(QComboBox::NoInsert);
  m_address->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  m_address->setMaxVisibleItems(12);
  addressLabel->setBuddy(m_address);
  auto* completionModel = new QFileSystemModel(this);
  completionModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
  completionModel->setRootPath(QString());
  auto* completer = new QCompleter(completionModel, this);
  completer->setCaseSensitivity(Qt::CaseSensitive);
  m_address->setCompleter(completer);
  m_browse = new QPushButton(QStringLiteral("参照(&B)..."), central);
  addressRow->addWidget(addressLabel);
  addressRow->addWidget(m_address, 1);
  addressRow->addWidget(m_browse);
  outer->addLayout(addressRow);

  auto* body = new QHBoxLayout;
  m_view = new QTableView(central);
  m_view->setHorizontalHeader(new ListHeader(m_view));
  m_view->setModel(m_model);
  body->addWidget(m_view, 1);

  auto* side = new QVBoxLayout;
  auto* detailsBox = new QGroupBox(QStringLiteral("詳細"), central);
  auto* detailsLayout = new QVBoxLayout(detailsBox);
  m_details = new DetailsPane(detailsBox);
  detailsLayout->addWidget(m_details);
  detailsBox->setFixedWidth(kDetailsWidth);
  side->addWidget(detailsBox, 3);

  auto* noteBox = new QGroupBox(QStringLiteral("メモ"), central);
  noteBox->setFixedWidth(kDetailsWidth);
  auto* noteLayout = new QVBoxLayout(noteBox);
  m_note = new QPlainTextEdit(noteBox);
  m_note->setTabChangesFocus(true);
  m_note->setMinimumHeight(60);
  noteLayout->addWidget(m_note, 1);
  auto* noteButtons = new QHBoxLayout;
  m_loadNotes = new QPushButton(QStringLiteral("読み込み..."), noteBox);
  m_saveNotes = new QPushButton(QStringLiteral("保存..."), noteBox);
  noteButtons->addStretch(1);
  noteButtons->addWidget(m_loadNotes);
  noteButtons->addWidget(m_saveNotes);
  noteLayout->addLayout(noteButtons);
  side->addWidget(noteBox, 2);
  body->addLayout(side);
  outer->addLayout(body, 1);
  setCentralWidget(central);

  connect(m_browse, &QPushButton::clicked, this, &CPictavoDlg::Browse);
  connect(m_address, &QComboBox::activated, this, [this](int index) {
    const std::string text = m_address->itemText(index).toStdString();
    SetAddressText(text);
    ListAddress(text);
  });
  connect(m_note, &QPlainTextEdit::textChanged, this, &CPictavoDlg::OnNoteChanged);
  connect(m_loadNotes, &QPushButton::clicked, this, &CPictavoDlg::LoadNotes);
  connect(m_saveNotes, &QPushButton::clicked, this, &CPictavoDlg::SaveNotes);
  for (QObject* watched : {static_cast<QObject*>(m_address->lineEdit()),
                           static_cast<QObject*>(m_view), static_cast<QObject*>(m_note)})
    watched->installEventFilter(this);

  m_model->onCheckClicked = [this](int row) {
    const bool ctrl = QApplication::keyboardModifiers() & Qt::ControlModifier;
    m_list.ClickCheckBox(row, Highlighted(), ctrl);
    m_model->SyncWithList();
    ScheduleCounts();
  };
  m_model->onRowsChanged = [this] { ScheduleCounts(); };
}

void CPictavoDlg::SetUpListView() {
  QHeaderView* header = m_view->horizontalHeader();
  m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_view->setWordWrap(false);
  m_view->setTextElideMode(Qt::ElideRight);
  m_view->verticalHeader()->hide();
  m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
  m_view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  m_view->setContextMenuPolicy(Qt::CustomContextMenu);
  header->setSectionsMovable(true);
  header->setSectionsClickable(true);
  header->setHighlightSections(false);
  header->setStretchLastSection(false);
  header->setSectionResizeMode(QHeaderView::Interactive);
  header->setContextMenuPolicy(Qt::CustomContextMenu);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  // The widths are those of a 9-point system font (digits 6 pixels wide); scaled to ours so the
  // same texts fit.
  const double scale =
      std::max(1.0, m_view->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) / 60.0);
  for (const PropertyColumn& column : GetPropertyColumns())
    header->resizeSection(column.column, static_cast<int>(column.width * scale));
  header->setSortIndicatorShown(true);
  SetSortArrow();
  ApplyListAppearance();

  connect(header, &QHeaderView::sectionClicked, this, &CPictavoDlg::SortByHeader);
  const auto forget = [this] { m_highlightValid = false; };
  connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this, forget);
  connect(m_model, &QAbstractItemModel::rowsRemoved, this, forget);
  connect(m_model, &QAbstractItemModel::rowsInserted, this, forget);
  connect(m_model, &QAbstractItemModel::rowsMoved, this, forget);
  connect(m_model, &QAbstractItemModel::layoutChanged, this, forget);
  connect(m_model, &QAbstractItemModel::modelReset, this, forget);
  connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &CPictavoDlg::OnSelectionChanged);
  connect(m_view, &QTableView::doubleClicked, this, [this](const QModelIndex&) {
    if (!Highlighted().empty()) OpenHighlighted();
  });
  connect(m_view, &QWidget::customContextMenuRequested, this, [this](const QPoint& point) {
    const QModelIndex index = m_view->indexAt(point);
    QMenu* menu = BuildContextMenu(index.isValid() ? 501 : 502);
    menu->exec(m_view->viewport()->mapToGlobal(point));
    menu->deleteLater();
  });
  connect(header, &QWidget::customContextMenuRequested, this, [this, header](const QPoint& point) {
    QMenu* menu = BuildContextMenu(503, header->logicalIndexAt(point));
    menu->exec(header->mapToGlobal(point));
    menu->deleteLater();
  });
}

void CPictavoDlg::ApplyListAppearance() {
  m_view->setShowGrid(m_settings.Layout.ShowGridlines != 0);
  m_model->RepaintAll();
}

void CPictavoDlg::BuildCommands() {
  CommandTable& c = *m_commands;
  const auto idle = [this] { return !m_busy; };
  for (const int id : {32781, 32782, 32783, 32784, 32785, 32786, 32787, 32788, 32789, 32941, 32942,
                       32831, 32832, 32836, 32837}) {
    c.Bind(
        id, [this, id] { RunListCommand(id); },
        [this, id] {
          return !m_busy && IsListCommandEnabled(id, m_list, {Highlighted(), ColumnOrder()});
        },
        (id == 32836 || id == 32837 || id == 32831 || id == 32832)
            ? std::function<bool()>(
                  [this, id] { return IsListCommandChecked(id, m_list, m_settings); })
            : std::function<bool()>());
  }
  const auto oneRow = [this] { return !m_busy && Highlighted().size() == 1; };
  c.Bind(
      32845, [this] { OpenHighlighted(); }, [this] { return !Highlighted().empty(); });
  c.Bind(
      32848, [this] { OpenLocation(); }, oneRow);
  c.Bind(
      32849, [this] { OpenLocation(); }, oneRow);
  c.Bind(
      32841, [this] { ShowProperties(); }, oneRow);
  c.Bind(
      32902, [this] { AutoSizeColumn(m_headerMenuColumn); },
      [this] { return m_headerMenuColumn >= 0; });
  c.Bind(32903, [this] {
    m_view->setUpdatesEnabled(false);
    for (int column = 0; column < kColumnCount; ++column) AutoSizeColumn(column);
    m_view->setUpdatesEnabled(true);
  });
  c.Bind(
      Command::kNew,
      [this] {
        if (!ConfirmDiscardNotes()) return;
        m_address->setCurrentIndex(-1);
        m_address->setEditText(QString());
        RunListCommand(32787);
      },
      idle);
  c.Bind(
      Command::kOpenFolder, [this] { OpenFolderDialog(); }, idle);
  c.Bind(
      Command::kRefresh,
      [this] {
        const std::string address = AddressText().toStdString();
        if (CanRefresh(address)) ListAddress(address);
      },
      [this] { return !m_busy && CanRefresh(AddressText().toStdString()); });
  c.Bind(
      Command::kUpOneLevel,
      [this] {
        const std::string parent = GetUpOneLevelPath(AddressText().toStdString());
        if (parent.empty()) return;
        SetAddressText(parent);
        if (FileUtils::FileExists(parent)) {
          AddAddressToHistory();
          ListAddress(parent);
        }
      },
      [this] { return !m_busy && CanUpOneLevel(AddressText().toStdString()); });
  const auto canRun = [this] { return !m_busy && m_list.IsAnyRowChecked(); };
  c.Bind(
      Command::kExecute, [this] { Execute(false); }, canRun);
  c.Bind(
      Command::kPreview, [this] { Execute(true); }, canRun);
  c.Bind(
      Command::kToolbarExecute, [this] { Execute(false); }, canRun);
  c.Bind(
      Command::kToolbarOpen, [this] { Browse(); }, idle);
  c.Bind(
      Command::kOptions,
      [this] {
        if (ShowOptionsDialog(this, m_settings, m_services.runtime, [this] {
              m_history.Clear();
              m_history.Save(m_services.historyFilePath, AddressText().toStdString());
              ReloadAddressBox();
            })) {
          ApplyListAppearance();
        }
      },
      idle);
  c.Bind(Command::kHelp, [this] { ShowHelp(this, m_host); });
  c.Bind(Command::kToolbarHelp, [this] { ShowHelp(this, m_host); });
  c.Bind(Command::kAbout, [this] { ShowAboutDialog(this); });
  c.Bind(Command::kExit, [this] { close(); });
  c.Bind(
      Command::kToggleToolbar, [this] { m_toolBar->setVisible(!m_toolBar->isVisible()); }, {},
      [this] { return !m_toolBar->isHidden(); });
  c.Bind(
      Command::kToggleStatusBar, [this] { statusBar()->setVisible(statusBar()->isHidden()); }, {},
      [this] { return !statusBar()->isHidden(); });
  c.Bind(Command::kCustomizeToolbar, [this] { CustomizeToolbar(); });
  c.Bind(
      Command::kUpdateCheck, [this] { m_updateCheck->Start(true, m_settings.CheckPeriodDays); },
      [this] { return m_updateCheck->IsAllowed() && !m_updateCheck->IsRunning(); });
  c.Bind(Command::kFocusAddress, [this] {
    m_address->setFocus(Qt::ShortcutFocusReason);
    m_address->lineEdit()->selectAll();
  });
  c.Bind(Command::kNextPane, [this] { FocusPane(1); });
  c.Bind(Command::kPreviousPane, [this] { FocusPane(-1); });
}

void CPictavoDlg::BuildMenus() {
  CommandTable& c = *m_commands;
  QMenuBar* bar = menuBar();
  bar->addMenu(c.BuildMenu(QStringLiteral("ファイル(&F)"),
                           {Command::kNew, 0, Command::kOpenFolder, 0, 32841, 0, Command::kExit},
                           bar));
  QMenu* edit =
      c.BuildMenu(QStringLiteral("編集(&E)"),
                  {32781, 32782, 32783, 0, 32784, 32785, 32786, 32787, 0, 32788, 32789, 0}, bar);
  m_copyMenu = edit->addMenu(Str(ListCommand::kCopyMenuTitleId));
  m_copyMenu->addSeparator();
  c.AddToMenu(m_copyMenu, {32941, 32942});
  bar->addMenu(edit);
  QMenu* view = new QMenu(QStringLiteral("表示(&V)"), bar);
  QMenu* toolbarMenu = view->addMenu(QStringLiteral("ツール バー(&T)"));
  c.AddToMenu(toolbarMenu, {Command::kToggleToolbar, 0, Command::kCustomizeToolbar});
  c.AddToMenu(view, {Command::kToggleStatusBar, 0, 32836, 32837, 0});
  m_sortMenu = view->addMenu(Str(ListCommand::kSortMenuTitleId));
  m_sortMenu->addSeparator();
  c.AddToMenu(m_sortMenu, {32831, 32832});
  view->addSeparator();
  QMenu* go = view->addMenu(QStringLiteral("移動(&G)"));
  c.AddToMenu(go, {Command::kUpOneLevel});
  c.AddToMenu(view, {Command::kRefresh});
  bar->addMenu(view);
  bar->addMenu(
      c.BuildMenu(QStringLiteral("操作(&O)"), {Command::kExecute, Command::kPreview}, bar));
  bar->addMenu(c.BuildMenu(QStringLiteral("ツール(&T)"), {Command::kOptions}, bar));
  bar->addMenu(c.BuildMenu(QStringLiteral("ヘルプ(&H)"),
                           {Command::kHelp, 0, Command::kOnlineSupport, Command::kFeedback, 0,
                            Command::kUpdateCheck, 0, Command::kAbout},
                           bar));
  for (QAction* action : bar->actions()) {
    connect(action->menu(), &QMenu::aboutToShow, this, [this, menu = action->menu()] {
      m_commands->UpdateStates();
      FillColumnMenus(menu);
    });
  }
}

void CPictavoDlg::FillColumnMenus(QMenu* menu) {
  // Every submenu named like the sort or copy submenu gets one item per column above its
  // first separator, in display order.
  const QString sortTitle = Str(ListCommand::kSortMenuTitleId);
  const QString copyTitle = Str(ListCommand::kCopyMenuTitleId);
  for (QAction* action : menu->actions()) {
    QMenu* sub = action->menu();
    if (!sub) continue;
    const bool sort = sub->title().compare(sortTitle, Qt::CaseInsensitive) == 0;
    const bool copy = sub->title().compare(copyTitle, Qt::CaseInsensitive) == 0;
    if (!sort && !copy) {
      FillColumnMenus(sub);
      continue;
    }
    const QList<QAction*> items = sub->actions();
    for (QAction* item : items) {
      if (item->isSeparator()) break;
      sub->removeAction(item);
      item->deleteLater();
    }
    QAction* firstSeparator = nullptr;
    for (QAction* item : sub->actions())
      if (item->isSeparator()) {
        firstSeparator = item;
        break;
      }
    const std::vector<ListMenuItem> columns =
        sort ? BuildSortMenuItems(m_list, ColumnOrder()) : BuildCopyMenuItems(ColumnOrder());
    const bool anyHighlighted = !Highlighted().empty();
    for (const ListMenuItem& column : columns) {
      auto* item = new QAction(Q(column.text), sub);
      const int command = column.command;
      if (sort) {
        item->setCheckable(true);
        item->setChecked(column.checked);
        item->setEnabled(!m_busy);
      } else {
        item->setEnabled(!m_busy && anyHighlighted);
      }
      item->setStatusTip(Q(StringUtils::GetLoadString(command)).section(QLatin1Char('\n'), 0, 0));
      connect(item, &QAction::triggered, this, [this, command] { RunListCommand(command); });
      sub->insertAction(firstSeparator, item);
    }
  }
}

void CPictavoDlg::BuildToolBar() {
  m_toolBar = new QToolBar(QStringLiteral("ツール バー"), this);
  m_toolBar->setObjectName(QStringLiteral("MainToolBar"));
  m_toolBar->setMovable(false);
  m_toolBar->setContextMenuPolicy(Qt::CustomContextMenu);
  addToolBar(Qt::TopToolBarArea, m_toolBar);
  connect(m_toolBar, &QWidget::customContextMenuRequested, this, [this](const QPoint& point) {
    QMenu* menu = m_commands->BuildMenu(
        QString(), {Command::kToggleToolbar, 0, Command::kCustomizeToolbar}, this);
    m_commands->UpdateStates();
    menu->exec(m_toolBar->mapToGlobal(point));
    menu->deleteLater();
  });
  m_toolbarLayout = DefaultToolbarLayout();
  if (!m_services.toolbarsFilePath.empty())
    LoadToolbarState(m_services.toolbarsFilePath, m_toolbarLayout);
  ApplyToolbarLayout();
}

void CPictavoDlg::SetToolbarLayout(const ToolbarLayout& layout) {
  m_toolbarLayout = layout;
  ApplyToolbarLayout();
}

void CPictavoDlg::ApplyToolbarLayout() {
  // The separators and the buttons' holders belong to the toolbar; the command actions do not.
  for (QAction* action : m_toolBar->actions()) {
    m_toolBar->removeAction(action);
    if (action->parent() == m_toolBar) delete action;
  }
  // SVG icons, so each size stays sharp at any screen scale.
  const int iconSize = m_toolbarLayout.iconOptions == 0 ? 16 : 24;
  m_toolBar->setIconSize(QSize(iconSize, iconSize));
  CommandTable& c = *m_commands;
  for (const ToolbarButton& button : m_toolbarLayout.buttons) {
    if (button.IsSeparator()) {
      m_toolBar->addSeparator();
      continue;
    }
    QAction* action = c.Action(button.commandId);
    if (!action) continue;  // an unknown command is kept in the layout, not shown
    auto* tool = new QToolButton(m_toolBar);
    tool->setAutoRaise(true);
    tool->setIconSize(m_toolBar->iconSize());
    tool->setDefaultAction(action);
    Qt::ToolButtonStyle style = Qt::ToolButtonIconOnly;
    if (m_toolbarLayout.textOptions == 0) {
      style = Qt::ToolButtonTextUnderIcon;
    } else if (m_toolbarLayout.textOptions == 1 && (button.style & ToolbarStyle::kShowText)) {
      style = Qt::ToolButtonTextBesideIcon;
    }
    tool->setToolButtonStyle(style);
    std::vector<int> ids;
    if (button.commandId == Command::kToolbarOpen) {
      ids = {Command::kOpenFolder};
    } else if (button.commandId == Command::kToolbarExecute) {
      ids = {Command::kExecute, Command::kPreview};
    } else if (button.commandId == Command::kToolbarHelp) {
      ids = {Command::kHelp,        0, Command::kOnlineSupport, Command::kFeedback, 0,
             Command::kUpdateCheck, 0, Command::kAbout};
    }
    if (!ids.empty() && (button.style & ToolbarStyle::kWholeDropDown)) {
      QMenu* menu = c.BuildMenu(QString(), ids, tool);
      connect(menu, &QMenu::aboutToShow, this, [this] { m_commands->UpdateStates(); });
      tool->setMenu(menu);
      tool->setPopupMode(QToolButton::InstantPopup);
    }
    m_toolBar->addWidget(tool);
  }
}

void CPictavoDlg::CustomizeToolbar() {
  CCustomizeToolbarDlg dialog(m_toolbarLayout, this);
  if (dialog.exec() == QDialog::Accepted) SetToolbarLayout(dialog.Layout());
}

void CPictavoDlg::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setSizeGripEnabled(true);
  m_idleText = new QLabel(Str(57345), bar);
  m_shownCount = new QLabel(bar);
  m_checkedCount = new QLabel(bar);
  for (QLabel* pane : {m_shownCount, m_checkedCount}) {
    pane->setMinimumWidth(150);
    pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  }
  bar->addWidget(m_idleText, 1);
  bar->addPermanentWidget(m_shownCount);
  bar->addPermanentWidget(m_checkedCount);
}

// ---- start-up and shut-down -------------------------------------------------------------

void CPictavoDlg::RestoreWindowPos() {
  Profile profile;
  if (!profile.Load(m_services.settingsFilePath)) return;
  WindowPos pos;
  if (!ParseWindowPos(profile.GetString("Settings", "WindowPos", ""), &pos)) return;
  const QRect normal(QPoint(pos.Left(), pos.Top()), QPoint(pos.Right() - 1, pos.Bottom() - 1));
  if (normal.width() >= 200 && normal.height() >= 150) {
    // A placement from a screen that is gone would leave the window out of reach.
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
      screens.push_back(screen->availableGeometry());
    setGeometry(MoveOntoNearestScreen(normal, screens));
  }
  // A window closed minimised comes back normal (ParseWindowPos made it so).
  if (pos.ShowCommand() == WindowPos::kShowMaximized) setWindowState(Qt::WindowMaximized);
}

std::string CPictavoDlg::CurrentWindowPos() const {
  WindowPos pos;
  const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
  const QRect rect = normal.isValid() ? normal : geometry();
  constexpr int kShowMinimized = 2;
  pos.values[1] = isMinimized()   ? kShowMinimized
                  : isMaximized() ? WindowPos::kShowMaximized
                                  : WindowPos::kShowNormal;
  pos.values[6] = rect.left();
  pos.values[7] = rect.top();
  pos.values[8] = rect.left() + rect.width();
  pos.values[9] = rect.top() + rect.height();
  return FormatWindowPos(pos);
}

void CPictavoDlg::LoadHistory() {
  m_history.Load(m_services.historyFilePath);
  ReloadAddressBox();
}

void CPictavoDlg::ReloadAddressBox() {
  const QString text = m_address->currentText();
  static const QIcon folderIcon = QFileIconProvider().icon(QFileIconProvider::Folder);
  m_address->blockSignals(true);
  m_address->clear();
  for (const std::string& entry : m_history.Entries()) m_address->addItem(folderIcon, Q(entry));
  m_address->setCurrentIndex(-1);
  m_address->setEditText(text);
  m_address->blockSignals(false);
}

void CPictavoDlg::Start() {
  if (m_started) return;
  m_started = true;
  if (m_services.commandLinePaths.empty()) {
    std::string address;
    switch (m_settings.General.StartupAddress) {
      case 0:
        address = m_settings.General.Address;
        break;
      case 2:
        address = m_history.LastFile();
        break;
      default:
        break;
    }
    if (!address.empty()) {
      SetAddressText(address);
      ListFolderNow(address);
    }
  } else {
    ListPathsFromCommandLine(m_services.commandLinePaths);
  }
  if (m_settings.Update.Enabled == 1) m_updateCheck->Start(false, m_settings.CheckPeriodDays);
}

void CPictavoDlg::ListPathsFromCommandLine(const std::vector<std::string>& paths) {
  for (const std::string& argument : paths) {
    if (!FileUtils::FileExists(argument)) continue;
    std::string path = argument;
    std::error_code error;
    if (!IsFolder(path) && std::filesystem::is_regular_file(path, error)) {
      // A file (or a link to one) stands for the folder it is in; devices, pipes and sockets
      // are refused below.
      const std::filesystem::path target = std::filesystem::canonical(path, error);
      if (!error) path = FileUtils::GetPathRemoveBackslash(target.parent_path().string());
    }
    if (IsFolder(path)) {
      SetAddressText(path);
      AddAddressToHistory();
      if (!ListAddress(path)) return;
    } else {
      m_host.ShowMessage(StringUtils::GetLoadString(10233));
      SetAddressText("");
    }
  }
}

void CPictavoDlg::OpenFolders(const std::vector<std::string>& paths) {
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
  if (m_busy) return;
  ListPathsFromCommandLine(paths);
}

void CPictavoDlg::closeEvent(QCloseEvent* event) {
  if (m_busy) {
    // A scan or a run is under way: its progress window's Cancel ends it first.
    event->ignore();
    return;
  }
  ShutDown();
  event->accept();
}

void CPictavoDlg::ShutDown() {
  if (m_shutDown) return;
  m_shutDown = true;
  // The placement and the settings go into one new file that replaces the old one at once,
  // so a crash here never leaves the settings half-written or gone.
  SaveSettingsFile(m_services.settingsFilePath, m_settings, CurrentWindowPos());
  m_history.Save(m_services.historyFilePath, AddressText().toStdString());
  if (!m_services.toolbarsFilePath.empty())
    SaveToolbarState(m_services.toolbarsFilePath, m_toolbarLayout);
  if (!m_services.previewRootPath.empty() && FileUtils::FileExists(m_services.previewRootPath))
    FileUtils::DeleteFolder(m_services.previewRootPath);
}

// ---- the address box ----------------------------------------------------------------------

QString CPictavoDlg::AddressText() const {
  return m_address->currentText();
}

void CPictavoDlg::SetAddressText(const std::string& text) {
  m_address->setEditText(Q(text));
}

void CPictavoDlg::AddAddressToHistory() {
  const std::string text = AddressText().toStdString();
  if (text.empty()) return;
  m_history.Add(text, m_settings.General.AddressHistory);
  m_history.Save(m_services.historyFilePath, text);
  m_history.Load(m_services.historyFilePath);
  ReloadAddressBox();
  const int found = m_history.Find(text);
  m_address->blockSignals(true);
  m_address->setCurrentIndex(found);
  if (found < 0) m_address->setEditText(QString());
  m_address->blockSignals(false);
}

void CPictavoDlg::Browse() {
  if (m_busy || !m_services.browseFolder) return;
  const std::optional<std::string> folder =
      m_services.browseFolder(this, AddressText().toStdString());
  if (!folder) return;
  SetAddressText(*folder);
  if (FileUtils::FileExists(*folder)) AddAddressToHistory();
  ListAddress(*folder);
}

void CPictavoDlg::OpenFolderDialog() {
  if (m_busy) return;
  CFileOpenAddressDlg dialog(m_services.historyFilePath, m_services.browseFolder, this);
  if (dialog.exec() != QDialog::Accepted) return;
  const std::string path = dialog.GetPath();
  SetAddressText(path);
  if (FileUtils::FileExists(path)) AddAddressToHistory();
  ListAddress(path);
}

void CPictavoDlg::OnEnterKey(bool inNoteBox) {
  const std::string address = AddressText().toStdString();
  if (address.empty()) return;
  if (ListAddress(address)) AddAddressToHistory();
  (void)inNoteBox;
}

// ---- listing ------------------------------------------------------------------------------

bool CPictavoDlg::HasUnsavedNotes() const {
  for (const int itemIndex : m_unsavedNoteItems)
    if (!m_list.ItemAt(itemIndex).note.empty()) return true;
  return false;
}

bool CPictavoDlg::ConfirmDiscardNotes() {
  if (!HasUnsavedNotes()) return true;
  const MessageResult answer =
      m_host.ShowMessage("保存されていないメモがあります。一覧を更新する前にメモを保存しますか?",
                         MessageIcon::Warning, MessageButtons::YesNoCancel);
  if (answer == MessageResult::Cancel) return false;
  if (answer == MessageResult::Yes) return SaveNotesInteractive();
  return true;
}

bool CPictavoDlg::ListAddress(const std::string& path) {
  if (m_busy || !ConfirmDiscardNotes()) return false;
  ListFolderNow(path);
  return true;
}

void CPictavoDlg::ListFolderNow(const std::string& path) {
  QElapsedTimer timer;
  timer.start();
  SetBusy(true);
  SetNotePrompt();
  m_unsavedNoteItems.clear();
  m_view->clearSelection();
  m_model->BeginBulk();
  const ListFolderResult result = ListFolder(
      m_list, path, m_settings, m_host, m_services.itemBuilder, m_services.runtime.workerThreads);
  m_model->EndBulk();
  SetSortArrow();
  SetBusy(false);
  UpdateDetails(-1);
  UpdateCounts();
  UpdateNoteButtons();
  qCInfo(lcWindow, "listed %d items from %s in %lld ms", m_list.RowCount(), path.c_str(),
         static_cast<long long>(timer.elapsed()));
  if (!result.error.empty())
    m_host.ShowMessage(result.error, MessageIcon::Error, MessageButtons::Ok);
}

void CPictavoDlg::SetBusy(bool busy) {
  m_busy = busy;
  // The progress windows are top-level windows of their own and stay usable.
  centralWidget()->setEnabled(!busy);
  menuBar()->setEnabled(!busy);
  m_toolBar->setEnabled(!busy);
  m_commands->UpdateStates();
}

void CPictavoDlg::dragEnterEvent(QDragEnterEvent* event) {
  if (!m_busy && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CPictavoDlg::dropEvent(QDropEvent* event) {
  std::vector<std::string> paths;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
  event->acceptProposedAction();
  if (paths.empty() || m_busy || !ConfirmDiscardNotes()) return;
  SetBusy(true);
  m_view->clearSelection();
  SetNotePrompt();
  m_unsavedNoteItems.clear();
  m_model->BeginBulk();
  DropFiles(
      m_list, paths, m_settings, m_host,
      [this](const std::string& folder) {
        SetAddressText(folder);
        AddAddressToHistory();
      },
      m_services.itemBuilder, m_services.runtime.workerThreads);
  m_model->EndBulk();
  SetSortArrow();
  SetBusy(false);
  UpdateDetails(-1);
  UpdateCounts();
  UpdateNoteButtons();
}

// ---- keys ---------------------------------------------------------------------------------

bool CPictavoDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QMainWindow::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
  if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && mods == Qt::NoModifier) {
    const bool inNote = watched == m_note;
    OnEnterKey(inNote);
    return !inNote;  // the note box still gets its new line
  }
  if (watched == m_view && key->key() == Qt::Key_Space && !(mods & Qt::ControlModifier)) {
    if (m_list.ToggleRowsByKey(Highlighted())) {
      m_model->SyncWithList();
      ScheduleCounts();
    }
    return true;
  }
  if (watched == m_view && key->key() == Qt::Key_A && mods == Qt::ControlModifier) {
    m_view->selectAll();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void CPictavoDlg::FocusPane(int step) {
  const std::vector<QWidget*> panes = {m_address, m_view, m_note};
  int current = 0;
  for (std::size_t i = 0; i < panes.size(); ++i)
    if (panes[i]->isAncestorOf(focusWidget()) || panes[i] == focusWidget())
      current = static_cast<int>(i);
  const int count = static_cast<int>(panes.size());
  panes[((current + step) % count + count) % count]->setFocus(Qt::TabFocusReason);
}

// ---- selection, details, note, counts -----------------------------------------------------

std::vector<int> CPictavoDlg::Highlighted() const {
  // Asked by every enabling rule on each idle update: keep one answer per selection.
  if (m_highlightValid) return m_highlightCache;
  std::vector<int> rows;
  const QModelIndexList selected = m_view->selectionModel()->selectedRows();
  rows.reserve(selected.size());
  for (const QModelIndex& index : selected) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  m_highlightCache = rows;
  m_highlightValid = true;
  return rows;
}

void CPictavoDlg::SetHighlighted(const std::vector<int>& rows) {
  QItemSelection selection;
  for (const int row : rows)
    if (m_list.IsValidRow(row))
      selection.select(m_model->index(row, 0), m_model->index(row, kColumnCount - 1));
  m_view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  if (!rows.empty() && m_list.IsValidRow(rows.front()))
    m_view->selectionModel()->setCurrentIndex(m_model->index(rows.front(), 0),
                                              QItemSelectionModel::NoUpdate);
}

std::vector<int> CPictavoDlg::ColumnOrder() const {
  std::vector<int> order;
  const QHeaderView* header = m_view->horizontalHeader();
  for (int visual = 0; visual < header->count(); ++visual) {
    const int logical = header->logicalIndex(visual);
    if (!header->isSectionHidden(logical)) order.push_back(logical);
  }
  return order;
}

void CPictavoDlg::OnSelectionChanged() {
  if (m_moving) return;
  const std::vector<int> rows = Highlighted();
  UpdateDetails(rows.empty() ? -1 : rows.front());
  UpdateNoteButtons();
}

void CPictavoDlg::UpdateDetails(int row) {
  if (m_moving) return;
  const std::vector<int> rows = Highlighted();
  m_fillingNote = true;
  if (row != -1) m_note->clear();
  if (rows.size() == 1 && m_list.IsValidRow(rows.front())) {
    const ALBUMITEM& item = m_list.RowItem(rows.front());
    m_details->ShowItem(item);
    m_note->setPlainText(Q(item.note));
  } else {
    m_details->Clear();
  }
  m_fillingNote = false;
}

void CPictavoDlg::SetNotePrompt() {
  m_fillingNote = true;
  m_note->setPlainText(QString::fromUtf8(kNotePrompt));
  m_fillingNote = false;
}

void CPictavoDlg::OnNoteChanged() {
  if (m_fillingNote) return;
  const std::vector<int> rows = Highlighted();
  if (!m_list.UpdateNoteOfHighlightedRow(rows, m_note->toPlainText().toStdString())) return;
  m_unsavedNoteItems.insert(m_list.RowItemIndex(rows.front()));
}

void CPictavoDlg::ScheduleCounts() {
  if (m_countsScheduled) return;
  m_countsScheduled = true;
  QTimer::singleShot(0, this, [this] {
    m_countsScheduled = false;
    UpdateCounts();
    UpdateNoteButtons();
  });
}

void CPictavoDlg::UpdateCounts() {
  if (!m_shownCount) return;
  m_shownCount->setText(
      Str(10201).replace(QStringLiteral("%d"), QString::number(m_list.RowCount())));
  m_checkedCount->setText(
      Str(10202).replace(QStringLiteral("%d"), QString::number(m_list.CheckedCount())));
}

QString CPictavoDlg::StatusText(int pane) const {
  switch (pane) {
    case 0:
      return statusBar()->currentMessage().isEmpty() ? m_idleText->text()
                                                     : statusBar()->currentMessage();
    case 1:
      return m_shownCount->text();
    default:
      return m_checkedCount->text();
  }
}

void CPictavoDlg::UpdateNoteButtons() {
  const bool enabled = !m_list.IsEmpty();
  m_loadNotes->setEnabled(enabled);
  m_saveNotes->setEnabled(enabled);
}

// ---- list commands ------------------------------------------------------------------------

void CPictavoDlg::RunListCommand(int id) {
  if (m_busy) return;
  const bool move = id == ListCommand::kMoveUp || id == ListCommand::kMoveDown;
  if (move && m_moving) return;
  const bool sort = id == ListCommand::kSortAscending || id == ListCommand::kSortDescending ||
                    (id >= kFirstSortCommand && id < kFirstSortCommand + kColumnCount);
  if (sort) SetBusy(true);
  m_moving = move;
  const ListCommandResult result =
      ExecuteListCommand(id, m_list, {Highlighted(), ColumnOrder()}, m_host, m_settings);
  m_model->SyncWithList();
  if (sort) SetBusy(false);
  if (!result.handled) {
    m_moving = false;
    return;
  }
  if (id == ListCommand::kGridlines || id == ListCommand::kAlternatingRows) ApplyListAppearance();
  if (sort) SetSortArrow();
  if (result.highlighted != Highlighted()) SetHighlighted(result.highlighted);
  if (move && !result.highlighted.empty())
    m_view->scrollTo(m_model->index(result.highlighted.front(), 0));
  m_moving = false;
  if (result.detailsRow != ListCommandResult::kDetailsUnchanged) UpdateDetails(result.detailsRow);
  if (result.countsChanged) {
    UpdateCounts();
    UpdateNoteButtons();
  }
  if (id == ListCommand::kRemoveAll) {
    m_unsavedNoteItems.clear();
    SetNotePrompt();
  }
}

void CPictavoDlg::SortByHeader(int column) {
  if (m_busy) {
    SetSortArrow();
    return;
  }
  SetBusy(true);
  SortItemListByColumnClick(m_list, column, m_host);
  m_model->SyncWithList();
  SetBusy(false);
  SetSortArrow();
}

void CPictavoDlg::SetSortArrow() {
  m_view->horizontalHeader()->setSortIndicator(
      m_list.SortColumn(), m_list.IsSortDescending() ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void CPictavoDlg::AutoSizeColumn(int column) {
  if (column >= 0 && column < kColumnCount) m_view->resizeColumnToContents(column);
}

QMenu* CPictavoDlg::BuildContextMenu(int menuId, int headerColumn) {
  CommandTable& c = *m_commands;
  auto* menu = new QMenu(this);
  if (menuId == 503) {
    m_headerMenuColumn = headerColumn;
    if (headerColumn >= 0) c.AddToMenu(menu, {32902});
    c.AddToMenu(menu, {32903});
  } else if (menuId == 501) {
    c.AddToMenu(menu, {32845});
    const std::vector<int> rows = Highlighted();
    const std::vector<int> drop = GetRowMenuItemsToRemove(m_list, rows);
    for (const int location : {32848, 32849})
      if (std::find(drop.begin(), drop.end(), location) == drop.end())
        c.AddToMenu(menu, {location});
    c.AddToMenu(menu, {0, 32781, 32782, 32783, 0, 32788, 32789, 0});
    QMenu* copy = menu->addMenu(Str(ListCommand::kCopyMenuTitleId));
    copy->addSeparator();
    c.AddToMenu(copy, {32941, 32942});
    c.AddToMenu(menu, {0, 32841});
    menu->setDefaultAction(c.Action(32845));
    if (!rows.empty()) UpdateDetails(rows.front());
  } else {
    c.AddToMenu(menu, {32784, 32785, 32786, 32787, 0});
    QMenu* sort = menu->addMenu(Str(ListCommand::kSortMenuTitleId));
    sort->addSeparator();
    c.AddToMenu(sort, {32831, 32832});
    c.AddToMenu(menu, {0, Command::kRefresh});
  }
  m_commands->UpdateStates();
  FillColumnMenus(menu);
  return menu;
}

void CPictavoDlg::RunCommand(int id) {
  m_commands->UpdateStates();
  if (id >= kFirstSortCommand && id < kFirstSortCommand + kColumnCount) {
    RunListCommand(id);
    return;
  }
  if (id >= kFirstCopyCommand && id < kFirstCopyCommand + kColumnCount) {
    RunListCommand(id);
    return;
  }
  if (QAction* action = m_commands->Action(id); action && action->isEnabled()) action->trigger();
}

// ---- files and the desktop ----------------------------------------------------------------

void CPictavoDlg::OpenHighlighted() {
  for (const int row : Highlighted()) {
    std::string error;
    if (!m_host.OpenWithDesktop(m_list.RowItem(row).fullPath, &error)) {
      m_host.ShowMessage(error, MessageIcon::Error);
      return;
    }
  }
}

void CPictavoDlg::OpenLocation() {
  const int row = m_list.FirstRow(Highlighted());
  if (row < 0) return;
  const std::string path = m_list.RowItem(row).fullPath;
  if (!FileUtils::FileExists(path)) return;
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.FileManager1"),
      QStringLiteral("/org/freedesktop/FileManager1"),
      QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
  call << QStringList{QUrl::fromLocalFile(Q(path)).toString()} << QString();
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (bus.isConnected()) {
    const QDBusMessage reply = bus.call(call, QDBus::Block, 3000);
    if (reply.type() == QDBusMessage::ReplyMessage) return;
  }
  std::string error;
  const std::string folder = FileUtils::GetPathRemoveBackslash(FileUtils::GetSplitDirPath(path));
  if (!m_host.OpenWithDesktop(folder, &error)) m_host.ShowMessage(error, MessageIcon::Error);
}

void CPictavoDlg::ShowProperties() {
  const int row = m_list.FirstRow(Highlighted());
  if (row < 0) return;
  const ALBUMITEM& item = m_list.RowItem(row);
  QDialog dialog(this);
  dialog.setWindowTitle(Q(item.name) + QStringLiteral("のプロパティ"));
  auto* layout = new QVBoxLayout(&dialog);
  auto* form = new QFormLayout;
  const std::pair<int, std::string> rows[] = {
      {10001, item.name},
      {10002, item.folder},
      {10004, item.typeText},
      {10003, item.sizeText + " (" + std::to_string(item.size) + " バイト)"},
      {10006, item.createdText},
      {10005, item.modifiedText},
      {10007, item.accessedText},
      {10008, item.attributesText},
      {10010, item.dimensionsText},
      {10009, item.dateTakenText},
      {10013, item.cameraMaker},
      {10014, item.cameraModel},
  };
  for (const auto& [stringId, value] : rows) {
    auto* text = new QLabel(Q(value), &dialog);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(Str(stringId) + QStringLiteral(":"), text);
  }
  layout->addLayout(form);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
  connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  layout->addWidget(buttons);
  dialog.exec();
}

void CPictavoDlg::LoadNotes() {
  if (m_busy) return;
  LoadNotesCommand(m_list, m_host, [this] { return m_services.chooseNotesFile(this, false); });
  m_model->SyncWithList();
  UpdateDetails(m_list.FirstRow(Highlighted()));
}

bool CPictavoDlg::SaveNotesInteractive() {
  const bool saved =
      SaveNotesCommand(m_list, m_host, [this] { return m_services.chooseNotesFile(this, true); });
  if (saved) m_unsavedNoteItems.clear();
  return saved;
}

void CPictavoDlg::SaveNotes() {
  if (!m_busy) SaveNotesInteractive();
}

void CPictavoDlg::Execute(bool preview) {
  if (m_busy || !m_list.IsAnyRowChecked()) return;
  OutputRun run(m_list, m_settings, m_host, m_services.runtime);
  run.SetListedFolder(AddressText().toStdString());
  const int outputType = OutputRun::GetOutputTypeOfStyle(m_settings.OutputStyle.Style);
  SetBusy(true);
  if (preview) {
    run.PreviewOutput(outputType);
  } else {
    run.ExecuteOutput(outputType);
  }
  SetBusy(false);
}

}  // namespace pictavo::app
