#pragma once

// The slideshow output: one page that shows the first ticked photo, and "slideshow.js", filled
// from the design's script template with the list of ticked photos and the playback settings.

#include <string>
#include <string_view>
#include <vector>

#include "album/OutputContext.h"
#include "core/Settings.h"

namespace pictavo {

class Host;
class ItemList;
class Pump;

inline constexpr const char* kSlideshowScriptFileName = "slideshow.js";

// One ticked item as the script lists it.
struct SlideshowEntry {
  std::string name;  // file name (column 0), as the show names the photo
  std::string note;  // note (column 19), raw text
  int width = 0;     // size of the photo in its display box
  int height = 0;
  std::string fileName = {};  // the photo's file in the album; empty: the same as name
};

// The replacement texts of the template placeholders, ready to be put into script text.
struct SlideshowScriptValues {
  std::string autoPlay;      // [AUTOPLAY]
  std::string repeatPlay;    // [REPEATPLAY]
  std::string repeatMax;     // [REPEATMAX]
  std::string interval;      // [INTERVAL]
  std::string photoDir;      // [PHOTODIR]
  std::string names;         // [NAME]
  std::string photosNames;   // [PHOTOSNAME]
  std::string notes;         // [NOTE]
  std::string dimensions;    // [DIMENSIONS]
  bool showFileName = true;  // keeps the lines that hold [SHOWFILENAME]
  bool showNote = true;      // keeps the lines that hold [SHOWNOTE]
};

// The slideshow step of an output run, after the photos are written: the page at outputPath,
// the design images, js/slideshow.js and the style sheets. False when the page, the images or
// the script could not be written (the page and script failures are shown with the system's
// text; the caller shows its own failure message). A missing template is shown, leaves an
// empty script and does not fail the run.
bool GenerateSlideshowOutput(const OutputContext& run, const std::string& outputPath,
                             const std::string& title, const std::string& header);

namespace Slideshow {

// The display box of the slideshow photos: 0 (own size), 1024, 800, 640 or PhotoDimensions.
int GetPhotoLimit(const Settings& settings);

// The text of the first ticked row in a column (0 the file name, 19 the note), passing over
// rows whose source is a folder; empty when there is none or the pump reports a quit (it runs
// before each row).
std::string GetFirstTickedText(const OutputContext& run, int column);

// The ticked items in list order, with their photo sizes computed from the sources. Items
// whose source is a folder are left out: the photo step writes no photo for them. A quit
// from the pump (before each row) ends the list early.
std::vector<SlideshowEntry> GetTickedEntries(const OutputContext& run);

// The page text for an album folder (no trailing "/").
std::string BuildSlideshowPage(const OutputContext& run, const std::string& albumFolder,
                               const std::string& title, const std::string& header);

// Writes <folder of outputPath>/js/<fileName> from the design's template. False when the
// script cannot be created or written; true (after a message) when the template is missing.
bool WriteSlideshowScript(const OutputContext& run, const std::string& outputPath,
                          const std::string& fileName);

// "[INTERVAL]": the duration text in seconds, read with the C locale, as whole milliseconds
// truncated toward zero ("2.5" gives "2500", "0.0015" gives "1"). Text that is no number
// gives "0"; values beyond the int range are clamped.
std::string GetIntervalText(const std::string& duration);

// "[REPEATPLAY]" and "[REPEATMAX]" of a Repeat setting; empty for a value outside 0 to 2.
std::string GetRepeatPlayText(int repeat);
std::string GetRepeatMaxText(int repeat, int repeatLimit);

// Text as the content of a double-quoted script string: backslashes, quotes, control
// characters and the two line separators that end a script line are escaped.
std::string GetScriptStringText(std::string_view text);

// Entries each in double quotes with a comma, joined by "\r\n", the last comma removed.
std::string GetScriptListText(const std::vector<std::string>& entries);

// Every placeholder value for these settings and ticked items, in list order.
SlideshowScriptValues MakeScriptValues(const Settings& settings,
                                       const std::vector<SlideshowEntry>& entries);

// The script from the template lines (without line ends). Placeholders are replaced in one
// pass over the template text, so a value that happens to contain a placeholder name (a file
// called "[NOTE].jpg") stays as it is. A line holding [SHOWFILENAME] or [SHOWNOTE] is dropped
// when that part is switched off; every other line ends with one "\n", and a line that ends up
// empty is left out.
std::string FillScriptTemplate(const std::vector<std::string>& templateLines,
                               const SlideshowScriptValues& values);

// Splits template text at line feeds, dropping one carriage return before each and a leading
// byte-order mark: what a line-by-line read of the text file gives.
std::vector<std::string> SplitTemplateLines(std::string_view text);

}  // namespace Slideshow

}  // namespace pictavo
