// The open folder dialog: history from the file, the OK rule, drops and browsing.

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/AddressHistory.h"
#include "app/Commands.h"
#include "app/FileOpenAddressDlg.h"
#include "app/PictavoDlg.h"
#include "core/Profile.h"
#include "core/SettingsStore.h"
#include "support/Fixtures.h"
#include "support/TestHost.h"
#include "support/WindowTestHost.h"

using pictavo::app::CFileOpenAddressDlg;
using pictavo::testing::TempDir;
namespace fs = std::filesystem;

namespace {

QStringList ComboItems(QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items.push_back(combo->itemText(i));
  return items;
}

}  // namespace

class FileOpenAddressDlgTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TempDir> m_dir;

  QString Folder(const char* name) {
    const fs::path path = m_dir->Path() / name;
    fs::create_directories(path);
    return QString::fromStdString(path.string());
  }

  std::string HistoryFile(const QStringList& entries) {
    pictavo::Profile file = pictavo::Profile::FromText("; History.ini\r\n");
    file.WriteInt("Recent File List", "Count", static_cast<int>(entries.size()));
    for (int i = 0; i < entries.size(); ++i)
      file.WriteString("Recent File List", "File" + std::to_string(i + 1),
                       entries[i].toStdString());
    const std::string path = m_dir->File("History.ini");
    file.SaveAs(path);
    return path;
  }

 private slots:
  void init() { m_dir = std::make_unique<TempDir>(); }
  void cleanup() { m_dir.reset(); }

  void HistoryLeavesOutADeletedMiddleEntry() {
    const QString first = Folder("first 写真");
    const QString second = Folder("second");
    const QString third = Folder("third & co");
    const std::string history = HistoryFile({first, second, third});
    fs::remove(second.toStdString());
    CFileOpenAddressDlg dialog(history, {});
    QCOMPARE(ComboItems(dialog.PathCombo()), (QStringList{first, third}));
    QVERIFY(!dialog.PathCombo()->itemIcon(0).isNull());
    QVERIFY(dialog.PathCombo()->currentText().isEmpty());
    QVERIFY(!dialog.OkButton()->isEnabled());
  }

  void MissingHistoryFileLeavesTheListEmpty() {
    CFileOpenAddressDlg dialog(m_dir->File("none.ini"), {});
    QCOMPARE(dialog.PathCombo()->count(), 0);
  }

  void OkOnlyForAnExistingPath() {
    const QString folder = Folder("photos");
    const QString file = folder + "/a.txt";
    std::ofstream(file.toStdString()) << "x";
    CFileOpenAddressDlg dialog(m_dir->File("none.ini"), {});
    QLineEdit* edit = dialog.PathCombo()->lineEdit();
    edit->setText(folder + "/missing");
    QVERIFY(!dialog.OkButton()->isEnabled());
    // Enter with OK disabled keeps the dialog open.
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(dialog.result(), 0);
    edit->setText(file);  // only existence counts
    QVERIFY(dialog.OkButton()->isEnabled());
    edit->setText(folder);
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(QString::fromStdString(dialog.GetPath()), folder);
  }

  void DropTakesTheLastFolderAndIgnoresFiles() {
    const QString one = Folder("one");
    const QString two = Folder("two");
    const QString file = one + "/photo.jpg";
    std::ofstream(file.toStdString()) << "x";
    CFileOpenAddressDlg dialog(m_dir->File("none.ini"), {});
    dialog.DropPaths({file});
    QVERIFY(dialog.PathCombo()->currentText().isEmpty());
    dialog.DropPaths({one, two, file});
    QCOMPARE(dialog.PathCombo()->currentText(), two);
    QVERIFY(dialog.OkButton()->isEnabled());
  }

  void BrowseStartsAtTheTextAndTakesTheChoice() {
    const QString start = Folder("start");
    const QString chosen = Folder("chosen");
    std::string seenStart;
    CFileOpenAddressDlg dialog(m_dir->File("none.ini"), [&](QWidget*, const std::string& from) {
      seenStart = from;
      return std::optional<std::string>(chosen.toStdString());
    });
    dialog.PathCombo()->setEditText(start);
    QTest::mouseClick(dialog.BrowseButton(), Qt::LeftButton);
    QCOMPARE(QString::fromStdString(seenStart), start);
    QCOMPARE(dialog.PathCombo()->currentText(), chosen);
  }

  void OkFromTheWindowListsTheFolderAndKeepsTheHistoryLimit() {
    fs::create_directories(m_dir->Path() / "settings");
    pictavo::app::AppServices services = pictavo::testing::TestServices(m_dir->File("settings"));
    pictavo::Settings settings;
    settings.General.AddressHistory = 2;
    QVERIFY(pictavo::SaveSettingsFile(services.settingsFilePath, settings, ""));
    HistoryFile({Folder("old1"), Folder("old2")});
    fs::rename(m_dir->File("History.ini"), services.historyFilePath);
    const QString photos = Folder("photos");
    pictavo::testing::WriteImage(m_dir->Path() / "photos" / "a.jpg", 40, 30,
                                 pictavo::testing::ImageFormat::Jpeg);
    pictavo::testing::WindowTestHost host;
    pictavo::app::CPictavoDlg window(host, services);
    window.Start();
    pictavo::app::testing::ModalAnswerer answerer;
    answerer.m_answer = [&](void* widget, const auto&) {
      auto* dialog = qobject_cast<CFileOpenAddressDlg*>(static_cast<QWidget*>(widget));
      if (!dialog) return false;
      dialog->PathCombo()->setEditText(photos);
      dialog->OkButton()->click();
      return true;
    };
    window.RunCommand(pictavo::app::Command::kOpenFolder);
    QCOMPARE(answerer.m_seen.size(), std::size_t(1));
    QCOMPARE(window.AddressText(), photos);
    QCOMPARE(window.List().RowCount(), 1);
    pictavo::app::AddressHistory history;
    QVERIFY(history.Load(services.historyFilePath));
    QCOMPARE(history.Entries(),
             (std::vector<std::string>{photos.toStdString(), Folder("old1").toStdString()}));
  }
};

QTEST_MAIN(FileOpenAddressDlgTest)
#include "FileOpenAddressDlgTest.moc"
