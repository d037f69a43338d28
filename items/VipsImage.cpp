#include "items/VipsImage.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <exiv2/exiv2.hpp>
#include <vips/vips8>

#include "core/Diagnostics.h"
#include "core/FileUtils.h"
#include "core/LogUtils.h"
#include "items/VipsJpegFallback.h"
#include "items/VipsReduce.h"

namespace pictavo::VipsImage {

namespace {

struct StartState {
  bool ok = false;
  std::string error;
};

// libvips warns on stderr about every damaged JPEG it still decodes; the front end decides
// whether the user sees that.
void ForwardVipsWarning(const char*, GLogLevelFlags, const char* message, void*) {
  ReportDiagnostic("libvips", message ? message : "");
}

void ForwardExiv2Message(int, const char* message) {
  ReportDiagnostic("Exiv2", message ? message : "");
}

std::atomic<bool> g_started{false};

const StartState& Start() {
  static const StartState state = [] {
    StartState s;
    if (VIPS_INIT("pictavo") != 0) {
      s.error = vips_error_buffer();
      vips_error_clear();
      return s;
    }
    // Operations are cached by file name; a file rewritten under the same name would come back
    // stale, and the album writer does exactly that.
    vips_cache_set_max(0);
    // Our loops already run one image per core; threads inside each image on top of that only
    // compete for the same cores. VIPS_CONCURRENCY still decides when the user sets it.
    if (!g_getenv("VIPS_CONCURRENCY")) vips_concurrency_set(1);
    g_log_set_handler("VIPS", static_cast<GLogLevelFlags>(G_LOG_LEVEL_WARNING), ForwardVipsWarning,
                      nullptr);
    Exiv2::LogMsg::setHandler(ForwardExiv2Message);
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::warn);
    Exiv2::XmpParser::initialize();
    s.ok = true;
    g_started = true;
    return s;
  }();
  return state;
}

enum class Magic { Other, Jpeg, Png, Gif, Tiff, Webp };

// The format by the first bytes, as the loaders themselves recognise it.
Magic ReadMagic(const std::string& path) {
  unsigned char bytes[12] = {};
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Magic::Other;
  const ssize_t got = read(fd, bytes, sizeof bytes);
  close(fd);
  if (got < 4) return Magic::Other;
  if (bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) return Magic::Jpeg;
  if (bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G') return Magic::Png;
  if (bytes[0] == 'G' && bytes[1] == 'I' && bytes[2] == 'F' && bytes[3] == '8') return Magic::Gif;
  if ((bytes[0] == 'I' && bytes[1] == 'I' && bytes[2] == 42 && bytes[3] == 0) ||
      (bytes[0] == 'M' && bytes[1] == 'M' && bytes[2] == 0 && bytes[3] == 42)) {
    return Magic::Tiff;
  }
  if (got == 12 && std::memcmp(bytes, "RIFF", 4) == 0 && std::memcmp(bytes + 8, "WEBP", 4) == 0) {
    return Magic::Webp;
  }
  return Magic::Other;
}

unsigned FormatBit(Magic magic) {
  switch (magic) {
    case Magic::Jpeg:
      return kFormatJpeg;
    case Magic::Png:
      return kFormatPng;
    case Magic::Gif:
      return kFormatGif;
    case Magic::Tiff:
      return kFormatTiff;
    case Magic::Webp:
      return kFormatWebp;
    case Magic::Other:
      break;
  }
  return 0;
}

std::string FormatNames(unsigned formats) {
  static const std::pair<unsigned, const char*> kNames[] = {
      {kFormatJpeg, "JPEG"}, {kFormatPng, "PNG"},   {kFormatGif, "GIF"},
      {kFormatTiff, "TIFF"}, {kFormatWebp, "WebP"},
  };
  std::string names;
  for (const auto& [bit, name] : kNames) {
    if (formats & bit) names += (names.empty() ? "" : ", ") + std::string(name);
  }
  return names;
}

// Opens the image for its header. The common formats go straight to their loader: asking
// every loader whether it knows the file costs more than reading the header itself. A file of
// no format in formats throws.
vips::VImage LoadHeader(const std::string& path, unsigned formats) {
  using vips::VImage;
  const Magic magic = ReadMagic(path);
  if (formats != kFormatsAny && (FormatBit(magic) & formats) == 0) {
    throw vips::VError("not an image of the listed formats (" + FormatNames(formats) + ")");
  }
  vips::VSource source = vips::VSource::new_from_file(path.c_str());
  auto options = [] { return VImage::option()->set("fail_on", VIPS_FAIL_ON_NONE); };
  switch (magic) {
    case Magic::Jpeg:
      return VImage::jpegload_source(source, options());
    case Magic::Png:
      return VImage::pngload_source(source, options());
    case Magic::Gif:
      return VImage::gifload_source(source, options());
    case Magic::Tiff:
      return VImage::tiffload_source(source, options());
    case Magic::Webp:
      return VImage::webpload_source(source, options());
    case Magic::Other:
      break;
  }
  return VImage::new_from_source(source, "", options());
}

std::string Loader(vips::VImage& image) {
  const char* loader = nullptr;
  if (vips_image_get_string(image.get_image(), "vips-loader", &loader) == 0 && loader) {
    return loader;
  }
  return {};
}

int Orientation(vips::VImage& image) {
  if (image.get_typeof(VIPS_META_ORIENTATION) == 0) return 1;
  const int value = image.get_int(VIPS_META_ORIENTATION);
  return value >= 1 && value <= 8 ? value : 1;
}

// Pixels stored in an embedded profile's colours are turned into sRGB before the profile is
// stripped: a browser would otherwise read them as sRGB and show them darker and off-colour.
// Untagged images stay as they are; a profile that cannot be used leaves the pixels unchanged.
vips::VImage ToSrgb(vips::VImage image) {
  if (image.get_typeof(VIPS_META_ICC_NAME) == 0) return image;
  try {
    return image.icc_transform(
        "srgb", vips::VImage::option()->set("embedded", true)->set("intent", VIPS_INTENT_RELATIVE));
  } catch (const vips::VError&) {
    vips_error_clear();
    return image;
  }
}

vips::VImage Encodable(vips::VImage image) {
  image = ToSrgb(image);
  if (image.interpretation() != VIPS_INTERPRETATION_sRGB || image.format() != VIPS_FORMAT_UCHAR) {
    image = image.colourspace(VIPS_INTERPRETATION_sRGB);
    if (image.format() != VIPS_FORMAT_UCHAR) image = image.cast(VIPS_FORMAT_UCHAR);
  }
  return image;
}

struct BlobRelease {
  void operator()(VipsBlob* blob) const { vips_area_unref(reinterpret_cast<VipsArea*>(blob)); }
};
using Blob = std::unique_ptr<VipsBlob, BlobRelease>;

// Encodes to memory first so that a failing encoder never touches the file system.
Blob Encode(vips::VImage image, const std::string& encoder, int quality) {
  using vips::VImage;
  if (encoder == "image/jpeg") {
    // JPEG has no alpha; flatten onto white as a browser would show it.
    if (image.has_alpha()) image = image.flatten(VImage::option()->set("background", 255.0));
    return Blob(image.jpegsave_buffer(VImage::option()->set("Q", quality)->set("strip", true)));
  }
  if (encoder == "image/png") {
    return Blob(image.pngsave_buffer(VImage::option()->set("strip", true)));
  }
  if (encoder == "image/gif") {
    return Blob(image.gifsave_buffer(VImage::option()->set("strip", true)));
  }
  if (encoder == "image/tiff") {
    return Blob(image.tiffsave_buffer(VImage::option()->set("strip", true)));
  }
  if (encoder == "image/webp") {
    return Blob(image.webpsave_buffer(VImage::option()->set("strip", true)));
  }
  throw vips::VError("no encoder for \"" + encoder + "\"");
}

std::string Bytes(const Blob& blob) {
  size_t size = 0;
  const void* data =
      vips_area_get_data(reinterpret_cast<VipsArea*>(blob.get()), &size, nullptr, nullptr, nullptr);
  return std::string(static_cast<const char*>(data), size);
}

// A 2x copy is seen at twice the density, where compression artefacts are half as large; a
// lower quality keeps its bytes near twice, not four times, those of the 1x copy.
constexpr int kSingleQuality = 85;
constexpr int kDoubleQuality = 75;

std::string VipsFailure(const std::exception& error) {
  std::string text = error.what();
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  vips_error_clear();
  return text;
}

// The damaged-JPEG path: our own decode, then the same turn and scale as the normal path.
vips::VImage TolerantThumbnail(const std::string& src, const Header& header, int width,
                               int height) {
  using vips::VImage;
  const bool sideways = header.orientation >= 5;
  VImage decoded;
  std::string ignored;  // the caller reports libvips' own reason
  if (!DecodeJpegTolerantly(src, sideways ? height : width, sideways ? width : height, &decoded,
                            &ignored)) {
    return VImage();
  }
  decoded.set(VIPS_META_ORIENTATION, header.orientation);
  return decoded.autorot().thumbnail_image(
      width, VImage::option()->set("height", height)->set("size", VIPS_SIZE_FORCE));
}

// One copy to make: width x height, and 2x when the source holds the pixels for it.
struct Request {
  int width = 0;
  int height = 0;
  bool twice = false;
  int DecodeWidth() const { return twice ? 2 * width : width; }
  int DecodeHeight() const { return twice ? 2 * height : height; }
};

Request MakeRequest(const Header& header, int width, int height, bool withDouble) {
  Request request;
  request.width = std::min(width, header.width);
  request.height = std::min(height, header.height);
  request.twice = withDouble && HasDoubleSize(header, request.width, request.height);
  return request;
}

// Encodes the request's copies, each scaled straight from pixels (at least the decode size).
// Halving the encoded 2x photo in the decoder was cheaper but put the 1x photo through a second
// JPEG generation, up to 2 dB worse. Given pixels larger than the 2x, the 1x is made from them,
// not from the 2x copy: a thumbnail's 1x from its 2x copy lost up to 0.3 dB.
void EncodeCopies(vips::VImage pixels, const Request& request, const std::string& format,
                  ScaledBytes* out) {
  if (request.twice) {
    // Read twice: a sequential source must be held. The box average both sizes start from is
    // made once.
    pixels =
        VipsReduce::BoxHalved(pixels.copy_memory(), request.DecodeWidth(), request.DecodeHeight());
    const vips::VImage twice = VipsReduce::ReduceTo(pixels, request.DecodeWidth(),
                                                    request.DecodeHeight(), VIPS_KERNEL_LANCZOS3)
                                   .copy_memory();
    out->twice = Bytes(Encode(twice, format, kDoubleQuality));
  }
  const vips::VImage single =
      VipsReduce::ReduceTo(pixels, request.width, request.height, VIPS_KERNEL_LANCZOS3)
          .copy_memory();
  out->single = Bytes(Encode(single, format, kSingleQuality));
}

// src at exactly width x height, upright. For a 2x copy of a JPEG the pixels are scaled before
// they are turned upright, so only the small image is turned, not the full decode.
vips::VImage DecodeScaled(const std::string& src, const Header& header, const Request& request) {
  using vips::VImage;
  const int width = request.DecodeWidth();
  const int height = request.DecodeHeight();
  if (request.twice && header.encoder == "image/jpeg") {
    const bool sideways = header.orientation >= 5;
    const int storedWidth = sideways ? height : width;
    const int storedHeight = sideways ? width : height;
    const int sourceWidth = sideways ? header.height : header.width;
    const int sourceHeight = sideways ? header.width : header.height;
    // The decoder's shrink only where a quarter or more is left for the resize: from a decode
    // just above the target (4608 to 2304 for 2048) the resize lost over 1 dB. Lanczos, as the
    // one-decode-per-copy path used: a cubic kernel lost 0.3 dB at a 2.25 reduction.
    int shrink = 1;
    while (shrink < 8 && 4 * (sourceWidth / (shrink * 2)) >= 5 * storedWidth &&
           4 * (sourceHeight / (shrink * 2)) >= 5 * storedHeight) {
      shrink *= 2;
    }
    VImage image = VImage::jpegload_source(vips::VSource::new_from_file(src.c_str()),
                                           VImage::option()
                                               ->set("shrink", shrink)
                                               ->set("access", VIPS_ACCESS_SEQUENTIAL)
                                               ->set("fail_on", VIPS_FAIL_ON_NONE));
    image = VipsReduce::ReduceTo(image, storedWidth, storedHeight, VIPS_KERNEL_LANCZOS3);
    // Upright pixels stay the memory image they are: a turn by 0 would wrap them in a lazy
    // copy that each copy_memory() after would allocate and fill again.
    if (header.orientation <= 1) return image;
    // Turning sideways pixels reads them out of order, which a sequential decode refuses (and
    // the tolerant decoder would then decode the file again).
    return sideways ? image.copy_memory().autorot() : image.autorot();
  }
  // Pixels are decoded lazily, so a damaged file fails inside the encoder, not here.
  return VImage::thumbnail_source(vips::VSource::new_from_file(src.c_str()), width,
                                  VImage::option()
                                      ->set("height", height)
                                      ->set("size", VIPS_SIZE_FORCE)
                                      ->set("fail_on", VIPS_FAIL_ON_NONE));
}

}  // namespace

bool EnsureStarted(std::string* error) {
  const StartState& state = Start();
  if (!state.ok && error) *error = "libvips failed to start: " + state.error;
  return state.ok;
}

void RecordError(const std::string& text) {
  LogUtils::SetLastErrorMessage(text);
}

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string EncoderOfLoader(const std::string& loader) {
  static const std::pair<const char*, const char*> kEncoders[] = {
      {"jpegload", "image/jpeg"}, {"pngload", "image/png"},   {"gifload", "image/gif"},
      {"tiffload", "image/tiff"}, {"webpload", "image/webp"},
  };
  for (const auto& [prefix, encoder] : kEncoders) {
    if (loader.rfind(prefix, 0) == 0) return encoder;
  }
  return {};
}

bool IsWithinPixelLimit(std::int32_t width, std::int32_t height, const std::string& encoder) {
  if (encoder == "image/jpeg" || static_cast<std::int64_t>(width) * height <= kMaxPixels) {
    return true;
  }
  RecordError(std::to_string(width) + " x " + std::to_string(height) + " pixels is more than the " +
              std::to_string(kMaxPixels / 1'000'000) + " megapixels an image may have");
  return false;
}

Header ReadHeader(const std::string& path) {
  return ReadHeaderOfFormats(path, kFormatsAny);
}

Header ReadHeaderOfFormats(const std::string& path, unsigned formats) {
  Header header;
  std::string error;
  if (!EnsureStarted(&error)) {
    RecordError(error);
    return header;
  }
  if (!IsRegularFile(path)) {
    RecordError("not a readable file: " + path);
    return header;
  }
  try {
    // A source takes the name as it is; a file name ending in "[...]" is not read as options.
    vips::VImage image = LoadHeader(path, formats);
    header.width = image.width();
    header.height = image.height();
    header.orientation = Orientation(image);
    if (image.get_typeof("n-pages") != 0) header.pages = std::max(1, image.get_int("n-pages"));
    if (header.orientation >= 5) std::swap(header.width, header.height);
    header.encoder = EncoderOfLoader(Loader(image));
    header.ok = header.width > 0 && header.height > 0;
    if (header.ok && !IsWithinPixelLimit(header.width, header.height, header.encoder)) {
      return Header{};
    }
  } catch (const std::exception& failure) {
    RecordError(VipsFailure(failure));
    header = Header{};
  }
  return header;
}

bool EncodeThumbnail(const std::string& src, int width, int height, const std::string& encoder,
                     std::string* bytes, std::string* error) {
  if (!EnsureStarted(error)) return false;
  return EncodeThumbnail(src, ReadHeader(src), width, height, encoder, bytes, error);
}

bool EncodeThumbnail(const std::string& src, const Header& header, int width, int height,
                     const std::string& encoder, std::string* bytes, std::string* error) {
  ScaledBytes scaled;
  if (!EncodeScaled(src, header, width, height, encoder, false, &scaled, error)) return false;
  *bytes = std::move(scaled.single);
  return true;
}

bool EncodeScaled(const std::string& src, const Header& header, int width, int height,
                  const std::string& encoder, bool withDouble, ScaledBytes* out, std::string* error,
                  int smallWidth, int smallHeight, ScaledBytes* small) {
  using vips::VImage;
  *out = {};
  if (small) *small = {};
  if (!EnsureStarted(error)) return false;
  // The header first: a source that is no image is the reason, not the size it gave.
  if (!header.ok) {
    *error = "cannot read the image " + src + ": " + LogUtils::GetLastErrorMessage();
    return false;
  }
  if (width <= 0 || height <= 0) {
    *error = "invalid thumbnail size " + std::to_string(width) + " x " + std::to_string(height);
    return false;
  }
  const std::string format = encoder.empty() ? header.encoder : encoder;
  if (format.empty()) {
    *error = "no encoder for the format of " + src;
    return false;
  }
  // Never enlarge: a side larger than the upright source keeps the source's side.
  const Request main = MakeRequest(header, width, height, withDouble);
  const Request extra = small && smallWidth > 0 && smallHeight > 0
                            ? MakeRequest(header, smallWidth, smallHeight, withDouble)
                            : Request{};
  // One decode serves every copy: the others are scaled from pixels held in memory.
  const auto encodeFrom = [&](VImage decoded) {
    decoded = Encodable(decoded);
    // Read twice (the copies, then the second size): a sequential source must be held.
    if (extra.width > 0) decoded = decoded.copy_memory();
    EncodeCopies(decoded, main, format, out);
    // The second size from the same pixels; a size they do not hold is left to its own step.
    if (extra.width > 0 && decoded.width() >= extra.DecodeWidth() &&
        decoded.height() >= extra.DecodeHeight()) {
      EncodeCopies(decoded, extra, format, small);
    }
  };
  try {
    try {
      if (format == "image/gif" && header.encoder == "image/gif" && header.pages > 1) {
        // Every frame, each scaled to width x height, so an animated GIF stays animated. The
        // frames are not held for a 2x or a second size: those are left to their own steps.
        VImage frames =
            VImage::thumbnail_source(vips::VSource::new_from_file(src.c_str()), main.width,
                                     VImage::option()
                                         ->set("height", main.height)
                                         ->set("size", VIPS_SIZE_FORCE)
                                         ->set("fail_on", VIPS_FAIL_ON_NONE)
                                         ->set("option_string", "n=-1"));
        out->single = Bytes(Encode(Encodable(frames), format, kSingleQuality));
      } else {
        encodeFrom(DecodeScaled(src, header, main));
      }
    } catch (const vips::VError& failure) {
      if (header.encoder != "image/jpeg") throw;
      const std::string vipsError = VipsFailure(failure);
      VImage thumb = TolerantThumbnail(src, header, main.DecodeWidth(), main.DecodeHeight());
      if (thumb.get_image() == nullptr) {
        *error = vipsError;
        return false;
      }
      *out = {};
      if (small) *small = {};
      encodeFrom(thumb);
    }
    return true;
  } catch (const std::exception& failure) {
    *out = {};
    if (small) *small = {};
    *error = VipsFailure(failure);
    return false;
  }
}

bool HasDoubleSize(const Header& header, int width, int height) {
  return header.ok && width > 0 && height > 0 &&
         2 * static_cast<std::int64_t>(width) <= header.width &&
         2 * static_cast<std::int64_t>(height) <= header.height;
}

bool ReplaceFile(const std::string& dst, const std::string& bytes, std::string* error) {
  if (FileUtils::WriteFileAtomic(dst, bytes)) return true;
  *error = LogUtils::GetLastErrorMessage();
  return false;
}

bool SaveThumbnail(const std::string& src, const std::string& dst, int width, int height,
                   const std::string& encoder, std::string* error) {
  std::string bytes;
  return EncodeThumbnail(src, width, height, encoder, &bytes, error) &&
         ReplaceFile(dst, bytes, error);
}

void ReleaseThread() {
  // Before libvips started there is nothing to free, and its thread data is not set up yet.
  if (g_started) vips_thread_shutdown();
}

}  // namespace pictavo::VipsImage
