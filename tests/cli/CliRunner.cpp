#include "CliRunner.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <functional>
#include <map>
#include <stdexcept>

#include "support/AlbumChecks.h"
#include "support/Fixtures.h"

extern char** environ;

namespace pictavo::testing {

namespace {

void ReadAll(int outFd, int errFd, std::string& out, std::string& err,
             const std::function<void()>& onErr) {
  pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
  std::string* sinks[2] = {&out, &err};
  int open = 2;
  char buffer[8192];
  while (open > 0) {
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<size_t>(n));
        if (i == 1) onErr();
      } else if (n == 0 || errno != EINTR) {
        // A pseudo terminal reports EIO once the child has closed its side.
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
}

}  // namespace

CliResult RunCli(const CliRun& run) {
  const std::string binary =
      run.binary.empty() ? std::string(PICTAVO_BIN_DIR) + "/pictavo-cli" : run.binary;
  std::vector<std::string> argvText = {binary};
  argvText.insert(argvText.end(), run.args.begin(), run.args.end());
  std::vector<char*> argv;
  for (auto& a : argvText) argv.push_back(a.data());
  argv.push_back(nullptr);

  std::map<std::string, std::string> envMap;
  const auto put = [&envMap](const std::string& entry) {
    const auto at = entry.find('=');
    if (at != std::string::npos) envMap[entry.substr(0, at)] = entry.substr(at + 1);
  };
  for (char** e = environ; *e != nullptr; ++e) put(*e);
  put("TERM=xterm");
  if (!run.home.empty()) {
    put("HOME=" + run.home);
    put("XDG_CONFIG_HOME=" + run.home + "/config");
    put("XDG_CACHE_HOME=" + run.home + "/cache");
    put("XDG_DOCUMENTS_DIR=" + run.home + "/Documents");
  }
  for (const std::string& entry : run.env) put(entry);
  std::vector<std::string> envText;
  for (const auto& [name, value] : envMap) envText.push_back(name + "=" + value);
  std::vector<char*> envp;
  for (auto& e : envText) envp.push_back(e.data());
  envp.push_back(nullptr);

  int outPipe[2];
  int errPair[2];  // [0] our end, [1] the child's
  if (pipe2(outPipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  if (run.stderrTerminal) {
    if (openpty(&errPair[0], &errPair[1], nullptr, nullptr, nullptr) != 0) {
      throw std::runtime_error("openpty failed");
    }
    fcntl(errPair[0], F_SETFD, FD_CLOEXEC);
    fcntl(errPair[1], F_SETFD, FD_CLOEXEC);
  } else if (pipe2(errPair, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe failed");
  }

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, errPair[1], 2);
  if (!run.cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, run.cwd.c_str());
  pid_t pid = -1;
  const int spawned =
      posix_spawn(&pid, binary.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(outPipe[1]);
  close(errPair[1]);
  CliResult result;
  if (spawned != 0) {
    close(outPipe[0]);
    close(errPair[0]);
    result.err = "spawn failed";
    return result;
  }
  bool signalled = false;
  ReadAll(outPipe[0], errPair[0], result.out, result.err, [&] {
    if (run.signal == 0 || signalled) return;
    if (result.err.find(run.signalWhen) == std::string::npos) return;
    kill(pid, run.signal);
    signalled = true;
  });
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string SandboxSettingsFile(const std::string& home) {
  return home + "/config/Pictavo/Pictavo.ini";
}

bool HasEscapeCode(const std::string& text) {
  return text.find('\x1b') != std::string::npos;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

std::filesystem::path PrintedPage(const CliResult& result) {
  if (result.out.empty() || result.out.back() != '\n') return {};
  const std::string line = result.out.substr(0, result.out.size() - 1);
  return line.find('\n') == std::string::npos ? std::filesystem::path(line)
                                              : std::filesystem::path();
}

std::string AllPagesText(const std::filesystem::path& albumRoot) {
  std::string text;
  for (const auto& page : FindAlbumPages(albumRoot)) text += ReadFileBytes(page);
  return text;
}

}  // namespace pictavo::testing
