#include "core/AlbumColumns.h"

#include <filesystem>
#include <system_error>

#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include "core/CompareUtils.h"
#include "core/StringUtils.h"

namespace pictavo {

namespace {

constexpr PropertyColumn Column(int column, const char* key, int width, SortRule rule,
                                bool rightAligned = false) {
  return PropertyColumn{column,
                        kFirstColumnTitleId + column,
                        key,
                        width,
                        rightAligned,
                        rule,
                        kFirstSortCommand + column,
                        kFirstCopyCommand + column};
}

constexpr std::array<PropertyColumn, kColumnCount> kColumns = {{
    Column(0, "name", 120, SortRule::FileName),
    Column(1, "folder", 160, SortRule::Text),
    Column(2, "size", 70, SortRule::Size, true),
    Column(3, "type", 105, SortRule::Text),
    Column(4, "date_modified", 118, SortRule::Date),
    Column(5, "date_created", 118, SortRule::Date),
    Column(6, "date_accessed", 118, SortRule::Date),
    Column(7, "attributes", 40, SortRule::Text),
    Column(8, "date_taken", 118, SortRule::Date),
    Column(9, "dimensions", 80, SortRule::Dimensions),
    // The two digitised dates compare as text, not as dates.
    Column(10, "datetime_digitized", 118, SortRule::Text),
    Column(11, "datetime", 118, SortRule::Text),
    Column(12, "camera_maker", 100, SortRule::Text),
    Column(13, "camera_model", 100, SortRule::Text),
    Column(14, "exif_version", 96, SortRule::Text),
    Column(15, "software_used", 128, SortRule::Text),
    Column(16, "exif_exposure_prog", 104, SortRule::Text),
    Column(17, "x_resolution", 120, SortRule::XResolution),
    Column(18, "y_resolution", 120, SortRule::YResolution),
    Column(19, "", 160, SortRule::Note),
}};

const std::string* ColumnField(int column, const ALBUMITEM& item) {
  switch (column) {
    case 0:
      return &item.name;
    case 1:
      return &item.folder;
    case 2:
      return &item.sizeText;
    case 3:
      return &item.typeText;
    case 4:
      return &item.modifiedText;
    case 5:
      return &item.createdText;
    case 6:
      return &item.accessedText;
    case 7:
      return &item.attributesText;
    case 8:
      return &item.dateTakenText;
    case 9:
      return &item.dimensionsText;
    case 10:
      return &item.dateDigitizedText;
    case 11:
      return &item.exifDateTimeText;
    case 12:
      return &item.cameraMaker;
    case 13:
      return &item.cameraModel;
    case 14:
      return &item.exifVersion;
    case 15:
      return &item.software;
    case 16:
      return &item.exposureProgram;
    case 17:
      return &item.xResolutionText;
    case 18:
      return &item.yResolutionText;
    default:
      return nullptr;
  }
}

// Without a copy: the sort reads these texts for every comparison.
const std::string& ColumnTextRef(int column, const ALBUMITEM& item) {
  static const std::string kEmpty;
  const std::string* field = ColumnField(column, item);
  return field ? *field : kEmpty;
}

bool IsFolder(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_directory(std::filesystem::path(path), error);
}

// An item without a value (0) goes after every item with one, whatever the direction.
int CompareMissingLast(std::int64_t a, std::int64_t b) {
  if (a != 0 && b == 0) return -1;
  if (a == 0 && b != 0) return 1;
  return 0;
}

int CompareByRule(const ALBUMITEM& a, const ALBUMITEM& b, int column, bool d) {
  const SortRule rule =
      column >= 0 && column < kColumnCount ? kColumns[column].rule : SortRule::FileName;
  int result = 0;
  switch (rule) {
    case SortRule::FileName:
      return CompareUtils::CompareFileName(a.name, b.name, d);
    case SortRule::Size:
      result = CompareUtils::CompareNumber(a.size, b.size, d);
      break;
    case SortRule::Date:
      result = CompareUtils::CompareFileTime(ColumnTextRef(column, a), ColumnTextRef(column, b), d);
      break;
    case SortRule::Dimensions:
      if (int missing = CompareMissingLast(a.width, b.width)) return missing;
      result = CompareUtils::CompareNumber(a.width, b.width, d);
      return result != 0 ? result : CompareUtils::CompareNumber(a.height, b.height, d);
    case SortRule::XResolution:
      if (int missing = CompareMissingLast(a.xResolution, b.xResolution)) return missing;
      return CompareUtils::CompareNumber(a.xResolution, b.xResolution, d);
    case SortRule::YResolution:
      if (int missing = CompareMissingLast(a.yResolution, b.yResolution)) return missing;
      return CompareUtils::CompareNumber(a.yResolution, b.yResolution, d);
    case SortRule::Text:
      result =
          CompareUtils::CompareText(ColumnTextRef(column, a), ColumnTextRef(column, b), d,
                                    CompareUtils::kIgnoreCase, CompareUtils::kUserDefaultLocale);
      break;
    case SortRule::Note:
      result = CompareUtils::CompareText(a.note, b.note, d, CompareUtils::kIgnoreCase,
                                         CompareUtils::kUserDefaultLocale);
      break;
  }
  return result != 0 ? result : CompareUtils::CompareFileName(a.fullPath, b.fullPath, d);
}

icu::UnicodeString Folded(const std::string& text) {
  return icu::UnicodeString::fromUTF8(text).foldCase(U_FOLD_CASE_DEFAULT);
}

}  // namespace

const std::array<PropertyColumn, kColumnCount>& GetPropertyColumns() {
  return kColumns;
}

std::string GetColumnText(int column, const ALBUMITEM& item) {
  const std::string* field = ColumnField(column, item);
  return field ? *field : std::string();
}

int GetColumnOfTitle(const std::string& title) {
  // An empty title never names a column, even where a title text is missing.
  if (title.empty()) return -1;
  const icu::UnicodeString wanted = Folded(title);
  for (const PropertyColumn& column : kColumns) {
    const std::string columnTitle = StringUtils::GetLoadString(column.stringId);
    if (!columnTitle.empty() && Folded(columnTitle) == wanted) return column.column;
  }
  return -1;
}

int GetTitleIdOfCommand(int command) {
  if (command >= kFirstSortCommand && command < kFirstSortCommand + kColumnCount) {
    return kFirstColumnTitleId + (command - kFirstSortCommand);
  }
  if (command >= kFirstCopyCommand && command < kFirstCopyCommand + kColumnCount) {
    return kFirstColumnTitleId + (command - kFirstCopyCommand);
  }
  return kFirstColumnTitleId;
}

int GetSortCommandOfColumn(int column) {
  return column >= 1 && column < kColumnCount ? kFirstSortCommand + column : kFirstSortCommand;
}

bool IsFolderItem(const ALBUMITEM& item) {
  return IsFolder(item.fullPath);
}

int CompareAlbumItems(const ALBUMITEM& a, const ALBUMITEM& b, int column, bool descending) {
  return CompareAlbumItems(a, IsFolderItem(a), b, IsFolderItem(b), column, descending);
}

int CompareAlbumItems(const ALBUMITEM& a, bool aIsFolder, const ALBUMITEM& b, bool bIsFolder,
                      int column, bool descending) {
  if (aIsFolder != bIsFolder) return (aIsFolder ? -1 : 1) * (descending ? -1 : 1);
  if (aIsFolder) return 0;
  return CompareByRule(a, b, column, descending);
}

const ExposureProgramNameTable& GetExposureProgramNameTable() {
  static const ExposureProgramNameTable table = [] {
    constexpr int kFirstNameId = static_cast<int>(StringId::ExposureUndefined);
    ExposureProgramNameTable names;
    for (int code = 0; code <= 8; ++code) {
      names.emplace_back(code, StringUtils::GetLoadString(kFirstNameId + code));
    }
    return names;
  }();
  return table;
}

}  // namespace pictavo
