#pragma once

// The file names of a run's web copies (photos and thumbnails). A source in a format that
// browsers cannot show (TIFF) is written as JPEG under its base name with ".jpg"; every other
// name stays. The pages link the same names the image steps write.

#include <string>
#include <unordered_map>

namespace pictavo {

class ItemList;

class WebFileNames {
 public:
  WebFileNames() = default;
  // The names for the ticked rows. A ".jpg" name that another ticked file already has (or that
  // an earlier row took) gets "-2", "-3", ... before ".jpg", so no copy replaces another.
  explicit WebFileNames(const ItemList& list);

  // The web copy's name of a source file name; without a table, the plain rule alone.
  std::string Of(const std::string& name) const;

  // True for names whose copies are written as JPEG: ".tif" and ".tiff", in any case.
  static bool IsConverted(const std::string& name);
  // "scan.tif" -> "scan.jpg"; other names as they are.
  static std::string GetPlainName(const std::string& name);

 private:
  std::unordered_map<std::string, std::string> m_converted;
};

}  // namespace pictavo
