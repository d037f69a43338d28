#include "album/StyleFuncs.h"

#include <charconv>
#include <system_error>

#include <pugixml.hpp>

#include "core/Host.h"

namespace pictavo::StyleFuncs {

namespace {

// Whole-text decimal parse; "1x", "" and out-of-range values are refused.
bool ParseId(const char* text, int& id) {
  const std::string value(text);
  if (value.empty()) return false;
  const char* first = value.data();
  const char* last = first + value.size();
  const auto [ptr, ec] = std::from_chars(first, last, id);
  return ec == std::errc() && ptr == last;
}

std::string Describe(const pugi::xml_node& node, std::ptrdiff_t offset, const std::string& what) {
  return "design element at byte " + std::to_string(offset) + " (" +
         std::string(node.attribute("name").as_string()) + "): " + what;
}

}  // namespace

bool IsPlainFileName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

StylesFileResult ReadStylesFile(const std::filesystem::path& path) {
  StylesFileResult result;
  pugi::xml_document document;
  const pugi::xml_parse_result parsed = document.load_file(path.c_str());
  if (!parsed) {
    result.error = path.string() + ": " + parsed.description();
    return result;
  }
  const pugi::xml_node root = document.child("styles");
  if (!root) {
    result.error = path.string() + ": no <styles> element";
    return result;
  }
  result.ok = true;
  for (const pugi::xml_node& node : root.children("design")) {
    DESIGNITEM item;
    if (!ParseId(node.attribute("id").as_string(), item.id)) {
      result.problems.push_back(Describe(node, node.offset_debug(), "id is not an integer"));
      continue;
    }
    item.name = node.attribute("name").as_string();
    item.styleSheet = node.attribute("stylesheet").as_string();
    if (!IsPlainFileName(item.styleSheet)) {
      result.problems.push_back(
          Describe(node, node.offset_debug(), "stylesheet is not a plain file name"));
      continue;
    }
    result.items.push_back(std::move(item));
  }
  return result;
}

int GetStylesInformation(const std::filesystem::path& path, std::vector<DESIGNITEM>& items) {
  StylesFileResult result = ReadStylesFile(path);
  if (!result.ok) return -1;
  items = std::move(result.items);
  return static_cast<int>(items.size());
}

std::string GetDesignStyleSheetName(const std::vector<DESIGNITEM>& items, int styleDesign,
                                    Pump& pump) {
  for (const DESIGNITEM& item : items) {
    if (!pump.PumpMessages()) return {};
    if (item.id == styleDesign) return item.styleSheet;
  }
  return {};
}

}  // namespace pictavo::StyleFuncs
