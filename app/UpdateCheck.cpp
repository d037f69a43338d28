#include "app/UpdateCheck.h"

#include <QDate>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include "app/SystemUtils.h"
#include "app/UpdatesDlg.h"
#include "app/VersionUtils.h"
#include "core/FileUtils.h"
#include "core/Host.h"
#include "core/PathUtils.h"
#include "core/StringUtils.h"

namespace pictavo::app {

namespace {

// An update document is a few kilobytes; more is not one.
constexpr qint64 kMaxDocumentBytes = 1024 * 1024;
constexpr int kCancelPollMs = 50;

std::string Fill(int stringId, std::initializer_list<std::string> values) {
  std::string text = StringUtils::GetLoadString(stringId);
  for (const std::string& value : values) {
    const std::size_t at = text.find("%s");
    if (at == std::string::npos) break;
    text.replace(at, 2, value);
  }
  return text;
}

}  // namespace

UpdateCheckConfig UpdateCheckConfig::Defaults() {
  UpdateCheckConfig config;
  config.url = UpdatesFuncs::GetCheckForUpdatesUrl();
  config.agreeIgnoreServer = UpdatesFuncs::GetAgreeIgnoreServer() != 0;
  config.dateFilePath =
      FileUtils::GetCombinePath(PathUtils::GetApplicationSettingsPath(), "Updates.ini");
  config.productName = VersionUtils::GetProductName();
  config.runningVersion = VersionUtils::GetStringProductVersion();
  config.edition = PathUtils::IsPortableVersion() ? "Portable" : "Standard";
  config.os = SystemUtils::GetWindowsString();
  // The program's files do not change owner while it runs: ask once.
  const bool rights = SystemUtils::IsAdministratorRightsForUpdates();
  config.isAdministratorRights = [rights] { return rights; };
  config.askDownload = [](QWidget* owner, const UpdatesFuncs::UpdatesInformation& info,
                          const OpenLink& openLink) {
    CMessageUpdatesQuestionDlg dialog(info, openLink, owner);
    return dialog.exec() == CMessageUpdatesQuestionDlg::kYes;
  };
  return config;
}

CUpdateCheck::CUpdateCheck(Host& host, UpdateCheckConfig config, QWidget* owner)
    : QObject(owner), m_host(host), m_config(std::move(config)), m_owner(owner) {
  m_network = new QNetworkAccessManager(this);
  m_timeout = new QTimer(this);
  m_timeout->setSingleShot(true);
  m_cancelPoll = new QTimer(this);
  m_cancelPoll->setInterval(kCancelPollMs);
  connect(m_timeout, &QTimer::timeout, this, [this] {
    if (m_reply) m_reply->abort();  // reported as a failure by OnReply
  });
  connect(m_cancelPoll, &QTimer::timeout, this, &CUpdateCheck::OnCancelPoll);
}

CUpdateCheck::~CUpdateCheck() {
  if (m_reply) {
    m_reply->disconnect(this);
    m_reply->abort();
  }
}

bool CUpdateCheck::IsAllowed() const {
  return m_config.isAdministratorRights && m_config.isAdministratorRights();
}

void CUpdateCheck::Start(bool manual, int checkPeriodDays) {
  if (m_running) return;
  m_running = true;
  m_manual = manual;
  if (!IsAllowed()) return End();
  const QDate today = QDate::currentDate();
  const std::string checked = UpdatesFuncs::LoadCheckForUpdatesDate(m_config.dateFilePath);
  // The first automatic check after installation waits one full period.
  if (checked.empty()) UpdatesFuncs::SaveCheckForUpdatesDate(m_config.dateFilePath, today);
  if (!manual && !UpdatesFuncs::IsDateIntervalCheckForUpdates(
                     checked.empty() ? today.toString(Qt::ISODate).toStdString() : checked,
                     checkPeriodDays, today))
    return End();
  if (!m_config.agreeIgnoreServer &&
      !UpdatesFuncs::IsServerMatch(m_config.url, UpdatesFuncs::kUpdateServerHost)) {
    m_host.ShowMessage(Fill(10251, {m_config.productName, m_config.productName}),
                       MessageIcon::Error, MessageButtons::Ok);
    return End();
  }
  m_progress = m_host.CreateProgressWindow(ProgressKind::Items);
  m_progress->SetText(0, StringUtils::GetLoadString(10145));
  m_progress->Show();
  Request();
}

void CUpdateCheck::Request() {
  const QUrl url(QString::fromStdString(m_config.url));
  // Plain HTTP only for an address given on purpose (tests, packagers).
  const bool schemeOk = url.scheme() == QLatin1String("https") ||
                        (m_config.agreeIgnoreServer && url.scheme() == QLatin1String("http"));
  if (!url.isValid() || !schemeOk) return Fail();
  QNetworkRequest request(url);
  request.setHeader(QNetworkRequest::UserAgentHeader,
                    QString::fromStdString(m_config.productName + "/" + m_config.runningVersion));
  m_reply = m_network->get(request);
  connect(m_reply, &QNetworkReply::finished, this, &CUpdateCheck::OnReply);
  connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64) {
    if (received > kMaxDocumentBytes && m_reply) m_reply->abort();
  });
  m_timeout->start(m_config.timeout);
  m_cancelPoll->start();
}

