#include <map>

#include "core/StringUtils.h"

namespace pictavo::StringUtils {

namespace {

// Texts by their string-table number. Keep sorted by id.
const std::map<int, std::string>& Table() {
  static const std::map<int, std::string> table = {
      {10231, "項目を選択してください。"},
      {57344, "Pictavo"},
  };
  return table;
}

}  // namespace

std::string GetLoadString(int id) {
  const auto& table = Table();
  const auto it = table.find(id);
  return it == table.end() ? std::string() : it->second;
}

}  // namespace pictavo::StringUtils
