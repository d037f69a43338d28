#pragma once

// Runs the HTML checker (tidy) over a page text and gives what it reported.

#include <string>

namespace pictavo::testing {

struct HtmlCheckResult {
  bool available = false;  // false: no checker installed, the caller skips
  int status = 0;          // 0 clean, 1 warnings, 2 errors
  std::string report;
};

HtmlCheckResult CheckHtml(const std::string& page);

}  // namespace pictavo::testing
