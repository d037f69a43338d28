#pragma once

// Fills one album item from a file: properties, EXIF values and image sizes.

#include <string>

#include "core/AlbumItem.h"

namespace pictavo {

// Reads the file once per kind (one statx, one EXIF read, one image header), so a folder scan
// costs three opens per file. A value that cannot be read stays empty or 0; never throws.
ALBUMITEM BuildAlbumItem(const std::string& path);

}  // namespace pictavo
