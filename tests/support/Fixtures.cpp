#include "support/Fixtures.h"
#include "items/Exiv2Compat.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <stdexcept>
#include <system_error>

#include <unistd.h>

#include <exiv2/exiv2.hpp>
#include <vips/vips8>

#include "items/Exiv2Compat.h"

namespace pictavo::testing {

namespace fs = std::filesystem;

namespace {

void InitVips() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (VIPS_INIT("pictavo-tests") != 0) {
      throw std::runtime_error("libvips failed to start: " + std::string(vips_error_buffer()));
    }
    // A fixture rewritten under the same name must not come back from the operation cache.
    vips_cache_set_max(0);
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
  });
}

[[noreturn]] void Fail(const fs::path& path, const std::string& what) {
  throw std::runtime_error("fixture " + path.string() + ": " + what);
}

vips::VImage Paint(int width, int height, Fill fill) {
  using vips::VImage;
  if (fill == Fill::Solid) {
    return VImage::black(width, height, VImage::option()->set("bands", 3))
        .linear({1.0, 1.0, 1.0}, {200.0, 120.0, 40.0})
        .cast(VIPS_FORMAT_UCHAR);
  }
  // A gradient in x and y, so a wrong rotation or a crop changes the pixels.
  VImage xy = VImage::xyz(width, height);
  VImage red = xy[0] * (255.0 / std::max(1, width - 1));
  VImage green = xy[1] * (255.0 / std::max(1, height - 1));
  VImage blue = VImage::black(width, height) + 60.0;
  return VImage::bandjoin(std::vector<VImage>{red, green, blue})
      .cast(VIPS_FORMAT_UCHAR)
      .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
}

void SaveImage(vips::VImage image, const fs::path& path, ImageFormat format,
               const ExifValues& exif) {
  using vips::VImage;
  const std::string name = path.string();
  // TIFF always carries resolution tags; write the requested ones (or 72 dpi) there too.
  const double ppmX = exif.xResolution.value_or(72.0) / (exif.resolutionUnit == 3 ? 10.0 : 25.4);
  const double ppmY = exif.yResolution.value_or(72.0) / (exif.resolutionUnit == 3 ? 10.0 : 25.4);
  image = image.copy(VImage::option()->set("xres", ppmX)->set("yres", ppmY));
  switch (format) {
    case ImageFormat::Jpeg:
      image.jpegsave(name.c_str(), VImage::option()->set("strip", true)->set("Q", 90));
      break;
    case ImageFormat::Png:
      image.pngsave(name.c_str(), VImage::option()->set("strip", true));
      break;
    case ImageFormat::Gif:
      image.gifsave(name.c_str(), VImage::option()->set("strip", true));
      break;
    case ImageFormat::Tiff:
      image.tiffsave(name.c_str(), VImage::option()->set("strip", true));
      break;
  }
}

