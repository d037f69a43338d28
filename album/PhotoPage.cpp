#include "album/PhotoPage.h"

#include <algorithm>
#include <map>
#include <utility>

#include "album/HtmlFuncs.h"
#include "album/Navigation.h"
#include "album/OutputRun.h"
#include "album/PageFrame.h"
#include "core/AlbumColumns.h"
#include "core/FileUtils.h"
#include "core/LogUtils.h"
#include "core/PathUtils.h"
#include "core/StdioFileEx.h"
#include "core/StringUtils.h"
#include "items/ImageWork.h"
#include "items/ItemList.h"

namespace pictavo {

namespace {

using namespace HtmlFuncs;

constexpr int kNoteTitle = kFirstColumnTitleId + kColumnCount - 1;  // the note column's title
constexpr const char* kPropertyFileName = "property.ini";

std::string Text(const std::string& plain) {
  return EncodeUtils::GetTextToEntityString(plain);
}

std::filesystem::path PhotoPath(const std::filesystem::path& albumFolder,
                                const OutputContext& context, const std::string& fileName) {
  return albumFolder / context.settings.Output.PhotoName / GetWebFileName(context, fileName);
}

// The size of every ticked row's resized photo: kept by the photo step, else read from the
// photo's header on worker threads, once per run; the pages are then built in list order.
std::map<std::string, ImageUtils::ImageSize> ReadPhotoSizes(const OutputContext& context,
                                                            const std::filesystem::path& album) {
  using Read = std::pair<std::string, ImageUtils::ImageSize>;
  std::map<std::string, ImageUtils::ImageSize> byPath;
  ImageWork<Read> work(context.workers);
  const auto take = [&](Read read) { byPath[read.first] = read.second; };
  for (int row = 0; row < context.list.RowCount(); ++row) {
    if (!context.list.IsRowChecked(row)) continue;
    std::string path = PhotoPath(album, context, context.list.RowItem(row).name).string();
    if (byPath.count(path) != 0) continue;
    if (context.sizes && context.sizes->Has(path)) {
      byPath[path] = context.sizes->Get(path);
      continue;
    }
    byPath[path] = {};  // read once, however many rows show this photo
    work.Submit([path] { return Read(path, ImageUtils::GetImageSize(path)); }, take);
  }
  work.Drain(take);
  return byPath;
}

void AddNoteRows(PageLines& lines, const PHOTOPAGEITEM& item, int box) {
  const std::string note = Text(item.note);
  const std::string width = box > 0 ? "style=\"width: " + std::to_string(box) + "px;\"" : "";
  lines.Add(5, GetTrTag());
  lines.Add(GetTdColTag("title", "3"));
  lines.Add(GetDivPairTag("note", StringUtils::GetLoadString(kNoteTitle), 0));
  lines.Add(GetTdClosingTag());
  lines.Add(0, GetTrClosingTag(), true);
  lines.Add(5, GetTrTag("note"));
  lines.Add(GetTdColTag("note", "3", width));
  lines.Add(note.empty() ? GetBrTag(0) : note);
  lines.Add(GetTdClosingTag());
  lines.Add(GetTdPairTag(""));
  lines.Add(0, GetTrClosingTag(), true);
}

}  // namespace

namespace PhotoPage {

std::filesystem::path GetPropertyFolder(const std::filesystem::path& stylesFolder) {
  return stylesFolder / PathUtils::GetDesignFolderName() / PathUtils::GetDefaultsDirectoryName();
}

int GetDisplayBox(const Settings& settings) {
  return OutputRun::GetPhotoSizeLimit(settings.OutputPhoto.PhotoSize,
                                      settings.OutputPhoto.PhotoDimensions);
}

DisplaySize GetDisplaySize(const Settings& settings, ImageUtils::ImageSize photo) {
  const int box = GetDisplayBox(settings);
  if (box <= 0) return {photo.width, photo.height, std::max(photo.width, photo.height)};
  const ImageUtils::ImageSize fitted = ImageUtils::GetThumbnailSize(photo, box);
  return {fitted.width, fitted.height, box};
}

std::string BuildPropertyTable(const OutputContext& context, const PHOTOPAGEITEM& item) {
  PageLines lines;
  lines.Add(6, GetTdTag("item-property", "item-property"), true);
  // The cell already carries the id "item-property"; the table's own id must differ.
  lines.Add(7, GetTableTag("item-property-table", "table-item-property"));
  lines.Add(8, GetTbodyTag());
  for (const auto& entry : item.properties) {
    if (!context.host.GetPump().PumpMessages()) break;
    if (!entry.shown) continue;
    const ALBUMITEM& source = context.list.RowItem(item.listRow);
    const std::string cls =
        entry.column == 0 || entry.column == 1 ? "value-name-property" : "value-property";
    lines.Add(9, GetTrTag("property"));
    lines.Add(GetTdPairTag("key-property", Text(entry.label)));
    lines.Add(GetTdPairTag(cls, "data-" + PropertyColumns::GetPropertyKey(entry.column),
                           Text(PropertyColumns::GetPropertyValue(entry.column, source))));
    lines.Add(0, GetTrClosingTag(), true);
  }
  lines.Add(8, GetTbodyClosingTag());
  lines.Add(7, GetTableClosingTag());
  lines.Add(6, GetTdClosingTag(), true);
  return lines.Join();
}

std::string BuildPhotoPage(const OutputContext& context, const PHOTOPAGEITEM& item) {
  const Settings& settings = context.settings;
  const std::string shownName = Text(item.fileName);
  const DisplaySize display = GetDisplaySize(settings, item.photoSize);
  const std::string box = std::to_string(display.box);
  const std::string photoRef =
      "../" + EncodeUtils::GetTextToEncodeString(settings.Output.PhotoName + "/" +
                                                 GetWebFileName(context, item.fileName));

  PageLines lines;
  PageFrame::AddPageOpening(lines, PageKind::Photo, shownName, context.designStyleSheet);
  lines.Add(3, GetTableTag("main", "table-contents"));
  lines.Add(4, GetTbodyTag());
  lines.Add(5, GetTrTag("title"));
  lines.Add(GetTdColTag("title", "4"));
  lines.Add(GetDivPairTag("title", shownName, 0));
  lines.Add(GetTdClosingTag());
  lines.Add(0, GetTrClosingTag(), true);
  lines.Add(5, GetTrTag("contents"), true);
  lines.Add(Navigation::GetPhotoPageButtonCell(settings, item.pageIndex, item.pageCount, "prev"));
  lines.Add(6, GetTdTag("image-contents", "image-contents",
                        display.box > 0 ? "style=\"width: " + box + "px; height: " + box + "px;\""
                                        : std::string()));
  lines.Add(GetImgTag(photoRef, "property", display.width, display.height, item.fileName));
  lines.Add(0, GetTdClosingTag(), true);
  lines.Add(Navigation::GetPhotoPageButtonCell(settings, item.pageIndex, item.pageCount, "next"));
  if (settings.OutputPhoto.ViewItem != 0) lines.Add(BuildPropertyTable(context, item));
  lines.Add(5, GetTrClosingTag(), true);
  if (settings.OutputPhoto.ViewNote != 0) AddNoteRows(lines, item, display.box);
  lines.Add(4, GetTbodyClosingTag());
  lines.Add(3, GetTableClosingTag());
  if (settings.OutputPage.ViewLinkPhotoPage != 0) {
    lines.Add(Navigation::GetPhotoPageNumberLinks(settings, item.pageIndex, item.pageCount,
                                                  context.host.GetPump()));
  }
  if (settings.OutputPage.ViewLinkThumbnailPage != 0) {
    lines.Add(Navigation::GetTopPageLink(settings, item.thumbnailPageName));
  }
  if (settings.OutputPage.ViewLinkHomePagePhotoPage != 0) {
    lines.Add(Navigation::GetHomePageLink(settings));
  }
  PageFrame::AddPageClosing(lines, settings);
  return lines.Join();
}

}  // namespace PhotoPage

bool WritePhotoPages(const OutputContext& context, const std::string& outputPath,
                     const std::string& thumbnailPageName, PhotoPagesReport* report) {
  PhotoPagesReport local;
  PhotoPagesReport& out = report ? *report : local;
  out = {};
  const std::filesystem::path output(outputPath);
  if (outputPath.empty() || !output.is_absolute()) {
    out.lastError = "no album folder";
    LogUtils::SetLastErrorMessage(out.lastError);
    return false;
  }
  const Settings& settings = context.settings;
  const std::filesystem::path album = output.parent_path();
  const std::filesystem::path pages = album / settings.Output.SourceName;
  if (!FileUtils::FileExists(pages.string())) {
    out.folderCreated = FileUtils::CreateFolderPathExists(pages.string());
    if (!out.folderCreated) out.lastError = LogUtils::GetLastErrorMessage();
  }

  const ItemList& list = context.list;
  Pump& pump = context.host.GetPump();
  const int pageCount = list.CheckedCount();
  const auto entries = PropertyColumns::ReadColumnEntries(
      PhotoPage::GetPropertyFolder(context.styleFolder), kPropertyFileName, pump);
  const auto sizes = ReadPhotoSizes(context, album);

  int n = 0;
  for (int row = 0; row < list.RowCount(); ++row) {
    if (!pump.PumpMessages() || IsRunCancelled(context)) break;
    if (!list.IsRowChecked(row)) continue;
    ++n;
    const ALBUMITEM& source = list.RowItem(row);
    PHOTOPAGEITEM item;
    item.outputPath = outputPath;
    item.thumbnailPageName = thumbnailPageName;
    item.itemPath = source.fullPath;
    item.pageCount = pageCount;
    item.pageIndex = n - 1;
    item.listRow = row;
    item.fileName = source.name;
    item.note = source.note;
    item.properties = entries;
    const std::string photo = PhotoPath(album, context, source.name).string();
    const auto known = sizes.find(photo);
    item.photoSize = known != sizes.end() ? known->second : ImageUtils::GetImageSize(photo);

    const auto pagePath = pages / Navigation::GetPhotoPageFileName(settings, n);
    const std::string text = PhotoPage::BuildPhotoPage(context, item);
    if (!WriteTextFileUtf8(pagePath, text)) {
      out.failedPages.push_back(pagePath.string());
      out.lastError = LogUtils::GetLastErrorMessage();
      continue;
    }
    if (!text.empty()) ++out.pagesWritten;
    if (context.progress && !context.progress->IsDestroyed()) {
      context.progress->SetPos(n);
      context.progress->SetText(1, pagePath.filename().string());
    }
  }
  return (out.folderCreated || out.pagesWritten > 0) && out.failedPages.empty();
}

}  // namespace pictavo
