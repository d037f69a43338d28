#include "cli/Commands.h"

#include <cctype>
#include <cstdio>

#include "cli/Inputs.h"

namespace pictavo::cli {

namespace {

// A missing folder, settings or notes file is a usage error: check them all first.
int CheckInputs(const CliOptions& options, const std::string& folder) {
  if (!folder.empty()) {
    if (const std::string error = CheckFolder(folder); !error.empty()) {
      PrintError(error);
      return kExitUsage;
    }
  }
  if (options.settingsFile) {
    const std::string error = CheckOptionalReadableFile(*options.settingsFile, "settings file");
    if (!error.empty()) {
      PrintError(error);
      return kExitUsage;
    }
  }
  if (options.stylesFolder) {
    if (const std::string error = CheckFolder(*options.stylesFolder); !error.empty()) {
      PrintError("styles " + error);
      return kExitUsage;
    }
  }
  if (options.command == Command::Build && options.build.notes) {
    const std::string error = CheckReadableFile(*options.build.notes, "notes file");
    if (!error.empty()) {
      PrintError(error);
      return kExitUsage;
    }
  }
  return kExitSuccess;
}

int NotInThisBuild(const char* command, const char* needs) {
  PrintError(std::string(command) + " needs " + needs + ", which this build does not have yet");
  return kExitRunFailed;
}

}  // namespace

void PrintError(const std::string& text) {
  std::fprintf(stderr, "pictavo-cli: %s\n", text.c_str());
}

int RunCommand(const CliOptions& options) {
  switch (options.command) {
    case Command::Build:
      return RunBuild(options);
    case Command::List:
      return RunList(options);
    case Command::Config:
      return RunConfig(options);
    case Command::None:
      break;
  }
  PrintError("no command given");
  return kExitUsage;
}

int RunList(const CliOptions& options) {
  if (const int status = CheckInputs(options, options.list.folder)) return status;
  return NotInThisBuild("list", "the folder scan");
}

}  // namespace pictavo::cli
