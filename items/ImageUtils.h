#pragma once

// Image sizes, resolutions and scaled copies. Paths are UTF-8. A file that cannot be read as
// an image gives zero numbers; nothing here throws.

#include <cstdint>
#include <string>

#include "items/VipsImage.h"

namespace pictavo::ImageUtils {

struct ImageSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const ImageSize&, const ImageSize&) = default;
};

// Upright sizes (EXIF orientation applied) from the header alone; 0 when unreadable.
std::int32_t GetImageWidth(const std::string& path);
std::int32_t GetImageHeight(const std::string& path);
ImageSize GetImageSize(const std::string& path);

// Resolutions in dots per inch from the EXIF/TIFF tags; 0 when the file carries none.
std::int32_t GetXResolution(const std::string& path);
std::int32_t GetYResolution(const std::string& path);

// The size that fits within a limit x limit square, proportions kept, never enlarged. A limit
// of 0 or less gives the image's own size; an unreadable image gives 0 x 0.
ImageSize GetThumbnailSize(const std::string& path, int limit);
ImageSize GetThumbnailSize(ImageSize size, int limit);

// The encoder name ("image/jpeg", "image/png", "image/gif", "image/tiff", "image/webp") of the
// file's own format, judged by its content; empty when it is none of these.
std::string GetEncoderFormat(const std::string& path);

// Writes src scaled to width x height (upright, sRGB, no metadata, JPEG quality 85) in the
// encoder's format (the source's own when encoder is empty). Sides beyond the source's are
// cut to it, so nothing is enlarged. On failure returns false, leaves dst as it was and
// records the reason for LogUtils::GetLastErrorMessage().
bool SaveImageThumbnailFile(const std::string& src, const std::string& dst, int width, int height,
                            const std::string& encoder);

// For a loop that needs a source's size, its encoder and its scaled copy: the header is read
// once (upright size, encoder name, orientation) and handed to the encoder. A header that is
// not ok has its reason recorded as the calling thread's last error.
using ImageHeader = VipsImage::Header;
ImageHeader GetImageHeader(const std::string& path);
inline ImageSize SizeOf(const ImageHeader& header) {
  return header.ok ? ImageSize{header.width, header.height} : ImageSize{};
}

// The format a web copy of an encoder's format is written in: JPEG, PNG, GIF and WebP stay,
// TIFF (which browsers do not show) becomes JPEG; empty for formats we cannot write.
std::string GetWebEncoder(const std::string& encoder);
// True when the source's own bytes are a good web copy at its own size: a format browsers
// show, or an animated GIF, whose frames a copy keeps as they are.
bool IsWebFormat(const ImageHeader& header);
bool IsAnimatedGif(const ImageHeader& header);

// True when the file is an image of one of formats (VipsImage::kFormat... bits) that an album
// can carry; otherwise false with the reason in *reason. Only the loaders of those formats
// are tried, and a format we cannot write counts as unreadable.
bool CanPutInAlbum(const std::string& path, unsigned formats, std::string* reason);
bool WriteImageFile(const std::string& dst, const std::string& bytes);

// The 1x copy and, when withDouble and the source is large enough (never enlarged), the 2x
// copy of 2 * width x 2 * height, from one decode, in the source's web format (GetWebEncoder:
// a TIFF becomes a JPEG). Failure records the reason as SaveImageThumbnailFile does.
// With small, also a smaller copy (a thumbnail) from the same decode when the decoded pixels
// hold enough for it; *small stays empty otherwise.
using ScaledBytes = VipsImage::ScaledBytes;
bool EncodeImageScaled(const std::string& src, const ImageHeader& header, int width, int height,
                       bool withDouble, ScaledBytes* bytes, ImageSize smallSize = {},
                       ScaledBytes* small = nullptr);

// Frees the image library's state for the calling thread; worker threads call it as they end.
void ReleaseThreadResources();

}  // namespace pictavo::ImageUtils
