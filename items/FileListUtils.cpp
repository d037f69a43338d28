#include "items/FileListUtils.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>

#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <exiv2/exiv2.hpp>

#include "items/Exiv2Compat.h"
#include "items/ImageUtils.h"
#include "items/VipsImage.h"

namespace pictavo::FileListUtils {

namespace {

std::string FormatTime(const struct statx_timestamp& stamp) {
  const time_t seconds = static_cast<time_t>(stamp.tv_sec);
  struct tm local {};
  if (localtime_r(&seconds, &local) == nullptr) return {};
  char text[32];
  if (std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local) == 0) return {};
  return text;
}

std::string FileNameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// EXIF strings come from cameras and editors in any encoding; keep valid UTF-8, replace the
// rest, drop control characters and the padding cameras put around the text.
std::string CleanText(const std::string& raw) {
  icu::UnicodeString text = icu::UnicodeString::fromUTF8(raw);
  icu::UnicodeString clean;
  for (int32_t i = 0; i < text.length();) {
    const UChar32 c = text.char32At(i);
    i += U16_LENGTH(c);
    if (!u_iscntrl(c)) clean.append(c);
  }
  clean.trim();
  std::string out;
  clean.toUTF8String(out);
  return out;
}

std::u32string FoldCase(const std::string& utf8) {
  icu::UnicodeString text = icu::UnicodeString::fromUTF8(utf8);
  text.foldCase();
  std::u32string out;
  for (int32_t i = 0; i < text.length();) {
    const UChar32 c = text.char32At(i);
    out.push_back(static_cast<char32_t>(c));
    i += U16_LENGTH(c);
  }
  return out;
}

// "*" any run, "?" one character; backtracks only to the last star, so it stays linear-ish
// on hostile patterns.
bool WildcardMatch(const std::u32string& name, const std::u32string& pattern) {
  size_t n = 0, p = 0, starP = std::u32string::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == U'*') {
      starP = p++;
      starN = n;
    } else if (starP != std::u32string::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == U'*') ++p;
  return p == pattern.size();
}

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

const Exiv2::Exifdatum* Find(const Exiv2::ExifData& exif, const char* key) {
  const auto it = exif.findKey(Exiv2::ExifKey(key));
  return it == exif.end() || it->count() == 0 ? nullptr : &*it;
}

std::string Ascii(const Exiv2::ExifData& exif, const char* key) {
  const Exiv2::Exifdatum* datum = Find(exif, key);
  return datum ? CleanText(datum->toString()) : std::string();
}

std::string RawBytes(const Exiv2::Exifdatum& datum) {
  std::string bytes;
  for (long i = 0; i < datum.count() && i < 16; ++i) {
    bytes.push_back(static_cast<char>(Exiv2Compat::ToInteger(datum, i)));
  }
  return bytes;
}

std::int32_t Dpi(const Exiv2::ExifData& exif, const char* key, bool centimetres) {
  const Exiv2::Exifdatum* datum = Find(exif, key);
  if (!datum) return 0;
  double value = datum->toFloat(0);
  if (centimetres) value *= 2.54;
  // 0/0, negative and absurd values are no resolution at all.
  if (!std::isfinite(value) || value < 0.5 || value > 1e7) return 0;
  return static_cast<std::int32_t>(std::lround(value));
}

double Number(const Exiv2::ExifData& exif, const char* key) {
  const Exiv2::Exifdatum* datum = Find(exif, key);
  if (!datum) return 0.0;
  const Exiv2::Rational value = datum->toRational(0);
  // A zero denominator is no value; cameras write 0/0 for "unknown".
  if (value.second == 0) return 0.0;
  return static_cast<double>(value.first) / value.second;
}

void ReadPhotography(const Exiv2::ExifData& exif, ExifRecord& record) {
  double fNumber = Number(exif, "Exif.Photo.FNumber");
  if (fNumber <= 0.0) {
    // The APEX aperture value: f = 2 ^ (Av / 2).
    const double apex = Number(exif, "Exif.Photo.ApertureValue");
    if (apex > 0.0 && apex < 64.0) fNumber = std::pow(2.0, apex / 2.0);
  }
  record.fNumber = FormatFNumber(fNumber);
  record.exposureTime = FormatExposureTime(Number(exif, "Exif.Photo.ExposureTime"));
  if (const Exiv2::Exifdatum* iso = Find(exif, "Exif.Photo.ISOSpeedRatings")) {
    record.isoSpeed = FormatIsoSpeed(static_cast<long>(Exiv2Compat::ToInteger(*iso)));
  }
  record.focalLength = FormatFocalLength(Number(exif, "Exif.Photo.FocalLength"));
  record.lens = Ascii(exif, "Exif.Photo.LensModel");
}

