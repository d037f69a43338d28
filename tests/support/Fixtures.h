#pragma once

// Fixture writers: images of known sizes with chosen EXIF values, and the odd files a user's
// folder may hold. Every writer throws std::runtime_error when it cannot make its file, so a
// broken fixture fails the test instead of passing by accident.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pictavo::testing {

// A fresh folder under the system temp folder, removed with everything in it on destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return m_path; }
  // The path of name inside the folder (name is UTF-8).
  std::filesystem::path operator/(std::string_view name) const;
  // The same as a UTF-8 string, the form the library takes.
  std::string File(std::string_view name) const;

 private:
  std::filesystem::path m_path;
};

enum class ImageFormat { Jpeg, Png, Gif, Tiff };
enum class Fill { Solid, Gradient };

// EXIF values to write; empty or unset members are not written. Dates use the EXIF form
// "YYYY:MM:DD HH:MM:SS"; the version is the four characters of the tag, e.g. "0221".
struct ExifValues {
  std::string dateTimeOriginal;
  std::string dateTimeDigitized;
  std::string dateTime;
  std::string make;
  std::string model;
  std::string software;
  std::string exifVersion;
  std::optional<int> exposureProgram;
  std::optional<double> xResolution;
  std::optional<double> yResolution;
  int resolutionUnit = 2;  // 2 inch, 3 centimetre
  std::optional<int> orientation;
  // Further tags by Exiv2 key and value text, e.g. {"Exif.Photo.FNumber", "28/10"}.
  std::vector<std::pair<std::string, std::string>> raw;

  bool Empty() const;
};

// Values like a real camera file, for tests that only need "some EXIF".
ExifValues SampleExif();

// Writes a width x height image (stored pixels, before any orientation) and then the EXIF
// values through Exiv2. GIF carries no EXIF: asking for it throws.
void WriteImage(const std::filesystem::path& path, int width, int height, ImageFormat format,
                const ExifValues& exif = {}, Fill fill = Fill::Gradient);

// An animated GIF of frames frames of width x height, each a different brightness.
void WriteAnimatedGif(const std::filesystem::path& path, int width, int height, int frames);

// Writes the EXIF values into an existing JPEG, PNG or TIFF file.
void WriteExifInto(const std::filesystem::path& path, const ExifValues& exif);

// A JPEG cut after keepFraction of its bytes: the header is whole, the scan data is not.
void WriteTruncatedJpeg(const std::filesystem::path& path, int width, int height,
                        double keepFraction = 0.6);
// A JPEG whose scan data has a run of bytes overwritten with garbage.
void WriteDamagedJpeg(const std::filesystem::path& path, int width, int height);
// A JPEG with a restart marker after every block and every marker numbered wrong: each one
// is a decoder warning, hundreds in all, as in photos damaged by a faulty card.
void WriteMisnumberedRestartsJpeg(const std::filesystem::path& path, int width, int height);
// An empty file.
void WriteZeroByteFile(const std::filesystem::path& path);
// Plain bytes, e.g. a text file named .jpg.
void WriteBytes(const std::filesystem::path& path, std::string_view bytes);
// A few hundred bytes whose header claims width x height pixels, with almost no pixel data:
// a forged file that would make a decoder work for minutes.
void WriteForgedHeaderPng(const std::filesystem::path& path, std::uint32_t width,
                          std::uint32_t height);
void WriteForgedHeaderTiff(const std::filesystem::path& path, std::uint32_t width,
                           std::uint32_t height);
// A width x height JPEG stored sideways with EXIF orientation 6 (upright: height x width).
void WriteOrientation6Jpeg(const std::filesystem::path& path, int width, int height);

// A width x height JPEG of one sRGB colour whose pixels were converted into the colours of
// profile (a libvips profile name such as "p3", or an ICC file) with the profile embedded: a
// colour-managed viewer shows it as srgb.
void WriteProfiledJpeg(const std::filesystem::path& path, int width, int height,
                       const std::vector<double>& srgb, const std::string& profile);

// True when Exiv2 finds a GPS tag (EXIF or XMP) in the file.
bool HasGpsPosition(const std::filesystem::path& path);

// The CIE 1976 colour difference (delta E) of two 8-bit sRGB colours.
double ColourDifference(const std::vector<double>& srgbA, const std::vector<double>& srgbB);

// File names (without extension) that break naive quoting, escaping or splitting.
const std::vector<std::string>& OddFileStems();

// Upright size and format as libvips reads them back, to check written files independently.
struct ReadBack {
  int width = 0;
  int height = 0;
  std::string loader;    // e.g. "jpegload"
  bool hasExif = false;  // EXIF beyond the tags a TIFF needs for its pixels
  bool hasIcc = false;
  bool hasXmp = false;
  int bands = 0;
  std::string interpretation;
  int pages = 1;  // frames of an animated GIF
};
ReadBack ReadBackImage(const std::filesystem::path& path);
// The band values of the upright pixel at (x, y).
std::vector<double> UprightPixel(const std::filesystem::path& path, int x, int y);

// The files in folder, names only, sorted; to prove that nothing was left behind.
std::vector<std::string> ListFolder(const std::filesystem::path& folder);

// The bytes of a file; empty when it is missing or cannot be read.
std::string ReadFileBytes(const std::filesystem::path& path);

}  // namespace pictavo::testing
