#include "core/StdioFileEx.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>

#include "core/Encoding.h"
#include "core/LogUtils.h"

namespace pictavo {

namespace {

constexpr std::string_view kUnicodeMark = "\xFF\xFE";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

int OpenDescriptor(const std::filesystem::path& path, unsigned flags, const char** streamMode) {
  int openFlags = O_CLOEXEC;
  if (flags & CStdioFileEx::modeReadWrite) {
    openFlags |= O_RDWR;
    *streamMode = "r+b";
  } else if (flags & CStdioFileEx::modeWrite) {
    openFlags |= O_WRONLY;
    *streamMode = "wb";  // fdopen does not truncate; O_TRUNC below decides
  } else {
    openFlags |= O_RDONLY;
    *streamMode = "rb";
  }
  if (flags & CStdioFileEx::modeCreate) {
    openFlags |= O_CREAT;
    if (!(flags & CStdioFileEx::modeNoTruncate)) openFlags |= O_TRUNC;
  }
  const int fd = ::open(path.c_str(), openFlags, 0666);
  if (fd < 0) return -1;
  // A folder opens for reading on Linux; it is not a text file.
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd);
    errno = EISDIR;
    return -1;
  }
  return fd;
}

}  // namespace

CStdioFileEx::~CStdioFileEx() {
  Close();
  std::free(m_lineBuffer);
}

bool CStdioFileEx::Open(const std::filesystem::path& path, unsigned flags) {
  Close();
  m_path = path.string();
  m_unicode = (flags & typeUnicode) != 0;
  m_openFlags = (flags & ~typeText) | typeBinary;
  m_atStart = true;
  m_lastWasWrite = false;
  m_lastWasRead = false;

  m_writeFailed = false;
  const char* streamMode = "wb";
  int fd = -1;
  if ((m_openFlags & (modeCreate | modeWrite | modeReadWrite | modeNoTruncate)) ==
      (modeCreate | modeWrite)) {
    m_replacing = std::make_unique<FileUtils::AtomicFile>();
    if (!m_replacing->Open(m_path)) {
      m_replacing.reset();
      return false;
    }
    fd = m_replacing->ReleaseDescriptor();
  } else {
    fd = OpenDescriptor(path, m_openFlags, &streamMode);
    if (fd < 0) {
      LogUtils::SetLastError(errno, m_path);
      return false;
    }
  }
  m_file = ::fdopen(fd, streamMode);
  if (!m_file) {
    LogUtils::SetLastError(errno, m_path);
    ::close(fd);
    m_replacing.reset();
    return false;
  }

  if (!(flags & (modeWrite | modeCreate))) {
    char mark[2] = {};
    const size_t got = std::fread(mark, 1, sizeof mark, m_file);
    m_unicode = got == 2 && std::string_view(mark, 2) == kUnicodeMark;
    if (std::fseek(m_file, 0, SEEK_SET) != 0) {
      LogUtils::SetLastError(errno, m_path);
      Close();
      return false;
    }
  }
  // Refuse now rather than turn every line into an empty one later.
  if (!m_unicode && !Encoding::IsCodePageSupported(m_codePage)) {
    m_writeFailed = true;  // nothing of this file may replace an earlier one
    Close();
    LogUtils::SetLastErrorMessage("The code page " + std::to_string(m_codePage) +
                                  " is not supported: " + m_path);
    return false;
  }
  return true;
}

std::int64_t CStdioFileEx::Seek(std::int64_t offset, SeekPosition from) {
  m_atStart = true;
  m_lastWasWrite = false;
  m_lastWasRead = false;
  if (!m_file || ::fseeko(m_file, static_cast<off_t>(offset), from) != 0) {
    if (m_file) LogUtils::SetLastError(errno, m_path);
    return -1;
  }
  return GetPosition();
}

std::int64_t CStdioFileEx::GetPosition() const {
  return m_file ? static_cast<std::int64_t>(::ftello(m_file)) : -1;
}

// C streams need a positioning call between a read and a write on the same stream.
void CStdioFileEx::SwitchTo(bool writing) {
  if ((writing && m_lastWasRead) || (!writing && m_lastWasWrite)) {
    ::fseeko(m_file, 0, SEEK_CUR);
  }
  m_lastWasWrite = writing;
  m_lastWasRead = !writing;
}

bool CStdioFileEx::WriteBytes(std::string_view bytes) {
  if (bytes.empty()) return true;
  if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size()) {
    LogUtils::SetLastError(errno != 0 ? errno : EIO, m_path);
    m_writeFailed = true;
    return false;
  }
  return true;
}

