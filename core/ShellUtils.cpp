#include "core/ShellUtils.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <thread>
#include <vector>

extern char** environ;

namespace pictavo::ShellUtils {

namespace {

constexpr std::chrono::seconds kDesktopOpenerWait{10};

bool Fail(std::string* error, const std::string& text) {
  if (error != nullptr) *error = text;
  return false;
}

// A relative name starting with "-" would be taken for an option.
std::string SafeArgument(const std::string& target) {
  return !target.empty() && target.front() == '-' ? "./" + target : target;
}

// Starts program with one argument; the child's id in *pid, or an errno value.
int Spawn(const std::string& program, const std::string& argument, pid_t* pid) {
  std::string arg0 = program;
  std::string arg1 = SafeArgument(argument);
  std::vector<char*> argv = {arg0.data(), arg1.data(), nullptr};
  return posix_spawnp(pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
}

// Reaps the child whenever it ends, so no zombie is left behind a program that runs on.
void ReapLater(pid_t pid) {
  std::thread([pid] {
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

std::string SpawnFailure(const std::string& program, int code) {
  return "\"" + program + "\" could not be started: " + std::generic_category().message(code);
}

}  // namespace

bool RunOpener(const std::string& opener, const std::string& target, std::string* error,
               std::chrono::milliseconds wait) {
  if (target.empty()) return Fail(error, "Nothing to open was given.");
  pid_t pid = 0;
  if (const int code = Spawn(opener, target, &pid); code != 0) {
    return Fail(error, SpawnFailure(opener, code));
  }
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) {
      if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
      const std::string how = WIFEXITED(status)
                                  ? "exit status " + std::to_string(WEXITSTATUS(status))
                                  : "signal " + std::to_string(WTERMSIG(status));
      return Fail(error, "\"" + opener + "\" could not open \"" + target + "\" (" + how + ")");
    }
    if (done < 0 && errno != EINTR) return true;  // already reaped elsewhere: nothing to report
    if (std::chrono::steady_clock::now() >= deadline) {
      ReapLater(pid);
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

bool OpenWithDesktop(const std::string& target, std::string* error) {
  return RunOpener("xdg-open", target, error, kDesktopOpenerWait);
}

bool OpenWithProgram(const std::string& program, const std::string& target, std::string* error) {
  if (program.empty()) return Fail(error, "No program was given.");
  if (target.empty()) return Fail(error, "Nothing to open was given.");
  pid_t pid = 0;
  if (const int code = Spawn(program, target, &pid); code != 0) {
    return Fail(error, SpawnFailure(program, code));
  }
  ReapLater(pid);
  return true;
}

}  // namespace pictavo::ShellUtils
