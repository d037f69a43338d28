#pragma once

// The command structure of pictavo-cli: commands, options, help and usage errors.

#include <iosfwd>
#include <optional>

#include "cli/CliOptions.h"

namespace pictavo::cli {

// Fills options from argv. Returns an exit status when the program should stop at once:
// 0 after --help, kExitUsage after a usage error (its message already written to err).
std::optional<int> ParseCommandLine(int argc, const char* const* argv, CliOptions& options,
                                    std::ostream& out, std::ostream& err);

}  // namespace pictavo::cli
