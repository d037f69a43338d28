#pragma once

// File and folder helpers on UTF-8 paths with "/" separators. Every bool call returns false on
// failure and records the reason for LogUtils::GetLastErrorMessage().

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pictavo::FileUtils {

// a joined with b by one "/"; b alone when it is absolute or a is empty.
std::string GetCombinePath(const std::string& a, const std::string& b);

// True for an existing file or folder (symbolic links followed).
bool FileExists(const std::string& path);
bool IsDirectory(const std::string& path);

// The part after the last "/" ("c.jpg" of "/a/b/c.jpg"); the whole path when it has none.
std::string GetSplitFileName(const std::string& path);
// The part up to and including the last "/" ("/a/b/" of "/a/b/c.jpg"); empty when it has none.
std::string GetSplitDirPath(const std::string& path);
// path without trailing "/"; the root "/" stays as it is.
std::string GetPathRemoveBackslash(const std::string& path);

// Creates the folder with all missing parents; true when it exists as a folder afterwards.
bool CreateFolderPathExists(const std::string& path);
// Copies one file, replacing dst through WriteFileAtomic's temporary file. Copying a file onto
// itself fails and leaves it untouched; a source that is no regular file is refused.
bool CopyFile(const std::string& src, const std::string& dst);
// Copies the content of folder src into dst (created when missing), replacing files one by one
// as CopyFile does.
bool CopyFolder(const std::string& src, const std::string& dst);

// The one writer of every file the program makes: a temporary file beside the target named
// ".pictavo-XXXXXX" (short, so a target name of up to 255 bytes still works) takes every byte,
// is flushed and then renamed over the target. A failure or a kill therefore never leaves a
// partial file under the target's name, and an earlier file of that name stays until the
// rename. A replaced file keeps its permission bits; a new one gets 0666 less the umask.
class AtomicFile {
 public:
  AtomicFile() = default;
  ~AtomicFile();  // an uncommitted temporary file is removed
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Creates the temporary file for target.
  bool Open(const std::string& target);
  bool Write(std::string_view bytes);
  // The open descriptor, for copy calls; -1 when closed or handed over.
  int Descriptor() const { return m_fd; }
  // Hands the descriptor over (to fdopen): whoever takes it closes it before Commit.
  int ReleaseDescriptor();
  // Closes the file (durable: after fdatasync) and renames it over the target.
  bool Commit(bool durable = false);
  // Removes the temporary file; the target stays as it was.
  void Discard();
  const std::string& Target() const { return m_target; }

 private:
  bool Fail(int code);
  std::string m_target;
  std::string m_temp;
  int m_fd = -1;
};

// Writes bytes as the whole file through AtomicFile. durable also waits for the disk, for
// files whose loss would lose the user's own work.
bool WriteFileAtomic(const std::string& path, std::string_view bytes, bool durable = false);
// Deletes the folder and everything in it; true when it is gone (also when it was absent).
// Refuses an empty path and the root.
bool DeleteFolder(const std::string& path);

// The folder of the running executable, without trailing "/".
std::string GetModuleFolderPath();
// The user's documents folder: XDG_DOCUMENTS_DIR (environment, then user-dirs.dirs), else
// $HOME/Documents.
std::string GetPersonalPath();

// Size in bytes of a regular file; 0 (with the reason recorded) when it cannot be read.
std::int64_t GetFileSize(const std::string& path);
// Display text of a byte count as the file manager shows it: "0 バイト", "1023 バイト", "1 KB",
// "1.5 KB", "15 KB", "2.4 MB". Below 10 units one decimal is kept, above it none; digits are
// cut, never rounded up, so a size is never overstated. flags is reserved and ignored.
std::string GetFileSize(std::int64_t bytes, int flags);

// One name that stays one component inside a folder on every desktop an album may be copied
// to: not empty, not "." or "..", none of \ / : * ? " < > |, no control characters.
bool IsValidFolderName(const std::string& name);

}  // namespace pictavo::FileUtils

// The folder group of the same services, under the names the folder callers use.
namespace pictavo::FolderUtils {
using FileUtils::CopyFolder;
using FileUtils::CreateFolderPathExists;
using FileUtils::DeleteFolder;
}  // namespace pictavo::FolderUtils
