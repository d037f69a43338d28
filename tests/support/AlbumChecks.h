#pragma once

// Whole-album checks that every generated album must pass: each page is valid HTML to tidy,
// every href and src inside the album names a file that exists there, and each page is UTF-8
// with a byte-order mark and CRLF line ends. Each check returns its problems, one text each,
// so a failing test says which page and which link.

#include <filesystem>
#include <string>
#include <vector>

namespace pictavo::testing {

// Every .html file below folder, sorted.
std::vector<std::filesystem::path> FindAlbumPages(const std::filesystem::path& folder);

// The values of every href and src attribute of html, entities decoded, in page order.
std::vector<std::string> GetLinkTargets(const std::string& html);

// EF BB BF first, every line end CRLF (no bare CR or LF), and valid UTF-8 throughout.
std::vector<std::string> CheckPageEncoding(const std::filesystem::path& page);

// tidy -q -e on the page: its errors (warnings do not count). A missing tidy is a problem.
std::vector<std::string> CheckPageWithTidy(const std::filesystem::path& page);

// Each relative href and src of the page, percent-decoded and without query or fragment,
// resolves to an existing file inside albumRoot. Addresses with a scheme ("http:") and
// fragment-only links are not followed; an empty href names the page itself.
std::vector<std::string> CheckPageLinks(const std::filesystem::path& page,
                                        const std::filesystem::path& albumRoot);

struct AlbumCheckResult {
  int pages = 0;
  std::vector<std::string> problems;
  bool Ok() const { return pages > 0 && problems.empty(); }
  std::string Describe() const;
};

// All three checks on every page of the album; an album without pages fails.
AlbumCheckResult CheckAlbum(const std::filesystem::path& albumRoot);

}  // namespace pictavo::testing
