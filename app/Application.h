#pragma once

// Start-up and instance control of the desktop program.

#include <chrono>
#include <string>
#include <vector>

namespace pictavo::app {

// Runs the program to its end; returns the process exit status. In order: the wait for an
// ending copy ("/restart PID"), the application with Qt's Japanese texts, one copy per settings
// folder (a later start hands its folders over and ends), the move of an old settings folder,
// then the host and the main window.
int RunApplication(int argc, char* argv[]);

// The restart wait. When the first argument is "/restart" (any case) and the second a non-zero
// process id, waits until that process has ended, at most limit. False when it still runs
// after limit: the program then ends without showing anything.
bool WaitForEndingInstance(const std::vector<std::string>& arguments,
                           std::chrono::milliseconds limit);
inline constexpr std::chrono::milliseconds kRestartWait{60000};

// Moves every entry of oldFolder into newFolder under the same name, replacing what is there,
// then removes oldFolder when it is empty. Only when both folders exist; a failed move is
// skipped.
void MoveOldSettingsFolder(const std::string& oldFolder, const std::string& newFolder);

}  // namespace pictavo::app
