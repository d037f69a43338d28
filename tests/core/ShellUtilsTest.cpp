#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <string>
#include <thread>

#include "CoreTestDir.h"
#include "core/ShellUtils.h"

namespace pictavo {
namespace {

using coretest::ReadBytes;
using coretest::ScratchDir;
using coretest::WriteBytes;

using namespace std::chrono_literals;

// A program that writes its argument count and arguments, one a line, to out.
std::string RecordingProgram(const ScratchDir& dir) {
  const std::string script = dir / "record.sh";
  WriteBytes(script, "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"" + (dir / "out.tmp") +
                         "\"\nmv \"" + (dir / "out.tmp") + "\" \"" + (dir / "out") + "\"\n");
  chmod(script.c_str(), 0755);
  return script;
}

// Waits for a program that is not waited on to leave its record.
std::string AwaitRecord(const ScratchDir& dir) {
  for (int i = 0; i < 500 && !std::filesystem::exists(dir / "out"); ++i) {
    std::this_thread::sleep_for(10ms);
  }
  return ReadBytes(dir / "out");
}

TEST(ShellUtils, TargetsReachTheProgramAsOneUntouchedArgument) {
  const char* targets[] = {
      "/photos/a b; rm -rf ~ $(id) `id` \"q\" 'q' * & | > <.html",
      "/写真/アルバム #1/index.html",
      "https://example.invalid/?a=1&b=2",
  };
  for (const char* target : targets) {
    ScratchDir dir;
    std::string error = "untouched";
    ASSERT_TRUE(ShellUtils::RunOpener(RecordingProgram(dir), target, &error, 10s)) << error;
    EXPECT_EQ(ReadBytes(dir / "out"), std::string("1\n") + target + "\n");
  }
}

TEST(ShellUtils, ATargetLookingLikeAnOptionIsMadeAPath) {
  ScratchDir dir;
  ASSERT_TRUE(ShellUtils::RunOpener(RecordingProgram(dir), "--help", nullptr, 10s));
  EXPECT_EQ(ReadBytes(dir / "out"), "1\n./--help\n");
}

TEST(ShellUtils, FailuresComeBackWithAText) {
  ScratchDir dir;
  const struct {
    const char* what;
    std::string opener;
    std::string target;
    const char* expectedInError;
  } rows[] = {
      {"opener reports failure", "false", "/x", "exit status 1"},
      {"opener missing", "pictavo-no-such-opener", "/x", "could not be started"},
      {"opener not executable", dir / "plain", "/x", "could not be started"},
      {"nothing to open", "true", "", "Nothing"},
  };
  WriteBytes(dir / "plain", "not a program");
  for (const auto& row : rows) {
    std::string error;
    EXPECT_FALSE(ShellUtils::RunOpener(row.opener, row.target, &error, 10s)) << row.what;
    EXPECT_NE(error.find(row.expectedInError), std::string::npos) << row.what << ": " << error;
  }
  std::string error;
  EXPECT_FALSE(ShellUtils::OpenWithProgram("pictavo-no-such-browser", "/x", &error));
  EXPECT_NE(error.find("pictavo-no-such-browser"), std::string::npos) << error;
  EXPECT_FALSE(ShellUtils::OpenWithProgram("", "/x", &error));
  EXPECT_FALSE(ShellUtils::RunOpener("false", "/x", nullptr, 10s));  // no text wanted
}

TEST(ShellUtils, AnOpenerThatKeepsRunningCountsAsStarted) {
  std::string error;
  EXPECT_TRUE(ShellUtils::RunOpener("sleep", "3", &error, 50ms)) << error;
}

TEST(ShellUtils, ProgramIsStartedWithoutWaitingForIt) {
  ScratchDir dir;
  std::string error;
  ASSERT_TRUE(ShellUtils::OpenWithProgram(RecordingProgram(dir), "/a b/index.html", &error))
      << error;
  EXPECT_EQ(AwaitRecord(dir), "1\n/a b/index.html\n");
}

}  // namespace
}  // namespace pictavo
