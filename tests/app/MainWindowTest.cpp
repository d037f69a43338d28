// The main window driven through its widgets and commands, with a scripted host.

#include <sys/stat.h>

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTableView>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "app/AddressHistory.h"
#include "app/Commands.h"
#include "app/DetailsPane.h"
#include "app/PictavoDlg.h"
#include "core/Profile.h"
#include "core/SettingsStore.h"
#include "core/StringUtils.h"
#include "support/Fixtures.h"
#include "support/WindowTestHost.h"

using pictavo::MessageResult;
using pictavo::app::CPictavoDlg;
using pictavo::testing::ImageFormat;
using pictavo::testing::TempDir;
using pictavo::testing::WindowTestHost;

namespace {

namespace fs = std::filesystem;

QString Str(int id) {
  return QString::fromStdString(pictavo::StringUtils::GetLoadString(id));
}

// Three photos of different sizes: a.jpg 60x40, b.jpg 30x20 (smallest file), c.jpg 90x60.
void WritePhotos(const fs::path& folder) {
  fs::create_directories(folder);
  pictavo::testing::WriteImage(folder / "b.jpg", 30, 20, ImageFormat::Jpeg,
                               pictavo::testing::SampleExif());
  pictavo::testing::WriteImage(folder / "a.jpg", 60, 40, ImageFormat::Jpeg);
  pictavo::testing::WriteImage(folder / "c.jpg", 90, 60, ImageFormat::Jpeg);
}

void WriteSettings(const std::string& path, const std::function<void(pictavo::Settings&)>& edit) {
  pictavo::Settings settings;
  pictavo::LoadSettingsFile(path, settings);
  edit(settings);
  QVERIFY(pictavo::SaveSettingsFile(path, settings, ""));
}

void PressEnterInAddress(CPictavoDlg& window, const std::string& text) {
  window.AddressBox()->setEditText(QString::fromStdString(text));
  QTest::keyClick(window.AddressBox()->lineEdit(), Qt::Key_Return);
}

std::vector<std::string> ListedNames(CPictavoDlg& window) {
  std::vector<std::string> names;
  for (int row = 0; row < window.List().RowCount(); ++row)
    names.push_back(window.List().RowItem(row).name);
  return names;
}

std::vector<QString> MenuTexts(QMenu* menu) {
  std::vector<QString> texts;
  for (QAction* action : menu->actions())
    if (!action->isSeparator()) texts.push_back(action->text());
  return texts;
}

bool HasCommand(QMenu* menu, int id) {
  for (QAction* action : menu->actions())
    if (action->data().toInt() == id) return true;
  return false;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  // A window over a fresh settings folder; photos in m_dir/photos.
  std::unique_ptr<CPictavoDlg> Open(const std::vector<std::string>& paths = {}) {
    m_services.commandLinePaths = paths;
    auto window = std::make_unique<CPictavoDlg>(m_host, m_services);
    window->Start();
    return window;
  }
  std::string Photos() const { return m_dir->File("photos"); }

  std::unique_ptr<TempDir> m_dir;
  WindowTestHost m_host;
  pictavo::app::AppServices m_services;

 private slots:
  void init() {
    m_dir = std::make_unique<TempDir>();
    WritePhotos(m_dir->Path() / "photos");
    m_host = WindowTestHost();
    m_services = pictavo::testing::TestServices(m_dir->File("settings"));
    fs::create_directories(m_dir->Path() / "settings");
  }
  void cleanup() { m_dir.reset(); }

  void StartupAddressChoosesWhatIsListed_data() {
    QTest::addColumn<int>("startupAddress");
    QTest::addColumn<int>("rows");
    QTest::newRow("the chosen folder") << 0 << 3;
    QTest::newRow("a blank address") << 1 << 0;
    QTest::newRow("the last address") << 2 << 3;
  }
  void StartupAddressChoosesWhatIsListed() {
    QFETCH(int, startupAddress);
    QFETCH(int, rows);
    WriteSettings(m_services.settingsFilePath, [&](pictavo::Settings& settings) {
      settings.General.StartupAddress = startupAddress;
      settings.General.Address = startupAddress == 0 ? Photos() : "";
    });
    pictavo::app::AddressHistory history;
    QVERIFY(history.Save(m_services.historyFilePath, startupAddress == 2 ? Photos() : ""));
    auto window = Open();
    QCOMPARE(window->List().RowCount(), rows);
    QCOMPARE(window->AddressText().isEmpty(), rows == 0);
    // Starting never changes the history.
    QCOMPARE(window->AddressBox()->count(), 0);
    if (rows > 0) QCOMPARE(window->List().CheckedCount(), rows);
  }

  void CommandLineReaderLeavesOutFlagsAndTheRestartId() {
    using Paths = std::vector<std::string>;
    QCOMPARE(pictavo::app::CommandLinePaths({"/RESTART", "123", "/photos/a b", "-x", "旅行"}),
             (Paths{"/photos/a b", "旅行"}));
    // A "/word" is a flag unless it names something.
    QCOMPARE(pictavo::app::CommandLinePaths({"/nosuchflag", "/tmp"}), (Paths{"/tmp"}));
  }

  void CommandLinePathsSkipMissingAndTakeAFilesFolder() {
    const std::string file = Photos() + "/a.jpg";
    auto window = Open({m_dir->File("missing"), file});
    QCOMPARE(window->AddressText(), QString::fromStdString(Photos()));
    QCOMPARE(window->List().RowCount(), 3);
    QCOMPARE(window->AddressBox()->count(), 1);
    QVERIFY(m_host.m_messages.empty());
  }

  void CommandLineSpecialFileShowsTheDropMessage() {
    const std::string pipe = m_dir->File("pipe");
    QCOMPARE(mkfifo(pipe.c_str(), 0600), 0);
    auto window = Open({Photos(), pipe});
    QCOMPARE(m_host.m_messages, std::vector<std::string>{Str(10233).toStdString()});
    QVERIFY(window->AddressText().isEmpty());
    // The folder listed before stays listed.
    QCOMPARE(window->List().RowCount(), 3);
  }

  void CancelledScanLeavesTheWindowUsable() {
    m_host.m_cancelScans = true;
    auto window = Open({Photos()});
    QVERIFY(window->List().RowCount() < 3);
    QCOMPARE(window->List().CheckedCount(), window->List().RowCount());
    QVERIFY(window->centralWidget()->isEnabled());
    QCOMPARE(window->StatusText(1),
             Str(10201).replace("%d", QString::number(window->List().RowCount())));
  }

  void HistoryKeepsTheNewestUpToItsLimitAcrossARestart() {
    WriteSettings(m_services.settingsFilePath,
                  [](pictavo::Settings& settings) { settings.General.AddressHistory = 2; });
    for (const char* name : {"A", "B", "C"}) fs::create_directories(m_dir->Path() / name);
    const auto expect = [&](CPictavoDlg& window) {
      QCOMPARE(window.AddressBox()->count(), 2);
      QCOMPARE(window.AddressBox()->itemText(0).toStdString(), m_dir->File("C"));
      QCOMPARE(window.AddressBox()->itemText(1).toStdString(), m_dir->File("B"));
    };
    {
      auto window = Open();
      for (const char* name : {"A", "B", "C"}) PressEnterInAddress(*window, m_dir->File(name));
      expect(*window);
    }
    auto window = Open();
    expect(*window);
  }

  void EnterOnAMissingPathListsNothingAndKeepsNoEntry() {
    auto window = Open({Photos()});
    PressEnterInAddress(*window, m_dir->File("nowhere"));
    QCOMPARE(window->List().RowCount(), 0);
    QVERIFY(window->AddressText().isEmpty());
    QCOMPARE(window->AddressBox()->count(), 1);
    QCOMPARE(window->StatusText(1), Str(10201).replace("%d", "0"));
  }

  void EscapeLeavesTheWindowOpen() {
    auto window = Open({Photos()});
    window->show();
    QTest::keyClick(window->ListView(), Qt::Key_Escape);
    QVERIFY(window->isVisible());
  }

  void DetailsPaneShowsOneRowAndHidesForTwo() {
    auto window = Open({Photos()});
    window->show();
    window->SetHighlighted({0});
    QVERIFY(window->Details()->TextsVisible());
    QCOMPARE(window->Details()->NameText(), QStringLiteral("a.jpg"));
    QCOMPARE(window->Details()->LabelText(1), Str(10010) + ":");
    QCOMPARE(window->Details()->ValueText(1), QStringLiteral("60 x 40"));
    QTRY_VERIFY(!window->Details()->Preview()->Picture().isNull());
    // The picture's longer side takes the area's height.
    const QImage picture = window->Details()->Preview()->Picture();
    QCOMPARE(qRound(picture.height() / picture.devicePixelRatio()),
             qMin(window->Details()->Preview()->height(), 40));
    window->SetHighlighted({0, 1});
    QVERIFY(!window->Details()->TextsVisible());
    QVERIFY(window->NoteBox()->toPlainText().isEmpty());
    QVERIFY(window->Details()->Preview()->Picture().isNull());
  }

  void TypedNoteGoesToTheRowAndRelistingAsksFirst() {
    auto window = Open({Photos()});
    QCOMPARE(window->NoteBox()->toPlainText(), QStringLiteral("項目を選択し、入力してください。"));
    window->SetHighlighted({1});
    window->NoteBox()->insertPlainText(QStringLiteral("夕焼け, \"赤\""));
    QCOMPARE(window->List().RowItem(1).note, std::string("夕焼け, \"赤\""));
    QCOMPARE(window->ListView()->model()->index(1, 19).data().toString(),
             QStringLiteral("夕焼け, \"赤\""));
    QVERIFY(window->HasUnsavedNotes());

    m_host.m_answers = {MessageResult::Cancel};
    window->RunCommand(pictavo::app::Command::kRefresh);
    QCOMPARE(m_host.m_messages.size(), std::size_t{1});
    QCOMPARE(window->List().RowItem(1).note, std::string("夕焼け, \"赤\""));

    // Yes saves through the notes dialog, then relists.
    const std::string notes = m_dir->File("Note.dat");
    window->List().CheckAllRows(true);
    m_services.chooseNotesFile = [&](QWidget*, bool save) -> std::optional<std::string> {
      return save ? std::optional<std::string>(notes) : std::nullopt;
    };
    m_host.m_answers = {MessageResult::Yes, MessageResult::Ok};
    window->RunCommand(pictavo::app::Command::kRefresh);
    QVERIFY(fs::exists(notes));
    QVERIFY(pictavo::testing::ReadFileBytes(notes).find("photos/b.jpg") != std::string::npos);
    QCOMPARE(window->List().RowItem(1).note, std::string());
    QVERIFY(!window->HasUnsavedNotes());

    // No discards without saving.
    window->SetHighlighted({0});
    QTest::keyClicks(window->NoteBox(), QStringLiteral("x"));
    m_host.m_answers = {MessageResult::No};
    const std::size_t before = m_host.m_messages.size();
    window->RunCommand(pictavo::app::Command::kRefresh);
    QCOMPARE(m_host.m_messages.size(), before + 1);
    QCOMPARE(window->List().RowItem(0).note, std::string());
  }

  void NoteTypedWithNothingHighlightedChangesNoItem() {
    auto window = Open({Photos()});
    QTest::keyClicks(window->NoteBox(), QStringLiteral("x"));
    for (int row = 0; row < 3; ++row) QVERIFY(window->List().RowItem(row).note.empty());
    QVERIFY(!window->HasUnsavedNotes());
  }

  void CountsFollowTheTickCommands() {
    auto window = Open({Photos()});
    const auto counts = [&](int shown, int checked) {
      QCOMPARE(window->StatusText(1), Str(10201).replace("%d", QString::number(shown)));
      QCOMPARE(window->StatusText(2), Str(10202).replace("%d", QString::number(checked)));
    };
    counts(3, 3);
    window->SetHighlighted({0, 2});
    window->RunCommand(32782);
    counts(3, 1);
    window->RunCommand(32786);
    counts(3, 2);
    window->RunCommand(32785);
    counts(3, 0);
    window->RunCommand(32781);
    counts(3, 2);
    window->RunCommand(32783);
    counts(1, 0);
  }

  void SpaceAndCheckBoxClickApplyToEveryHighlightedRow() {
    auto window = Open({Photos()});
    window->show();
    window->SetHighlighted({0, 1});
    QTest::keyClick(window->ListView(), Qt::Key_Space);
    QCOMPARE(window->List().CheckedCount(), 1);
    QVERIFY(window->List().IsRowChecked(2));
    // A click on the box of one of the highlighted rows ticks both again.
    window->ListView()->model()->setData(window->ListView()->model()->index(1, 0), Qt::Checked,
                                         Qt::CheckStateRole);
    QCOMPARE(window->List().CheckedCount(), 3);
  }

  void ModelFollowsTheListOneChangeAtATime() {
    auto window = Open({Photos()});
    QAbstractItemModel* model = window->ListView()->model();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy resets(model, &QAbstractItemModel::modelReset);
    QSignalSpy removed(model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy moved(model, &QAbstractItemModel::rowsMoved);
    QSignalSpy reordered(model, &QAbstractItemModel::layoutChanged);
    window->SetHighlighted({1});
    window->RunCommand(32789);  // b.jpg down
    QCOMPARE(moved.size(), 1);
    QCOMPARE(model->index(2, 0).data().toString(), QStringLiteral("b.jpg"));
    QCOMPARE(window->Highlighted(), std::vector<int>{2});
    window->RunCommand(32832);  // by name, descending
    QCOMPARE(reordered.size(), 1);
    QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("c.jpg"));
    window->SetHighlighted({0});
    window->RunCommand(32783);
    QCOMPARE(removed.size(), 1);
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(resets.size(), 0);
  }

  void CopyAllFollowsTheDraggedColumnOrder() {
    auto window = Open({Photos()});
    QHeaderView* header = window->ListView()->horizontalHeader();
    header->moveSection(header->visualIndex(2), 0);  // "サイズ" first
    window->SetHighlighted({0, 2});
    window->RunCommand(32942);
    const QStringList lines = QString::fromStdString(m_host.m_clipboard).split("\r\n");
    QCOMPARE(lines.size(), 4);  // header, two rows, the empty rest after the last CR LF
    QVERIFY(lines[0].startsWith(QStringLiteral("\"サイズ\",\"名前\",\"フォルダー\"")));
    QVERIFY(lines[1].contains(QStringLiteral("\"a.jpg\"")));
    QVERIFY(lines[2].contains(QStringLiteral("\"c.jpg\"")));
    QVERIFY(lines[3].isEmpty());
    // The copy submenu lists the columns in the same order.
    QMenu* menu = window->BuildContextMenu(501);
    QMenu* copy = nullptr;
    for (QAction* action : menu->actions())
      if (action->menu()) copy = action->menu();
    QVERIFY(copy);
    QCOMPARE(copy->actions().first()->text(), QStringLiteral("サイズ"));
    delete menu;
  }

  void ContextMenusFitTheirCase() {
    auto window = Open({Photos()});
    window->SetHighlighted({0});
    std::unique_ptr<QMenu> row(window->BuildContextMenu(501));
    QVERIFY(HasCommand(row.get(), 32848));
    QVERIFY(!HasCommand(row.get(), 32849));
    QCOMPARE(row->defaultAction()->data().toInt(), 32845);
    window->SetHighlighted({0, 1});
    std::unique_ptr<QMenu> rows(window->BuildContextMenu(501));
    QVERIFY(!HasCommand(rows.get(), 32848));
    QVERIFY(!HasCommand(rows.get(), 32849));
    std::unique_ptr<QMenu> header(window->BuildContextMenu(503, 3));
    QVERIFY(HasCommand(header.get(), 32902));
    std::unique_ptr<QMenu> beside(window->BuildContextMenu(503, -1));
    QVERIFY(!HasCommand(beside.get(), 32902));
    QVERIFY(HasCommand(beside.get(), 32903));
    std::unique_ptr<QMenu> empty(window->BuildContextMenu(502));
    QVERIFY(HasCommand(empty.get(), 32787));
    // The sort submenu has every column with the current one checked.
    QMenu* sort = nullptr;
    for (QAction* action : empty->actions())
      if (action->menu()) sort = action->menu();
    QVERIFY(sort);
    QCOMPARE(MenuTexts(sort).size(), std::size_t{22});
    QVERIFY(sort->actions().first()->isChecked());
  }

  void HeaderClicksSortBothWays() {
    auto window = Open({Photos()});
    window->show();
    QHeaderView* header = window->ListView()->horizontalHeader();
    const auto click = [&](int column) {
      const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
      QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    };
    using Names = std::vector<std::string>;
    QCOMPARE(ListedNames(*window), (Names{"a.jpg", "b.jpg", "c.jpg"}));
    click(0);
    QCOMPARE(ListedNames(*window), (Names{"c.jpg", "b.jpg", "a.jpg"}));
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    click(9);  // "大きさ": ascending first
    QCOMPARE(ListedNames(*window), (Names{"b.jpg", "a.jpg", "c.jpg"}));
    QCOMPARE(header->sortIndicatorSection(), 9);
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
    click(9);
    QCOMPARE(ListedNames(*window), (Names{"c.jpg", "a.jpg", "b.jpg"}));
  }

  void ExecuteProposesANumberedFolderAndRefusesAnExistingName() {
    const std::string location = m_dir->File("albums");
    WriteSettings(m_services.settingsFilePath, [&](pictavo::Settings& settings) {
      settings.Output.Location = location;
      settings.Output.OpenFile = 0;
    });
    auto window = Open({Photos()});
    window->RunCommand(pictavo::app::Command::kExecute);
    QCOMPARE(m_host.m_proposals.size(), std::size_t{1});
    QCOMPARE(m_host.m_proposals[0].folderName, std::string("Pictavo1"));
    QVERIFY(fs::exists(location + "/Pictavo1/index.html"));

    m_host.m_scripted = true;
    m_host.m_folderNames = {"Pictavo1"};
    m_host.m_messages.clear();
    window->RunCommand(pictavo::app::Command::kExecute);
    QCOMPARE(m_host.m_proposals.back().folderName, std::string("Pictavo2"));
    QVERIFY(std::find(m_host.m_messages.begin(), m_host.m_messages.end(),
                      Str(10240).toStdString()) != m_host.m_messages.end());
    QVERIFY(!fs::exists(location + "/Pictavo2"));
    // The window is usable again afterwards.
    QVERIFY(window->centralWidget()->isEnabled());
  }

  void ShutDownWritesPlacementHistoryAndDropsThePreviewRoot() {
    fs::create_directories(m_services.previewRootPath + "/old");
    {
      auto window = Open({Photos()});
      window->resize(900, 600);
      window->close();
    }
    pictavo::Profile settings;
    QVERIFY(settings.Load(m_services.settingsFilePath));
    QCOMPARE(QString::fromStdString(settings.GetString("Settings", "WindowPos", "")).count(','), 9);
    QVERIFY(settings.HasKey("Options\\General", "StartupAddress"));
    pictavo::app::AddressHistory history;
    QVERIFY(history.Load(m_services.historyFilePath));
    QCOMPARE(history.LastFile(), Photos());
    QCOMPARE(history.Entries(), std::vector<std::string>{Photos()});
    QVERIFY(!fs::exists(m_services.previewRootPath));
    // The placement comes back.
    auto again = Open();
    QCOMPARE(again->size(), QSize(900, 600));
  }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
