#include "album/PropertyColumns.h"

#include <algorithm>
#include <array>
#include <system_error>
#include <utility>

#include "core/AlbumColumns.h"
#include "core/Profile.h"
#include "core/StringUtils.h"

namespace pictavo::PropertyColumns {

namespace {

constexpr std::array<const char*, 19> kPropertyKeys = {"name",
                                                       "folder",
                                                       "size",
                                                       "type",
                                                       "date_modified",
                                                       "date_created",
                                                       "date_accessed",
                                                       "attributes",
                                                       "date_taken",
                                                       "dimensions",
                                                       "datetime_digitized",
                                                       "datetime",
                                                       "camera_maker",
                                                       "camera_model",
                                                       "exif_version",
                                                       "software_used",
                                                       "exif_exposure_prog",
                                                       "x_resolution",
                                                       "y_resolution"};

constexpr std::array<const char*, kPhotoRowCount> kPhotoRowKeys = {
    "f_number", "exposure_time", "iso_speed", "focal_length", "lens_model"};

const std::string* PhotoRowField(int column, const ALBUMITEM& item) {
  switch (column - kFirstPhotoRowColumn) {
    case 0:
      return &item.fNumberText;
    case 1:
      return &item.exposureTimeText;
    case 2:
      return &item.isoSpeedText;
    case 3:
      return &item.focalLengthText;
    case 4:
      return &item.lensText;
    default:
      return nullptr;
  }
}

int ColumnOfStringId(int stringId) {
  // Ids beyond the titles name no column; mapping them to -1 also keeps the subtraction from
  // overflowing on a hand-edited id.
  if (stringId >= kFirstColumnTitleId && stringId < kFirstColumnTitleId + kColumnCount) {
    return stringId - kFirstColumnTitleId;
  }
  if (stringId >= kFirstPhotoRowId && stringId < kFirstPhotoRowId + kPhotoRowCount) {
    return kFirstPhotoRowColumn + (stringId - kFirstPhotoRowId);
  }
  return -1;
}

}  // namespace

std::vector<ColumnEntry> ReadColumnEntries(const std::filesystem::path& folder,
                                           const std::string& fileName, Pump& pump) {
  std::vector<ColumnEntry> entries;
  Profile profile;
  std::error_code error;
  const auto path = folder / fileName;
  if (!std::filesystem::is_regular_file(path, error) || !profile.Load(path)) return entries;
  const int count = std::min(profile.GetInt("Column", "Count", 0), kMaxColumnEntries);
  for (int i = 1; i <= count; ++i) {
    if (!pump.PumpMessages()) break;
    const std::string section = "Column\\Item" + std::to_string(i);
    const int stringId = profile.GetInt(section, "StringID", -1);
    ColumnEntry entry;
    entry.column = ColumnOfStringId(stringId);
    entry.label = StringUtils::GetLoadString(stringId);
    entry.format = profile.GetInt(section, "Format", 0);
    entry.width = profile.GetInt(section, "Width", -1);
    entry.order = -1;
    entry.shown = profile.GetInt(section, "Show", 1) != 0;
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::string GetPropertyKey(int column) {
  if (column >= kFirstPhotoRowColumn && column < kFirstPhotoRowColumn + kPhotoRowCount) {
    return kPhotoRowKeys[static_cast<std::size_t>(column - kFirstPhotoRowColumn)];
  }
  if (column < 0 || column >= static_cast<int>(kPropertyKeys.size())) return {};
  return kPropertyKeys[static_cast<std::size_t>(column)];
}

std::string GetPropertyValue(int column, const ALBUMITEM& item) {
  if (const std::string* field = PhotoRowField(column, item)) return *field;
  if (column < 0 || column >= static_cast<int>(kPropertyKeys.size())) return {};
  return GetColumnText(column, item);
}

}  // namespace pictavo::PropertyColumns
