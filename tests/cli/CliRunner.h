#pragma once

// Runs the pictavo-cli binary as a user would and keeps what it printed and its status.

#include <filesystem>
#include <string>
#include <vector>

namespace pictavo::testing {

struct CliResult {
  int status = -1;  // exit status; -1 when it did not exit normally
  std::string out;
  std::string err;
};

struct CliRun {
  std::vector<std::string> args;
  std::string binary;            // the program to run; empty: the build's pictavo-cli
  bool stderrTerminal = false;   // standard error on a pseudo terminal instead of a pipe
  std::vector<std::string> env;  // NAME=VALUE entries that replace the inherited ones
  // When set, the user's folders (home, settings, cache, documents) all lie inside it, so a
  // test never reads or writes the real user's files.
  std::string home;
  std::string cwd;  // the run's working folder; empty: the test's own
  // When signal is set, it is sent to the run once its standard error holds signalWhen.
  int signal = 0;
  std::string signalWhen;
};

CliResult RunCli(const CliRun& run);
inline CliResult RunCli(std::vector<std::string> args) {
  CliRun run;
  run.args = std::move(args);
  return RunCli(run);
}

// The user's settings file inside a sandbox home.
std::string SandboxSettingsFile(const std::string& home);

bool Contains(const std::string& text, const std::string& part);

// The page a successful build printed: its one line of standard output; empty otherwise.
std::filesystem::path PrintedPage(const CliResult& result);

// Every page of an album, concatenated, for searching what the pages show.
std::string AllPagesText(const std::filesystem::path& albumRoot);

// True when text holds an ESC byte (the start of every terminal control sequence).
bool HasEscapeCode(const std::string& text);

}  // namespace pictavo::testing
