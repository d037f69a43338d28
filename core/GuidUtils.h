#pragma once

#include <string>

namespace pictavo::GuidUtils {

// A new random identifier, "{8-4-4-4-12}" in upper-case hex (38 characters), usable as a
// folder name.
std::string CreateGuid();

}  // namespace pictavo::GuidUtils
