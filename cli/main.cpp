#include <iostream>

#include "cli/CommandLine.h"
#include "cli/Commands.h"

int main(int argc, char** argv) {
  pictavo::cli::CliOptions options;
  if (const auto status =
          pictavo::cli::ParseCommandLine(argc, argv, options, std::cout, std::cerr)) {
    return *status;
  }
  return pictavo::cli::RunCommand(options);
}
