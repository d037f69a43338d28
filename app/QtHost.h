#pragma once

// The desktop program's host: message boxes, the output settings dialog, the modeless progress
// windows, the event pump, the desktop opener and the clipboard, all on the GUI thread.

#include <QDialog>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <chrono>
#include <memory>
#include <string>

#include "core/Host.h"

class QLabel;
class QMessageBox;
class QProgressBar;
class QPushButton;

namespace pictavo::app {

// Processes the pending events once per loop step. A quit request taken meanwhile ends that
// loop (the call answers false) and is posted again, so every loop still running ends at its
// next step and the program ends once the work has unwound instead of living on without a
// window.
class QtPump final : public QObject, public Pump {
  Q_OBJECT

 public:
  QtPump();
  ~QtPump() override;

  bool PumpMessages() override;
  // Steps closer together than this share one pass over the events (a sort pumps once per
  // comparison); zero processes the events on every call.
  void SetInterval(std::chrono::milliseconds interval) { m_interval = interval; }
  // True while a loop step is processing events (the call is nested in a long loop).
  bool IsPumping() const { return m_depth > 0; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::chrono::milliseconds m_interval{10};
  QElapsedTimer m_sinceLastPass;
  int m_depth = 0;
  int m_quitsTaken = 0;        // quits taken inside a step, ever
  bool m_quitPending = false;  // one was posted again and has not reached the main loop yet
};

// The modeless progress window of the long loops: one or two lines of text, a bar (a marquee
// until a range is set) and Cancel. Cancel, Escape and the close button all cancel: the window
// hides and deletes itself, after it has emitted Cancelled.
class CProgressDlg : public QDialog {
  Q_OBJECT

 public:
  void SetText(int line, const QString& text);
  QString Text(int line) const;
  void SetRange(int lower, int upper);
  void SetPos(int pos);
  QProgressBar* Bar() const { return m_bar; }
  QPushButton* CancelButton() const { return m_cancel; }
  // Shows the window centred over its owner (or the screen) without taking the focus away.
  void ShowCentred();

 signals:
  void Cancelled();

 public slots:
  void reject() override;

 protected:
  CProgressDlg(QWidget* owner, const QString& title, const QString& firstLine,
               const QString& secondLine);

 private:
  QPointer<QWidget> m_owner;
  QLabel* m_lines[2] = {nullptr, nullptr};
  QProgressBar* m_bar = nullptr;
  QPushButton* m_cancel = nullptr;
  bool m_cancelling = false;
};

// The window of a folder scan: "項目の挿入".
class CProgressInsertFilesDlg final : public CProgressDlg {
  Q_OBJECT

 public:
  explicit CProgressInsertFilesDlg(QWidget* owner);
};

// The window of the output run, the sort and the update check: the application title.
class CProgressItemsDlg final : public CProgressDlg {
  Q_OBJECT

 public:
  explicit CProgressItemsDlg(QWidget* owner);
};

// The message box the host shows, built without running it: the program's title, the text with
// its line breaks, the icon and the buttons with their Japanese texts.
std::unique_ptr<QMessageBox> CreateMessageBox(QWidget* parent, const std::string& text,
                                              MessageIcon icon, MessageButtons buttons);
// The answer of a finished box (its exec() result) in the host's terms.
MessageResult ToMessageResult(int standardButton, MessageButtons buttons);

class QtHost final : public Host {
 public:
  explicit QtHost(QWidget* window = nullptr);
  ~QtHost() override;

  // The window that owns message boxes, dialogs and progress windows (the main window, once
  // it exists).
  void SetWindow(QWidget* window) { m_window = window; }
  QWidget* Window() const { return m_window; }

  MessageResult ShowMessage(const std::string& text, MessageIcon icon,
                            MessageButtons buttons) override;
  bool ShowOutputSettings(OutputSettingsValues& values) override;
  bool OpenWithDesktop(const std::string& target, std::string* error) override;
  bool OpenWithProgram(const std::string& program, const std::string& target,
                       std::string* error) override;
  void SetClipboardText(const std::string& text) override;
  std::unique_ptr<ProgressWindow> CreateProgressWindow(ProgressKind kind) override;
  Pump& GetPump() override { return m_pump; }
  QtPump& GetQtPump() { return m_pump; }

 private:
  QPointer<QWidget> m_window;
  QtPump m_pump;
};

}  // namespace pictavo::app
