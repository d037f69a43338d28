#pragma once

// Warnings of the image libraries (a damaged JPEG still decoded, metadata Exiv2 could not
// parse). They come from any thread while a scan or a run goes on; the front end takes them on
// its own thread: the command line prints them with --verbose, the window keeps them.

#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace pictavo {

struct DiagnosticEntry {
  std::string source;  // "libvips", "Exiv2"
  std::string text;
};

class DiagnosticLog {
 public:
  // Only the newest entries are kept, so a folder of broken files cannot fill the memory.
  static constexpr std::size_t kMaxEntries = 1000;

  // Safe from any thread.
  void Add(std::string_view source, std::string_view text);
  // The entries since the last Take, oldest first, and how many were dropped meanwhile.
  std::vector<DiagnosticEntry> Take(std::size_t* dropped = nullptr);

 private:
  std::mutex m_mutex;
  std::deque<DiagnosticEntry> m_entries;
  std::size_t m_dropped = 0;
};

// The log the image libraries report to; null (the default) drops what they say. The log must
// outlive its installation.
void SetDiagnosticLog(DiagnosticLog* log);
void ReportDiagnostic(std::string_view source, std::string_view text);

}  // namespace pictavo
