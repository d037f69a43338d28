#pragma once

// Recording fakes of the host interfaces: they keep what the user would have seen and answer
// with scripted replies, so tests can assert on messages, dialogs and opened files.

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Host.h"

namespace pictavo::testing {

struct RecordedMessage {
  std::string text;
  MessageIcon icon;
  MessageButtons buttons;
};

class RecordingProgressWindow final : public ProgressWindow {
 public:
  void Show() override { m_shown = true; }
  void Hide() override { m_shown = false; }
  void Destroy() override { m_destroyed = true; }
  void SetText(int line, const std::string& text) override;
  void SetRange(int lower, int upper) override {
    m_lower = lower;
    m_upper = upper;
  }
  void SetPos(int pos) override { m_positions.push_back(pos); }
  bool IsCancelled() const override { return m_cancelled; }
  bool IsDestroyed() const override { return m_destroyed; }

  // What the user does: Cancel closes the window and sets the flag.
  void Cancel() {
    m_cancelled = true;
    m_destroyed = true;
  }

  bool m_shown = false;
  bool m_cancelled = false;
  bool m_destroyed = false;
  std::vector<std::string> m_texts[2];  // every text set, per line
  int m_lower = 0;
  int m_upper = 0;
  std::vector<int> m_positions;  // every position set
};

// Counts pump calls; returns false on the calls listed in quitAt (1-based), or from a hook.
class CountingPump final : public Pump {
 public:
  bool PumpMessages() override;
  // Pumps while a loop waits on a worker are counted apart, so step counts stay exact.
  bool PumpWhileWaiting() override {
    ++m_waitCalls;
    return m_waitHook ? m_waitHook(m_waitCalls) : true;
  }
  int m_waitCalls = 0;
  std::function<bool(int call)> m_waitHook;
  int m_calls = 0;
  std::vector<int> m_quitAt;
  std::function<bool(int call)> m_hook;  // when set, its answer is returned
};

class RecordingHost final : public Host {
 public:
  MessageResult ShowMessage(const std::string& text, MessageIcon icon,
                            MessageButtons buttons) override;
  bool ShowOutputSettings(OutputSettingsValues& values) override;
  bool OpenWithDesktop(const std::string& target, std::string* error) override;
  bool OpenWithProgram(const std::string& program, const std::string& target,
                       std::string* error) override;
  void SetClipboardText(const std::string& text) override { m_clipboard = text; }
  std::unique_ptr<ProgressWindow> CreateProgressWindow(ProgressKind kind) override;
  Pump& GetPump() override { return m_pump; }

  // Texts of every message shown, in order.
  std::vector<std::string> MessageTexts() const;

  // Scripted answers: consumed front first; when empty, Yes for YesNo questions and Ok else.
  std::deque<MessageResult> m_answers;
  std::vector<RecordedMessage> m_messages;

  // Output settings dialog: m_dialogEdit may change the proposal; m_dialogAccept false = Cancel.
  bool m_dialogAccept = true;
  std::function<void(OutputSettingsValues&)> m_dialogEdit;
  std::vector<OutputSettingsValues> m_dialogProposals;

  bool m_openSucceeds = true;
  std::vector<std::string> m_opened;  // targets, or "program target" for OpenWithProgram

  std::string m_clipboard;
  CountingPump m_pump;

  // Progress windows created, newest last. The host shares them with the code under test,
  // so a test can read them after the run has released its handle.
  std::vector<std::shared_ptr<RecordingProgressWindow>> m_progressWindows;
  // When set, called with each new progress window (for example to cancel it later).
  std::function<void(RecordingProgressWindow&)> m_onProgressWindow;
};

}  // namespace pictavo::testing
