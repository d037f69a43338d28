#include "items/ImageUtils.h"

#include <algorithm>
#include <cmath>

#include "core/LogUtils.h"
#include "items/FileListUtils.h"
#include "items/VipsImage.h"

namespace pictavo::ImageUtils {

ImageSize GetImageSize(const std::string& path) {
  const VipsImage::Header header = VipsImage::ReadHeader(path);
  return header.ok ? ImageSize{header.width, header.height} : ImageSize{};
}

std::int32_t GetImageWidth(const std::string& path) {
  return GetImageSize(path).width;
}
std::int32_t GetImageHeight(const std::string& path) {
  return GetImageSize(path).height;
}

std::int32_t GetXResolution(const std::string& path) {
  return FileListUtils::ReadExif(path).xResolution;
}
std::int32_t GetYResolution(const std::string& path) {
  return FileListUtils::ReadExif(path).yResolution;
}

ImageSize GetThumbnailSize(ImageSize size, int limit) {
  if (size.width <= 0 || size.height <= 0) return {};
  if (limit <= 0 || (size.width <= limit && size.height <= limit)) return size;
  // Scale the long side to the limit; the short side rounds but never reaches 0.
  const double scale = static_cast<double>(limit) / std::max(size.width, size.height);
  auto side = [&](std::int32_t value) {
    return std::clamp<std::int32_t>(static_cast<std::int32_t>(std::lround(value * scale)), 1,
                                    limit);
  };
  return {side(size.width), side(size.height)};
}

ImageSize GetThumbnailSize(const std::string& path, int limit) {
  return GetThumbnailSize(GetImageSize(path), limit);
}

std::string GetEncoderFormat(const std::string& path) {
  return VipsImage::ReadHeader(path).encoder;
}

bool SaveImageThumbnailFile(const std::string& src, const std::string& dst, int width, int height,
                            const std::string& encoder) {
  std::string error;
  if (VipsImage::SaveThumbnail(src, dst, width, height, encoder, &error)) return true;
  VipsImage::RecordError(error);
  return false;
}

ImageHeader GetImageHeader(const std::string& path) {
  return VipsImage::ReadHeader(path);
}

std::string GetWebEncoder(const std::string& encoder) {
  if (encoder == "image/tiff") return "image/jpeg";
  return encoder;
}

bool IsWebFormat(const ImageHeader& header) {
  return header.ok && !header.encoder.empty() && GetWebEncoder(header.encoder) == header.encoder;
}

bool IsAnimatedGif(const ImageHeader& header) {
  return header.ok && header.encoder == "image/gif" && header.pages > 1;
}

bool CanPutInAlbum(const std::string& path, unsigned formats, std::string* reason) {
  LogUtils::ClearLastError();
  const ImageHeader header = VipsImage::ReadHeaderOfFormats(path, formats);
  if (!header.ok) {
    *reason = LogUtils::GetLastErrorMessage();
    return false;
  }
  if (GetWebEncoder(header.encoder).empty()) {
    *reason = "no encoder for its format";
    return false;
  }
  return true;
}

bool EncodeImageScaled(const std::string& src, const ImageHeader& header, int width, int height,
                       bool withDouble, ScaledBytes* bytes, ImageSize smallSize,
                       ScaledBytes* small) {
  std::string error;
  if (VipsImage::EncodeScaled(src, header, width, height, GetWebEncoder(header.encoder), withDouble,
                              bytes, &error, smallSize.width, smallSize.height, small)) {
    return true;
  }
  VipsImage::RecordError(error);
  return false;
}

bool WriteImageFile(const std::string& dst, const std::string& bytes) {
  std::string error;
  if (VipsImage::ReplaceFile(dst, bytes, &error)) return true;
  VipsImage::RecordError(error);
  return false;
}

void ReleaseThreadResources() {
  VipsImage::ReleaseThread();
}

}  // namespace pictavo::ImageUtils