// A number with at most one decimal, "." whatever the locale; "2.0" reads "2".
std::string OneDecimal(double value) {
  const double rounded = std::round(value * 10.0) / 10.0;
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, rounded, std::chars_format::fixed,
                                    rounded == std::floor(rounded) ? 0 : 1);
  return std::string(text, result.ptr);
}

ExifRecord ReadRecord(const Exiv2::ExifData& exif) {
  ExifRecord record;
  record.dateTimeOriginal = FormatExifDate(Ascii(exif, "Exif.Photo.DateTimeOriginal"));
  record.dateTimeDigitized = FormatExifDate(Ascii(exif, "Exif.Photo.DateTimeDigitized"));
  record.dateTime = FormatExifDate(Ascii(exif, "Exif.Image.DateTime"));
  record.make = Ascii(exif, "Exif.Image.Make");
  record.model = Ascii(exif, "Exif.Image.Model");
  record.software = Ascii(exif, "Exif.Image.Software");
  if (const Exiv2::Exifdatum* version = Find(exif, "Exif.Photo.ExifVersion")) {
    record.version = FormatExifVersion(RawBytes(*version));
  }
  if (const Exiv2::Exifdatum* program = Find(exif, "Exif.Photo.ExposureProgram")) {
    const long code = Exiv2Compat::ToInteger(*program, 0);
    if (code >= 0 && code <= 0xFFFF) record.exposureProgram = static_cast<int>(code);
  }
  const Exiv2::Exifdatum* unit = Find(exif, "Exif.Image.ResolutionUnit");
  const bool centimetres = unit && Exiv2Compat::ToInteger(*unit, 0) == 3;
  record.xResolution = Dpi(exif, "Exif.Image.XResolution", centimetres);
  record.yResolution = Dpi(exif, "Exif.Image.YResolution", centimetres);
  ReadPhotography(exif, record);
  return record;
}

std::int64_t IntegerOf(const Exiv2::ExifData& exif, const char* key) {
  const Exiv2::Exifdatum* datum = Find(exif, key);
  return datum ? Exiv2Compat::ToInteger(*datum, 0) : 0;
}

int OrientationOf(const Exiv2::ExifData& exif) {
  const std::int64_t value = IntegerOf(exif, "Exif.Image.Orientation");
  return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
}

// A size as stored, before the orientation turns it.
struct StoredSize {
  std::int64_t width = 0;
  std::int64_t height = 0;
  int orientation = 1;
  const char* encoder = "";
};

// The size libvips' header read would give, where Exiv2 read it from the same bytes; nothing
// where it cannot tell.
std::optional<StoredSize> Exiv2StoredSize(const Exiv2::Image& image) {
  const Exiv2::ExifData& exif = image.exifData();
  StoredSize size;
  if (image.imageType() == Exiv2::ImageType::jpeg) {
    size = {image.pixelWidth(), image.pixelHeight(), OrientationOf(exif), "image/jpeg"};
  } else if (image.imageType() == Exiv2::ImageType::png) {
    // libvips turns a PNG by the eXIf chunk alone, Exiv2 also reads the older text-chunk
    // form; only libvips can say whether this one is turned.
    if (OrientationOf(exif) != 1) return std::nullopt;
    size = {image.pixelWidth(), image.pixelHeight(), 1, "image/png"};
  } else if (image.imageType() == Exiv2::ImageType::gif) {
    size = {image.pixelWidth(), image.pixelHeight(), 1, "image/gif"};
  } else if (image.imageType() == Exiv2::ImageType::tiff) {
    // libvips reads the first directory; Exiv2's own size may be that of a later, larger one.
    size = {IntegerOf(exif, "Exif.Image.ImageWidth"), IntegerOf(exif, "Exif.Image.ImageLength"),
            OrientationOf(exif), "image/tiff"};
  } else {
    return std::nullopt;
  }
  constexpr std::int64_t kMaxSide = std::numeric_limits<std::int32_t>::max();
  if (size.width <= 0 || size.height <= 0 || size.width > kMaxSide || size.height > kMaxSide) {
    return std::nullopt;
  }
  return size;
}

bool Digits(const std::string& text, size_t at, size_t count, int* value) {
  *value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    *value = *value * 10 + (text[i] - '0');
  }
  return true;
}

}  // namespace

FileTimes ReadFileTimes(const std::string& path) {
  FileTimes times;
  struct statx info {};
  if (statx(AT_FDCWD, path.c_str(), AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS | STATX_BTIME,
            &info) != 0) {
    VipsImage::RecordError("cannot read the properties of " + path);
    return times;
  }
  times.modified = FormatTime(info.stx_mtime);
  times.accessed = FormatTime(info.stx_atime);
  if (info.stx_mask & STATX_BTIME) times.created = FormatTime(info.stx_btime);
  times.flags.readOnly = (info.stx_mode & S_IWUSR) == 0;
  const std::string name = FileNameOf(path);
  times.flags.hidden = name.size() > 1 && name[0] == '.' && name != "..";
  return times;
}

