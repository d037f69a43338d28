#pragma once

// Start-up and instance control of the desktop program.

namespace pictavo::app {

// Runs the program to its end; returns the process exit status.
int RunApplication(int argc, char* argv[]);

}  // namespace pictavo::app
