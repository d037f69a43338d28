#include "album/WebFileNames.h"

#include <unordered_set>

#include "items/ItemList.h"

namespace pictavo {

namespace {

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// The name without its extension; a leading dot is part of the name, not an extension.
std::string BaseName(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

bool WebFileNames::IsConverted(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return false;
  const std::string extension = LowerAscii(name.substr(dot));
  return extension == ".tif" || extension == ".tiff";
}

std::string WebFileNames::GetPlainName(const std::string& name) {
  return IsConverted(name) ? BaseName(name) + ".jpg" : name;
}

WebFileNames::WebFileNames(const ItemList& list) {
  std::unordered_set<std::string> taken;
  for (int row = 0; row < list.RowCount(); ++row) {
    if (list.IsRowChecked(row) && !IsConverted(list.RowItem(row).name)) {
      taken.insert(list.RowItem(row).name);
    }
  }
  for (int row = 0; row < list.RowCount(); ++row) {
    const std::string& name = list.RowItem(row).name;
    if (!list.IsRowChecked(row) || !IsConverted(name) || m_converted.count(name) != 0) continue;
    std::string web = GetPlainName(name);
    for (int n = 2; taken.count(web) != 0; ++n) {
      web = BaseName(name) + "-" + std::to_string(n) + ".jpg";
    }
    taken.insert(web);
    m_converted.emplace(name, std::move(web));
  }
}

std::string WebFileNames::Of(const std::string& name) const {
  const auto found = m_converted.find(name);
  return found != m_converted.end() ? found->second : GetPlainName(name);
}

}  // namespace pictavo
