#include "support/ImageQuality.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>
#include <vector>

#include <vips/vips8>

#include "items/ImageUtils.h"
#include "support/Fixtures.h"

namespace pictavo::testing {
namespace {

using vips::VImage;

void Start() {
  static const bool started = [] {
    if (VIPS_INIT("pictavo-tests") != 0) {
      throw std::runtime_error("libvips failed to start: " + std::string(vips_error_buffer()));
    }
    // Sources rewritten under one name must not come back from the operation cache.
    vips_cache_set_max(0);
    return true;
  }();
  (void)started;
}

Pixels ToPixels(VImage image) {
  image = image.colourspace(VIPS_INTERPRETATION_sRGB).cast(VIPS_FORMAT_UCHAR);
  if (image.bands() > 3) image = image.extract_band(0, VImage::option()->set("n", 3));
  Pixels pixels;
  pixels.width = image.width();
  pixels.height = image.height();
  pixels.bands = image.bands();
  size_t size = 0;
  void* memory = image.write_to_memory(&size);
  const auto* bytes = static_cast<const std::uint8_t*>(memory);
  pixels.data.assign(bytes, bytes + size);
  g_free(memory);
  return pixels;
}

VImage ResizeTo(VImage image, int width, int height) {
  return image.resize(static_cast<double>(width) / image.width(),
                      VImage::option()
                          ->set("vscale", static_cast<double>(height) / image.height())
                          ->set("kernel", VIPS_KERNEL_LANCZOS3));
}

}  // namespace

Pixels DecodePixels(const std::string& bytes) {
  Start();
  return ToPixels(VImage::new_from_buffer(bytes.data(), bytes.size(), ""));
}

std::vector<Pixels> LanczosReferences(const std::filesystem::path& source,
                                      const std::vector<std::pair<int, int>>& sizes) {
  Start();
  const VImage full = VImage::new_from_file(source.string().c_str()).autorot().copy_memory();
  std::vector<Pixels> references;
  for (const auto& [width, height] : sizes) {
    references.push_back(ToPixels(ResizeTo(full, width, height)));
    if (references.back().width != width || references.back().height != height) {
      throw std::runtime_error("the reference of " + source.string() + " is not of the size asked");
    }
  }
  return references;
}

Pixels ThumbnailOfSource(const std::filesystem::path& source, int width, int height, int quality) {
  Start();
  VImage thumb =
      VImage::thumbnail(source.string().c_str(), width,
                        VImage::option()->set("height", height)->set("size", VIPS_SIZE_FORCE));
  VipsBlob* blob = thumb.jpegsave_buffer(VImage::option()->set("Q", quality)->set("strip", true));
  size_t size = 0;
  const void* data =
      vips_area_get_data(reinterpret_cast<VipsArea*>(blob), &size, nullptr, nullptr, nullptr);
  const std::string bytes(static_cast<const char*>(data), size);
  vips_area_unref(reinterpret_cast<VipsArea*>(blob));
  return DecodePixels(bytes);
}

double Psnr(const Pixels& a, const Pixels& b) {
  if (a.width != b.width || a.height != b.height || a.bands != b.bands ||
      a.data.size() != b.data.size() || a.data.empty()) {
    throw std::invalid_argument("PSNR of images of different sizes");
  }
  double sum = 0;
  for (size_t i = 0; i < a.data.size(); ++i) {
    const double d = static_cast<double>(a.data[i]) - b.data[i];
    sum += d * d;
  }
  const double mse = sum / static_cast<double>(a.data.size());
  return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

std::vector<CopyQuality> MeasureOneDecode(const std::filesystem::path& source, int photoWidth,
                                          int photoHeight, int thumbWidth, int thumbHeight) {
  // The qualities the album writes 1x and 2x copies at.
  constexpr int kSingleQuality = 85;
  constexpr int kDoubleQuality = 75;
  const ImageUtils::ImageHeader header = ImageUtils::GetImageHeader(source.string());
  ImageUtils::ScaledBytes photo;
  ImageUtils::ScaledBytes thumb;
  if (!ImageUtils::EncodeImageScaled(source.string(), header, photoWidth, photoHeight, true, &photo,
                                     {thumbWidth, thumbHeight}, &thumb)) {
    throw std::runtime_error("cannot scale " + source.string());
  }
  struct Made {
    const char* copy;
    const std::string* bytes;
    int width;
    int height;
    int quality;
  };
  const Made made[] = {
      {"photo", &photo.single, photoWidth, photoHeight, kSingleQuality},
      {"photo 2x", &photo.twice, 2 * photoWidth, 2 * photoHeight, kDoubleQuality},
      {"thumbnail", &thumb.single, thumbWidth, thumbHeight, kSingleQuality},
      {"thumbnail 2x", &thumb.twice, 2 * thumbWidth, 2 * thumbHeight, kDoubleQuality},
  };
  std::vector<CopyQuality> copies;
  std::vector<Pixels> pixels;
  std::vector<std::pair<int, int>> sizes;
  for (const Made& one : made) {
    CopyQuality copy;
    copy.copy = one.copy;
    copy.expectedWidth = one.width;
    copy.expectedHeight = one.height;
    if (!one.bytes->empty()) {
      pixels.push_back(DecodePixels(*one.bytes));
      copy.width = pixels.back().width;
      copy.height = pixels.back().height;
      if (copy.width == one.width && copy.height == one.height)
        sizes.emplace_back(one.width, one.height);
    }
    copies.push_back(copy);
  }
  const std::vector<Pixels> references = LanczosReferences(source, sizes);
  size_t decoded = 0;
  size_t measured = 0;
  for (size_t i = 0; i < copies.size(); ++i) {
    CopyQuality& copy = copies[i];
    if (copy.width == 0) continue;
    const Pixels& mine = pixels[decoded++];
    if (copy.width != copy.expectedWidth || copy.height != copy.expectedHeight) continue;
    const Pixels& reference = references[measured++];
    copy.oneDecode = Psnr(mine, reference);
    copy.twoDecodes =
        Psnr(ThumbnailOfSource(source, copy.width, copy.height, made[i].quality), reference);
  }
  return copies;
}

void WriteTexturedJpeg(const std::filesystem::path& path, int width, int height, int orientation) {
  Start();
  // Noise at every octave, the coarse ones strongest, as in photos (about 1/f): fine grain
  // that a poor kernel aliases, and edges and shapes that it blurs. The fine octaves repeat a
  // small tile (of an odd size, so it never lines up with JPEG blocks): noise of every pixel
  // of a camera-sized image costs more than the test it serves.
  constexpr int kTile = 509;
  constexpr int kCoarse = 8;  // the octaves from here on are summed at 1 / kCoarse of the size
  const int coarseWidth = width / kCoarse + 2;
  const int coarseHeight = height / kCoarse + 2;
  VImage fine = VImage::black(kTile, kTile).cast(VIPS_FORMAT_FLOAT);
  VImage coarse = VImage::black(coarseWidth, coarseHeight).cast(VIPS_FORMAT_FLOAT);
  double sigma = 2.0;
  for (int scale = 1; scale <= 32; scale *= 2, sigma *= 1.6) {
    const bool isFine = scale < kCoarse;
    const int factor = isFine ? scale : scale / kCoarse;
    const int noiseWidth = (isFine ? kTile : coarseWidth) / factor + 2;
    const int noiseHeight = (isFine ? kTile : coarseHeight) / factor + 2;
    VImage noise = VImage::gaussnoise(
        noiseWidth, noiseHeight,
        VImage::option()->set("sigma", sigma)->set("mean", 0.0)->set("seed", scale));
    if (factor > 1) noise = noise.resize(factor);
    if (isFine) {
      fine = fine + noise.crop(0, 0, kTile, kTile);
    } else {
      coarse = coarse + noise.crop(0, 0, coarseWidth, coarseHeight);
    }
  }
  fine = fine.copy_memory().replicate(width / kTile + 1, height / kTile + 1);
  coarse = coarse.copy_memory().resize(kCoarse);
  // Held in memory: each colour band reads it.
  // Crisp edges of shapes too, where kernels differ most: the coarse noise, cut at its mean.
  coarse = coarse.crop(0, 0, width, height);
  const VImage edges = (coarse > 0.0).ifthenelse(30.0, -30.0);
  const VImage detail = (fine.crop(0, 0, width, height) + coarse + edges).copy_memory();
  VImage xy = VImage::xyz(width, height);
  VImage red = xy[0] * (160.0 / std::max(1, width - 1)) + 40.0;
  VImage green = xy[1] * (160.0 / std::max(1, height - 1)) + 40.0;
  VImage blue = VImage::black(width, height) + 110.0;
  VImage image =
      VImage::bandjoin(std::vector<VImage>{red + detail, green + detail, blue + detail * 0.6})
          .cast(VIPS_FORMAT_UCHAR)
          .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
  image.jpegsave(path.string().c_str(), VImage::option()->set("Q", 92)->set("strip", true));
  if (orientation > 1) {
    ExifValues exif;
    exif.orientation = orientation;
    WriteExifInto(path, exif);
  }
}

}  // namespace pictavo::testing
