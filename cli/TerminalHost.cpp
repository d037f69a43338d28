#include "cli/TerminalHost.h"

#include <filesystem>
#include <system_error>

#include "core/StringUtils.h"

namespace pictavo::cli {

namespace {

constexpr int kEnterValueFormat = 10234;  // "%sを入力してください。"
constexpr int kFolderExists = 10240;  // "指定した場所には、既にフォルダーが存在します。"

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
};

std::string EnterValueText(const char* label) {
  std::string format = StringUtils::GetLoadString(kEnterValueFormat);
  const auto at = format.find("%s");
  if (at == std::string::npos) return format;
  return format.replace(at, 2, label);
}

bool PathExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

}  // namespace

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
  if (m_answers.name) values.folderName = *m_answers.name;
  if (m_answers.title) values.title = *m_answers.title;
  if (m_answers.header) values.header = *m_answers.header;
  // The dialog's OK rules: no empty field, no folder that already exists.
  const struct {
    const std::string& value;
    const char* label;
  } required[] = {{values.folderName, "フォルダー名"},
                  {values.location, "ファイルの出力先"},
                  {values.title, "タイトル"},
                  {values.header, "見出し"}};
  for (const auto& field : required) {
    if (field.value.empty()) {
      PrintLine(EnterValueText(field.label));
      m_dialogRefused = true;
      return false;
    }
  }
  const std::string folder = (std::filesystem::path(values.location) / values.folderName).string();
  if (PathExists(folder)) {
    PrintLine(StringUtils::GetLoadString(kFolderExists));
    PrintLine(folder);
    m_dialogRefused = true;
    return false;
  }
  return true;
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
