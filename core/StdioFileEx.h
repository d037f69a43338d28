#pragma once

// A line-oriented text file that keeps text as UTF-8 in memory and converts at the file
// boundary: UTF-16LE (Unicode mode) or a code page (narrow mode), with byte-order marks.
// The file is always binary: writers put "\r\n" themselves, readers split at line feeds and
// drop one trailing carriage return.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "core/FileUtils.h"

namespace pictavo {

class CStdioFileEx {
 public:
  static constexpr unsigned modeRead = 0;
  static constexpr unsigned modeWrite = 0x1;
  static constexpr unsigned modeReadWrite = 0x2;
  static constexpr unsigned modeCreate = 0x1000;
  static constexpr unsigned modeNoTruncate = 0x2000;  // with modeCreate: keep existing content
  static constexpr unsigned typeText = 0x4000;
  static constexpr unsigned typeBinary = 0x8000;
  static constexpr unsigned typeUnicode = 0x200000;

  enum SeekPosition { begin = SEEK_SET, current = SEEK_CUR, end = SEEK_END };

  CStdioFileEx() = default;
  ~CStdioFileEx();
  CStdioFileEx(const CStdioFileEx&) = delete;
  CStdioFileEx& operator=(const CStdioFileEx&) = delete;

  // Set before Open. -1 is the locale's character set; 65001 is UTF-8.
  void SetCodePage(int codePage) { m_codePage = codePage; }
  int GetCodePage() const { return m_codePage; }
  // Write a byte-order mark when writing at the start of the file (on by default).
  void SetWriteMark(bool writeMark) { m_writeMark = writeMark; }
  bool IsUnicode() const { return m_unicode; }
  unsigned GetOpenFlags() const { return m_openFlags; }
  bool IsOpen() const { return m_file != nullptr; }

  // Opening for reading picks Unicode mode from a leading FF FE, whatever the flags say.
  // modeCreate | modeWrite without modeNoTruncate writes a new file through
  // FileUtils::AtomicFile: the file appears under its name at Close, and only when every write
  // succeeded; until then an earlier file of that name stays as it was.
  // False on failure, with the reason in LogUtils::GetLastErrorMessage().
  bool Open(const std::filesystem::path& path, unsigned flags);
  // New position, or -1. Re-arms the mark handling for a read or write at position 0.
  std::int64_t Seek(std::int64_t offset, SeekPosition from);
  std::int64_t GetPosition() const;

  // Writes text converted, with a mark first when at position 0; adds no line end.
  bool WriteString(std::string_view text);
  // The next line without its line end; false and an empty line at the end of the file.
  bool ReadString(std::string& line);

  // False when buffered data could not be written (a replacing file is then discarded).
  bool Close();

 private:
  void SwitchTo(bool writing);
  bool WriteBytes(std::string_view bytes);
  bool WriteMarkIfAtStart();
  void SkipMarkIfAtStart();
  bool ReadNarrowLine(std::string& bytes);
  bool ReadUnicodeLine(std::string& bytes);

  std::FILE* m_file = nullptr;
  std::unique_ptr<FileUtils::AtomicFile> m_replacing;  // set while writing a new file
  bool m_writeFailed = false;                          // a write of the replacing file failed
  std::string m_path;                                  // named in error texts
  bool m_unicode = false;
  unsigned m_openFlags = 0;
  int m_codePage = -1;
  char m_defaultChar = '#';
  bool m_writeMark = true;
  bool m_atStart = true;
  bool m_lastWasWrite = false;
  bool m_lastWasRead = false;
  char* m_lineBuffer = nullptr;  // getline's buffer, reused across lines
  size_t m_lineCapacity = 0;
};

// Writes a page: the UTF-8 mark EF BB BF and text, in one write, replacing the file through
// FileUtils::WriteFileAtomic.
// False with the reason in LogUtils::GetLastErrorMessage() on failure.
bool WriteTextFileUtf8(const std::filesystem::path& path, std::string_view text);

}  // namespace pictavo
