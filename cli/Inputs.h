#pragma once

// Checks of the paths the user names, made before anything is read or written, so a bad
// argument ends with a message that names the path and leaves the disk untouched.

#include <optional>
#include <string>

namespace pictavo::cli {

// Empty when path is an existing folder; else the message to print.
std::string CheckFolder(const std::string& path);

// Empty when path is a regular file we can read (checked without blocking, so a FIFO is
// refused, not waited on); else the message. what names it ("settings file").
std::string CheckReadableFile(const std::string& path, const std::string& what);

// Like CheckReadableFile, but a missing file is fine (it means the defaults).
std::string CheckOptionalReadableFile(const std::string& path, const std::string& what);

}  // namespace pictavo::cli