std::string GetLastWriteDateTime(const std::string& path) {
  return ReadFileTimes(path).modified;
}
std::string GetCreationDateTime(const std::string& path) {
  return ReadFileTimes(path).created;
}
std::string GetLastAccessDateTime(const std::string& path) {
  return ReadFileTimes(path).accessed;
}

FileAttributeFlags GetFileAttributeFlags(const std::string& path) {
  return ReadFileTimes(path).flags;
}

std::string FormatAttributes(const FileAttributeFlags& flags) {
  std::string text;
  if (flags.readOnly) text += 'R';
  if (flags.hidden) text += 'H';
  if (flags.system) text += 'S';
  return text;
}

std::string GetAttributes(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return {};
  return FormatAttributes(GetFileAttributeFlags(path));
}

std::string GetTypeName(const std::string& path, const std::string& word) {
  const std::string name = FileNameOf(path);
  const auto dot = name.rfind('.');
  std::string extension;
  if (dot != std::string::npos && dot > 0) extension = name.substr(dot + 1);
  for (char& c : extension) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (extension.empty()) return word;
  if (word.empty()) return extension;
  return extension + " " + word;
}

ExifRecord ReadExif(const std::string& path) {
  VipsImage::EnsureStarted();
  if (!VipsImage::IsRegularFile(path)) return {};
  try {
    auto image = Exiv2Compat::OpenFile(path);
    if (image.get() == nullptr) {
      VipsImage::RecordError("no image metadata can be read from " + path);
      return {};
    }
    image->readMetadata();
    return ReadRecord(image->exifData());
  } catch (const std::exception& error) {
    VipsImage::RecordError(error.what());
    return {};
  }
}

ImageRecord ReadImageRecord(const std::string& path) {
  ImageRecord record;
  VipsImage::EnsureStarted();
  if (!VipsImage::IsRegularFile(path)) {
    VipsImage::RecordError("not a readable file: " + path);
    return record;
  }
  std::optional<StoredSize> stored;
  try {
    auto image = Exiv2Compat::OpenFile(path);
    if (image.get() != nullptr) {
      image->readMetadata();
      record.exif = ReadRecord(image->exifData());
      stored = Exiv2StoredSize(*image);
    }
  } catch (const std::exception& error) {
    VipsImage::RecordError(error.what());
  }
  if (!stored) {
    const VipsImage::Header header = VipsImage::ReadHeader(path);
    if (header.ok) {
      record.width = header.width;
      record.height = header.height;
    }
    return record;
  }
  auto width = static_cast<std::int32_t>(stored->width);
  auto height = static_cast<std::int32_t>(stored->height);
  if (stored->orientation >= 5) std::swap(width, height);
  if (VipsImage::IsWithinPixelLimit(width, height, stored->encoder)) {
    record.width = width;
    record.height = height;
  }
  return record;
}

std::string FormatExifDate(const std::string& raw) {
  // "YYYY:MM:DD HH:MM:SS"; anything else, blank or zero dates included, is no date.
  const std::string text = Trim(raw);
  if (text.size() < 19) return {};
  int year, month, day, hour, minute, second;
  if (!Digits(text, 0, 4, &year) || !Digits(text, 5, 2, &month) || !Digits(text, 8, 2, &day) ||
      !Digits(text, 11, 2, &hour) || !Digits(text, 14, 2, &minute) ||
      !Digits(text, 17, 2, &second)) {
    return {};
  }
  if (text[4] != ':' && text[4] != '-' && text[4] != '/') return {};
  if (text[7] != text[4] || (text[10] != ' ' && text[10] != 'T')) return {};
  if (text[13] != ':' || text[16] != ':') return {};
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60) {
    return {};
  }
  char out[64];
  std::snprintf(out, sizeof out, "%04d/%02d/%02d %02d:%02d:%02d", year, month, day, hour, minute,
                second);
  return out;
}

std::string FormatExifVersion(const std::string& raw) {
  int major, minor;
  if (raw.size() == 4 && Digits(raw, 0, 2, &major) && Digits(raw, 2, 2, &minor)) {
    return std::to_string(major) + "." + raw.substr(2, 2);
  }
  return CleanText(raw);
}

std::string FormatExposureProgram(int code, const ExposureProgramNames& table) {
  for (const auto& [tableCode, name] : table) {
    if (tableCode == code) return name;
  }
  return {};
}

std::string FormatResolution(std::int32_t dpi) {
  return dpi > 0 ? std::to_string(dpi) + " dpi" : std::string();
}

