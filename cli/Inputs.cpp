#include "cli/Inputs.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace pictavo::cli {

namespace {

namespace fs = std::filesystem;

std::string Quoted(const std::string& path) {
  return "\"" + path + "\"";
}

}  // namespace

std::string CheckFolder(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  // A link loop or a folder we may not enter is there, but cannot be read.
  if (error && error != std::errc::no_such_file_or_directory &&
      error != std::errc::not_a_directory) {
    return "cannot read the folder " + Quoted(path) + ": " + error.message();
  }
  if (!fs::exists(status)) return "folder not found: " + Quoted(path);
  if (!fs::is_directory(status)) return "not a folder: " + Quoted(path);
  return {};
}

std::string CheckReadableFile(const std::string& path, const std::string& what) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (!fs::exists(status)) return what + " not found: " + Quoted(path);
  if (fs::is_directory(status)) return what + " is a folder: " + Quoted(path);
  // Opening a FIFO for reading waits for a writer; a device may never end.
  if (!fs::is_regular_file(status)) return what + " is not a regular file: " + Quoted(path);
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return "cannot read the " + what + " " + Quoted(path) + ": " + std::strerror(errno);
  close(fd);
  return {};
}

std::string CheckOptionalReadableFile(const std::string& path, const std::string& what) {
  std::error_code error;
  if (!fs::exists(fs::symlink_status(path, error))) return {};
  return CheckReadableFile(path, what);
}

}  // namespace pictavo::cli
