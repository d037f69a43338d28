#pragma once

// The operating system as the about box names it: the distribution from os-release and the
// kernel from uname.

#include <string>

namespace pictavo::SystemUtils {

// The distribution's name and version, "Debian GNU/Linux 12 (bookworm)": PRETTY_NAME of
// /etc/os-release (else /usr/lib/os-release), else NAME and VERSION, else "Linux".
std::string GetWindowsVersionString();
// The same read from one os-release file; empty when it names nothing.
std::string GetOSNameFromFile(const std::string& osReleasePath);
// The kernel, "Linux 6.1.0-18-amd64 (x86_64)".
std::string GetOSVersion();

}  // namespace pictavo::SystemUtils
