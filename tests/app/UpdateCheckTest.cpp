// The update check against a small HTTP server on 127.0.0.1 run by the test: every outcome of
// both modes, the address rule, the date record, cancel, and who may update.

#include <QDate>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTreeWidget>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/SystemUtils.h"
#include "app/UpdateCheck.h"
#include "app/UpdatesDlg.h"
#include "app/UpdatesFuncs.h"
#include "core/StringUtils.h"
#include "support/Fixtures.h"
#include "support/TestHost.h"

using pictavo::MessageIcon;
using pictavo::app::CUpdateCheck;
using pictavo::app::UpdateCheckConfig;
using pictavo::app::testing::TestHost;
using pictavo::testing::TempDir;
namespace UpdatesFuncs = pictavo::app::UpdatesFuncs;

namespace {

// Answers every request with one body, or (silent) reads the request and never answers.
class UpdateServer final : public QTcpServer {
 public:
  UpdateServer() {
    connect(this, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* socket = nextPendingConnection()) {
        m_sockets.push_back(socket);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Answer(socket); });
      }
    });
    listen(QHostAddress::LocalHost);
  }
  std::string Url() const {
    return "http://127.0.0.1:" + std::to_string(serverPort()) + "/updates/pictavo.json";
  }
  QByteArray m_body;
  bool m_silent = false;
  int m_requests = 0;
  QList<QPointer<QTcpSocket>> m_sockets;

 private:
  void Answer(QTcpSocket* socket) {
    m_request += socket->readAll();
    if (!m_request.contains("\r\n\r\n")) return;
    m_request.clear();
    ++m_requests;
    if (m_silent) return;
    socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
                  QByteArray::number(m_body.size()) + "\r\nConnection: close\r\n\r\n" + m_body);
    socket->disconnectFromHost();
  }
  QByteArray m_request;
};

QByteArray Document(const char* product, const char* version) {
  return QByteArray("{\"product\": \"") + product + "\", \"version\": \"" + version +
         "\", \"download\": \"https://www.ostrel.example/download?product=pictavo\", "
         "\"details\": \"https://www.ostrel.example/history\", \"changes\": ["
         "{\"kind\": 0, \"text\": \"新しい表示\"}, {\"kind\": 2, \"text\": \"修正\"}]}";
}

std::string Today() {
  return QDate::currentDate().toString(Qt::ISODate).toStdString();
}

std::string Str(int id) {
  return pictavo::StringUtils::GetLoadString(id);
}

}  // namespace

class UpdateCheckTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TempDir> m_dir;
  std::unique_ptr<UpdateServer> m_server;
  TestHost m_host;
  UpdateCheckConfig m_config;
  std::vector<UpdatesFuncs::UpdatesInformation> m_asked;
  bool m_answerYes = true;

  // Runs one check to its end.
  void Run(bool manual) {
    CUpdateCheck check(m_host, m_config, nullptr);
    QSignalSpy finished(&check, &CUpdateCheck::Finished);
    check.Start(manual, 7);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 15000);
    QVERIFY(!check.IsRunning());
  }

  void SetCheckedLongAgo() {
    QVERIFY(UpdatesFuncs::SaveCheckForUpdatesDate(m_config.dateFilePath, QDate(2000, 1, 1)));
  }

 private slots:
  void init() {
    m_dir = std::make_unique<TempDir>();
    m_server = std::make_unique<UpdateServer>();
    m_host = TestHost();
    m_asked.clear();
    m_answerYes = true;
    m_config = UpdateCheckConfig();
    m_config.url = m_server->Url();
    m_config.agreeIgnoreServer = true;
    m_config.dateFilePath = m_dir->File("Updates.ini");
    m_config.productName = "Pictavo";
    m_config.runningVersion = "1.9.2";
    m_config.edition = "Standard";
    m_config.os = "Debian GNU/Linux 12 (bookworm)";
    m_config.timeout = std::chrono::milliseconds(400);
    m_config.isAdministratorRights = [] { return true; };
    m_config.askDownload = [this](QWidget*, const UpdatesFuncs::UpdatesInformation& info,
                                  const auto&) {
      m_asked.push_back(info);
      return m_answerYes;
    };
    SetCheckedLongAgo();
  }
  void cleanup() {
    m_server.reset();
    m_dir.reset();
  }

  void NewerVersionAsksAndYesOpensTheEncodedAddress_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
  }
  void NewerVersionAsksAndYesOpensTheEncodedAddress() {
    QFETCH(bool, yes);
    m_answerYes = yes;
    m_server->m_body = Document("pictavo", "1.10.0");  // 10 > 9: numbers, not text
    Run(false);
    QCOMPARE(m_asked.size(), std::size_t(1));
    QCOMPARE(m_asked[0].version, std::string("1.10.0"));
    QCOMPARE(m_asked[0].items.size(), std::size_t(2));
    QCOMPARE(m_asked[0].items[1].kind, 2);
    const std::vector<std::string> opened =
        yes ? std::vector<std::string>{"https://www.ostrel.example/download?product=pictavo"
                                       "&version=1.9.2&edition=Standard"
                                       "&os=Debian%20GNU%2FLinux%2012%20%28bookworm%29"}
            : std::vector<std::string>{};
    QCOMPARE(m_host.m_opened, opened);
    QVERIFY(m_host.m_messages.empty());
    QCOMPARE(m_host.m_progressWindows.size(), std::size_t(1));
    QCOMPARE(m_host.m_progressWindows[0]->m_texts[0].back(), Str(10145));
    QCOMPARE(UpdatesFuncs::LoadCheckForUpdatesDate(m_config.dateFilePath), Today());
  }

  void SameVersionIsToldOnlyInManualMode() {
    m_server->m_body = Document("Pictavo", "1.9.2");
    Run(false);
    QVERIFY(m_host.m_messages.empty());
    SetCheckedLongAgo();
    Run(true);
    QCOMPARE(m_host.MessageTexts(),
             std::vector<std::string>{"このバージョンの Pictavo (1.9.2) は、最新バージョンです。"});
    QCOMPARE(m_host.m_messages[0].icon, MessageIcon::Information);
    QVERIFY(m_asked.empty());
  }

  void FailuresAreToldOnlyInManualMode_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("server");  // 0 answers, 1 never answers, 2 is gone
    QTest::newRow("malformed") << QByteArray("{\"product\": \"Pictavo\", \"version\": ") << 0;
    QTest::newRow("no version") << QByteArray("{\"product\": \"Pictavo\"}") << 0;
    QTest::newRow("not json") << QByteArray("<html>Not found</html>") << 0;
    QTest::newRow("slow server") << QByteArray() << 1;
    QTest::newRow("dead server") << QByteArray() << 2;
  }
  void FailuresAreToldOnlyInManualMode() {
    QFETCH(QByteArray, body);
    QFETCH(int, server);
    m_server->m_body = body;
    m_server->m_silent = server == 1;
    if (server == 2) m_server->close();
    for (const bool manual : {false, true}) {
      m_host.m_messages.clear();
      Run(manual);
      const std::vector<std::string> expected =
          manual ? std::vector<std::string>{Str(10232)} : std::vector<std::string>{};
      QCOMPARE(m_host.MessageTexts(), expected);
      if (manual) QCOMPARE(m_host.m_messages[0].icon, MessageIcon::Warning);
      QVERIFY(m_host.m_progressWindows.back()->IsDestroyed());
    }
    QCOMPARE(UpdatesFuncs::LoadCheckForUpdatesDate(m_config.dateFilePath),
             std::string("2000-01-01"));
    QVERIFY(m_asked.empty());
  }

  void OtherProductIsSilent() {
    m_server->m_body = Document("Another", "99.0");
    Run(true);
    QVERIFY(m_host.m_messages.empty());
    QVERIFY(m_asked.empty());
    QCOMPARE(UpdatesFuncs::LoadCheckForUpdatesDate(m_config.dateFilePath), Today());
  }

  void AddressOnAnotherHostNeedsAgreement() {
    m_config.agreeIgnoreServer = false;
    Run(false);
    const std::string expected =
        "ソフトウェアの更新を確認できませんでした。\r\n\r\nPictavo "
        "が正しくインストールされていない可能性があります。\r\nPictavo "
        "を再インストールしてください。";
    QCOMPARE(m_host.MessageTexts(), std::vector<std::string>{expected});
    QCOMPARE(m_host.m_messages[0].icon, MessageIcon::Error);
    QCOMPARE(m_server->m_requests, 0);
    // The program's own address needs none, but plain HTTP there is refused.
    QVERIFY(UpdatesFuncs::IsServerMatch(UpdatesFuncs::kDefaultCheckForUpdatesUrl,
                                        UpdatesFuncs::kUpdateServerHost));
    m_host.m_messages.clear();
    m_config.url = "http://WWW.OSTREL.example/updates/pictavo.json";
    Run(true);
    QCOMPARE(m_host.MessageTexts(), std::vector<std::string>{Str(10232)});
  }

  void OnlyAnAddressFromTheEnvironmentIsAgreed() {
    qunsetenv(UpdatesFuncs::kUpdateUrlVariable);
    QCOMPARE(UpdatesFuncs::GetCheckForUpdatesUrl(),
             std::string(UpdatesFuncs::kDefaultCheckForUpdatesUrl));
    QCOMPARE(UpdatesFuncs::GetAgreeIgnoreServer(), 0);
    qputenv(UpdatesFuncs::kUpdateUrlVariable, m_server->Url().c_str());
    const UpdateCheckConfig config = UpdateCheckConfig::Defaults();
    qunsetenv(UpdatesFuncs::kUpdateUrlVariable);
    QCOMPARE(config.url, m_server->Url());
    QVERIFY(config.agreeIgnoreServer);
  }

  void FirstRunRecordsOnlyTheDate() {
    std::filesystem::remove(m_config.dateFilePath);
    m_server->m_body = Document("Pictavo", "5.0");
    Run(false);
    QCOMPARE(UpdatesFuncs::LoadCheckForUpdatesDate(m_config.dateFilePath), Today());
    QCOMPARE(m_server->m_requests, 0);
    QVERIFY(m_host.m_progressWindows.empty());
    // Within the period an automatic check stays quiet; a manual one goes on.
    Run(false);
    QCOMPARE(m_server->m_requests, 0);
    Run(true);
    QCOMPARE(m_server->m_requests, 1);
  }

  void CancelEndsTheRequestSilently() {
    m_server->m_silent = true;
    m_config.timeout = std::chrono::seconds(60);
    CUpdateCheck check(m_host, m_config, nullptr);
    QSignalSpy finished(&check, &CUpdateCheck::Finished);
    check.Start(true, 7);
    QTRY_COMPARE_WITH_TIMEOUT(m_server->m_requests, 1, 10000);
    QVERIFY(check.IsRunning());
    m_host.m_progressWindows[0]->Cancel();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    // The connection was dropped, not left waiting for the answer.
    QTRY_VERIFY_WITH_TIMEOUT(!m_server->m_sockets[0] || m_server->m_sockets[0]->state() ==
                                                            QAbstractSocket::UnconnectedState,
                             10000);
    QVERIFY(m_host.m_messages.empty());
  }

  void NoRightsChecksNothing() {
    m_config.isAdministratorRights = [] { return false; };
    Run(true);
    QVERIFY(m_host.m_messages.empty());
    QCOMPARE(m_server->m_requests, 0);
  }

  void PackageManagedProgramMayNotUpdate() {
    const std::string program = m_dir->File("bin/pictavo");
    std::filesystem::create_directories(m_dir->Path() / "bin");
    std::ofstream(program) << "#!/bin/sh\n";
    const std::string info = m_dir->File("dpkg-info");
    std::filesystem::create_directories(info);
    std::ofstream(info + "/other.list") << "/.\n/usr/bin/other\n";
    QVERIFY(pictavo::SystemUtils::IsAdministratorRightsForUpdates(program, info));
    std::ofstream(info + "/pictavo.list") << "/.\n/usr\n" << program << "\n";
    QVERIFY(!pictavo::SystemUtils::IsAdministratorRightsForUpdates(program, info));
    QVERIFY(!pictavo::SystemUtils::IsAdministratorRightsForUpdates(m_dir->File("bin/missing"),
                                                                   m_dir->File("no-dpkg")));
  }

  void DetailsDialogListsTheChangesWithTheirIcons() {
    UpdatesFuncs::UpdatesInformation info;
    QVERIFY(UpdatesFuncs::ParseUpdatesInformation(Document("Pictavo", "2.0"), &info));
    info.items.push_back({7, "ほか"});
    std::vector<std::string> links;
    pictavo::app::CUpdatesMoreInfoDlg details(
        info, [&](const std::string& url) { links.push_back(url); });
    QCOMPARE(details.Changes()->topLevelItemCount(), 3);
    QCOMPARE(details.Changes()->topLevelItem(0)->text(1), QStringLiteral("新しい表示"));
    QVERIFY(!details.Changes()->topLevelItem(0)->icon(0).isNull());
    QVERIFY(details.Changes()->topLevelItem(2)->icon(0).isNull());
    QVERIFY(details.Text()->text().startsWith(
        QStringLiteral("最新の Pictavo のバージョンは、2.0 です。")));
    emit details.Link()->linkActivated(QStringLiteral("x"));
    QCOMPARE(links, std::vector<std::string>{"https://www.ostrel.example/history"});

    pictavo::app::CMessageUpdatesQuestionDlg question(info, {});
    QCOMPARE(question.Text()->text(),
             QStringLiteral(
                 "新しいバージョンの Pictavo (2.0) を利用できます。\n今すぐダウンロードしますか?"));
    QTimer::singleShot(0, question.YesButton(), &QPushButton::click);
    QCOMPARE(question.exec(), pictavo::app::CMessageUpdatesQuestionDlg::kYes);
  }
};

QTEST_MAIN(UpdateCheckTest)
#include "UpdateCheckTest.moc"