void WriteExif(const fs::path& path, const ExifValues& values) {
  auto image = Exiv2::ImageFactory::open(path.string());
  image->readMetadata();
  Exiv2::ExifData& exif = image->exifData();
  auto setAscii = [&](const char* key, const std::string& text) {
    if (!text.empty()) exif[key] = text;
  };
  setAscii("Exif.Photo.DateTimeOriginal", values.dateTimeOriginal);
  setAscii("Exif.Photo.DateTimeDigitized", values.dateTimeDigitized);
  setAscii("Exif.Image.DateTime", values.dateTime);
  setAscii("Exif.Image.Make", values.make);
  setAscii("Exif.Image.Model", values.model);
  setAscii("Exif.Image.Software", values.software);
  if (!values.exifVersion.empty()) {
    Exiv2::DataValue version(Exiv2::undefined);
    version.read(reinterpret_cast<const Exiv2::byte*>(values.exifVersion.data()),
                 static_cast<long>(values.exifVersion.size()));
    exif.add(Exiv2::ExifKey("Exif.Photo.ExifVersion"), &version);
  }
  if (values.exposureProgram) {
    exif["Exif.Photo.ExposureProgram"] = static_cast<uint16_t>(*values.exposureProgram);
  }
  auto rational = [](double value) {
    return Exiv2::URational(static_cast<uint32_t>(std::lround(value * 100.0)), 100);
  };
  if (values.xResolution) exif["Exif.Image.XResolution"] = rational(*values.xResolution);
  if (values.yResolution) exif["Exif.Image.YResolution"] = rational(*values.yResolution);
  if (values.xResolution || values.yResolution) {
    exif["Exif.Image.ResolutionUnit"] = static_cast<uint16_t>(values.resolutionUnit);
  }
  if (values.orientation) {
    exif["Exif.Image.Orientation"] = static_cast<uint16_t>(*values.orientation);
  }
  for (const auto& [key, text] : values.raw) {
    if (key.rfind("Xmp.", 0) == 0) {
      image->xmpData()[key] = text;
    } else {
      const Exiv2::ExifKey exifKey(key);
      Exiv2::Value::AutoPtr value = Exiv2::Value::create(exifKey.defaultTypeId());
      if (value->read(text) != 0) Fail(path, "bad value for " + key);
      exif.add(exifKey, value.get());
    }
  }
  image->writeMetadata();
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail(path, "cannot read back");
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The tags every TIFF needs to describe its pixels; Exiv2 lists them as EXIF, but they say
// nothing about the camera, the place or the orientation.
bool IsTiffStructure(const Exiv2::Exifdatum& datum) {
  static const char* const kStructure[] = {
      "NewSubfileType", "ImageWidth",          "ImageLength",
      "BitsPerSample",  "Compression",         "PhotometricInterpretation",
      "FillOrder",      "StripOffsets",        "SamplesPerPixel",
      "RowsPerStrip",   "StripByteCounts",     "XResolution",
      "YResolution",    "PlanarConfiguration", "ResolutionUnit",
      "Predictor",      "TileWidth",           "TileLength",
      "TileOffsets",    "TileByteCounts",      "ExtraSamples",
      "SampleFormat"};
  if (datum.groupName() != "Image") return false;
  if (datum.tagName() == "Orientation")
    return Exiv2Compat::ToInteger(datum) == 1;  // libtiff always writes it
  for (const char* name : kStructure) {
    if (datum.tagName() == name) return true;
  }
  return false;
}

}  // namespace

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "pictavo-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::system_error(errno, std::generic_category(), "mkdtemp");
  }
  m_path = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  // Tests may leave read-only files behind; make them removable first.
  for (auto it = fs::recursive_directory_iterator(m_path, ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::remove_all(m_path, ignored);
}

fs::path TempDir::operator/(std::string_view name) const {
  return m_path / fs::path(std::u8string(name.begin(), name.end()));
}

std::string TempDir::File(std::string_view name) const {
  return (m_path.string() + "/").append(name);
}

bool ExifValues::Empty() const {
  return dateTimeOriginal.empty() && dateTimeDigitized.empty() && dateTime.empty() &&
         make.empty() && model.empty() && software.empty() && exifVersion.empty() &&
         !exposureProgram && !xResolution && !yResolution && !orientation && raw.empty();
}

ExifValues SampleExif() {
  ExifValues values;
  values.dateTimeOriginal = "2021:04:05 06:07:08";
  values.dateTimeDigitized = "2021:04:05 06:07:09";
  values.dateTime = "2022:12:31 23:59:58";
  values.make = "Maker & Sons";
  values.model = "Model <X> 100";
  values.software = "Editor 1.0";
  values.exifVersion = "0231";
  values.exposureProgram = 3;
  values.xResolution = 300;
  values.yResolution = 240;
  return values;
}

void WriteImage(const fs::path& path, int width, int height, ImageFormat format,
                const ExifValues& exif, Fill fill) {
  if (width <= 0 || height <= 0) Fail(path, "size must be positive");
  if (format == ImageFormat::Gif && !exif.Empty()) Fail(path, "GIF files carry no EXIF");
  InitVips();
  try {
    SaveImage(Paint(width, height, fill), path, format, exif);
    if (!exif.Empty()) WriteExif(path, exif);
  } catch (const std::exception& error) {
    Fail(path, error.what());
  }
}

void WriteAnimatedGif(const fs::path& path, int width, int height, int frames) {
  if (width <= 0 || height <= 0 || frames < 2) Fail(path, "an animation needs a size and frames");
  InitVips();
  try {
    std::vector<vips::VImage> pages;
    for (int i = 0; i < frames; ++i) {
      // Each frame its own brightness, so frames are told apart after a resize.
      pages.push_back(
          Paint(width, height, Fill::Gradient).linear(1.0, 40.0 * i).cast(VIPS_FORMAT_UCHAR));
    }
    vips::VImage strip = vips::VImage::arrayjoin(pages, vips::VImage::option()->set("across", 1));
    strip = strip.copy();
    strip.set("page-height", height);
    strip.set("delay", std::vector<int>(frames, 100));
    strip.gifsave(path.string().c_str());
  } catch (const std::exception& error) {
    Fail(path, error.what());
  }
}

void WriteExifInto(const fs::path& path, const ExifValues& exif) {
  InitVips();
  try {
    WriteExif(path, exif);
  } catch (const std::exception& error) {
    Fail(path, error.what());
  }
}

void WriteTruncatedJpeg(const fs::path& path, int width, int height, double keepFraction) {
  WriteImage(path, width, height, ImageFormat::Jpeg);
  const std::string bytes = ReadAll(path);
  const auto keep = static_cast<std::size_t>(static_cast<double>(bytes.size()) * keepFraction);
  WriteBytes(path, std::string_view(bytes).substr(0, keep));
}

void WriteDamagedJpeg(const fs::path& path, int width, int height) {
  WriteImage(path, width, height, ImageFormat::Jpeg);
  std::string bytes = ReadAll(path);
  // Past the headers, inside the entropy-coded data; keep the end-of-image marker.
  const std::size_t start = bytes.size() / 2;
  const std::size_t length = std::min<std::size_t>(64, bytes.size() / 8);
  for (std::size_t i = 0; i < length; ++i) bytes[start + i] = static_cast<char>(0xA5 ^ i);
  WriteBytes(path, bytes);
}

void WriteMisnumberedRestartsJpeg(const fs::path& path, int width, int height) {
  InitVips();
  try {
    Paint(width, height, Fill::Gradient)
        .jpegsave(path.string().c_str(),
                  vips::VImage::option()->set("strip", true)->set("restart_interval", 1));
  } catch (const std::exception& error) {
    Fail(path, error.what());
  }
  std::string bytes = ReadAll(path);
  int changed = 0;
  // In the scan data 0xFF is always stuffed (FF 00) except in markers, so FF D0..D7 are RSTn.
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
    const auto next = static_cast<unsigned char>(bytes[i + 1]);
    if (static_cast<unsigned char>(bytes[i]) == 0xFF && next >= 0xD0 && next <= 0xD7) {
      bytes[i + 1] = static_cast<char>(0xD0 + ((next - 0xD0 + 3) % 8));
      ++changed;
    }
  }
  if (changed < 150) Fail(path, "too few restart markers to damage; use a larger image");
  WriteBytes(path, bytes);
}

