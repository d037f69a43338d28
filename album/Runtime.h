#pragma once

// What a program settles once at start and hands to every run: where the design styles are,
// which designs they offer and how many threads do image work. The desktop program and the
// command line each own one; nothing below them keeps such choices process-wide, so two runs in
// one process (a preview beside a build, tests side by side) cannot see each other's.

#include <cstddef>
#include <string>
#include <vector>

#include "album/StyleFuncs.h"
#include "core/PathUtils.h"

namespace pictavo {

struct Runtime {
  std::string styleFolder = PathUtils::GetStyleFolderPath();
  std::vector<StyleFuncs::DESIGNITEM> designs;  // from styleFolder's "styles.xml", file order
  std::size_t workerThreads = 0;                // 0: one per core
};

// Reads the designs of runtime.styleFolder. Empty on success, else why nothing was loaded (the
// designs held so far stay).
std::string LoadDesigns(Runtime& runtime);

}  // namespace pictavo
