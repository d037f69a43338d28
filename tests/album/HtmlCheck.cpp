#include "HtmlCheck.h"

#include <sys/wait.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace pictavo::testing {

namespace {

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

}  // namespace

HtmlCheckResult CheckHtml(const std::string& page) {
  HtmlCheckResult result;
  if (std::system("command -v tidy >/dev/null 2>&1") != 0) return result;
  result.available = true;
  static std::atomic<int> counter{0};
  const auto base =
      std::filesystem::temp_directory_path() /
      ("pictavo-htmlcheck-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  const auto pagePath = base.string() + ".html";
  const auto reportPath = base.string() + ".txt";
  {
    std::ofstream out(pagePath, std::ios::binary);
    out << page;
  }
  const std::string command =
      "tidy -q -e -utf8 --gnu-emacs yes '" + pagePath + "' >'" + reportPath + "' 2>&1";
  const int raw = std::system(command.c_str());
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 3;
  result.report = ReadAll(reportPath);
  std::filesystem::remove(pagePath);
  std::filesystem::remove(reportPath);
  return result;
}

}  // namespace pictavo::testing
