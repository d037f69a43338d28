#pragma once

// Opening files, folders and addresses with the desktop or a chosen program. Programs are
// started directly with an argument vector, never through a shell, so no character of a file
// name is ever interpreted.

#include <chrono>
#include <string>

namespace pictavo::ShellUtils {

// Opens target with the desktop's default program (xdg-open). False with a text in *error
// (when error is not null) when the opener cannot be started or reports failure.
bool OpenWithDesktop(const std::string& target, std::string* error);

// Starts program with target as its one argument and does not wait for it.
bool OpenWithProgram(const std::string& program, const std::string& target, std::string* error);

// Runs opener with target and waits at most wait for its exit status: non-zero is a failure.
// An opener still running after wait counts as success; it is reaped in the background.
bool RunOpener(const std::string& opener, const std::string& target, std::string* error,
               std::chrono::milliseconds wait);

}  // namespace pictavo::ShellUtils
