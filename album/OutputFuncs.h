#pragma once

// The generator text of the pages.

#include <string>

namespace pictavo::OutputFuncs {

// "Pictavo <version>", the content of the pages' generator meta tag.
std::string GetGeneratorOutputString();

}  // namespace pictavo::OutputFuncs
