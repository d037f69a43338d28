#include "app/BrowserFuncs.h"

#include <unistd.h>

#include <QString>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace pictavo::app::BrowserFuncs {

namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream stream(text);
  while (std::getline(stream, part, separator)) {
    if (!part.empty()) parts.push_back(part);
  }
  return parts;
}

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

bool IsExecutableFile(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0;
}

// First word of an Exec line; double quotes group a word with blanks.
std::string FirstWord(const std::string& exec) {
  std::string word;
  bool quoted = false;
  for (std::size_t i = 0; i < exec.size(); ++i) {
    const char c = exec[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (c == '\\' && quoted && i + 1 < exec.size()) {
      word += exec[++i];
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (!word.empty()) break;
    } else {
      word += c;
    }
  }
  return word;
}

bool ListHas(const std::string& list, const std::string& wanted) {
  for (const std::string& entry : Split(list, ';')) {
    if (entry == wanted) return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> GetApplicationFolders() {
  std::string dataHome = Env("XDG_DATA_HOME");
  if (dataHome.empty() || dataHome.front() != '/') dataHome = Env("HOME") + "/.local/share";
  std::string dataDirs = Env("XDG_DATA_DIRS");
  if (dataDirs.empty()) dataDirs = "/usr/local/share:/usr/share";
  std::vector<std::string> folders{dataHome + "/applications"};
  for (const std::string& dir : Split(dataDirs, ':')) {
    if (dir.front() == '/') folders.push_back(dir + "/applications");
  }
  return folders;
}

std::string FindProgram(const std::string& exec) {
  const std::string word = FirstWord(exec);
  if (word.empty()) return "";
  if (word.find('/') != std::string::npos) {
    return word.front() == '/' && IsExecutableFile(word) ? word : "";
  }
  for (const std::string& dir : Split(Env("PATH"), ':')) {
    const std::filesystem::path candidate = std::filesystem::path(dir) / word;
    if (IsExecutableFile(candidate)) return candidate.string();
  }
  return "";
}

bool ReadDesktopEntry(const std::string& path, const std::string& id, int apps, APPITEM& item) {
  std::ifstream file(path);
  if (!file) return false;
  std::map<std::string, std::string> keys;
  bool inEntry = false;
  std::string line;
  while (std::getline(file, line)) {
    line = Trim(line);
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[') {
      inEntry = line == "[Desktop Entry]";
      continue;
    }
    const auto equals = line.find('=');
    if (!inEntry || equals == std::string::npos) continue;
    keys.emplace(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
  }
  const auto value = [&keys](const std::string& key) {
    const auto found = keys.find(key);
    return found == keys.end() ? std::string() : found->second;
  };
  if (value("Type") != "Application" || value("NoDisplay") == "true" || value("Hidden") == "true") {
    return false;
  }
  if (!ListHas(value("Categories"), "WebBrowser") && !ListHas(value("MimeType"), "text/html")) {
    return false;
  }
  item.apps = apps;
  item.key = id;
  item.name = value("Name[ja_JP]");
  if (item.name.empty()) item.name = value("Name[ja]");
  if (item.name.empty()) item.name = value("Name");
  if (item.name.empty()) item.name = id;
  item.program = FindProgram(value("Exec"));
  item.icon = value("Icon");
  return true;
}

std::vector<APPITEM> GetBrowserItemsList(const std::vector<std::string>& folders) {
  std::vector<APPITEM> items;
  std::vector<std::string> seen;
  for (std::size_t f = 0; f < folders.size(); ++f) {
    const std::filesystem::path root(folders[f]);
    std::error_code error;
    std::vector<std::filesystem::path> files;
    for (auto it = std::filesystem::recursive_directory_iterator(root, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
      if (it->path().extension() == ".desktop") files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
      // The desktop id: the path below the applications folder with "/" turned into "-".
      std::string id = file.lexically_relative(root).generic_string();
      std::replace(id.begin(), id.end(), '/', '-');
      if (std::find(seen.begin(), seen.end(), id) != seen.end()) continue;
      seen.push_back(id);  // a hidden entry still hides the same id further down
      APPITEM item;
      if (ReadDesktopEntry(file.string(), id, f == 0 ? kUserEntry : kSystemEntry, item)) {
        items.push_back(std::move(item));
      }
    }
  }
  std::stable_sort(items.begin(), items.end(), [](const APPITEM& a, const APPITEM& b) {
    return QString::fromStdString(a.name).localeAwareCompare(QString::fromStdString(b.name)) < 0;
  });
  return items;
}

std::vector<APPITEM> GetBrowserItemsList() {
  return GetBrowserItemsList(GetApplicationFolders());
}

int FindBrowserRow(const std::vector<APPITEM>& rows, const std::string& key) {
  if (rows.empty()) return -1;
  const QString wanted = QString::fromStdString(key);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (QString::fromStdString(rows[i].key).compare(wanted, Qt::CaseInsensitive) == 0) {
      return static_cast<int>(i);
    }
  }
  return 0;
}

}  // namespace pictavo::app::BrowserFuncs
