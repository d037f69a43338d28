#include "core/FileUtils.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>
#include <vector>

#include "core/LogUtils.h"

namespace pictavo::FileUtils {

namespace fs = std::filesystem;

namespace {

bool Fail(const std::error_code& ec, const std::string& subject) {
  LogUtils::SetLastError(ec.value(), subject);
  return false;
}

bool Refuse(const std::string& text) {
  LogUtils::SetLastErrorMessage(text);
  return false;
}

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) {
    return pw->pw_dir;
  }
  return "/";
}

std::string ConfigHome() {
  if (const char* v = std::getenv("XDG_CONFIG_HOME"); v != nullptr && *v == '/') return v;
  return GetCombinePath(HomeFolder(), ".config");
}

// A user-dirs.dirs value: "$HOME/..." or an absolute path; anything else is not usable.
std::string ExpandUserDir(std::string value, const std::string& home) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    value = value.substr(1, value.size() - 2);
  }
  if (value.rfind("$HOME", 0) == 0) {
    const std::string rest = value.substr(5);
    if (!rest.empty() && rest.front() != '/') return std::string();
    value = home + rest;
  }
  if (value.empty() || value.front() != '/') return std::string();
  value = GetPathRemoveBackslash(value);
  // The user-dirs convention: a folder equal to home means "not set".
  return value == GetPathRemoveBackslash(home) ? std::string() : value;
}

// Six characters in the style of mkstemp, which we cannot use: it creates files with 0600.
std::string RandomSuffix() {
  static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  thread_local std::mt19937 generator{std::random_device{}()};
  std::uniform_int_distribution<int> pick(0, sizeof kChars - 2);
  std::string suffix(6, ' ');
  for (char& c : suffix) c = kChars[pick(generator)];
  return suffix;
}

bool WriteAllTo(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t wrote = ::write(fd, data, size);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) {
      if (wrote == 0) errno = EIO;
      return false;
    }
    data += wrote;
    size -= static_cast<size_t>(wrote);
  }
  return true;
}

// Copies the rest of in to out; errno tells why when false. *readFailed says which side failed.
bool CopyDescriptor(int in, int out, bool* readFailed) {
  *readFailed = false;
  // copy_file_range lets the file system share or copy the blocks itself.
  for (;;) {
    const ssize_t copied = ::copy_file_range(in, nullptr, out, nullptr, size_t{1} << 30, 0);
    if (copied == 0) return true;
    if (copied > 0) continue;
    if (errno == EINTR) continue;
    if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP) break;
    return false;
  }
  std::vector<char> buffer(256 * 1024);
  for (;;) {
    const ssize_t got = ::read(in, buffer.data(), buffer.size());
    if (got == 0) return true;
    if (got < 0) {
      if (errno == EINTR) continue;
      *readFailed = true;
      return false;
    }
    if (!WriteAllTo(out, buffer.data(), static_cast<size_t>(got))) return false;
  }
}

std::string DocumentsFromUserDirs(const std::string& home) {
  std::ifstream in(GetCombinePath(ConfigHome(), "user-dirs.dirs"));
  std::string line;
  std::string found;
  // A well-formed file is a few hundred bytes; a bound stops us reading a huge stray file.
  for (int n = 0; n < 1000 && std::getline(in, line); ++n) {
    const std::string key = "XDG_DOCUMENTS_DIR=";
    const auto start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, key.size(), key) != 0) continue;
    std::string value = line.substr(start + key.size());
    while (!value.empty() && (value.back() == '\r' || value.back() == ' ')) value.pop_back();
    found = ExpandUserDir(value, home);
  }
  return found;
}

}  // namespace

std::string GetCombinePath(const std::string& a, const std::string& b) {
  if (a.empty() || (!b.empty() && b.front() == '/')) return b;
  if (b.empty()) return a;
  return a.back() == '/' ? a + b : a + "/" + b;
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::exists(fs::path(path), ec);
}

bool IsDirectory(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(fs::path(path), ec);
}

std::string GetSplitFileName(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string GetSplitDirPath(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string GetPathRemoveBackslash(const std::string& path) {
  std::string result = path;
  while (result.size() > 1 && result.back() == '/') result.pop_back();
  return result;
}

bool CreateFolderPathExists(const std::string& path) {
  if (path.empty()) return Refuse("No folder name was given.");
  std::error_code ec;
  fs::create_directories(fs::path(path), ec);
  if (IsDirectory(path)) return true;
  return Fail(ec ? ec : std::make_error_code(std::errc::not_a_directory), path);
}

AtomicFile::~AtomicFile() {
  Discard();
}

bool AtomicFile::Fail(int code) {
  LogUtils::SetLastError(code, m_target);
  Discard();
  return false;
}

bool AtomicFile::Open(const std::string& target) {
  Discard();
  m_target = target;
  if (target.empty()) return Refuse("No file name was given.");
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) return Fail(EISDIR);
  // A device or pipe is never replaced by a file of ours (the program may run as root).
  if (exists && !S_ISREG(existing.st_mode)) {
    return Refuse("not a regular file: \"" + target + "\"");
  }
  const std::string folder = GetSplitDirPath(target);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string temp = folder + ".pictavo-" + RandomSuffix();
    // 0666 so that the umask decides, as for any file the user creates.
    m_fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (m_fd >= 0) {
      m_temp = std::move(temp);
      break;
    }
    if (errno != EEXIST) return Fail(errno);
  }
  if (m_fd < 0) return Fail(EEXIST);
  if (exists && S_ISREG(existing.st_mode)) ::fchmod(m_fd, existing.st_mode & 07777);
  return true;
}

