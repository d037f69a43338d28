// The toolbar's layout and options and the window placement across a restart of the window.

#include <QComboBox>
#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "app/Commands.h"
#include "app/CustomizeToolbarDlg.h"
#include "app/PictavoDlg.h"
#include "app/ToolbarState.h"
#include "app/WindowPlacement.h"
#include "core/Profile.h"
#include "support/Fixtures.h"
#include "support/WindowTestHost.h"

using pictavo::app::CPictavoDlg;
using pictavo::app::ToolbarLayout;
using pictavo::testing::TempDir;
using pictavo::testing::WindowTestHost;
namespace Command = pictavo::app::Command;

namespace {

// The command ids the toolbar shows, 0 for a separator.
std::vector<int> ShownCommands(QToolBar* bar) {
  std::vector<int> ids;
  for (QAction* action : bar->actions()) {
    if (action->isSeparator()) {
      ids.push_back(0);
    } else if (auto* tool = qobject_cast<QToolButton*>(bar->widgetForAction(action))) {
      ids.push_back(tool->defaultAction()->data().toInt());
    }
  }
  return ids;
}

std::vector<int> LayoutCommands(const ToolbarLayout& layout) {
  std::vector<int> ids;
  for (const auto& button : layout.buttons)
    ids.push_back(button.IsSeparator() ? 0 : button.commandId);
  return ids;
}

QToolButton* ToolFor(QToolBar* bar, int id) {
  for (QAction* action : bar->actions())
    if (auto* tool = qobject_cast<QToolButton*>(bar->widgetForAction(action)))
      if (tool->defaultAction()->data().toInt() == id) return tool;
  return nullptr;
}

}  // namespace

class ToolbarWindowStateTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TempDir> m_dir;
  WindowTestHost m_host;
  pictavo::app::AppServices m_services;

  std::unique_ptr<CPictavoDlg> Open() {
    auto window = std::make_unique<CPictavoDlg>(m_host, m_services);
    window->Start();
    return window;
  }

  void WriteToolbarFile(const std::string& text) {
    pictavo::Profile file = pictavo::Profile::FromText("; Toolbars.ini\r\n" + text);
    QVERIFY(file.SaveAs(m_services.toolbarsFilePath));
  }

  void WriteWindowPos(const std::string& value) {
    pictavo::Profile file;
    QVERIFY(file.WriteString("Settings", "WindowPos", value));
    QVERIFY(file.SaveAs(m_services.settingsFilePath));
  }

 private slots:
  void init() {
    m_dir = std::make_unique<TempDir>();
    m_host = WindowTestHost();
    std::filesystem::create_directories(m_dir->Path() / "settings");
    m_services = pictavo::testing::TestServices(m_dir->File("settings"));
  }
  void cleanup() { m_dir.reset(); }

  void UpOneLevelAddedInTheDialogKeepsItsPlaceAfterARestart() {
    std::vector<int> expected;
    {
      auto window = Open();
      pictavo::app::CCustomizeToolbarDlg dialog(window->GetToolbarLayout());
      QList<QListWidgetItem*> offered =
          dialog.AvailableList()->findItems(QStringLiteral("上の階層へ"), Qt::MatchExactly);
      QCOMPARE(offered.size(), 1);
      dialog.AvailableList()->setCurrentItem(offered.front());
      dialog.CurrentList()->setCurrentRow(3);  // before "更新"
      QTest::mouseClick(dialog.AddButton(), Qt::LeftButton);
      QVERIFY(dialog.AvailableList()
                  ->findItems(QStringLiteral("上の階層へ"), Qt::MatchExactly)
                  .isEmpty());
      dialog.TextOptionsCombo()->setCurrentIndex(2);
      window->SetToolbarLayout(dialog.Layout());
      expected = ShownCommands(window->ToolBar());
      QCOMPARE(expected[3], Command::kUpOneLevel);
      QCOMPARE(expected[4], Command::kRefresh);
      window->close();
    }
    pictavo::Profile file;
    QVERIFY(file.Load(m_services.toolbarsFilePath));
    QCOMPARE(file.GetEncoding(), pictavo::Profile::Encoding::Utf16Le);
    QVERIFY(file.ToText().rfind("; Toolbars.ini\r\n", 0) == 0);
    QCOMPARE(file.GetInt("Toolbar\\Button3", "CommandID", -1), Command::kUpOneLevel);
    QCOMPARE(file.GetInt("Toolbar\\Button3", "BitmapImage", -1), 13);
    QCOMPARE(file.GetInt("Toolbar\\Button3", "Style", -1), 0x10);
    QCOMPARE(file.GetInt("Toolbar\\Button3", "State", -1), 4);
    QCOMPARE(file.GetInt("Toolbar\\Button2", "Style", -1), 0x01);
    QCOMPARE(file.GetInt("Toolbar\\Button1", "Style", -1), 0x10 | 0x40 | 0x80);

    auto again = Open();
    QCOMPARE(ShownCommands(again->ToolBar()), expected);
    QCOMPARE(again->GetToolbarLayout().textOptions, 2);
    QCOMPARE(ToolFor(again->ToolBar(), Command::kNew)->toolButtonStyle(), Qt::ToolButtonIconOnly);
  }

  void RemovedButtonReturnsToTheOfferAndResetBringsTheDefaults() {
    pictavo::app::CCustomizeToolbarDlg dialog(pictavo::app::DefaultToolbarLayout());
    dialog.CurrentList()->setCurrentRow(0);  // "新規作成"
    QTest::mouseClick(dialog.RemoveButton(), Qt::LeftButton);
    QCOMPARE(dialog.AvailableList()->item(1)->text(), QStringLiteral("新規作成"));
    dialog.CurrentList()->setCurrentRow(0);
    QTest::mouseClick(dialog.MoveDownButton(), Qt::LeftButton);
    QCOMPARE(dialog.CurrentList()->item(1)->text(), QStringLiteral("開く"));
    QTest::mouseClick(dialog.ResetButton(), Qt::LeftButton);
    QCOMPARE(LayoutCommands(dialog.Layout()), LayoutCommands(pictavo::app::DefaultToolbarLayout()));
  }

  void ButtonCountZeroKeepsTheDefaultsWithTheFilesOptions() {
    WriteToolbarFile("[Toolbar]\r\nTextOptions=0\r\nIconOptions=0\r\nButtonCount=0\r\n");
    auto window = Open();
    QCOMPARE(LayoutCommands(window->GetToolbarLayout()),
             LayoutCommands(pictavo::app::DefaultToolbarLayout()));
    QCOMPARE(window->ToolBar()->iconSize(), QSize(16, 16));
    QCOMPARE(ToolFor(window->ToolBar(), 32784)->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
  }

  void BadOptionsBecomeTheDefaultsAndUnknownCommandsAreKept() {
    WriteToolbarFile(
        "[Toolbar]\r\nTextOptions=7\r\nIconOptions=-3\r\nButtonCount=2\r\n"
        "[Toolbar\\Button0]\r\nCommandID=39999\r\nBitmapImage=3\r\nState=4\r\nStyle=16\r\n"
        "[Toolbar\\Button1]\r\nCommandID=32844\r\nBitmapImage=0\r\nStyle=16\r\n");
    auto window = Open();
    const ToolbarLayout& layout = window->GetToolbarLayout();
    QCOMPARE(layout.textOptions, ToolbarLayout::kDefaultTextOptions);
    QCOMPARE(layout.iconOptions, ToolbarLayout::kDefaultIconOptions);
    QCOMPARE(LayoutCommands(layout), (std::vector<int>{39999, 32844}));
    // Missing keys read as -1, kept as bytes.
    QCOMPARE(int(layout.buttons[1].state), 255);
    QCOMPARE(ShownCommands(window->ToolBar()), std::vector<int>{32844});
    window->close();
    pictavo::Profile file;
    QVERIFY(file.Load(m_services.toolbarsFilePath));
    QCOMPARE(file.GetInt("Toolbar\\Button0", "CommandID", -1), 39999);
    QCOMPARE(file.GetInt("Toolbar", "TextOptions", -1), 1);
  }

  void WindowPosRoundTrips_data() {
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("showCommand");
    QTest::newRow("normal") << int(Qt::WindowNoState) << 1;
    QTest::newRow("maximised") << int(Qt::WindowMaximized) << 3;
    QTest::newRow("minimised") << int(Qt::WindowMinimized) << 2;
  }
  void WindowPosRoundTrips() {
    QFETCH(int, state);
    QFETCH(int, showCommand);
    QRect normal;
    {
      auto window = Open();
      window->show();
      QVERIFY(QTest::qWaitForWindowExposed(window.get()));
      window->setGeometry(40, 30, 700, 500);  // grown to the window's minimum where needed
      normal = window->geometry();
      QCOMPARE(normal.topLeft(), QPoint(40, 30));
      window->setWindowState(Qt::WindowState(state));
      window->close();
    }
    pictavo::Profile file;
    QVERIFY(file.Load(m_services.settingsFilePath));
    const QStringList values =
        QString::fromStdString(file.GetString("Settings", "WindowPos", "")).split(',');
    QCOMPARE(values.size(), 10);
    QCOMPARE(values[1].toInt(), showCommand);
    QCOMPARE(values.mid(6), (QStringList{"40", "30", QString::number(normal.right() + 1),
                                         QString::number(normal.bottom() + 1)}));
    auto again = Open();
    QCOMPARE(again->isMaximized(), state == Qt::WindowMaximized);
    QVERIFY(!again->isMinimized());
    QCOMPARE(again->normalGeometry().isValid() ? again->normalGeometry() : again->geometry(),
             normal);
  }

  void PlacementOffEveryScreenComesBackOnScreen() {
    WriteWindowPos("0,1,-1,-1,-1,-1,9000,7000,9700,7500");
    auto window = Open();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY2(screen.contains(window->geometry()),
             qPrintable(QStringLiteral("%1,%2").arg(window->x()).arg(window->y())));
    QCOMPARE(window->size(), QSize(700, 500).boundedTo(screen.size()));
  }

  void NearestScreenTakesTheRectangle() {
    const QList<QRect> screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    // Overlapping one screen: unchanged.
    QCOMPARE(pictavo::app::MoveOntoNearestScreen(QRect(1800, 100, 600, 400), screens),
             QRect(1800, 100, 600, 400));
    // Right of both: onto the right-hand screen, at its edge.
    QCOMPARE(pictavo::app::MoveOntoNearestScreen(QRect(5000, 200, 600, 400), screens),
             QRect(2600, 200, 600, 400));
    // Larger than the nearest screen: shrunk to it.
    QCOMPARE(pictavo::app::MoveOntoNearestScreen(QRect(-5000, -3000, 2500, 1500), screens),
             QRect(0, 0, 1920, 1080));
  }
};

QTEST_MAIN(ToolbarWindowStateTest)
#include "ToolbarWindowStateTest.moc"
