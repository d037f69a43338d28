#pragma once

// The address box's history and its file (section "Recent File List": "Last File", "Count",
// "File1" for the most recent entry ...). Kept apart from the widget so the rules can be
// driven without a window.

#include <string>
#include <vector>

namespace pictavo::app {

class AddressHistory {
 public:
  // Reads the file: "Last File", then the entries that still exist, top entry first. A missing
  // file leaves everything empty and returns false.
  bool Load(const std::string& path);
  // Writes the file anew (UTF-16LE, comment line, the keys), replacing it atomically.
  bool Save(const std::string& path, const std::string& lastFile) const;

  // Moves text (an equal entry, letter case ignored, goes) to the top and drops entries beyond
  // limit from the bottom. An empty text changes nothing.
  void Add(const std::string& text, int limit);
  void Clear() { m_entries.clear(); }

  const std::vector<std::string>& Entries() const { return m_entries; }
  const std::string& LastFile() const { return m_lastFile; }
  // Position of the entry equal to text (letter case ignored), or -1.
  int Find(const std::string& text) const;

 private:
  std::vector<std::string> m_entries;
  std::string m_lastFile;
};

// The window placement value "Settings" / "WindowPos": flags, show command, minimised x, y,
// maximised x, y, normal left, top, right, bottom.
struct WindowPos {
  static constexpr int kShowNormal = 1;
  static constexpr int kShowMaximized = 3;
  int values[10] = {0, kShowNormal, -1, -1, -1, -1, 0, 0, 0, 0};
  int ShowCommand() const { return values[1]; }
  int Left() const { return values[6]; }
  int Top() const { return values[7]; }
  int Right() const { return values[8]; }
  int Bottom() const { return values[9]; }
};
std::string FormatWindowPos(const WindowPos& pos);
// Exactly ten integers or nothing; the show command becomes normal unless it is maximised.
bool ParseWindowPos(const std::string& text, WindowPos* pos);

}  // namespace pictavo::app
