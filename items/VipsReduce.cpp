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

// 8-bit grey or RGB without alpha: the pixels this file's loops take.
bool IsPlain(const vips::VImage& in) {
  return in.format() == VIPS_FORMAT_UCHAR && in.coding() == VIPS_CODING_NONE && !in.has_alpha() &&
         (in.bands() == 1 || in.bands() == 3);
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

using Pixels = std::unique_ptr<unsigned char, decltype(&g_free)>;

Pixels NewPixels(std::size_t size) {
  return Pixels(static_cast<unsigned char*>(g_malloc(size)), g_free);
}

// An 8-bit memory image that takes over pixels, with in's interpretation and metadata.
vips::VImage MemoryImageLike(Pixels pixels, int width, int height, const vips::VImage& in) {
  const std::size_t size = static_cast<std::size_t>(width) * height * in.bands();
  vips::VImage out = vips::VImage::new_from_memory_steal(pixels.release(), size, width, height,
                                                         in.bands(), VIPS_FORMAT_UCHAR);
  // Set on the memory image itself: through a copy() it would be a new lazy image, and every
  // copy_memory() after would allocate, clear and copy the pixels again.
  out.get_image()->Type = in.interpretation();
  vips_image_map(in.get_image(), CopyMetadataItem, out.get_image());
  // Setting the EXIF block parses it again, which brings back an orientation that a turn had
  // removed: the orientation is in's own.
  if (in.get_typeof(VIPS_META_ORIENTATION) == 0) {
    vips_image_remove(out.get_image(), VIPS_META_ORIENTATION);
  } else {
    vips_image_set_int(out.get_image(), VIPS_META_ORIENTATION,
                       vips_image_get_orientation(in.get_image()));
  }
  return out;
}

// The gap of libvips' resize: from a factor of 4 on, a box average by the whole part of half
// the factor goes first, and the kernel then reads a few rows, not dozens.
constexpr double kGap = 2.0;

// One output row of box averages from input rows r0 and r1 (the same row when rows are not
// halved); columns in pairs, or each alone. Rounding half up on even output rows and half down
// on odd ones: always up, as libvips' box does, brightens by a quarter level per halving.
template <int Bands, bool Columns>
void HalveRow(const unsigned char* __restrict r0, const unsigned char* __restrict r1, int width,
              int roundUp, unsigned char* __restrict out) {
  constexpr int kNext = Columns ? Bands : 0;
  const int bias = 1 + roundUp;
  for (int x = 0; x < width; ++x, r0 += Bands + kNext, r1 += Bands + kNext, out += Bands) {
    for (int b = 0; b < Bands; ++b) {
      out[b] =
          static_cast<unsigned char>((r0[b] + r0[b + kNext] + r1[b] + r1[b + kNext] + bias) >> 2);
    }
  }
}

// Whether libvips' gap would average boxes of an even size along an axis of size from, for
// to: then halving first gives the same pixels. An odd size keeps libvips' box, which places
// its part box exactly.
bool HalvesEvenly(int from, int to) {
  return to > 0 && from % 2 == 0 && from >= 4 * to && (from / to / 2) % 2 == 0;
}

// in averaged over 2 x 2 boxes, or over two rows or two columns only.
vips::VImage Halved(const vips::VImage& in, bool columns, bool rows) {
  const int width = columns ? in.width() / 2 : in.width();
  const int height = rows ? in.height() / 2 : in.height();
  const int bands = in.bands();
  const std::size_t outRow = static_cast<std::size_t>(width) * bands;
  Pixels dst = NewPixels(outRow * height);
  const int step = rows ? 2 : 1;
  const vips::VRegion strip = in.region();
  for (int y0 = 0; y0 < height; y0 += kTile) {
    const int count = std::min(kTile, height - y0);
    strip.prepare(0, step * y0, in.width(), step * count);
    for (int y = y0; y < y0 + count; ++y) {
      const auto* r0 = reinterpret_cast<const unsigned char*>(strip.addr(0, step * y));
      const auto* r1 = reinterpret_cast<const unsigned char*>(strip.addr(0, step * y + step - 1));
      unsigned char* out = dst.get() + outRow * y;
      const int up = 1 - (y & 1);
      if (bands == 1) {
        columns ? HalveRow<1, true>(r0, r1, width, up, out)
                : HalveRow<1, false>(r0, r1, width, up, out);
      } else {
        columns ? HalveRow<3, true>(r0, r1, width, up, out)
                : HalveRow<3, false>(r0, r1, width, up, out);
      }
    }
  }
  return MemoryImageLike(std::move(dst), width, height, in);
}

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
  Pixels dst = NewPixels(static_cast<std::size_t>(width) * height * bands);
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
  return MemoryImageLike(std::move(dst), height, width, in);
}

vips::VImage BoxHalved(const vips::VImage& in, int width, int height) {
  vips::VImage out = in;
  if (!IsPlain(in)) return out;
  for (;;) {
    const bool columns = HalvesEvenly(out.width(), width);
    const bool rows = HalvesEvenly(out.height(), height);
    if (!columns && !rows) return out;
    out = Halved(out, columns, rows);
  }
}

vips::VImage ReduceTo(const vips::VImage& in, int width, int height, VipsKernel kernel) {
  if (width == in.width() && height == in.height()) return in;
  if (!IsPlain(in) || width > in.width() || height > in.height()) {
    return in.thumbnail_image(
        width, vips::VImage::option()->set("height", height)->set("size", VIPS_SIZE_FORCE));
  }
  // Even box averages first, in one pass; then vertical first: the transposes move fewer rows.
  const vips::VImage tall = ReduceV(BoxHalved(in, width, height), height, kernel);
  if (tall.width() == width) return tall;
  return Transposed(ReduceV(Transposed(tall), width, kernel));
}

}  // namespace pictavo::VipsReduce
