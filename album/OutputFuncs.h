#pragma once

// The registered output path of the last successful run and the generator text of the pages.

#include <string>

namespace pictavo::OutputFuncs {

// One path for the whole process: a run stores its first page here and the command that
// started it reads it to open the page. An empty text clears it. Safe from any thread.
void SetOutputFilePath(const std::string& path);
std::string GetOutputFilePath();

// "Pictavo <version>", the content of the pages' generator meta tag.
std::string GetGeneratorOutputString();

}  // namespace pictavo::OutputFuncs
