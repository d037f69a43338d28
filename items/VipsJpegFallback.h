#pragma once

// A second decoder for JPEGs that libvips gives up on. libvips treats a hundred libjpeg
// warnings as fatal, whatever its fail setting, so a photo with a damaged stretch of data
// (wrong restart markers, a short segment) gets no thumbnail at all; photo tools show such a
// file with its damage. This reads it with libjpeg directly, ignoring warnings, and keeps the
// rows decoded before a fatal error (the rest stays grey).

#include <string>

#include <vips/vips8>

namespace pictavo::VipsImage {

// Decodes path, shrunk on load by a power of two as far as it stays at least minWidth x
// minHeight (stored, not upright). False with *error set when not even the header decodes.
bool DecodeJpegTolerantly(const std::string& path, int minWidth, int minHeight, vips::VImage* image,
                          std::string* error);

}  // namespace pictavo::VipsImage
