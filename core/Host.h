#pragma once

// What the core needs of whoever drives it: a message pump for long loops, progress windows,
// and the user (message boxes, the output settings dialog, the desktop, the clipboard).
// The desktop program, the command line and the tests each implement these.

#include <filesystem>
#include <memory>
#include <string>

namespace pictavo {

// One call per step of a long loop. False when a quit arrived: that ends the loop only.
class Pump {
 public:
  virtual ~Pump() = default;
  virtual bool PumpMessages() = 0;
  // The same pumping while a loop waits for a worker's result, told apart so that the steps of
  // a loop stay countable. A false answer is a quit; the loop sees it at its next step.
  virtual bool PumpWhileWaiting() { return PumpMessages(); }
};

// A pump that never sees a quit.
class NullPump final : public Pump {
 public:
  bool PumpMessages() override { return true; }
};

// A modeless progress window. The object outlives the visible window: Cancel (or Destroy)
// closes the window, and IsCancelled / IsDestroyed keep answering afterwards.
class ProgressWindow {
 public:
  virtual ~ProgressWindow() = default;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual void Destroy() = 0;
  // line 0 is the main text; line 1 the second line (the file being worked on).
  virtual void SetText(int line, const std::string& text) = 0;
  // A counted bar from lower to upper; SetRange(0, 0), the state of a new window, is the
  // marquee of a step that counts nothing.
  virtual void SetRange(int lower, int upper) = 0;
  virtual void SetPos(int pos) = 0;
  virtual bool IsCancelled() const = 0;
  virtual bool IsDestroyed() const = 0;
};

// How a long loop learns that it should stop: a quit from the pump (at a step or while it waited
// for a worker) or the Cancel button of its progress window.
class LoopControl {
 public:
  LoopControl(Pump& pump, const ProgressWindow* window) : m_pump(pump), m_window(window) {}
  // One step: pumps once; false when the loop should stop.
  bool Step() {
    if (!m_pump.PumpMessages()) m_quit = true;
    return !Stopped();
  }
  // While waiting for a worker.
  void Wait() {
    if (!m_pump.PumpWhileWaiting()) m_quit = true;
  }
  bool Quit() const { return m_quit; }
  bool Cancelled() const { return m_window && m_window->IsCancelled(); }
  bool Stopped() const { return m_quit || Cancelled(); }

 private:
  Pump& m_pump;
  const ProgressWindow* m_window;
  bool m_quit = false;
};

enum class MessageIcon { None, Information, Question, Warning, Error };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageResult { Ok, Cancel, Yes, No };

// Values of the output settings dialog; the dialog works on copies of the settings.
struct OutputSettingsValues {
  std::string folderName;
  std::string location;
  std::string title;
  std::string header;
  bool preferDetailedSettings = false;  // "詳細設定を優先する"
};

enum class ProgressKind { InsertFiles, Items };

class Host {
 public:
  virtual ~Host() = default;

  virtual MessageResult ShowMessage(const std::string& text, MessageIcon icon = MessageIcon::None,
                                    MessageButtons buttons = MessageButtons::Ok) = 0;

  // The output settings dialog; true on OK with the values changed in place.
  virtual bool ShowOutputSettings(OutputSettingsValues& values) = 0;

  // Opens a file, folder or address with the desktop's default program. On failure returns
  // false with the system's text in *error.
  virtual bool OpenWithDesktop(const std::string& target, std::string* error) = 0;
  // Runs program with target as its one argument.
  virtual bool OpenWithProgram(const std::string& program, const std::string& target,
                               std::string* error) = 0;

  virtual void SetClipboardText(const std::string& text) = 0;

  virtual std::unique_ptr<ProgressWindow> CreateProgressWindow(ProgressKind kind) = 0;

  virtual Pump& GetPump() = 0;
};

}  // namespace pictavo
