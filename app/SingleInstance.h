#pragma once

// One running copy of the program per settings folder. The first start takes a lock file in
// the settings folder and listens on a local socket beside it; a later start finds the lock
// taken, hands its command-line folders to the first copy over the socket, and ends. The kernel
// drops the lock when a process dies, so a crash never blocks the next start.

#include <QLocalServer>
#include <QObject>
#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace pictavo::app {

class SingleInstance final : public QObject {
  Q_OBJECT

 public:
  enum class Role {
    First,       // this process holds the lock and takes the requests of later starts
    HandedOver,  // another copy runs and took this start's folders: end now
    Alone,       // another copy holds the lock but could not be reached: run beside it
  };

  // name is the instance name, "PictavoApplication" or "PictavoApplicationPortable".
  SingleInstance(std::string settingsFolder, std::string name);
  ~SingleInstance() override;

  // Takes the lock, or hands paths to the copy that holds it, waiting at most wait for it.
  Role Start(const std::vector<std::string>& paths,
             std::chrono::milliseconds wait = std::chrono::seconds(5));

  // First copy: what to do with the folders of a later start (an empty list only brings the
  // window to the front). Requests that arrive earlier are kept until a handler is set.
  void SetHandler(std::function<void(const std::vector<std::string>&)> handler);
  // A request waits while this says the program is busy (inside a long loop or a modal
  // dialog), so listing never starts in the middle of other work.
  void SetBusyCheck(std::function<bool()> busy) { m_busy = std::move(busy); }

  std::string LockPath() const;
  std::string SocketPath() const;

 private:
  bool TakeLock();
  bool Listen();
  bool HandOver(const std::vector<std::string>& paths, std::chrono::milliseconds wait);
  void Accept();
  void Deliver();

  std::string m_settingsFolder;
  std::string m_name;
  int m_lockFd = -1;
  QLocalServer m_server;
  std::function<void(const std::vector<std::string>&)> m_handler;
  std::function<bool()> m_busy;
  std::deque<std::vector<std::string>> m_requests;
  bool m_deliveryScheduled = false;
};

// "PictavoApplication", with "Portable" appended for a portable installation.
std::string GetInstanceName(bool portable);

}  // namespace pictavo::app