bool CStdioFileEx::WriteMarkIfAtStart() {
  if (!m_writeMark || GetPosition() != 0) return true;
  if (m_unicode) return WriteBytes(kUnicodeMark);
  if (m_codePage == Encoding::kCodePageUtf8) return WriteBytes(kUtf8Mark);
  return true;
}

bool CStdioFileEx::WriteString(std::string_view text) {
  if (!m_file) {
    LogUtils::SetLastErrorMessage("The file is not open: " + m_path);
    return false;
  }
  SwitchTo(true);
  std::string bytes;
  if (m_unicode) {
    bytes = Encoding::Utf8ToUtf16Le(text);
  } else {
    std::optional<std::string> converted =
        Encoding::Utf8ToCodePage(text, m_codePage, m_defaultChar);
    if (!converted) {
      LogUtils::SetLastErrorMessage("The text could not be converted to code page " +
                                    std::to_string(m_codePage) + ": " + m_path);
      return false;
    }
    bytes = std::move(*converted);
  }
  return WriteMarkIfAtStart() && WriteBytes(bytes);
}

// Only a mark that is really there is skipped: a UTF-8 file written without one keeps its
// first characters.
void CStdioFileEx::SkipMarkIfAtStart() {
  if (!m_atStart || GetPosition() != 0) return;
  std::string_view mark;
  if (m_unicode) {
    mark = kUnicodeMark;
  } else if (m_codePage == Encoding::kCodePageUtf8) {
    mark = kUtf8Mark;
  } else {
    return;
  }
  char head[3] = {};
  const size_t got = std::fread(head, 1, mark.size(), m_file);
  if (got != mark.size() || std::string_view(head, got) != mark) {
    std::clearerr(m_file);
    ::fseeko(m_file, 0, SEEK_SET);
  }
}

bool CStdioFileEx::ReadNarrowLine(std::string& bytes) {
  const ssize_t got = ::getline(&m_lineBuffer, &m_lineCapacity, m_file);
  if (got < 0) return false;
  bytes.assign(m_lineBuffer, static_cast<size_t>(got));
  if (!bytes.empty() && bytes.back() == '\n') bytes.pop_back();
  if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
  return true;
}

bool CStdioFileEx::ReadUnicodeLine(std::string& bytes) {
  bytes.clear();
  bool any = false;
  for (;;) {
    const int low = getc_unlocked(m_file);
    if (low == EOF) break;
    any = true;
    const int high = getc_unlocked(m_file);
    if (high == EOF) {
      bytes.push_back(static_cast<char>(low));  // odd last byte: shown as U+FFFD
      break;
    }
    if (low == '\n' && high == 0) break;
    bytes.push_back(static_cast<char>(low));
    bytes.push_back(static_cast<char>(high));
  }
  if (bytes.size() >= 2 && bytes[bytes.size() - 2] == '\r' && bytes.back() == '\0') {
    bytes.resize(bytes.size() - 2);
  }
  return any;
}

bool CStdioFileEx::ReadString(std::string& line) {
  line.clear();
  if (!m_file) {
    LogUtils::SetLastErrorMessage("The file is not open: " + m_path);
    return false;
  }
  SwitchTo(false);
  SkipMarkIfAtStart();
  std::string bytes;
  const bool got = m_unicode ? ReadUnicodeLine(bytes) : ReadNarrowLine(bytes);
  if (!got) {
    if (std::ferror(m_file)) LogUtils::SetLastError(errno != 0 ? errno : EIO, m_path);
    return false;
  }
  if (m_unicode) {
    line = Encoding::Utf16LeToUtf8(bytes);
  } else {
    line = Encoding::CodePageToUtf8(bytes, m_codePage).value_or(std::string());
  }
  m_atStart = false;
  return true;
}

bool CStdioFileEx::Close() {
  if (!m_file) return true;
  bool ok = std::fclose(m_file) == 0;
  if (!ok) LogUtils::SetLastError(errno, m_path);
  m_file = nullptr;
  if (m_replacing) {
    // A file with a failed write never replaces the one of its name.
    if (ok && !m_writeFailed) {
      ok = m_replacing->Commit();
    } else {
      m_replacing->Discard();
      ok = false;
    }
    m_replacing.reset();
  }
  return ok;
}

bool WriteTextFileUtf8(const std::filesystem::path& path, std::string_view text) {
  std::string page;
  page.reserve(kUtf8Mark.size() + text.size());
  page.append(kUtf8Mark).append(text);
  return FileUtils::WriteFileAtomic(path.string(), page);
}

}  // namespace pictavo
