#pragma once

// The program's string table and the number/text conversions of the settings file.

#include <cstdint>
#include <string>

namespace pictavo::StringUtils {

// The string-table text of id, exactly as the user sees it; empty for an unknown id.
std::string GetLoadString(int id);

}  // namespace pictavo::StringUtils
