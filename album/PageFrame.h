#pragma once

// The frame every generated page shares: the head with its meta tags, style sheet links and
// title, the page header, the "container" and "grid" divisions around the page's own content,
// and the page footer.

#include <string>

#include "album/HtmlFuncs.h"
#include "core/Settings.h"

namespace pictavo {

enum class PageKind { Thumbnail, Photo, Slideshow };

namespace PageFrame {

// The design's script of the thumbnail and photo pages (keys, viewer); pages work without it.
inline constexpr const char* kPageScriptFileName = "page.js";

// One <link> line for cssFolder/fileName under prefix ("" or "../"). An empty fileName
// (no design matched) points at the css folder itself.
std::string GetStyleSheetLink(const std::string& fileName, const std::string& prefix);

// The style sheets of a page kind, in the order the page links them.
std::vector<std::string> GetStyleSheets(PageKind kind, const std::string& designStyleSheet);

// The header block. The title is the user's markup and goes in unchanged; callers that show a
// file name escape it first.
std::string GetPageHeader(const std::string& title);

// The footer block: the copyright text (unchanged, it may hold markup and entities) and the
// powered-by text.
std::string GetPageFooter(const Settings& settings);

// Frame lines up to and including the "grid" division. title goes into both the title element
// and the header. scriptSrc is the slideshow page's script; thumbnail and photo pages load the
// page script.
void AddPageOpening(PageLines& lines, PageKind kind, const std::string& title,
                    const std::string& designStyleSheet, const std::string& scriptSrc = {});

// Copies the page script from designFolder into the album's script folder. A missing script
// does not fail a run: the pages work without it.
bool CopyPageScript(const std::string& designFolder, const std::string& albumFolder);

// Frame lines from the closing of "grid" to the end of the document.
void AddPageClosing(PageLines& lines, const Settings& settings);

}  // namespace PageFrame
}  // namespace pictavo
