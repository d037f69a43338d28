#include "cli/Interrupt.h"

#include <csignal>

namespace pictavo::cli::Interrupt {

namespace {

volatile std::sig_atomic_t g_signal = 0;

void Note(int signal) {
  g_signal = signal;
}

}  // namespace

void Install() {
  struct sigaction action {};
  action.sa_handler = Note;
  sigemptyset(&action.sa_mask);
  // The handler runs once; the next signal takes the default action and ends the process.
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool Requested() {
  return g_signal != 0;
}

int Signal() {
  return g_signal;
}

}  // namespace pictavo::cli::Interrupt
