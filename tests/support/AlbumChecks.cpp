#include "support/AlbumChecks.h"

#include "support/Fixtures.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

extern char** environ;

namespace pictavo::testing {

namespace {

namespace fs = std::filesystem;

std::string DecodeEntities(const std::string& text) {
  static const std::pair<const char*, const char*> kEntities[] = {
      {"&amp;", "&"}, {"&lt;", "<"},   {"&gt;", ">"},  {"&quot;", "\""},
      {"&#39;", "'"}, {"&#x27;", "'"}, {"&apos;", "'"}};
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    bool matched = false;
    if (text[i] == '&') {
      for (const auto& [entity, plain] : kEntities) {
        const std::string name(entity);
        if (text.compare(i, name.size(), name) == 0) {
          out += plain;
          i += name.size();
          matched = true;
          break;
        }
      }
    }
    if (!matched) out += text[i++];
  }
  return out;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// False for a malformed escape, which a browser would not resolve either.
bool PercentDecode(const std::string& text, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return false;
    const int high = HexValue(text[i + 1]);
    const int low = HexValue(text[i + 2]);
    if (high < 0 || low < 0) return false;
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return true;
}

bool HasScheme(const std::string& target) {
  static const std::regex kScheme("^[A-Za-z][A-Za-z0-9+.-]*:");
  return std::regex_search(target, kScheme);
}

bool IsValidUtf8(const std::string& text, std::size_t& badOffset) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char lead = bytes[i];
    int extra = 0;
    if (lead < 0x80) {
      extra = 0;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
    } else {
      badOffset = i;
      return false;
    }
    if (i + extra >= text.size() && extra > 0) {
      badOffset = i;
      return false;
    }
    for (int k = 1; k <= extra; ++k) {
      if ((bytes[i + k] & 0xC0) != 0x80) {
        badOffset = i;
        return false;
      }
    }
    i += extra + 1;
  }
  return true;
}

bool IsInside(const fs::path& path, const fs::path& root) {
  const fs::path relative = path.lexically_relative(root);
  return !relative.empty() && *relative.begin() != "..";
}

}  // namespace

std::vector<fs::path> FindAlbumPages(const fs::path& folder) {
  std::vector<fs::path> pages;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(folder, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_regular_file() && it->path().extension() == ".html") pages.push_back(it->path());
  }
  std::sort(pages.begin(), pages.end());
  return pages;
}

std::vector<std::string> GetLinkTargets(const std::string& html) {
  static const std::regex kAttribute(R"re(\s(?:href|src)\s*=\s*"([^"]*)")re");
  std::vector<std::string> targets;
  for (auto it = std::sregex_iterator(html.begin(), html.end(), kAttribute);
       it != std::sregex_iterator(); ++it) {
    targets.push_back(DecodeEntities((*it)[1].str()));
  }
  return targets;
}

std::vector<std::string> CheckPageEncoding(const fs::path& page) {
  std::vector<std::string> problems;
  const std::string bytes = ReadFileBytes(page);
  const std::string name = page.string();
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") != 0) problems.push_back(name + ": no UTF-8 mark");
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n')) {
      problems.push_back(name + ": bare CR at byte " + std::to_string(i));
      break;
    }
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) {
      problems.push_back(name + ": bare LF at byte " + std::to_string(i));
      break;
    }
  }
  std::size_t bad = 0;
  if (!IsValidUtf8(bytes, bad)) {
    problems.push_back(name + ": invalid UTF-8 at byte " + std::to_string(bad));
  }
  return problems;
}

std::vector<std::string> CheckPageWithTidy(const fs::path& page) {
  const fs::path report = fs::temp_directory_path() /
                          ("pictavo-tidy-" + std::to_string(getpid()) + "-" +
                           std::to_string(reinterpret_cast<std::uintptr_t>(&page)) + ".txt");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, report.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  std::string program = "tidy", quiet = "-q", errorsOnly = "-e", file = page.string();
  char* argv[] = {program.data(), quiet.data(), errorsOnly.data(), file.data(), nullptr};
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, "tidy", &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return {page.string() + ": tidy could not be started"};
  int status = 0;
  waitpid(pid, &status, 0);
  const std::string output = ReadFileBytes(report);
  std::error_code ec;
  fs::remove(report, ec);
  // tidy exits 0 when clean, 1 with warnings only, 2 with errors.
  if (WIFEXITED(status) && WEXITSTATUS(status) < 2) return {};
  std::vector<std::string> problems;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    if (line.find("Error") != std::string::npos) problems.push_back(page.string() + ": " + line);
  }
  if (problems.empty()) problems.push_back(page.string() + ": tidy failed: " + output);
  return problems;
}

std::vector<std::string> CheckPageLinks(const fs::path& page, const fs::path& albumRoot) {
  std::vector<std::string> problems;
  const fs::path root = fs::weakly_canonical(albumRoot);
  const fs::path folder = fs::weakly_canonical(page).parent_path();
  for (const std::string& target : GetLinkTargets(ReadFileBytes(page))) {
    if (target.empty() || target[0] == '#' || HasScheme(target)) continue;
    std::string path = target.substr(0, target.find_first_of("?#"));
    std::string decoded;
    if (!PercentDecode(path, decoded)) {
      problems.push_back(page.string() + ": malformed escape in \"" + target + "\"");
      continue;
    }
    const fs::path resolved = (folder / decoded).lexically_normal();
    if (!IsInside(resolved, root)) {
      problems.push_back(page.string() + ": \"" + target + "\" leaves the album");
    } else if (!fs::is_regular_file(resolved)) {
      problems.push_back(page.string() + ": \"" + target + "\" names no file");
    }
  }
  return problems;
}

std::string AlbumCheckResult::Describe() const {
  std::string text = std::to_string(pages) + " pages";
  for (const std::string& problem : problems) text += "\n  " + problem;
  return text;
}

AlbumCheckResult CheckAlbum(const fs::path& albumRoot) {
  AlbumCheckResult result;
  const auto pages = FindAlbumPages(albumRoot);
  result.pages = static_cast<int>(pages.size());
  if (pages.empty()) result.problems.push_back(albumRoot.string() + ": no pages");
  for (const fs::path& page : pages) {
    for (auto check :
         {CheckPageEncoding(page), CheckPageWithTidy(page), CheckPageLinks(page, albumRoot)}) {
      result.problems.insert(result.problems.end(), check.begin(), check.end());
    }
  }
  return result;
}

}  // namespace pictavo::testing
