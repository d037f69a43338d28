#include "core/SettingsFileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <system_error>
#include <thread>
#include <utility>

#include "core/LogUtils.h"

namespace pictavo {

namespace fs = std::filesystem;

namespace {

constexpr int kRetryMilliseconds = 20;
constexpr std::size_t kTemporarySuffix = 6;  // mkstemp's XXXXXX

fs::path FolderOf(const fs::path& file) {
  return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

// The shared atomic writer's temporary files are anyone's while young: another file of the
// folder may be being saved without this lock. A save takes milliseconds, not minutes.
constexpr auto kSharedTemporaryAge = std::chrono::minutes(10);

// prefix followed by exactly six letters or digits.
bool IsTemporaryName(const std::string& candidate, const std::string& prefix) {
  if (candidate.size() != prefix.size() + kTemporarySuffix ||
      candidate.compare(0, prefix.size(), prefix) != 0) {
    return false;
  }
  for (std::size_t i = prefix.size(); i < candidate.size(); ++i) {
    if (!std::isalnum(static_cast<unsigned char>(candidate[i]))) return false;
  }
  return true;
}

}  // namespace

SettingsFileLock::SettingsFileLock(fs::path settingsFile)
    : m_settingsFile(std::move(settingsFile)) {}

SettingsFileLock::~SettingsFileLock() {
  if (m_fd >= 0) ::close(m_fd);  // closing releases the lock
}

fs::path SettingsFileLock::LockFilePath() const {
  return FolderOf(m_settingsFile) / ("." + m_settingsFile.filename().string() + ".lock");
}

bool SettingsFileLock::Lock() {
  if (m_fd >= 0) return true;
  std::error_code ec;
  fs::create_directories(FolderOf(m_settingsFile), ec);
  const fs::path lockFile = LockFilePath();
  const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    LogUtils::SetLastError(errno, lockFile.string());
    return false;
  }
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMilliseconds);
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() > deadline) {
      const int error = errno;
      ::close(fd);
      if (error == EWOULDBLOCK) {
        LogUtils::SetLastErrorMessage("another program keeps the settings file locked: \"" +
                                      lockFile.string() + "\"");
      } else {
        LogUtils::SetLastError(error, lockFile.string());
      }
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(kRetryMilliseconds));
  }
  m_fd = fd;
  return true;
}

int SettingsFileLock::RemoveStaleTemporaryFiles() const {
  if (m_fd < 0) return 0;
  const std::string name = m_settingsFile.filename().string();
  int removed = 0;
  std::error_code ec;
  for (fs::directory_iterator it(FolderOf(m_settingsFile), ec), end; !ec && it != end;
       it.increment(ec)) {
    const fs::path& entry = it->path();
    const std::string candidate = entry.filename().string();
    const bool ours = IsTemporaryName(candidate, "." + name + ".");
    if (!ours && !IsTemporaryName(candidate, ".pictavo-")) continue;
    if (!it->is_regular_file(ec) || it->is_symlink(ec)) continue;
    if (!ours) {
      const auto modified = it->last_write_time(ec);
      if (ec || fs::file_time_type::clock::now() - modified < kSharedTemporaryAge) continue;
    }
    std::error_code removeError;
    if (fs::remove(entry, removeError)) ++removed;
  }
  return removed;
}

}  // namespace pictavo