bool AtomicFile::Write(std::string_view bytes) {
  if (m_fd < 0) return Fail(EBADF);
  return WriteAllTo(m_fd, bytes.data(), bytes.size()) || Fail(errno);
}

int AtomicFile::ReleaseDescriptor() {
  const int fd = m_fd;
  m_fd = -1;
  return fd;
}

bool AtomicFile::Commit(bool durable) {
  if (m_temp.empty()) return Fail(EBADF);
  if (m_fd >= 0) {
    if (durable && ::fdatasync(m_fd) != 0) return Fail(errno);
    // Some file systems (NFS) report a full disk only when the file is closed.
    const int fd = ReleaseDescriptor();
    if (::close(fd) != 0) return Fail(errno);
  }
  if (::rename(m_temp.c_str(), m_target.c_str()) != 0) return Fail(errno);
  m_temp.clear();
  return true;
}

void AtomicFile::Discard() {
  if (m_fd >= 0) ::close(ReleaseDescriptor());
  if (!m_temp.empty()) ::unlink(m_temp.c_str());
  m_temp.clear();
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes, bool durable) {
  AtomicFile file;
  return file.Open(path) && file.Write(bytes) && file.Commit(durable);
}

bool CopyFile(const std::string& src, const std::string& dst) {
  std::error_code ec;
  if (fs::equivalent(fs::path(src), fs::path(dst), ec)) {
    return Fail(std::make_error_code(std::errc::file_exists), dst);
  }
  // Non-blocking, so that a pipe given as the source cannot hold the run.
  const int in = ::open(src.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (in < 0) return Fail(std::error_code(errno, std::generic_category()), src);
  struct stat info {};
  if (::fstat(in, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(in);
    return Refuse("not a regular file: \"" + src + "\"");
  }
  AtomicFile out;
  bool readFailed = false;
  const bool copied = out.Open(dst) && CopyDescriptor(in, out.Descriptor(), &readFailed);
  const int code = errno;
  ::close(in);
  if (!copied) {
    if (out.Descriptor() < 0) return false;  // Open recorded its reason
    LogUtils::SetLastError(code, readFailed ? src : dst);
    return false;
  }
  return out.Commit();
}

bool CopyFolder(const std::string& src, const std::string& dst) {
  if (!IsDirectory(src)) return Fail(std::make_error_code(std::errc::not_a_directory), src);
  if (!CreateFolderPathExists(dst)) return false;
  std::error_code ec;
  for (fs::directory_iterator it(fs::path(src), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string from = it->path().string();
    const std::string to = GetCombinePath(dst, it->path().filename().string());
    const bool ok = it->is_directory(ec) ? CopyFolder(from, to) : CopyFile(from, to);
    if (!ok) return false;
  }
  return ec ? Fail(ec, src) : true;
}

bool DeleteFolder(const std::string& path) {
  if (path.empty()) return Refuse("No folder name was given.");
  std::error_code ec;
  const fs::path target = fs::weakly_canonical(fs::path(path), ec);
  if (ec) return Fail(ec, path);
  if (target == target.root_path()) return Refuse("The root folder is never deleted.");
  // Remove the path itself: a link is removed, never the folder it points to.
  fs::remove_all(fs::path(path), ec);
  return ec ? Fail(ec, path) : true;
}

std::string GetModuleFolderPath() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) {
    Fail(ec, "/proc/self/exe");
    return std::string();
  }
  return GetPathRemoveBackslash(exe.parent_path().string());
}

std::string GetPersonalPath() {
  const std::string home = HomeFolder();
  if (const char* v = std::getenv("XDG_DOCUMENTS_DIR"); v != nullptr) {
    if (std::string dir = ExpandUserDir(v, home); !dir.empty()) return dir;
  }
  if (std::string dir = DocumentsFromUserDirs(home); !dir.empty()) return dir;
  return GetCombinePath(home, "Documents");
}

std::int64_t GetFileSize(const std::string& path) {
  std::error_code ec;
  const auto size = fs::file_size(fs::path(path), ec);
  if (ec) {
    Fail(ec, path);
    return 0;
  }
  return static_cast<std::int64_t>(size);
}

std::string GetFileSize(std::int64_t bytes, int /*flags*/) {
  if (bytes < 1024) return std::to_string(bytes < 0 ? 0 : bytes) + " バイト";
  static const char* const kUnits[] = {"KB", "MB", "GB", "TB", "PB", "EB"};
  // 128 bits: ten times the largest 64-bit size still fits.
  using Wide = unsigned __int128;
  int unit = 0;
  Wide divisor = 1024;
  while (unit < 5 && static_cast<Wide>(bytes) >= divisor * 1024) {
    divisor *= 1024;
    ++unit;
  }
  const Wide tenths = static_cast<Wide>(bytes) * 10 / divisor;
  const auto whole = static_cast<std::uint64_t>(tenths / 10);
  const auto tenth = static_cast<unsigned>(tenths % 10);
  std::string text = std::to_string(whole);
  if (whole < 10 && tenth != 0) text += "." + std::to_string(tenth);
  return text + " " + kUnits[unit];
}

bool IsValidFolderName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return false;
  }
  return name.find_first_of("\\/:*?\"<>|") == std::string::npos;
}

}  // namespace pictavo::FileUtils
