#pragma once

#include <vips/vips8>

// Downsizing as libvips' resize does, but faster: libvips 8.14 runs its vertical pass vectorised
// and its horizontal pass as a scalar loop several times slower per pixel, so the horizontal
// pass here is the vertical one of the transposed image.
namespace pictavo::VipsReduce {

// in scaled to exactly width x height, each no larger than in's. 8-bit grey or RGB images take
// the fast path with the given kernel; the others (alpha, 16 bits, CMYK) go to libvips'
// thumbnail_image, which premultiplies alpha, with its own lanczos3 kernel.
vips::VImage ReduceTo(const vips::VImage& in, int width, int height, VipsKernel kernel);

// in averaged over the boxes libvips' resize to width x height would average before its kernel,
// as far as they are even and the pixels halve evenly: in halvings, each one fast pass. Images
// other than 8-bit grey or RGB come back as they are.
vips::VImage BoxHalved(const vips::VImage& in, int width, int height);

// in with rows and columns swapped, in memory. 8-bit pixels only.
vips::VImage Transposed(const vips::VImage& in);

}  // namespace pictavo::VipsReduce
