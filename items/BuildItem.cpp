#include "items/BuildItem.h"

#include "core/AlbumColumns.h"
#include "core/FileUtils.h"
#include "core/StringUtils.h"
#include "items/FileListUtils.h"

namespace pictavo {

namespace {

constexpr StringId kFileWordId = StringId::FileWord;  // "ファイル"

}  // namespace

ALBUMITEM BuildAlbumItem(const std::string& path) {
  ALBUMITEM item;
  item.name = FileUtils::GetSplitFileName(path);
  item.folder = FileUtils::GetPathRemoveBackslash(FileUtils::GetSplitDirPath(path));
  item.size = FileUtils::GetFileSize(path);
  item.sizeText = FileUtils::GetFileSize(item.size, 0);
  item.typeText = FileListUtils::GetTypeName(path, StringUtils::GetLoadString(kFileWordId));

  const FileListUtils::FileTimes times = FileListUtils::ReadFileTimes(path);
  item.modifiedText = times.modified;
  item.createdText = times.created;
  item.accessedText = times.accessed;
  item.attributesText = FileListUtils::FormatAttributes(times.flags);

  const FileListUtils::ImageRecord image = FileListUtils::ReadImageRecord(path);
  const FileListUtils::ExifRecord& exif = image.exif;
  item.dateTakenText = exif.dateTimeOriginal;
  item.dateDigitizedText = exif.dateTimeDigitized;
  item.exifDateTimeText = exif.dateTime;

  item.width = image.width;
  item.height = image.height;
  item.dimensionsText = FileListUtils::FormatDimensions(item.width, item.height);

  item.cameraMaker = exif.make;
  item.cameraModel = exif.model;
  item.exifVersion = exif.version;
  item.software = exif.software;
  item.exposureProgram =
      FileListUtils::FormatExposureProgram(exif.exposureProgram, GetExposureProgramNameTable());
  item.xResolutionText = FileListUtils::FormatResolution(exif.xResolution);
  item.xResolution = exif.xResolution;
  item.yResolutionText = FileListUtils::FormatResolution(exif.yResolution);
  item.yResolution = exif.yResolution;
  item.fNumberText = exif.fNumber;
  item.exposureTimeText = exif.exposureTime;
  item.isoSpeedText = exif.isoSpeed;
  item.focalLengthText = exif.focalLength;
  item.lensText = exif.lens;
  item.fullPath = path;
  return item;
}

}  // namespace pictavo
