#pragma once

// SIGTERM and SIGINT close the main window as its close button would, so the settings,
// placement and history are written when the session ends or a script stops the program.

class QWidget;

namespace pictavo::app {

// The window closed on a signal; the newest call wins. Safe to call more than once.
void CloseOnTerminationSignal(QWidget* window);

}  // namespace pictavo::app
