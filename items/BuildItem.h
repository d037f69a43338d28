#pragma once

// Fills one album item from a file: properties, EXIF values and image sizes.

#include <string>

#include "core/AlbumItem.h"

namespace pictavo {

// Reads the file's properties (statx) and one parse of its EXIF values and size (libvips' header
// read only where Exiv2 cannot give the size). A value that cannot be read stays empty or 0;
// never throws.
ALBUMITEM BuildAlbumItem(const std::string& path);

}  // namespace pictavo