void WriteZeroByteFile(const fs::path& path) {
  WriteBytes(path, {});
}

void WriteBytes(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) Fail(path, "cannot write");
}

namespace {

void PutBigEndian32(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t Crc32(std::string_view bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (const char c : bytes) {
    crc ^= static_cast<unsigned char>(c);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PutPngChunk(std::string& out, std::string_view type, std::string_view data) {
  PutBigEndian32(out, static_cast<std::uint32_t>(data.size()));
  const std::string body = std::string(type) + std::string(data);
  out += body;
  PutBigEndian32(out, Crc32(body));
}

}  // namespace

void WriteForgedHeaderPng(const fs::path& path, std::uint32_t width, std::uint32_t height) {
  std::string png = "\x89PNG\r\n\x1A\n";
  std::string header;
  PutBigEndian32(header, width);
  PutBigEndian32(header, height);
  header += std::string("\x08\x00\x00\x00\x00", 5);  // 8-bit grey, no interlace
  PutPngChunk(png, "IHDR", header);
  PutPngChunk(png, "IDAT", std::string("\x78\x9C\x03\x00\x00\x00\x00\x01", 8));  // empty
  PutPngChunk(png, "IEND", "");
  WriteBytes(path, png);
}

void WriteForgedHeaderTiff(const fs::path& path, std::uint32_t width, std::uint32_t height) {
  struct Entry {
    std::uint16_t tag;
    std::uint16_t type;  // 3 SHORT, 4 LONG
    std::uint32_t value;
  };
  constexpr std::uint32_t kIfdOffset = 8;
  const Entry entries[] = {{256, 4, width}, {257, 4, height}, {258, 3, 8},
                           {259, 3, 1},     {262, 3, 1},      {273, 4, 0},
                           {277, 3, 1},     {278, 4, height}, {279, 4, 16}};
  const std::uint32_t dataOffset =
      kIfdOffset + 2 + static_cast<std::uint32_t>(std::size(entries)) * 12 + 4;
  std::string tiff = "II";
  PutLittleEndian(tiff, 42, 2);
  PutLittleEndian(tiff, kIfdOffset, 4);
  PutLittleEndian(tiff, static_cast<std::uint32_t>(std::size(entries)), 2);
  for (const Entry& entry : entries) {
    PutLittleEndian(tiff, entry.tag, 2);
    PutLittleEndian(tiff, entry.type, 2);
    PutLittleEndian(tiff, 1, 4);
    PutLittleEndian(tiff, entry.tag == 273 ? dataOffset : entry.value, entry.type == 3 ? 2 : 4);
    if (entry.type == 3) PutLittleEndian(tiff, 0, 2);
  }
  PutLittleEndian(tiff, 0, 4);  // no next directory
  tiff += std::string(16, '\x80');
  WriteBytes(path, tiff);
}

void WriteOrientation6Jpeg(const fs::path& path, int width, int height) {
  ExifValues exif;
  exif.orientation = 6;
  WriteImage(path, width, height, ImageFormat::Jpeg, exif);
}

const std::vector<std::string>& OddFileStems() {
  static const std::vector<std::string> stems = {
      "with space", "日本語の写真", "quote\"double", "quote'single", "less<than",
      "amp&ersand", "hash#tag",     "per%cent",      "com,ma",       "mixed 写真 & #1, 50%",
  };
  return stems;
}

ReadBack ReadBackImage(const fs::path& path) {
  InitVips();
  ReadBack result;
  try {
    vips::VImage image = vips::VImage::new_from_file(path.string().c_str());
    result.width = image.width();
    result.height = image.height();
    int orientation = 1;
    if (image.get_typeof("orientation") != 0) orientation = image.get_int("orientation");
    if (orientation >= 5 && orientation <= 8) std::swap(result.width, result.height);
    const char* loader = nullptr;
    if (vips_image_get_string(image.get_image(), "vips-loader", &loader) == 0 && loader) {
      result.loader = loader;
    }
    result.hasIcc = image.get_typeof("icc-profile-data") != 0;
    result.hasXmp = image.get_typeof("xmp-data") != 0;
    result.bands = image.bands();
    if (image.get_typeof("n-pages") != 0) result.pages = image.get_int("n-pages");
    result.interpretation = vips_enum_nick(VIPS_TYPE_INTERPRETATION, image.interpretation());
  } catch (const std::exception& error) {
    Fail(path, std::string("cannot read back: ") + error.what());
  }
  // Exiv2 looks for EXIF on its own, so a block that libvips would skip still counts.
  try {
    auto image = Exiv2::ImageFactory::open(path.string());
    image->readMetadata();
    for (const Exiv2::Exifdatum& datum : image->exifData()) {
      if (!IsTiffStructure(datum)) result.hasExif = true;
    }
  } catch (const std::exception&) {
    result.hasExif = false;  // GIF and friends: Exiv2 finds no EXIF container at all
  }
  return result;
}

std::vector<double> UprightPixel(const fs::path& path, int x, int y) {
  InitVips();
  try {
    return vips::VImage::new_from_file(path.string().c_str()).autorot().getpoint(x, y);
  } catch (const std::exception& error) {
    Fail(path, std::string("cannot read a pixel: ") + error.what());
  }
}

void WriteProfiledJpeg(const fs::path& path, int width, int height, const std::vector<double>& srgb,
                       const std::string& profile) {
  using vips::VImage;
  InitVips();
  try {
    VImage image = VImage::black(width, height, VImage::option()->set("bands", 3))
                       .linear({1.0, 1.0, 1.0}, srgb)
                       .cast(VIPS_FORMAT_UCHAR)
                       .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
    image = image.icc_transform(profile.c_str(), VImage::option()
                                                     ->set("input_profile", "srgb")
                                                     ->set("intent", VIPS_INTENT_RELATIVE)
                                                     ->set("embedded", false));
    if (image.get_typeof("icc-profile-data") == 0) Fail(path, "no profile embedded");
    image.jpegsave(path.string().c_str(), VImage::option()->set("Q", 95));
  } catch (const vips::VError& error) {
    Fail(path, error.what());
  }
}

bool HasGpsPosition(const fs::path& path) {
  InitVips();
  auto image = Exiv2::ImageFactory::open(path.string());
  image->readMetadata();
  for (const Exiv2::Exifdatum& datum : image->exifData()) {
    if (datum.groupName() == "GPSInfo") return true;
  }
  for (const Exiv2::Xmpdatum& datum : image->xmpData()) {
    if (datum.key().rfind("Xmp.exif.GPS", 0) == 0) return true;
  }
  return false;
}

double ColourDifference(const std::vector<double>& srgbA, const std::vector<double>& srgbB) {
  using vips::VImage;
  InitVips();
  const auto lab = [](const std::vector<double>& srgb) {
    return VImage::black(1, 1, VImage::option()->set("bands", 3))
        .linear({1.0, 1.0, 1.0}, srgb)
        .cast(VIPS_FORMAT_UCHAR)
        .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB))
        .colourspace(VIPS_INTERPRETATION_LAB)
        .getpoint(0, 0);
  };
  const std::vector<double> a = lab(srgbA);
  const std::vector<double> b = lab(srgbB);
  return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) +
                   (a[2] - b[2]) * (a[2] - b[2]));
}

std::vector<std::string> ListFolder(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadFileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace pictavo::testing
