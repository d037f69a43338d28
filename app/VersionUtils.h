#pragma once

// The product's name and version, as the about box and the help message show them.

#include <string>

namespace pictavo::VersionUtils {

std::string GetProductName();           // "Pictavo"
std::string GetStringProductVersion();  // the build's version, "0.1.0"

}  // namespace pictavo::VersionUtils
