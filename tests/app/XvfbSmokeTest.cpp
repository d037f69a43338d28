// Starts the real pictavo binary under Xvfb on a generated folder, lets it list the folder,
// closes it as a session end does (SIGTERM) and checks the files it writes on close.

#include <signal.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>
#include <filesystem>

#include "core/Profile.h"
#include "support/Fixtures.h"

namespace {

namespace fs = std::filesystem;

// The pictavo process among the descendants of pid (xvfb-run starts it through a shell).
qint64 FindProgram(qint64 pid) {
  QFile children(QStringLiteral("/proc/%1/task/%1/children").arg(pid));
  if (!children.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& child : children.readAll().split(' ')) {
    const qint64 childPid = child.trimmed().toLongLong();
    if (childPid <= 0) continue;
    QFile comm(QStringLiteral("/proc/%1/comm").arg(childPid));
    if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "pictavo") return childPid;
    if (const qint64 found = FindProgram(childPid)) return found;
  }
  return 0;
}

}  // namespace

class XvfbSmokeTest : public QObject {
  Q_OBJECT

 private slots:
  void ListsTheFolderAndWritesItsFilesOnClose() {
    if (QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty())
      QSKIP("xvfb-run is not installed");
    pictavo::testing::TempDir dir;
    const fs::path photos = dir / "photos";
    fs::create_directories(photos);
    for (const char* name : {"one.jpg", "two.jpg", "three.jpg"})
      pictavo::testing::WriteImage(photos / name, 64, 48, pictavo::testing::ImageFormat::Jpeg);

    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       QString::fromStdString(dir.File("config")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), QString::fromStdString(dir.File("cache")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("QT_LOGGING_RULES"),
                       QStringLiteral("pictavo.window.info=true"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(
        QStringLiteral("xvfb-run"),
        {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1280x800x24"),
         QStringLiteral(PICTAVO_BIN_DIR "/pictavo"), QString::fromStdString(photos.string())});
    QVERIFY(process.waitForStarted(10000));

    QByteArray output;
    const QByteArray listed =
        "listed 3 items from " + QByteArray::fromStdString(photos.string()) + " in ";
    QDeadlineTimer deadline(60000);
    while (!output.contains(listed) && !deadline.hasExpired() &&
           process.state() == QProcess::Running) {
      process.waitForReadyRead(500);
      output += process.readAll();
    }
    QVERIFY2(output.contains(listed), output.constData());

    const qint64 program = FindProgram(process.processId());
    QVERIFY(program > 0);
    QCOMPARE(::kill(static_cast<pid_t>(program), SIGTERM), 0);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);

    pictavo::Profile settings;
    QVERIFY(settings.Load(dir.File("config") + "/Pictavo/Pictavo.ini"));
    QCOMPARE(QString::fromStdString(settings.GetString("Settings", "WindowPos", "")).count(','), 9);
    pictavo::Profile history;
    QVERIFY(history.Load(dir.File("config") + "/Pictavo/History.ini"));
    QCOMPARE(history.GetString("Recent File List", "File1", ""), photos.string());
    QCOMPARE(history.GetString("Recent File List", "Last File", ""), photos.string());
  }
};

QTEST_MAIN(XvfbSmokeTest)
#include "XvfbSmokeTest.moc"
