#include "album/OutputContext.h"

#include <filesystem>

#include "album/OutputRun.h"
#include "core/FileUtils.h"

namespace pictavo {

std::string GetDesignFolderPath(const std::string& styleFolder) {
  return FileUtils::GetCombinePath(styleFolder, PathUtils::GetDesignFolderName());
}

std::string GetDesignFolderPath(const OutputContext& run) {
  return GetDesignFolderPath(run.styleFolder);
}

std::string KnownImageSizes::KeyOf(const std::string& path) {
  // "a//b.jpg" and "a/./b.jpg" are the same file; the steps and the pages spell paths apart.
  return std::filesystem::path(path).lexically_normal().string();
}

void KnownImageSizes::Keep(const std::string& path, ImageUtils::ImageSize size) {
  m_sizes[KeyOf(path)] = size;
}

bool KnownImageSizes::Has(const std::string& path) const {
  return m_sizes.count(KeyOf(path)) != 0;
}

void KnownImageSizes::KeepDoubleThumbnail(const std::string& sourcePath) {
  m_doubleThumbnails.insert(KeyOf(sourcePath));
}

bool KnownImageSizes::HasDoubleThumbnail(const std::string& sourcePath) const {
  return m_doubleThumbnails.count(KeyOf(sourcePath)) != 0;
}

void KnownImageSizes::KeepDoublePhoto(const std::string& photoPath) {
  m_doublePhotos.insert(KeyOf(photoPath));
}

bool KnownImageSizes::HasDoublePhoto(const std::string& photoPath) const {
  return m_doublePhotos.count(KeyOf(photoPath)) != 0;
}

void KnownImageSizes::KeepWritten(const std::string& path) {
  m_written.insert(KeyOf(path));
}

bool KnownImageSizes::WasWritten(const std::string& path) const {
  return m_written.count(KeyOf(path)) != 0;
}

ImageUtils::ImageSize KnownImageSizes::Get(const std::string& path) const {
  const auto known = m_sizes.find(KeyOf(path));
  return known != m_sizes.end() ? known->second : ImageUtils::GetImageSize(path);
}

std::string GetWebFileName(const OutputContext& run, const std::string& name) {
  return run.webNames ? run.webNames->Of(name) : WebFileNames::GetPlainName(name);
}

void RecordFailedFile(const OutputContext& run, const std::string& path,
                      const std::string& reason) {
  FileFailure failure{path, reason};
  run.host.ShowMessage(DescribeFileFailure(failure), MessageIcon::None, MessageButtons::Ok);
  if (run.failed) run.failed->push_back(std::move(failure));
}

ImageUtils::ImageSize GetRunImageSize(const OutputContext& run, const std::string& path) {
  return run.sizes ? run.sizes->Get(path) : ImageUtils::GetImageSize(path);
}

}  // namespace pictavo
