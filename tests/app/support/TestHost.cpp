#include "support/TestHost.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <algorithm>

namespace pictavo::app::testing {

bool TestPump::PumpMessages() {
  ++m_calls;
  QCoreApplication::processEvents();
  if (m_hook) return m_hook(m_calls);
  return std::find(m_quitAt.begin(), m_quitAt.end(), m_calls) == m_quitAt.end();
}

MessageResult TestHost::ShowMessage(const std::string& text, MessageIcon icon,
                                    MessageButtons buttons) {
  m_messages.push_back({text, icon, buttons});
  if (m_onMessage) m_onMessage(m_messages.back());
  if (!m_answers.empty()) {
    const MessageResult answer = m_answers.front();
    m_answers.pop_front();
    return answer;
  }
  switch (buttons) {
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel:
      return MessageResult::Yes;
    case MessageButtons::Ok:
    case MessageButtons::OkCancel:
      break;
  }
  return MessageResult::Ok;
}

bool TestHost::ShowOutputSettings(OutputSettingsValues& values) {
  m_outputSettingsProposals.push_back(values);
  return m_outputSettings ? m_outputSettings(values) : true;
}

bool TestHost::OpenWithDesktop(const std::string& target, std::string* error) {
  m_opened.push_back(target);
  if (!m_openSucceeds && error != nullptr) *error = "no program is associated";
  return m_openSucceeds;
}

bool TestHost::OpenWithProgram(const std::string& program, const std::string& target,
                               std::string* error) {
  m_opened.push_back(program + " " + target);
  if (!m_openSucceeds && error != nullptr) *error = "the program could not be started";
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

std::unique_ptr<ProgressWindow> TestHost::CreateProgressWindow(ProgressKind kind) {
  auto window = std::make_shared<RecordingProgressWindow>();
  m_progressWindows.push_back(window);
  m_progressKinds.push_back(kind);
  if (m_onProgressWindow) m_onProgressWindow(*window);
  return std::make_unique<SharedProgressWindow>(window);
}

std::vector<std::string> TestHost::MessageTexts() const {
  std::vector<std::string> texts;
  for (const auto& message : m_messages) texts.push_back(message.text);
  return texts;
}

struct ModalAnswerer::Impl {
  QTimer timer;
};

ModalAnswerer::ModalAnswerer() : m_impl(std::make_unique<Impl>()) {
  m_impl->timer.setInterval(20);
  QObject::connect(&m_impl->timer, &QTimer::timeout, [this] {
    QPointer<QWidget> widget = QApplication::activeModalWidget();
    if (widget == nullptr) return;
    Seen seen;
    seen.className = widget->metaObject()->className();
    seen.title = widget->windowTitle().toStdString();
    if (auto* box = qobject_cast<QMessageBox*>(widget)) seen.text = box->text().toStdString();
    m_seen.push_back(seen);
    if (m_answer && m_answer(widget.data(), seen)) return;
    if (widget == nullptr) return;
    if (auto* dialog = qobject_cast<QDialog*>(widget)) {
      dialog->reject();
    } else {
      widget->close();
    }
  });
  m_impl->timer.start();
}

ModalAnswerer::~ModalAnswerer() = default;

}  // namespace pictavo::app::testing
