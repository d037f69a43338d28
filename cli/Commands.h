#pragma once

// The three commands. Each returns the process exit status.

#include "cli/CliOptions.h"

namespace pictavo::cli {

int RunCommand(const CliOptions& options);
int RunBuild(const CliOptions& options);
int RunList(const CliOptions& options);
int RunConfig(const CliOptions& options);

// Writes "pictavo-cli: text" to standard error.
void PrintError(const std::string& text);

}  // namespace pictavo::cli
