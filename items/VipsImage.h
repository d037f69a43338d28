#pragma once

// The one seam to libvips and Exiv2 start-up, plus the header reads and the thumbnail writer
// that ImageUtils builds on. No libvips or Exiv2 type appears here, so callers stay free of
// their headers.

#include <cstdint>
#include <string>

namespace pictavo::VipsImage {

// Starts libvips and quietens Exiv2 once per process, from any thread. False when libvips
// failed to start; the reason is then in *error.
bool EnsureStarted(std::string* error = nullptr);

// Records text as the calling thread's last error, for LogUtils::GetLastErrorMessage().
void RecordError(const std::string& text);

// True when path names a regular file (after links): FIFOs, devices and folders would block or
// fail inside the image libraries, so they are never handed to them.
bool IsRegularFile(const std::string& path);

// The most pixels (width x height) of an image we read. Formats other than JPEG are decoded
// whole, so a forged header of a few kilobytes claiming 400000 x 400000 would make us work for
// minutes and gigabytes; one gigapixel covers the largest medium-format backs (about 150
// megapixels) six times over and stitched panoramas such as 100000 x 10000. JPEG is decoded
// shrunk on load (its format caps each side at 65535), so it is not limited.
inline constexpr std::int64_t kMaxPixels = 1'000'000'000;

struct Header {
  bool ok = false;
  std::int32_t width = 0;   // upright: EXIF orientations 5 to 8 swap the stored sizes
  std::int32_t height = 0;  // of one page (frame) when the image has several
  int orientation = 1;
  int pages = 1;        // frames of an animated GIF (or pages of a TIFF)
  std::string encoder;  // "image/jpeg", "image/png", ...; empty for formats we cannot write
};

// The formats we read by their own loader, as bits for ReadHeader.
inline constexpr unsigned kFormatJpeg = 0x1;
inline constexpr unsigned kFormatPng = 0x2;
inline constexpr unsigned kFormatGif = 0x4;
inline constexpr unsigned kFormatTiff = 0x8;
inline constexpr unsigned kFormatWebp = 0x10;
inline constexpr unsigned kFormatsOurs = 0x1F;
inline constexpr unsigned kFormatsAny = ~0u;  // also every other loader of libvips

// Reads the header only (no pixels). A file that is no image, or one above kMaxPixels, gives ok
// false and the reason is recorded as the last error. ReadHeaderOfFormats with formats other
// than kFormatsAny tries only the loaders of those formats, chosen by the file's first bytes: a
// text, SVG or PDF file never passes for an image however it is named.
Header ReadHeader(const std::string& path);
Header ReadHeaderOfFormats(const std::string& path, unsigned formats);

// False, with the reason recorded as the last error, when an image of encoder's format with
// these sides is above kMaxPixels. JPEG is never refused (see kMaxPixels). Every reader of a
// size, whichever library gave it, goes through this check.
bool IsWithinPixelLimit(std::int32_t width, std::int32_t height, const std::string& encoder);

// The encoder name for a libvips loader name such as "jpegload_source"; empty when unknown.
std::string EncoderOfLoader(const std::string& loader);

// Encodes src scaled to exactly width x height (upright, sRGB with an embedded profile applied,
// no metadata) in the format of encoder into *bytes, touching no file; an animated GIF written
// as GIF keeps every frame (height is then that of one frame). On failure *error holds the
// reason.
bool EncodeThumbnail(const std::string& src, int width, int height, const std::string& encoder,
                     std::string* bytes, std::string* error);
// The same with src's header already read by ReadHeader on this thread, so it is read once.
bool EncodeThumbnail(const std::string& src, const Header& header, int width, int height,
                     const std::string& encoder, std::string* bytes, std::string* error);

// A scaled image at 1x and, when the source holds the pixels for it, at 2x (twice each side).
struct ScaledBytes {
  std::string single;
  std::string twice;  // empty when no 2x copy was made
};

// True when a source of this header has at least 2 * width x 2 * height upright pixels, so a
// 2x copy of a width x height image needs no enlarging.
bool HasDoubleSize(const Header& header, int width, int height);

// EncodeThumbnail, and with withDouble also the 2x copy when HasDoubleSize: both from one
// decode of src, the 1x scaled down from the 2x pixels. Both are upright, sRGB (an embedded
// profile is applied first) and carry no metadata. On failure *out is empty.
// With small, a second, smaller copy (smallWidth x smallHeight, and its 2x) is scaled from the
// same decoded pixels when they hold enough for it (a thumbnail from its photo's decode);
// *small stays empty when they do not, and the caller makes it from the source.
bool EncodeScaled(const std::string& src, const Header& header, int width, int height,
                  const std::string& encoder, bool withDouble, ScaledBytes* out, std::string* error,
                  int smallWidth = 0, int smallHeight = 0, ScaledBytes* small = nullptr);

// Writes bytes through a temporary file beside dst that is renamed over dst on success. On
// failure nothing is left at dst that was not there before, and *error holds the reason.
bool ReplaceFile(const std::string& dst, const std::string& bytes, std::string* error);

// EncodeThumbnail, then ReplaceFile.
bool SaveThumbnail(const std::string& src, const std::string& dst, int width, int height,
                   const std::string& encoder, std::string* error);

// Frees what libvips keeps for the calling thread; for threads of our own, before they end.
void ReleaseThread();

}  // namespace pictavo::VipsImage
