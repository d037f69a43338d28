#pragma once

// The command line's host: message boxes become lines on standard error, questions are
// answered by the command (build implies Yes), the output settings dialog is confirmed with
// its proposal unless --name, --title or --header say otherwise, and opening the first page
// only happens with --open. Every target the run asks to open is kept: the first is the page
// the command prints.

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/TerminalProgress.h"
#include "core/Diagnostics.h"
#include "core/Host.h"

namespace pictavo::cli {

// The answers the command line gives in place of the output settings dialog.
struct DialogAnswers {
  std::optional<std::string> name;
  std::optional<std::string> title;
  std::optional<std::string> header;
};

using Opener =
    std::function<bool(const std::string& program, const std::string& target, std::string* error)>;

class TerminalHost final : public Host {
 public:
  TerminalHost(TerminalProgress& progress, std::FILE* messages, bool quiet);
  ~TerminalHost() override;
  TerminalHost(const TerminalHost&) = delete;
  TerminalHost& operator=(const TerminalHost&) = delete;

  MessageResult ShowMessage(const std::string& text, MessageIcon icon,
                            MessageButtons buttons) override;
  bool ShowOutputSettings(OutputSettingsValues& values) override;
  bool OpenWithDesktop(const std::string& target, std::string* error) override;
  bool OpenWithProgram(const std::string& program, const std::string& target,
                       std::string* error) override;
  void SetClipboardText(const std::string& text) override { m_clipboard = text; }
  std::unique_ptr<ProgressWindow> CreateProgressWindow(ProgressKind kind) override;
  Pump& GetPump() override { return m_pump; }

  // With a log, each pump prints the library warnings that came in since the last one
  // (--verbose); without one they are not collected at all.
  void SetDiagnosticLog(DiagnosticLog* log);
  void PrintDiagnostics();

  void SetDialogAnswers(DialogAnswers answers) { m_answers = std::move(answers); }
  // Without an opener nothing is opened; the targets are still recorded.
  void SetOpener(Opener opener) { m_opener = std::move(opener); }

  // Writes one line of our own (not a message box) the same way messages are written.
  void PrintLine(const std::string& text);

  const std::vector<std::string>& OpenedTargets() const { return m_opened; }
  const std::string& ClipboardText() const { return m_clipboard; }
  // True when the dialog answers were refused (the folder exists, or a field is empty).
  bool DialogRefused() const { return m_dialogRefused; }
  int ErrorCount() const { return m_errorCount; }

 private:
  TerminalProgress& m_progress;
  std::FILE* m_messages;
  bool m_quiet;
  DialogAnswers m_answers;
  Opener m_opener;
  std::vector<std::string> m_opened;
  std::string m_clipboard;
  bool m_dialogRefused = false;
  int m_errorCount = 0;
  DiagnosticLog* m_diagnostics = nullptr;

  class DiagnosticPump final : public Pump {
   public:
    explicit DiagnosticPump(TerminalHost& host) : m_host(host) {}
    bool PumpMessages() override {
      m_host.PrintDiagnostics();
      return true;
    }

   private:
    TerminalHost& m_host;
  };
  DiagnosticPump m_pump{*this};
};

// The dialog confirmed with answers in place of its fields: values are changed, then checked
// with the dialog's OK rules. Empty when OK would accept them, else what the dialog would say.
std::string AnswerOutputSettings(const DialogAnswers& answers, OutputSettingsValues& values);

// Message box text as terminal lines: CR LF and lone CR become LF.
std::string ToTerminalText(const std::string& text);

}  // namespace pictavo::cli
