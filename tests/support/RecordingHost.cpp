#include "support/RecordingHost.h"

#include <algorithm>

namespace pictavo::testing {

void RecordingProgressWindow::SetText(int line, const std::string& text) {
  m_texts[std::clamp(line, 0, 1)].push_back(text);
}

bool CountingPump::PumpMessages() {
  ++m_calls;
  if (m_hook) return m_hook(m_calls);
  return std::find(m_quitAt.begin(), m_quitAt.end(), m_calls) == m_quitAt.end();
}

MessageResult RecordingHost::ShowMessage(const std::string& text, MessageIcon icon,
                                         MessageButtons buttons) {
  m_messages.push_back({text, icon, buttons});
  if (!m_answers.empty()) {
    const MessageResult answer = m_answers.front();
    m_answers.pop_front();
    return answer;
  }
  switch (buttons) {
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel:
      return MessageResult::Yes;
    default:
      return MessageResult::Ok;
  }
}

bool RecordingHost::ShowOutputSettings(OutputSettingsValues& values) {
  m_dialogProposals.push_back(values);
  if (!m_dialogAccept) return false;
  if (m_dialogEdit) m_dialogEdit(values);
  return true;
}

bool RecordingHost::OpenWithDesktop(const std::string& target, std::string* error) {
  m_opened.push_back(target);
  if (!m_openSucceeds && error) *error = "no program is associated";
  return m_openSucceeds;
}

bool RecordingHost::OpenWithProgram(const std::string& program, const std::string& target,
                                    std::string* error) {
  m_opened.push_back(program + " " + target);
  if (!m_openSucceeds && error) *error = "the program could not be started";
  return m_openSucceeds;
}

namespace {

// The handle the code under test owns; the window itself stays with the host.
class SharedProgressWindow final : public ProgressWindow {
 public:
  explicit SharedProgressWindow(std::shared_ptr<RecordingProgressWindow> window)
      : m_window(std::move(window)) {}
  void Show() override { m_window->Show(); }
  void Hide() override { m_window->Hide(); }
  void Destroy() override { m_window->Destroy(); }
  void SetText(int line, const std::string& text) override { m_window->SetText(line, text); }
  void SetRange(int lower, int upper) override { m_window->SetRange(lower, upper); }
  void SetPos(int pos) override { m_window->SetPos(pos); }
  bool IsCancelled() const override { return m_window->IsCancelled(); }
  bool IsDestroyed() const override { return m_window->IsDestroyed(); }

 private:
  std::shared_ptr<RecordingProgressWindow> m_window;
};

}  // namespace

std::unique_ptr<ProgressWindow> RecordingHost::CreateProgressWindow(ProgressKind) {
  auto window = std::make_shared<RecordingProgressWindow>();
  m_progressWindows.push_back(window);
  if (m_onProgressWindow) m_onProgressWindow(*window);
  return std::make_unique<SharedProgressWindow>(window);
}

std::vector<std::string> RecordingHost::MessageTexts() const {
  std::vector<std::string> texts;
  for (const auto& m : m_messages) texts.push_back(m.text);
  return texts;
}

}  // namespace pictavo::testing
