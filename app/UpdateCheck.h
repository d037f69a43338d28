#pragma once

// The update check, automatic (at start-up, once its period has passed) or manual (the menu
// command): the rights and date rules, the address rule, the progress window with Cancel, the
// request over the network without blocking the interface thread, and what the user is told.

#include <QObject>
#include <QPointer>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "app/UpdatesFuncs.h"

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;
class QWidget;

namespace pictavo {
class Host;
class ProgressWindow;
}  // namespace pictavo

namespace pictavo::app {

struct UpdateCheckConfig {
  std::string url;                 // where the update information is fetched
  bool agreeIgnoreServer = false;  // the address may name another host (and plain HTTP)
  std::string dateFilePath;        // the record of the last successful check
  std::string productName;
  std::string runningVersion;
  std::string edition;
  std::string os;
  // A slow or dead server ends the check after this long.
  std::chrono::milliseconds timeout{std::chrono::seconds(20)};
  std::function<bool()> isAdministratorRights;
  // The question "新しいバージョン ... ダウンロードしますか?": true for "はい".
  std::function<bool(QWidget* owner, const UpdatesFuncs::UpdatesInformation& info,
                     const std::function<void(const std::string& url)>& openLink)>
      askDownload;

  // The program's own: the address from the environment variable when it is set (and then
  // agreed), else the built-in one; the date file in the settings folder; the real dialogs.
  static UpdateCheckConfig Defaults();
};

class CUpdateCheck final : public QObject {
  Q_OBJECT

 public:
  CUpdateCheck(Host& host, UpdateCheckConfig config, QWidget* owner);
  ~CUpdateCheck() override;

  // Starts a check and returns at once; Finished is emitted when it has ended (at once when it
  // stops before the network). Ignored while a check runs.
  void Start(bool manual, int checkPeriodDays);
  bool IsRunning() const { return m_running; }
  bool IsAllowed() const;
  const UpdateCheckConfig& Config() const { return m_config; }

 signals:
  void Finished();

 private:
  void Request();
  void OnReply();
  void OnCancelPoll();
  void Fail();
  void Show(const UpdatesFuncs::UpdatesInformation& info);
  void End();

  Host& m_host;
  UpdateCheckConfig m_config;
  QPointer<QWidget> m_owner;
  QNetworkAccessManager* m_network = nullptr;
  QPointer<QNetworkReply> m_reply;
  QTimer* m_timeout = nullptr;
  QTimer* m_cancelPoll = nullptr;
  std::unique_ptr<ProgressWindow> m_progress;
  bool m_manual = false;
  bool m_running = false;
};

}  // namespace pictavo::app