std::string FormatFNumber(double fNumber) {
  if (!std::isfinite(fNumber) || fNumber <= 0.0 || fNumber > 1000.0) return {};
  return "f/" + OneDecimal(fNumber);
}

std::string FormatExposureTime(double seconds) {
  if (!std::isfinite(seconds) || seconds <= 0.0 || seconds > 1e6) return {};
  // Shorter than a second reads as the fraction on the camera's dial: 0.004 is 1/250.
  if (seconds < 0.95) {
    return "1/" + std::to_string(static_cast<long long>(std::llround(1.0 / seconds))) + " 秒";
  }
  return OneDecimal(seconds) + " 秒";
}

std::string FormatIsoSpeed(long iso) {
  return iso > 0 && iso < 10000000 ? "ISO-" + std::to_string(iso) : std::string();
}

std::string FormatFocalLength(double millimetres) {
  if (!std::isfinite(millimetres) || millimetres <= 0.0 || millimetres > 100000.0) return {};
  return OneDecimal(millimetres) + " mm";
}

bool RemoveGpsPosition(const std::string& path) {
  VipsImage::EnsureStarted();
  if (!VipsImage::IsRegularFile(path)) return true;
  try {
    auto image = Exiv2Compat::OpenFile(path);
    if (image.get() == nullptr) return true;
    try {
      image->readMetadata();
    } catch (const std::exception&) {
      // Metadata Exiv2 cannot read holds no position it could find; the copy stays whole.
      return true;
    }
    bool found = false;
    Exiv2::ExifData& exif = image->exifData();
    for (auto it = exif.begin(); it != exif.end();) {
      if (it->groupName() == "GPSInfo" || it->key() == "Exif.Image.GPSTag") {
        it = exif.erase(it);
        found = true;
      } else {
        ++it;
      }
    }
    Exiv2::XmpData& xmp = image->xmpData();
    for (auto it = xmp.begin(); it != xmp.end();) {
      if (it->key().rfind("Xmp.exif.GPS", 0) == 0) {
        it = xmp.erase(it);
        found = true;
      } else {
        ++it;
      }
    }
    if (found) image->writeMetadata();
    return true;
  } catch (const Exiv2::AnyError& error) {
    // A file of no image type Exiv2 knows carries no position it could find.
    if (error.code() == Exiv2::kerFileContainsUnknownImageType ||
        error.code() == Exiv2::kerNotAnImage) {
      return true;
    }
    VipsImage::RecordError("cannot remove the GPS position from " + path + ": " + error.what());
    return false;
  } catch (const std::exception& error) {
    VipsImage::RecordError("cannot remove the GPS position from " + path + ": " + error.what());
    return false;
  }
}

std::string FormatDimensions(std::int32_t width, std::int32_t height) {
  if (width <= 0 || height <= 0) return {};
  return std::to_string(width) + " x " + std::to_string(height);
}

std::string GetExifDTOrig(const std::string& path) {
  return ReadExif(path).dateTimeOriginal;
}
std::string GetExifDTDigitized(const std::string& path) {
  return ReadExif(path).dateTimeDigitized;
}
std::string GetExifDateTime(const std::string& path) {
  return ReadExif(path).dateTime;
}
std::string GetEquipMaker(const std::string& path) {
  return ReadExif(path).make;
}
std::string GetEquipModel(const std::string& path) {
  return ReadExif(path).model;
}
std::string GetExifVer(const std::string& path) {
  return ReadExif(path).version;
}
std::string GetSoftwareUsed(const std::string& path) {
  return ReadExif(path).software;
}

std::string GetExifExposureProg(const std::string& path, const ExposureProgramNames& table) {
  return FormatExposureProgram(ReadExif(path).exposureProgram, table);
}

std::string GetXResolution(const std::string& path) {
  return FormatResolution(ReadExif(path).xResolution);
}
std::string GetYResolution(const std::string& path) {
  return FormatResolution(ReadExif(path).yResolution);
}

std::string GetImageSize(const std::string& path) {
  const ImageUtils::ImageSize size = ImageUtils::GetImageSize(path);
  return FormatDimensions(size.width, size.height);
}

bool IsFilterMatch(const std::string& path, const std::string& patterns) {
  const std::u32string name = FoldCase(FileNameOf(path));
  if (name.empty()) return false;
  size_t start = 0;
  while (start <= patterns.size()) {
    auto end = patterns.find(';', start);
    if (end == std::string::npos) end = patterns.size();
    const std::string pattern = Trim(patterns.substr(start, end - start));
    if (pattern == "*.*" || (!pattern.empty() && WildcardMatch(name, FoldCase(pattern)))) {
      return true;
    }
    start = end + 1;
  }
  return false;
}

}  // namespace pictavo::FileListUtils
