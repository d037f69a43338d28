#include "album/HighDensity.h"

#include <filesystem>
#include <system_error>

#include "album/HtmlFuncs.h"

namespace pictavo::HighDensity {

std::string GetDoublePath(const std::string& singlePath) {
  const auto slash = singlePath.rfind('/');
  if (slash == std::string::npos) return std::string(kFolderName) + "/" + singlePath;
  return singlePath.substr(0, slash + 1) + kFolderName + singlePath.substr(slash);
}

bool WriteScaledFiles(const std::string& path, const ImageUtils::ScaledBytes& bytes,
                      bool* doubleWritten) {
  *doubleWritten = false;
  if (!ImageUtils::WriteImageFile(path, bytes.single)) return false;
  const std::filesystem::path twice(GetDoublePath(path));
  std::error_code error;
  if (bytes.twice.empty()) {
    if (std::filesystem::is_regular_file(twice, error)) std::filesystem::remove(twice, error);
    return true;
  }
  // Workers create the folder side by side; one of them wins, the others find it there.
  std::filesystem::create_directory(twice.parent_path(), error);
  *doubleWritten = std::filesystem::is_directory(twice.parent_path(), error) &&
                   ImageUtils::WriteImageFile(twice.string(), bytes.twice);
  return true;
}

std::string GetSrcsetAttribute(const std::string& single) {
  // References are percent-encoded: no space or comma in them can split a candidate.
  return " srcset=\"" +
         EncodeUtils::GetTextToEntityString(single + " 1x, " + GetDoublePath(single) + " 2x") +
         "\"";
}

std::string AddSrcset(const std::string& imgTag, const std::string& single) {
  if (imgTag.empty() || imgTag.back() != '>') return imgTag;
  std::string tag = imgTag;
  tag.insert(tag.size() - 1, GetSrcsetAttribute(single));
  return tag;
}

}  // namespace pictavo::HighDensity
