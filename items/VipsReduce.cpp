#include "items/VipsReduce.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>

namespace pictavo::VipsReduce {

namespace {

constexpr int kTile = 64;

// One strip of kTile source rows, from y0 on, into columns y0... of dst. Walking the strip down
// its columns writes each destination row in order, and the strip stays in cache.
template <int Bands>
void TransposeStrip(const vips::VRegion& strip, int width, int y0, int rows, int height,
                    unsigned char* __restrict dst) {
  const std::size_t stride = strip.stride();
  const auto* top = reinterpret_cast<const unsigned char*>(strip.addr(0, y0));
  for (int x = 0; x < width; ++x) {
    unsigned char* d = dst + (static_cast<std::size_t>(x) * height + y0) * Bands;
    const unsigned char* s = top + static_cast<std::size_t>(x) * Bands;
    for (int r = 0; r < rows; ++r, d += Bands, s += stride) std::memcpy(d, s, Bands);
  }
}

bool IsReducible(const vips::VImage& in, int width, int height) {
  return in.format() == VIPS_FORMAT_UCHAR && in.coding() == VIPS_CODING_NONE && !in.has_alpha() &&
         (in.bands() == 1 || in.bands() == 3) && width <= in.width() && height <= in.height();
}

// The metadata that later steps read (orientation, the colour profile) goes with the pixels.
void* CopyMetadataItem(VipsImage*, const char* name, GValue* value, void* out) {
  static const char* const kHeaderFields[] = {
      "width",   "height", "bands", "format",   "coding", "interpretation", "xoffset",
      "yoffset", "xres",   "yres",  "filename", "mode",   "scale",          "offset"};
  for (const char* field : kHeaderFields) {
    if (std::strcmp(name, field) == 0) return nullptr;
  }
  vips_image_set(static_cast<VipsImage*>(out), name, value);
  return nullptr;
}

// The gap of libvips' resize: from a factor of 4 on, a box average by the whole part of half
// the factor goes first, and the kernel then reads a few rows, not dozens.
constexpr double kGap = 2.0;

vips::VImage ReduceV(const vips::VImage& in, int height, VipsKernel kernel) {
  if (height >= in.height()) return in;
  return in.reducev(static_cast<double>(in.height()) / height,
                    vips::VImage::option()->set("kernel", kernel)->set("gap", kGap));
}

}  // namespace

vips::VImage Transposed(const vips::VImage& in) {
  const int width = in.width();
  const int height = in.height();
  const int bands = in.bands();
  if (in.format() != VIPS_FORMAT_UCHAR || bands < 1 || bands > 4) {
    throw vips::VError("cannot transpose this image");
  }
  const std::size_t size = static_cast<std::size_t>(width) * height * bands;
  std::unique_ptr<unsigned char, decltype(&g_free)> dst(static_cast<unsigned char*>(g_malloc(size)),
                                                        g_free);
  // Strips from the top down: a sequential decoder's output is read as it comes, never held.
  const vips::VRegion strip = in.region();
  for (int y0 = 0; y0 < height; y0 += kTile) {
    const int rows = std::min(kTile, height - y0);
    strip.prepare(0, y0, width, rows);
    switch (bands) {
      case 1:
        TransposeStrip<1>(strip, width, y0, rows, height, dst.get());
        break;
      case 2:
        TransposeStrip<2>(strip, width, y0, rows, height, dst.get());
        break;
      case 3:
        TransposeStrip<3>(strip, width, y0, rows, height, dst.get());
        break;
      default:
        TransposeStrip<4>(strip, width, y0, rows, height, dst.get());
        break;
    }
  }
  vips::VImage out = vips::VImage::new_from_memory_steal(dst.release(), size, height, width, bands,
                                                         VIPS_FORMAT_UCHAR);
  // Set on the memory image itself: through a copy() it would be a new lazy image, and every
  // copy_memory() after would allocate, clear and copy the pixels again.
  out.get_image()->Type = in.interpretation();
  vips_image_map(in.get_image(), CopyMetadataItem, out.get_image());
  return out;
}

vips::VImage ReduceTo(const vips::VImage& in, int width, int height, VipsKernel kernel) {
  if (!IsReducible(in, width, height)) {
    return in.thumbnail_image(
        width, vips::VImage::option()->set("height", height)->set("size", VIPS_SIZE_FORCE));
  }
  // Vertical first: the transposes then move fewer rows.
  const vips::VImage tall = ReduceV(in, height, kernel);
  if (in.width() == width) return tall;
  return Transposed(ReduceV(Transposed(tall), width, kernel));
}

}  // namespace pictavo::VipsReduce
