#include "album/Slideshow.h"

#include <array>
#include <climits>
#include <cmath>
#include <cstdio>

#include "album/HtmlFuncs.h"
#include "core/StringUtils.h"

namespace pictavo {

namespace {

enum class Placeholder {
  AutoPlay,
  RepeatPlay,
  RepeatMax,
  Interval,
  PhotoDir,
  Name,
  PhotosName,
  Note,
  Dimensions,
  ShowFileName,
  ShowNote,
};

struct PlaceholderName {
  std::string_view text;
  Placeholder id;
};

constexpr std::array<PlaceholderName, 11> kPlaceholders{{
    {"[AUTOPLAY]", Placeholder::AutoPlay},
    {"[REPEATPLAY]", Placeholder::RepeatPlay},
    {"[REPEATMAX]", Placeholder::RepeatMax},
    {"[INTERVAL]", Placeholder::Interval},
    {"[PHOTODIR]", Placeholder::PhotoDir},
    {"[NAME]", Placeholder::Name},
    {"[PHOTOSNAME]", Placeholder::PhotosName},
    {"[NOTE]", Placeholder::Note},
    {"[DIMENSIONS]", Placeholder::Dimensions},
    {"[SHOWFILENAME]", Placeholder::ShowFileName},
    {"[SHOWNOTE]", Placeholder::ShowNote},
}};

const PlaceholderName* PlaceholderAt(std::string_view line, size_t pos) {
  for (const auto& p : kPlaceholders) {
    if (line.substr(pos, p.text.size()) == p.text) return &p;
  }
  return nullptr;
}

const std::string& ValueOf(Placeholder id, const SlideshowScriptValues& v) {
  static const std::string kEmpty;
  switch (id) {
    case Placeholder::AutoPlay:
      return v.autoPlay;
    case Placeholder::RepeatPlay:
      return v.repeatPlay;
    case Placeholder::RepeatMax:
      return v.repeatMax;
    case Placeholder::Interval:
      return v.interval;
    case Placeholder::PhotoDir:
      return v.photoDir;
    case Placeholder::Name:
      return v.names;
    case Placeholder::PhotosName:
      return v.photosNames;
    case Placeholder::Note:
      return v.notes;
    case Placeholder::Dimensions:
      return v.dimensions;
    case Placeholder::ShowFileName:
    case Placeholder::ShowNote:
      return kEmpty;
  }
  return kEmpty;
}

// One template line with its placeholders replaced; false when the line is to be dropped.
bool FillLine(std::string_view line, const SlideshowScriptValues& values, std::string& out) {
  out.clear();
  size_t pos = 0;
  while (pos < line.size()) {
    const PlaceholderName* p = line[pos] == '[' ? PlaceholderAt(line, pos) : nullptr;
    if (p == nullptr) {
      out += line[pos++];
      continue;
    }
    if ((p->id == Placeholder::ShowFileName && !values.showFileName) ||
        (p->id == Placeholder::ShowNote && !values.showNote)) {
      return false;
    }
    out += ValueOf(p->id, values);
    pos += p->text.size();
  }
  return true;
}

}  // namespace

namespace Slideshow {

std::string GetIntervalText(const std::string& duration) {
  double ms = StringUtils::StringToDoubleNumber(duration) * 1000.0;
  if (std::isnan(ms)) return "0";
  // Decimal fractions such as 2.01 land a hair below the whole number in binary; snap those
  // before truncating so 2.01 s is 2010 ms, not 2009.
  const double nearest = std::round(ms);
  if (std::fabs(ms - nearest) <= 1e-9 * std::fmax(1.0, std::fabs(ms))) ms = nearest;
  if (ms >= static_cast<double>(INT_MAX)) return std::to_string(INT_MAX);
  if (ms <= static_cast<double>(INT_MIN)) return std::to_string(INT_MIN);
  return std::to_string(static_cast<int>(std::trunc(ms)));
}

std::string GetRepeatPlayText(int repeat) {
  switch (repeat) {
    case 0:
      return "true";
    case 1:
      return "false";
    case 2:
      return "true";
    default:
      return "";
  }
}

std::string GetRepeatMaxText(int repeat, int repeatLimit) {
  switch (repeat) {
    case 0:
    case 1:
      return "-1";
    case 2:
      return std::to_string(repeatLimit);
    default:
      return "";
  }
}

std::string GetScriptStringText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    switch (c) {
      case '\\':
        out += "\\\\";
        continue;
      case '"':
        out += "\\\"";
        continue;
      case '\n':
        out += "\\n";
        continue;
      case '\r':
        out += "\\r";
        continue;
      case '\t':
        out += "\\t";
        continue;
      default:
        break;
    }
    if (c < 0x20 || c == 0x7F) {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04X", c);
      out += buffer;
      continue;
    }
    // U+2028 and U+2029 (E2 80 A8 / A9) end a line in older script engines.
    if (c == 0xE2 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
        (static_cast<unsigned char>(text[i + 2]) == 0xA8 ||
         static_cast<unsigned char>(text[i + 2]) == 0xA9)) {
      out += static_cast<unsigned char>(text[i + 2]) == 0xA8 ? "\\u2028" : "\\u2029";
      i += 2;
      continue;
    }
    out += static_cast<char>(c);
  }
  return out;
}

std::string GetScriptListText(const std::vector<std::string>& entries) {
  std::vector<std::string> lines;
  lines.reserve(entries.size());
  for (const auto& entry : entries) lines.push_back("\"" + entry + "\",");
  std::string text = StringUtils::GetStringArrayString(lines);
  if (!text.empty() && text.back() == ',') text.pop_back();
  return text;
}

SlideshowScriptValues MakeScriptValues(const Settings& settings,
                                       const std::vector<SlideshowEntry>& entries) {
  const auto& show = settings.OutputSlideshow;
  SlideshowScriptValues v;
  v.autoPlay = show.Play == 1 ? "true" : "false";
  v.repeatPlay = GetRepeatPlayText(show.Repeat);
  v.repeatMax = GetRepeatMaxText(show.Repeat, show.RepeatLimit);
  v.interval = GetIntervalText(show.Duration);
  v.photoDir = "\"" + GetScriptStringText(settings.Output.PhotoName + "/") + "\"";
  v.showFileName = show.ViewName != 0;
  v.showNote = show.ViewNote != 0;

  std::vector<std::string> names, urls, notes, sizes;
  for (const auto& e : entries) {
    names.push_back(GetScriptStringText(e.name));
    urls.push_back(EncodeUtils::GetTextToEncodeString(e.fileName.empty() ? e.name : e.fileName));
    notes.push_back(GetScriptStringText(
        e.note.empty() ? HtmlFuncs::GetBrTag(0) : EncodeUtils::GetTextToEntityString(e.note)));
    sizes.push_back(std::to_string(e.width) + "," + std::to_string(e.height));
  }
  v.names = GetScriptListText(names);
  v.photosNames = GetScriptListText(urls);
  v.notes = GetScriptListText(notes);
  v.dimensions = GetScriptListText(sizes);
  return v;
}

std::string FillScriptTemplate(const std::vector<std::string>& templateLines,
                               const SlideshowScriptValues& values) {
  std::string script;
  std::string line;
  for (const auto& templateLine : templateLines) {
    if (!FillLine(templateLine, values, line) || line.empty()) continue;
    script += line;
    script += '\n';
  }
  return script;
}

std::vector<std::string> SplitTemplateLines(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::vector<std::string> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

}  // namespace Slideshow

}  // namespace pictavo
