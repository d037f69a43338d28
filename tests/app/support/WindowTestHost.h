#pragma once

// A host for the main window's tests: answers message boxes from a script, plays the output
// settings dialog with the same OK checks as the real one, records what the user would see.

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "app/AppServices.h"
#include "core/Host.h"

namespace pictavo::testing {

class WindowTestHost final : public Host {
 public:
  MessageResult ShowMessage(const std::string& text, MessageIcon icon,
                            MessageButtons buttons) override;
  // Each scripted folder name is typed in turn and OK pressed; a refusal shows its message and
  // the next name is tried; with none left the dialog is cancelled. No script: OK at once.
  bool ShowOutputSettings(OutputSettingsValues& values) override;
  bool OpenWithDesktop(const std::string& target, std::string*) override {
    m_opened.push_back(target);
    return true;
  }
  bool OpenWithProgram(const std::string& program, const std::string& target,
                       std::string*) override {
    m_opened.push_back(program + " " + target);
    return true;
  }
  void SetClipboardText(const std::string& text) override { m_clipboard = text; }
  std::unique_ptr<ProgressWindow> CreateProgressWindow(ProgressKind kind) override;
  Pump& GetPump() override { return m_pump; }

  std::deque<MessageResult> m_answers;  // empty: Yes to questions, Ok else
  std::vector<std::string> m_messages;
  std::vector<OutputSettingsValues> m_proposals;
  std::deque<std::string> m_folderNames;
  bool m_scripted = false;  // whether m_folderNames drives the dialog
  std::vector<std::string> m_opened;
  std::string m_clipboard;
  std::vector<ProgressKind> m_progressKinds;
  bool m_cancelScans = false;  // the insert progress window is cancelled as soon as it shows
  NullPump m_pump;
};

// Services over a temporary settings folder, with no modal choosers.
app::AppServices TestServices(const std::string& folder);

}  // namespace pictavo::testing
