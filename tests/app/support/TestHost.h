#pragma once

// The host of the desktop program's QtTests: it answers message boxes and the output settings
// dialog from a script and records what the user would have seen, so no test ever waits on a
// modal window. Its pump processes the pending Qt events, so widgets under test stay live.
//
//   pictavo::app::testing::TestHost host;
//   host.m_answers = {pictavo::MessageResult::No};   // the next question is answered No
//   CPictavoDlg window(host, ...);
//   ...
//   QCOMPARE(host.MessageTexts(), (std::vector<std::string>{"..."}));

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Host.h"
#include "support/RecordingHost.h"

namespace pictavo::app::testing {

using pictavo::testing::RecordedMessage;
using pictavo::testing::RecordingProgressWindow;

// Processes the pending Qt events on every call and counts the calls; answers false (a quit)
// on the calls listed in m_quitAt (1-based) or when m_hook says so.
class TestPump final : public Pump {
 public:
  bool PumpMessages() override;
  int m_calls = 0;
  std::vector<int> m_quitAt;
  std::function<bool(int call)> m_hook;
};

class TestHost final : public Host {
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

  // Scripted answers, consumed front first; when none is left, Yes to a question with Yes and
  // Ok to anything else.
  std::deque<MessageResult> m_answers;
  std::vector<RecordedMessage> m_messages;
  // Called with each message as it is shown (for example to act on the window meanwhile).
  std::function<void(const RecordedMessage&)> m_onMessage;

  // Output settings dialog: every proposal is kept; m_outputSettings, when set, plays the user
  // (changes the values, returns false for Cancel); without it the proposal is accepted.
  std::vector<OutputSettingsValues> m_outputSettingsProposals;
  std::function<bool(OutputSettingsValues&)> m_outputSettings;

  bool m_openSucceeds = true;
  std::vector<std::string> m_opened;  // targets, or "program target" for OpenWithProgram

  std::string m_clipboard;
  TestPump m_pump;

  // Progress windows created, newest last, with the kind each was made for. The host keeps
  // them, so a test can read them after the code under test has released its handle.
  std::vector<std::shared_ptr<RecordingProgressWindow>> m_progressWindows;
  std::vector<ProgressKind> m_progressKinds;
  // Called with each new progress window (for example to cancel it at some later pump call).
  std::function<void(RecordingProgressWindow&)> m_onProgressWindow;
};

// Answers modal widgets that code under test opens by itself (file dialogs, QMessageBox,
// dialogs of its own): while it lives it checks every 20 ms for an active modal widget, records
// its title and text, and hands it to m_answer; without m_answer (or when it returns false)
// the widget is rejected. A test that opens a modal window unexpectedly thus ends, and the
// record tells which window it was.
class ModalAnswerer {
 public:
  ModalAnswerer();
  ~ModalAnswerer();
  ModalAnswerer(const ModalAnswerer&) = delete;
  ModalAnswerer& operator=(const ModalAnswerer&) = delete;

  struct Seen {
    std::string className;  // the widget's meta-object class name
    std::string title;
    std::string text;  // a QMessageBox's text, else empty
  };
  std::vector<Seen> m_seen;
  // Gets the modal widget (a QWidget*, passed as void* so this header needs no Qt) and its
  // record; returns true when it has closed the widget itself.
  std::function<bool(void* widget, const Seen& seen)> m_answer;

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace pictavo::app::testing