void CUpdateCheck::OnCancelPoll() {
  if (!m_progress || !m_progress->IsCancelled()) return;
  // Cancelled: the request ends now and nobody is told.
  m_timeout->stop();
  m_cancelPoll->stop();
  if (m_reply) {
    QNetworkReply* reply = m_reply;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
  }
  End();
}

void CUpdateCheck::OnReply() {
  m_timeout->stop();
  m_cancelPoll->stop();
  QNetworkReply* reply = m_reply;
  reply->deleteLater();
  if (m_progress && m_progress->IsCancelled()) return End();
  const bool ok = reply->error() == QNetworkReply::NoError;
  UpdatesFuncs::UpdatesInformation info;
  if (!ok || !UpdatesFuncs::ParseUpdatesInformation(reply->read(kMaxDocumentBytes), &info))
    return Fail();
  if (m_progress) m_progress->Destroy();
  UpdatesFuncs::SaveCheckForUpdatesDate(m_config.dateFilePath, QDate::currentDate());
  if (QString::fromStdString(info.productName)
          .compare(QString::fromStdString(m_config.productName), Qt::CaseInsensitive) != 0)
    return End();
  Show(info);
  End();
}

void CUpdateCheck::Fail() {
  if (m_progress) m_progress->Destroy();
  if (m_manual)
    m_host.ShowMessage(StringUtils::GetLoadString(10232), MessageIcon::Warning, MessageButtons::Ok);
  End();
}

void CUpdateCheck::Show(const UpdatesFuncs::UpdatesInformation& info) {
  if (!UpdatesFuncs::CheckForUpdates(info.version, m_config.runningVersion)) {
    if (m_manual)
      m_host.ShowMessage(Fill(10281, {m_config.productName, m_config.runningVersion}),
                         MessageIcon::Information, MessageButtons::Ok);
    return;
  }
  const auto open = [this](const std::string& url) {
    std::string error;
    if (!m_host.OpenWithDesktop(url, &error))
      m_host.ShowMessage(error, MessageIcon::Error, MessageButtons::Ok);
  };
  if (!m_config.askDownload || !m_config.askDownload(m_owner, info, open)) return;
  // Nothing to open: asking the desktop for an empty address only fails.
  if (info.downloadUrl.empty()) return;
  open(UpdatesFuncs::GetDownloadUrlWithQuery(info.downloadUrl, m_config.runningVersion,
                                             m_config.edition, m_config.os));
}

void CUpdateCheck::End() {
  m_progress.reset();
  m_reply = nullptr;
  m_running = false;
  emit Finished();
}

}  // namespace pictavo::app
