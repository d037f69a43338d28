#include "app/TerminationSignal.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>

namespace pictavo::app {

namespace {

int g_signalPipe[2] = {-1, -1};
QPointer<QWidget> g_window;

void OnSignal(int) {
  // Only async-signal-safe work here: the event loop does the rest.
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &byte, 1);
}

}  // namespace

void CloseOnTerminationSignal(QWidget* window) {
  g_window = window;
  if (g_signalPipe[0] >= 0) return;
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0) return;
  auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read);
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
    char byte = 0;
    [[maybe_unused]] const ssize_t read = ::read(g_signalPipe[0], &byte, 1);
    if (g_window) g_window->close();
  });
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

}  // namespace pictavo::app
