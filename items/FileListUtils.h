#pragma once

// The display texts of a file's properties and EXIF values, as the list and the photo pages
// show them. Paths are UTF-8. A value that cannot be read gives an empty text; nothing here
// throws. Dates read "YYYY/MM/DD HH:MM:SS", file times in local time.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace pictavo::FileListUtils {

// (EXIF ExposureProgram code, display name) pairs.
using ExposureProgramNames = std::vector<std::pair<int, std::string>>;

std::string GetLastWriteDateTime(const std::string& path);
// The birth time where the file system keeps one, else empty: the inode change time is no
// creation time and would mislead a sort by it.
std::string GetCreationDateTime(const std::string& path);
std::string GetLastAccessDateTime(const std::string& path);

struct FileAttributeFlags {
  bool readOnly = false;  // the owner may not write
  bool hidden = false;    // a dot-file
  bool system = false;    // never set on this platform
};
FileAttributeFlags GetFileAttributeFlags(const std::string& path);
// "R" for read-only, "H" for hidden, both as "RH", empty for neither.
std::string GetAttributes(const std::string& path);

// The upper-case extension and word ("JPG ファイル"); the word alone without an extension.
std::string GetTypeName(const std::string& path, const std::string& word);

std::string GetExifDTOrig(const std::string& path);
std::string GetExifDTDigitized(const std::string& path);
std::string GetExifDateTime(const std::string& path);
// The upright size as "4000 x 3000".
std::string GetImageSize(const std::string& path);
std::string GetEquipMaker(const std::string& path);
std::string GetEquipModel(const std::string& path);
// "0221" reads "2.21".
std::string GetExifVer(const std::string& path);
std::string GetSoftwareUsed(const std::string& path);
// The table's name for the file's code; empty when the file has none or the table lacks it.
std::string GetExifExposureProg(const std::string& path, const ExposureProgramNames& table);
// "72 dpi".
std::string GetXResolution(const std::string& path);
std::string GetYResolution(const std::string& path);

// True when the file name matches one of the ";"-separated wildcard patterns ("*", "?"),
// ignoring case. "*.*" matches every name, as users of the patterns expect.
bool IsFilterMatch(const std::string& path, const std::string& patterns);

// Everything above from one read, for callers that need several values of one file.
struct FileTimes {
  std::string modified;
  std::string created;
  std::string accessed;
  FileAttributeFlags flags;
};
FileTimes ReadFileTimes(const std::string& path);

struct ExifRecord {
  std::string dateTimeOriginal;  // display forms
  std::string dateTimeDigitized;
  std::string dateTime;
  std::string make;
  std::string model;
  std::string version;
  std::string software;
  int exposureProgram = -1;      // -1: not present
  std::int32_t xResolution = 0;  // dpi; 0: not present
  std::int32_t yResolution = 0;
  // What photographers look for first, as display texts; empty when not present. The GPS
  // position is never read.
  std::string fNumber;       // "f/2.8"
  std::string exposureTime;  // "1/250 秒", "2 秒"
  std::string isoSpeed;      // "ISO-200"
  std::string focalLength;   // "50 mm"
  std::string lens;          // the lens model as the camera names it
};
// One Exiv2 open. A file without EXIF, or no image at all, gives the defaults.
ExifRecord ReadExif(const std::string& path);

// The EXIF values and the upright image size of a file, for the folder scan. One Exiv2 parse
// gives both for JPEG, PNG, TIFF and GIF (where the Exiv2 build reads GIF), from the same bytes
// libvips reads (frame header, IHDR, screen descriptor, first TIFF directory); libvips' header
// read runs only where Exiv2 gives no size or an orientation libvips might not see. The sizes are
// those of ImageUtils::GetImageSize, the pixel limit included: 0 when unreadable or refused.
struct ImageRecord {
  ExifRecord exif;
  std::int32_t width = 0;
  std::int32_t height = 0;
};
ImageRecord ReadImageRecord(const std::string& path);

// The display forms, exposed so that other readers format the same way.
std::string FormatExifDate(const std::string& raw);
std::string FormatExifVersion(const std::string& raw);
std::string FormatExposureProgram(int code, const ExposureProgramNames& table);
std::string FormatResolution(std::int32_t dpi);
std::string FormatDimensions(std::int32_t width, std::int32_t height);
std::string FormatAttributes(const FileAttributeFlags& flags);
// 0 or less, and values that are no number, give empty texts.
std::string FormatFNumber(double fNumber);
std::string FormatExposureTime(double seconds);
std::string FormatIsoSpeed(long iso);
std::string FormatFocalLength(double millimetres);

// Removes the GPS position (EXIF GPS tags and their XMP copies) from an image file in place,
// leaving the file untouched when it holds none. False, with the reason recorded, when a
// position is there and cannot be removed.
bool RemoveGpsPosition(const std::string& path);

}  // namespace pictavo::FileListUtils
