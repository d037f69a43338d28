#pragma once

// Ctrl-C (SIGINT) and SIGTERM during a build: the first one is only noted, so the file being
// written is finished and renamed whole, and the run stops at its next step; a second one ends
// the process at once, as the user insists.

namespace pictavo::cli::Interrupt {

// The exit status of a run ended by a signal, as shells report SIGINT.
inline constexpr int kExitInterrupted = 130;

void Install();
bool Requested();
// The signal that arrived (SIGINT or SIGTERM); 0 when none did.
int Signal();

}  // namespace pictavo::cli::Interrupt
