#include "cli/Commands.h"

#include <cstdio>

#include "cli/TerminalText.h"

namespace pictavo::cli {

void PrintError(const std::string& text) {
  std::fprintf(stderr, "pictavo-cli: %s\n", EscapeControls(text, true).c_str());
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

}  // namespace pictavo::cli
