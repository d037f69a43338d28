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
// The distribution's description for the update service's query.
inline std::string GetWindowsString() {
  return GetWindowsVersionString();
}

// Whether this user may update the program: false when the package manager owns it (the
// program file is listed in a dpkg file list, *.list in dpkgInfoFolder: always the package
// "pictavo", every package for a program under /usr, /bin, /sbin, /lib* or /opt) or when the
// user cannot replace the program file; true for a user or portable install the user can write.
bool IsAdministratorRightsForUpdates(const std::string& programPath,
                                     const std::string& dpkgInfoFolder);
// The same for the running program and /var/lib/dpkg/info.
bool IsAdministratorRightsForUpdates();

}  // namespace pictavo::SystemUtils
