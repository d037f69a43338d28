#pragma once

// The 2x copies of photos and thumbnails for high-density screens. A 2x copy has the 1x file's
// name in the sub-folder "2x" of the same folder ("thumbs/2x/a.jpg" beside "thumbs/a.jpg"), so
// no 1x name or size changes; pages offer it through srcset, which older browsers ignore.

#include <string>

#include "items/ImageUtils.h"

namespace pictavo::HighDensity {

inline constexpr const char* kFolderName = "2x";

// folder/2x/name for the 1x file folder/name.
std::string GetDoublePath(const std::string& singlePath);

// Writes the 1x bytes to path and the 2x bytes, when there are any, to GetDoublePath(path);
// without 2x bytes a 2x file left there by an earlier run is removed, so the folder never
// holds a 2x copy of another photo. A 2x copy that cannot be written costs only the copy:
// *doubleWritten tells whether it was. False (reason recorded) when the 1x write failed.
bool WriteScaledFiles(const std::string& path, const ImageUtils::ScaledBytes& bytes,
                      bool* doubleWritten);

// " srcset=\"<single> 1x, <double> 2x\"" for an img tag whose src is single, an encoded
// reference folder/name; the 2x reference is folder/2x/name.
std::string GetSrcsetAttribute(const std::string& single);

// The img tag with the srcset attribute added before its closing ">".
std::string AddSrcset(const std::string& imgTag, const std::string& single);

}  // namespace pictavo::HighDensity
