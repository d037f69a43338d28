#pragma once

// Quality checks of scaled images: a reference scaled from the full decode, the output the
// two-decode path gave (a thumbnail of the source), and the PSNR between decoded pixels.

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace pictavo::testing {

// 8-bit pixels, bands interleaved, as a decoder gives them.
struct Pixels {
  int width = 0;
  int height = 0;
  int bands = 0;
  std::vector<std::uint8_t> data;
};

// Encoded bytes (any format libvips reads) decoded to pixels.
Pixels DecodePixels(const std::string& bytes);
// The source decoded once at full size, turned upright and resized to exactly each width x
// height with the lanczos3 kernel: the best these pixels can be, to measure other paths against.
std::vector<Pixels> LanczosReferences(const std::filesystem::path& source,
                                      const std::vector<std::pair<int, int>>& sizes);
// What one decode per copy gives: a shrink-on-load thumbnail of the source at width x height,
// saved as JPEG of quality and decoded again.
Pixels ThumbnailOfSource(const std::filesystem::path& source, int width, int height, int quality);
// Peak signal-to-noise ratio in dB over all bands; a and b must be of one size.
double Psnr(const Pixels& a, const Pixels& b);

// One copy the album makes of a photo, as made and as the two-decode path made it, both
// against the lanczos reference of its size.
struct CopyQuality {
  std::string copy;  // "photo", "photo 2x", "thumbnail", "thumbnail 2x"
  int width = 0;     // as decoded; 0 when the copy was not made
  int height = 0;
  int expectedWidth = 0;
  int expectedHeight = 0;
  double oneDecode = 0;   // PSNR (dB) of the copy made from one decode
  double twoDecodes = 0;  // PSNR (dB) of a thumbnail of the source at the same size and quality
};
// Makes the photo (width x height, with its 2x where the source holds it) and the thumbnail
// (with its 2x) from one decode, as the album run does, and measures each copy. A copy of a
// size other than expected gets no PSNR.
std::vector<CopyQuality> MeasureOneDecode(const std::filesystem::path& source, int photoWidth,
                                          int photoHeight, int thumbWidth, int thumbHeight);

// A width x height JPEG (stored pixels) with photo-like texture: a gradient under detail at
// every scale, so resampling differences show. orientation > 1 is written into its EXIF.
void WriteTexturedJpeg(const std::filesystem::path& path, int width, int height,
                       int orientation = 1);

}  // namespace pictavo::testing
