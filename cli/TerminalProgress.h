#pragma once

// Progress on standard error: a redrawn bar with counts and the current file on a terminal,
// plain one-line steps when standard error is a file or a pipe, nothing when quiet.
// Escape codes are written only in bar mode, so logs and pipes stay clean.

#include <cstdio>
#include <string>

namespace pictavo::cli {

enum class ProgressMode { Bar, Lines, Quiet };

// Bar only on a real terminal that understands cursor control.
ProgressMode DetectProgressMode(bool quiet, int fd);

// Columns the text takes on a terminal: East Asian wide and full-width characters take two.
int DisplayWidth(const std::string& utf8);

// The longest prefix of utf8 that fits in columns, never cutting a character.
std::string TruncateToWidth(const std::string& utf8, int columns);

class TerminalProgress {
 public:
  TerminalProgress(ProgressMode mode, std::FILE* stream, int fd);

  ProgressMode Mode() const { return m_mode; }

  // Items one pass of the work goes through (0: unknown, counts only).
  void SetTotal(int total) { m_total = total; }

  // A counted step: the bar follows SetPosition from here on instead of counting file lines.
  // A range of 0 goes back to counting the file lines.
  void SetRange(int total);
  void SetPosition(int position);

  void Begin();
  // line 0: what is being done; line 1: the file being worked on (one step per new text).
  void SetText(int line, const std::string& text);
  void End();

  // A message is about to be written: take the bar off the line, and put it back after.
  void Suspend();
  void Resume();

 private:
  void Draw();
  void Erase();
  int Columns() const;
  std::string BarLine(int columns) const;

  ProgressMode m_mode;
  std::FILE* m_stream;
  int m_fd;
  bool m_active = false;
  bool m_drawn = false;
  int m_total = 0;
  int m_count = 0;
  bool m_counted = false;  // positions come from SetPosition
  std::string m_main;
  std::string m_detail;
};

}  // namespace pictavo::cli
