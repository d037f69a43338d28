#include "app/Application.h"

#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cerrno>
#include <climits>
#include <filesystem>
#include <system_error>
#include <thread>

#include "app/AppServices.h"
#include "app/PictavoDlg.h"
#include "app/QtHost.h"
#include "app/SingleInstance.h"
#include "core/FileUtils.h"
#include "core/PathUtils.h"
#include "core/StringUtils.h"

namespace pictavo::app {

namespace {

namespace fs = std::filesystem;

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The process id of a leading "/restart PID", or 0.
pid_t RestartProcessId(const std::vector<std::string>& arguments) {
  if (arguments.size() < 2 || !EqualsIgnoringCase(arguments[0], "/restart")) return 0;
  const std::uint32_t id = StringUtils::StringToDWORDNumber(arguments[1]);
  if (id == 0 || id > static_cast<std::uint32_t>(INT_MAX)) return 0;
  return static_cast<pid_t>(id);
}

// Waits on a process that is not our child: a pidfd turns readable when it ends. Kernels
// without pidfds are polled.
bool WaitForProcessEnd(pid_t pid, std::chrono::milliseconds limit) {
  const int fd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
  if (fd >= 0) {
    pollfd ready{fd, POLLIN, 0};
    int result = 0;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    do {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      result = ::poll(&ready, 1, static_cast<int>(std::max<std::int64_t>(left.count(), 0)));
    } while (result < 0 && errno == EINTR);
    ::close(fd);
    return result > 0;
  }
  if (errno == ESRCH) return true;  // already gone
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (::kill(pid, 0) == 0 || errno == EPERM) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return true;
}

void LoadQtTranslation(QApplication& application) {
  // Qt's own texts of standard dialogs and buttons in Japanese, whatever the user's locale.
  auto* translator = new QTranslator(&application);
  if (translator->load(QStringLiteral("qtbase_ja"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(translator);
  }
}

void BringToFront(QWidget& window) {
  if (window.isMinimized()) window.showNormal();
  window.show();
  window.raise();
  window.activateWindow();
}

}  // namespace

bool WaitForEndingInstance(const std::vector<std::string>& arguments,
                           std::chrono::milliseconds limit) {
  const pid_t pid = RestartProcessId(arguments);
  if (pid == 0 || pid == ::getpid()) return true;
  return WaitForProcessEnd(pid, limit);
}

void MoveOldSettingsFolder(const std::string& oldFolder, const std::string& newFolder) {
  if (!FileUtils::IsDirectory(oldFolder) || !FileUtils::IsDirectory(newFolder)) return;
  std::error_code ec;
  const fs::path target(newFolder);
  for (fs::directory_iterator it(oldFolder, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path& from = it->path();
    const fs::path to = target / from.filename();
    std::error_code moveEc;
    fs::rename(from, to, moveEc);
    // Another file system: a file is copied and then removed, as a move across volumes is.
    if (moveEc == std::errc::cross_device_link && fs::is_regular_file(from, moveEc)) {
      if (fs::copy_file(from, to, fs::copy_options::overwrite_existing, moveEc)) {
        fs::remove(from, moveEc);
      }
    }
  }
  fs::remove(oldFolder, ec);  // only an emptied folder goes
}

int RunApplication(int argc, char* argv[]) {
  const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
  if (!WaitForEndingInstance(arguments, kRestartWait)) return 1;

  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromStdString(StringUtils::GetLoadString(57344)));
  QApplication::setDesktopFileName(QStringLiteral(PICTAVO_APP_ID));
  LoadQtTranslation(application);

  AppServices services = AppServices::Defaults();
  services.commandLinePaths = CommandLinePaths(arguments);

  const std::string settingsFolder = PathUtils::GetApplicationSettingsPath();
  // The old folder is moved only into a settings folder that was there before this start.
  const bool settingsFolderExisted = FileUtils::IsDirectory(settingsFolder);
  SingleInstance instance(settingsFolder, GetInstanceName(PathUtils::IsPortableVersion()));
  if (instance.Start(services.commandLinePaths) == SingleInstance::Role::HandedOver) return 0;
  if (settingsFolderExisted) {
    MoveOldSettingsFolder(PathUtils::GetOldApplicationSettingsPath(), settingsFolder);
  }

  QtHost host;
  CPictavoDlg window(host, services);
  host.SetWindow(&window);
  instance.SetBusyCheck([&host] {
    return host.GetQtPump().IsPumping() || QApplication::activeModalWidget() != nullptr;
  });
  instance.SetHandler([&window](const std::vector<std::string>& paths) {
    window.OpenFolders(paths);
    BringToFront(window);
  });
  window.show();
  return application.exec();
}

}  // namespace pictavo::app
