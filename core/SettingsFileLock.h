#pragma once

// Serialises the read-modify-write of a settings file between processes (the command line's
// config set, the desktop program's save): an exclusive lock on a lock file beside the settings
// file, ".NAME.lock", which stays there empty. While locked, temporary files that an interrupted
// save of the same file left behind are ours to remove.

#include <filesystem>
#include <string>

namespace pictavo {

class SettingsFileLock {
 public:
  // How long Lock waits for another holder before it gives up.
  static constexpr int kWaitMilliseconds = 10000;

  explicit SettingsFileLock(std::filesystem::path settingsFile);
  ~SettingsFileLock();
  SettingsFileLock(const SettingsFileLock&) = delete;
  SettingsFileLock& operator=(const SettingsFileLock&) = delete;

  // Creates the settings folder when missing, then takes the lock. False with the reason
  // recorded (LogUtils) when the folder or the lock file cannot be made, or another process
  // kept the lock for kWaitMilliseconds.
  bool Lock();
  bool IsLocked() const { return m_fd >= 0; }

  // Removes ".NAME.XXXXXX" files beside the settings file (the temporary names of its save),
  // which only a killed save leaves behind, and ".pictavo-XXXXXX" files of the shared atomic
  // writer once they are ten minutes old. Only while locked; the count removed.
  int RemoveStaleTemporaryFiles() const;

  std::filesystem::path LockFilePath() const;

 private:
  std::filesystem::path m_settingsFile;
  int m_fd = -1;
};

}  // namespace pictavo
