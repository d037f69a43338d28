#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/Application.h"
#include "app/Help.h"
#include "app/SingleInstance.h"
#include "app/SystemUtils.h"
#include "core/FileUtils.h"
#include "support/TestHost.h"

using namespace pictavo::app;
using pictavo::app::testing::TestHost;
namespace fs = std::filesystem;

namespace {

// A child that waits until it is killed.
pid_t StartSleeper() {
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::pause();
    ::_exit(0);
  }
  return pid;
}

void Stop(pid_t pid) {
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
}

void Write(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string Read(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

}  // namespace

class ApplicationTest : public QObject {
  Q_OBJECT

 private slots:
  void RestartWaitsOnlyForARunningProcessNamedFirst() {
    const pid_t ended = ::fork();
    if (ended == 0) ::_exit(0);
    ::waitpid(ended, nullptr, 0);
    const std::string endedId = std::to_string(ended);
    QVERIFY(WaitForEndingInstance({"/restart", endedId}, kRestartWait));
    QVERIFY(WaitForEndingInstance({"/RESTART", endedId, "/photos"}, kRestartWait));

    const pid_t running = StartSleeper();
    const std::string runningId = std::to_string(running);
    QVERIFY(!WaitForEndingInstance({"/restart", runningId}, std::chrono::milliseconds(50)));
    // Not the first argument, or no process id: no waiting at all.
    QVERIFY(WaitForEndingInstance({"/photos", "/restart", runningId}, kRestartWait));
    QVERIFY(WaitForEndingInstance({"/restart", "0"}, kRestartWait));
    Stop(running);
  }

  // The second start runs on another thread, as another process would: it blocks until the
  // first copy, on this thread, has taken its folders.
  void SecondStartHandsItsFoldersToTheFirst() {
    QTemporaryDir settings;
    const std::string folder = settings.filePath(QStringLiteral("設定 #1")).toStdString();
    const std::string name = GetInstanceName(false);
    std::vector<std::vector<std::string>> received;
    bool busy = true;
    {
      SingleInstance first(folder, name);
      QCOMPARE(first.Start({"ignored"}), SingleInstance::Role::First);
      first.SetBusyCheck([&busy] { return busy; });
      first.SetHandler(
          [&received](const std::vector<std::string>& paths) { received.push_back(paths); });

      // A stranger's bytes on the socket are dropped; the first copy keeps serving.
      QLocalSocket stranger;
      stranger.connectToServer(QString::fromStdString(first.SocketPath()));
      QVERIFY(stranger.waitForConnected(5000));
      stranger.write("GET / HTTP/1.0\r\n\r\n");
      QTRY_COMPARE(stranger.state(), QLocalSocket::UnconnectedState);

      SingleInstance::Role secondRole = SingleInstance::Role::First;
      std::atomic<bool> secondDone{false};
      std::thread second([&] {
        SingleInstance instance(folder, name);
        secondRole = instance.Start({"photos/旅行", "/srv/a\nb"}, std::chrono::seconds(20));
        secondDone = true;
      });
      while (!secondDone) QTest::qWait(10);
      second.join();
      QCOMPARE(secondRole, SingleInstance::Role::HandedOver);
      QTest::qWait(300);
      QVERIFY(received.empty());  // held while the program is busy
      busy = false;
      QTRY_COMPARE(received.size(), std::size_t{1});
      const std::string relative = (fs::current_path() / "photos/旅行").string();
      QCOMPARE(received[0], (std::vector<std::string>{relative, "/srv/a\nb"}));
    }
    // The lock went with the first copy: the next start is the first again.
    SingleInstance next(folder, name);
    QCOMPARE(next.Start({}), SingleInstance::Role::First);
  }

  void OldSettingsFolderMovesOnlyIntoAnExistingOne() {
    QTemporaryDir root;
    const fs::path old = root.filePath(QStringLiteral("old")).toStdString();
    const fs::path current = root.filePath(QStringLiteral("new")).toStdString();
    fs::create_directories(old / "sub");
    Write(old / "Pictavo.ini", "old settings");
    Write(old / "History.ini", "history");
    Write(old / "sub" / "x", "x");

    MoveOldSettingsFolder(old.string(), current.string());
    QVERIFY(fs::exists(old / "Pictavo.ini"));  // no new folder: nothing moves

    fs::create_directories(current);
    Write(current / "Pictavo.ini", "new settings");
    MoveOldSettingsFolder(old.string(), current.string());
    QCOMPARE(Read(current / "Pictavo.ini"), std::string("old settings"));
    QCOMPARE(Read(current / "History.ini"), std::string("history"));
    QCOMPARE(Read(current / "sub" / "x"), std::string("x"));
    QVERIFY(!fs::exists(old));
  }

  void HelpShipsBesideTheProgramAndAMissingGuideIsReported() {
    QVERIFY(pictavo::FileUtils::FileExists(GetHelpFilePath()));
    TestHost host;
    QVERIFY(ShowHelp(nullptr, host));
    QCOMPARE(host.m_opened, std::vector<std::string>{GetHelpFilePath()});

    QTemporaryDir empty;
    QVERIFY(!ShowHelpFile(host, empty.filePath(QStringLiteral("index.html")).toStdString()));
    QCOMPARE(
        host.MessageTexts(),
        std::vector<std::string>{"ヘルプファイルを開くことができませんでした。\r\n\r\n"
                                 "Pictavo が正しくインストールされていない可能性があります。\r\n"
                                 "Pictavo を再インストールしてください。"});
    QCOMPARE(host.m_messages[0].icon, pictavo::MessageIcon::Error);
    QCOMPARE(host.m_opened.size(), std::size_t{1});
  }

  void OsNameComesFromOsRelease() {
    QTemporaryDir dir;
    const fs::path pretty = dir.filePath(QStringLiteral("pretty")).toStdString();
    Write(pretty, "NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (\\\"x\\\")\"\n");
    QCOMPARE(pictavo::SystemUtils::GetOSNameFromFile(pretty.string()),
             std::string("Debian GNU/Linux 12 (\"x\")"));
    const fs::path plain = dir.filePath(QStringLiteral("plain")).toStdString();
    Write(plain, "# comment\nNAME=Alpine\nVERSION='3.19'\n");
    QCOMPARE(pictavo::SystemUtils::GetOSNameFromFile(plain.string()), std::string("Alpine 3.19"));
  }
};

QTEST_MAIN(ApplicationTest)
#include "ApplicationTest.moc"
