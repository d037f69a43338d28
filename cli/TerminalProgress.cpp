#include "cli/TerminalProgress.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace pictavo::cli {

namespace {

constexpr int kBarCells = 24;
constexpr int kDefaultColumns = 80;
constexpr const char* kEraseLine = "\r\x1b[2K";

int CharWidth(UChar32 c) {
  if (c < 0x20 || (c >= 0x7f && c < 0xa0)) return 0;
  const auto width = static_cast<UEastAsianWidth>(u_getIntPropertyValue(c, UCHAR_EAST_ASIAN_WIDTH));
  return (width == U_EA_WIDE || width == U_EA_FULLWIDTH) ? 2 : 1;
}

}  // namespace

ProgressMode DetectProgressMode(bool quiet, int fd) {
  if (quiet) return ProgressMode::Quiet;
  if (!isatty(fd)) return ProgressMode::Lines;
  const char* term = std::getenv("TERM");
  if (term == nullptr || *term == '\0' || std::strcmp(term, "dumb") == 0) {
    return ProgressMode::Lines;
  }
  return ProgressMode::Bar;
}

int DisplayWidth(const std::string& utf8) {
  int width = 0;
  const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
  const auto length = static_cast<int32_t>(utf8.size());
  for (int32_t i = 0; i < length;) {
    UChar32 c;
    U8_NEXT(s, i, length, c);
    width += c < 0 ? 1 : CharWidth(c);
  }
  return width;
}

std::string TruncateToWidth(const std::string& utf8, int columns) {
  int width = 0;
  const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
  const auto length = static_cast<int32_t>(utf8.size());
  for (int32_t i = 0; i < length;) {
    const int32_t start = i;
    UChar32 c;
    U8_NEXT(s, i, length, c);
    width += c < 0 ? 1 : CharWidth(c);
    if (width > columns) return utf8.substr(0, static_cast<size_t>(start));
  }
  return utf8;
}

TerminalProgress::TerminalProgress(ProgressMode mode, std::FILE* stream, int fd)
    : m_mode(mode), m_stream(stream), m_fd(fd) {}

void TerminalProgress::SetRange(int total) {
  m_counted = total > 0;
  if (m_counted) {
    m_total = total;
    m_count = 0;
  }
}

void TerminalProgress::SetPosition(int position) {
  if (!m_counted || m_mode == ProgressMode::Quiet || !m_active) return;
  m_count = std::clamp(position, 0, m_total);
  if (m_mode == ProgressMode::Bar) {
    Draw();
    std::fflush(m_stream);
  }
}

void TerminalProgress::Begin() {
  m_active = true;
  m_count = 0;
  m_main.clear();
  m_detail.clear();
}

void TerminalProgress::SetText(int line, const std::string& text) {
  if (m_mode == ProgressMode::Quiet || !m_active) return;
  if (line == 0) {
    if (text == m_main) return;
    m_main = text;
    m_detail.clear();
    m_count = 0;
    if (m_mode == ProgressMode::Lines) std::fprintf(m_stream, "%s\n", text.c_str());
  } else {
    if (text.empty()) return;
    m_detail = text;
    // A new pass over the same items starts the count again.
    if (!m_counted) m_count = (m_total > 0 && m_count >= m_total) ? 1 : m_count + 1;
    if (m_mode == ProgressMode::Lines) {
      if (m_total > 0) {
        std::fprintf(m_stream, "[%d/%d] %s\n", m_count, m_total, text.c_str());
      } else {
        std::fprintf(m_stream, "%s\n", text.c_str());
      }
    }
  }
  if (m_mode == ProgressMode::Bar) Draw();
  std::fflush(m_stream);
}

void TerminalProgress::End() {
  if (m_mode == ProgressMode::Bar) Erase();
  m_active = false;
  std::fflush(m_stream);
}

void TerminalProgress::Suspend() {
  if (m_mode == ProgressMode::Bar) Erase();
}

void TerminalProgress::Resume() {
  if (m_mode == ProgressMode::Bar && m_active && !m_main.empty()) Draw();
  std::fflush(m_stream);
}

void TerminalProgress::Draw() {
  std::fprintf(m_stream, "%s%s", kEraseLine, BarLine(Columns() - 1).c_str());
  m_drawn = true;
}

void TerminalProgress::Erase() {
  if (!m_drawn) return;
  std::fputs(kEraseLine, m_stream);
  m_drawn = false;
}

int TerminalProgress::Columns() const {
  winsize size{};
  if (ioctl(m_fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 10) return size.ws_col;
  return kDefaultColumns;
}

std::string TerminalProgress::BarLine(int columns) const {
  std::string line = m_main;
  if (m_total > 0) {
    const int filled = m_count >= m_total ? kBarCells : m_count * kBarCells / m_total;
    line += " [" + std::string(static_cast<size_t>(filled), '#') +
            std::string(static_cast<size_t>(kBarCells - filled), '-') + "] " +
            std::to_string(m_count) + "/" + std::to_string(m_total);
  } else if (m_count > 0) {
    line += " " + std::to_string(m_count);
  }
  if (!m_detail.empty()) line += " " + m_detail;
  return TruncateToWidth(line, columns);
}

}  // namespace pictavo::cli
