#include "core/Diagnostics.h"

#include <atomic>

namespace pictavo {

namespace {

std::atomic<DiagnosticLog*> g_log{nullptr};

}  // namespace

void DiagnosticLog::Add(std::string_view source, std::string_view text) {
  // Library messages end with a line break of their own.
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
  const std::lock_guard lock(m_mutex);
  if (m_entries.size() == kMaxEntries) {
    m_entries.pop_front();
    ++m_dropped;
  }
  m_entries.push_back({std::string(source), std::string(text)});
}

std::vector<DiagnosticEntry> DiagnosticLog::Take(std::size_t* dropped) {
  const std::lock_guard lock(m_mutex);
  std::vector<DiagnosticEntry> taken(std::make_move_iterator(m_entries.begin()),
                                     std::make_move_iterator(m_entries.end()));
  m_entries.clear();
  if (dropped) *dropped = m_dropped;
  m_dropped = 0;
  return taken;
}

void SetDiagnosticLog(DiagnosticLog* log) {
  g_log = log;
}

void ReportDiagnostic(std::string_view source, std::string_view text) {
  if (DiagnosticLog* log = g_log.load()) log->Add(source, text);
}

}  // namespace pictavo
