#pragma once

// One INI-format profile file in memory: case-insensitive sections and keys, reads with
// defaults, writes in place (or appended to the section, the section appended when new), and an
// atomic save in the file's own encoding and line ends. Every line not written to is saved
// byte for byte as read: comments, text without "=", blanks around "=", unknown keys.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace pictavo {

class Profile {
 public:
  enum class Encoding { Utf16Le, Utf8Bom, Utf8 };

  // Larger files are refused on load: a profile of a few kilobytes is all we ever write.
  static constexpr std::size_t kMaxFileBytes = 8 * 1024 * 1024;

  // An empty profile that saves as UTF-16LE with a byte-order mark, the program's own form.
  Profile() = default;

  // Parses UTF-8 text (no byte-order mark) into a profile that will save in encoding.
  static Profile FromText(const std::string& text, Encoding encoding = Encoding::Utf16Le);

  // Reads path and remembers it for Save. A missing file gives an empty profile and true;
  // an unreadable or oversized file gives an empty profile and false with the reason recorded
  // (LogUtils). UTF-16LE needs its BOM; other files are read as UTF-8, BOM optional. Invalid
  // sequences become U+FFFD.
  bool Load(const std::filesystem::path& path);

  // Integer read: optional blanks and sign, then decimal digits (reading stops at the first
  // other character). Missing key, no digits or a value outside int give defaultValue.
  int GetInt(const std::string& section, const std::string& key, int defaultValue) const;
  // String read: the value with surrounding blanks and one pair of double quotes removed.
  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& defaultValue) const;
  bool HasKey(const std::string& section, const std::string& key) const;
  bool HasSection(const std::string& section) const;

  // False (and nothing changed) for an empty section or key, a section holding "]" or a key
  // holding "=", or either holding a line break. Line breaks inside a value are written as
  // blanks so a value can never forge a section or key of its own.
  bool WriteInt(const std::string& section, const std::string& key, int value);
  bool WriteString(const std::string& section, const std::string& key, const std::string& value);

  // Writes the whole file to a temporary file beside path and renames it over path, so the old
  // file stays whole when anything fails. False with the reason recorded (LogUtils).
  bool Save() const;
  bool SaveAs(const std::filesystem::path& path) const;

  // The file's text as UTF-8 with "\r\n" line ends and no byte-order mark.
  std::string ToText() const;

  Encoding GetEncoding() const { return m_encoding; }
  void SetEncoding(Encoding encoding) { m_encoding = encoding; }
  const std::filesystem::path& GetPath() const { return m_path; }

 private:
  struct Entry {
    bool isKey = false;
    std::string key;    // for a key line, as written
    std::string value;  // for a key line, as written (blanks trimmed)
    std::string raw;    // the line as read; empty for a key line written since
  };
  struct Section {
    bool hasHeader = false;  // false only for the lines before the first section
    std::string name;
    std::string rawHeader;  // the header line as read; empty for a section added since
    std::vector<Entry> entries;
  };

  void Parse(const std::string& text);
  const Entry* FindEntry(const std::string& section, const std::string& key) const;
  Section* FindSection(const std::string& name);
  const Section* FindSection(const std::string& name) const;
  std::string Encode() const;
  std::string Text(const char* lineEnd) const;

  std::vector<Section> m_sections;
  Encoding m_encoding = Encoding::Utf16Le;
  const char* m_lineEnd = "\r\n";  // a file read with bare "\n" line ends keeps them
  std::filesystem::path m_path;
};

}  // namespace pictavo
