#include "cli/TerminalHost.h"

#include "album/OutputSettingsModel.h"
#include "core/FileUtils.h"

namespace pictavo::cli {

namespace {

class TerminalProgressWindow final : public ProgressWindow {
 public:
  explicit TerminalProgressWindow(TerminalProgress& progress) : m_progress(progress) {}
  ~TerminalProgressWindow() override { Close(); }

  void Show() override {
    if (m_shown || m_destroyed) return;
    m_shown = true;
    m_progress.Begin();
  }
  void Hide() override { Close(); }
  void Destroy() override {
    Close();
    m_destroyed = true;
  }
  void SetText(int line, const std::string& text) override {
    if (m_shown) m_progress.SetText(line, text);
  }
  void SetRange(int lower, int upper) override {
    m_progress.SetRange(upper - lower);
    m_lower = lower;
  }
  void SetPos(int pos) override { m_progress.SetPosition(pos - m_lower); }
  // The terminal has no Cancel button; an interrupt ends the process instead.
  bool IsCancelled() const override { return false; }
  bool IsDestroyed() const override { return m_destroyed; }

 private:
  void Close() {
    if (!m_shown) return;
    m_shown = false;
    m_progress.End();
  }

  TerminalProgress& m_progress;
  bool m_shown = false;
  bool m_destroyed = false;
  int m_lower = 0;
};

}  // namespace

std::string AnswerOutputSettings(const DialogAnswers& answers, OutputSettingsValues& values) {
  if (answers.name) values.folderName = *answers.name;
  if (answers.title) values.title = *answers.title;
  if (answers.header) values.header = *answers.header;
  const OutputSettingsModel::OkCheck check = OutputSettingsModel::CheckOk(values);
  if (check.accepted) return {};
  const std::string folder = FileUtils::GetCombinePath(values.location, values.folderName);
  // The dialog shows the message beside the field; a terminal needs the path it concerns.
  if (check.focus == OutputSettingsModel::Field::FolderName && FileUtils::FileExists(folder)) {
    return check.message + "\n" + folder;
  }
  return check.message;
}

std::string ToTerminalText(const std::string& text) {
  std::string lines;
  lines.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      lines += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      lines += text[i];
    }
  }
  return lines;
}

TerminalHost::TerminalHost(TerminalProgress& progress, std::FILE* messages, bool quiet)
    : m_progress(progress), m_messages(messages), m_quiet(quiet) {}

void TerminalHost::PrintLine(const std::string& text) {
  m_progress.Suspend();
  std::fprintf(m_messages, "%s\n", ToTerminalText(text).c_str());
  m_progress.Resume();
}

TerminalHost::~TerminalHost() {
  if (!m_diagnostics) return;
  pictavo::SetDiagnosticLog(nullptr);
  PrintDiagnostics();
}

void TerminalHost::SetDiagnosticLog(DiagnosticLog* log) {
  m_diagnostics = log;
  pictavo::SetDiagnosticLog(log);
}

void TerminalHost::PrintDiagnostics() {
  if (!m_diagnostics) return;
  std::size_t dropped = 0;
  for (const DiagnosticEntry& entry : m_diagnostics->Take(&dropped)) {
    PrintLine("warning: " + entry.source + ": " + entry.text);
  }
  if (dropped > 0) PrintLine("warning: " + std::to_string(dropped) + " more warnings not shown");
}

MessageResult TerminalHost::ShowMessage(const std::string& text, MessageIcon icon,
                                        MessageButtons buttons) {
  const bool question = buttons == MessageButtons::YesNo ||
                        buttons == MessageButtons::YesNoCancel ||
                        buttons == MessageButtons::OkCancel;
  if (icon == MessageIcon::Error || icon == MessageIcon::Warning) ++m_errorCount;
  // Quiet keeps every failure but drops what only informs or asks.
  const bool informs = icon == MessageIcon::Information || question;
  if (!(m_quiet && informs)) PrintLine(text);
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

bool TerminalHost::ShowOutputSettings(OutputSettingsValues& values) {
  const std::string refusal = AnswerOutputSettings(m_answers, values);
  if (refusal.empty()) return true;
  PrintLine(refusal);
  m_dialogRefused = true;
  return false;
}

bool TerminalHost::OpenWithDesktop(const std::string& target, std::string* error) {
  m_opened.push_back(target);
  return m_opener ? m_opener(std::string(), target, error) : true;
}

bool TerminalHost::OpenWithProgram(const std::string& program, const std::string& target,
                                   std::string* error) {
  m_opened.push_back(target);
  return m_opener ? m_opener(program, target, error) : true;
}

std::unique_ptr<ProgressWindow> TerminalHost::CreateProgressWindow(ProgressKind) {
  return std::make_unique<TerminalProgressWindow>(m_progress);
}

}  // namespace pictavo::cli
