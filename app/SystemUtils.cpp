#include "app/SystemUtils.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

namespace pictavo::SystemUtils {

namespace {

// A value of an os-release line: shell-style quotes removed, with their backslash escapes.
std::string Unquote(const std::string& value) {
  if (value.size() < 2 || (value.front() != '"' && value.front() != '\'') ||
      value.back() != value.front()) {
    return value;
  }
  const char quote = value.front();
  std::string text;
  for (std::size_t i = 1; i + 1 < value.size(); ++i) {
    if (quote == '"' && value[i] == '\\' && i + 2 < value.size()) ++i;
    text += value[i];
  }
  return text;
}

}  // namespace

std::string GetOSNameFromFile(const std::string& osReleasePath) {
  std::ifstream file(osReleasePath);
  std::map<std::string, std::string> fields;
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t equals = line.find('=');
    if (line.empty() || line.front() == '#' || equals == std::string::npos) continue;
    fields[line.substr(0, equals)] = Unquote(line.substr(equals + 1));
  }
  if (!fields["PRETTY_NAME"].empty()) return fields["PRETTY_NAME"];
  std::string name = fields["NAME"];
  if (!fields["VERSION"].empty()) name += (name.empty() ? "" : " ") + fields["VERSION"];
  return name;
}

std::string GetWindowsVersionString() {
  for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
    std::string name = GetOSNameFromFile(path);
    if (!name.empty()) return name;
  }
  return "Linux";
}

std::string GetOSVersion() {
  utsname names{};
  if (::uname(&names) != 0) return std::string();
  return std::string(names.sysname) + " " + names.release + " (" + names.machine + ")";
}

namespace {

bool IsListedInFile(const std::filesystem::path& list, const std::vector<std::string>& paths) {
  std::ifstream file(list);
  std::string line;
  while (std::getline(file, line))
    if (std::find(paths.begin(), paths.end(), line) != paths.end()) return true;
  return false;
}

bool IsListFile(const std::filesystem::path& file) {
  return file.extension() == ".list";
}

// Where dpkg installs programs; elsewhere (a build folder, the home folder) only the package
// of our own name is looked at, so start-up does not read every package's file list.
bool IsSystemLocation(const std::string& path) {
  for (const char* prefix : {"/usr/", "/bin/", "/sbin/", "/lib", "/opt/"})
    if (path.rfind(prefix, 0) == 0) return true;
  return false;
}

// dpkg lists every file of a package by its absolute path in <package>[:arch].list; with a
// merged /usr it may name /bin/... for /usr/bin/....
bool IsListedByDpkg(const std::string& programPath, const std::string& dpkgInfoFolder) {
  std::vector<std::string> paths = {programPath};
  if (programPath.rfind("/usr/", 0) == 0) paths.push_back(programPath.substr(4));
  std::error_code error;
  std::vector<std::filesystem::path> others;
  for (std::filesystem::directory_iterator it(dpkgInfoFolder, error), end; !error && it != end;
       it.increment(error)) {
    const std::filesystem::path file = it->path();
    if (!IsListFile(file)) continue;
    const std::string name = file.stem().string();
    if (name == "pictavo" || name.rfind("pictavo:", 0) == 0) {
      if (IsListedInFile(file, paths)) return true;
    } else {
      others.push_back(file);
    }
  }
  if (!IsSystemLocation(programPath)) return false;
  for (const std::filesystem::path& file : others)
    if (IsListedInFile(file, paths)) return true;
  return false;
}

}  // namespace

bool IsAdministratorRightsForUpdates(const std::string& programPath,
                                     const std::string& dpkgInfoFolder) {
  if (programPath.empty()) return false;
  if (IsListedByDpkg(programPath, dpkgInfoFolder)) return false;
  const std::string folder = std::filesystem::path(programPath).parent_path().string();
  // Replacing the program means writing its file and its folder.
  return ::access(programPath.c_str(), W_OK) == 0 && ::access(folder.c_str(), W_OK) == 0;
}

bool IsAdministratorRightsForUpdates() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return false;
  return IsAdministratorRightsForUpdates(self.string(), "/var/lib/dpkg/info");
}

}  // namespace pictavo::SystemUtils
