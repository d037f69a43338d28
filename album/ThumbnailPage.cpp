#include "album/ThumbnailPage.h"

#include <algorithm>

#include "album/HtmlFuncs.h"
#include "album/Navigation.h"
#include "album/PageFrame.h"
#include "core/FileUtils.h"
#include "core/LogUtils.h"
#include "core/StdioFileEx.h"
#include "items/ImageUtils.h"

namespace pictavo::ThumbnailPage {

namespace {

std::string Encode(const std::string& text) {
  return EncodeUtils::GetTextToEncodeString(text);
}

// Notes come from the note box with any line ends; pages keep CRLF throughout.
std::string NoteText(const std::string& note) {
  const std::string entities = EncodeUtils::GetTextToEntityString(note);
  std::string text;
  text.reserve(entities.size());
  for (std::size_t i = 0; i < entities.size(); ++i) {
    const char c = entities[i];
    if (c == '\r' || c == '\n') {
      text += "\r\n";
      if (c == '\r' && i + 1 < entities.size() && entities[i + 1] == '\n') ++i;
    } else {
      text += c;
    }
  }
  return text;
}

std::string ThumbnailLink(const OutputContext& run, const ALBUMITEM& item, int number,
                          const std::string& image) {
  const auto& output = run.settings.Output;
  switch (run.settings.OutputThumbnail.ThumbnailImageLink) {
    case 0:
      return HtmlFuncs::GetAPairTag(
          Encode(output.PhotoName) + "/" + Encode(GetWebFileName(run, item.name)), "thumb", "_self",
          image);
    case 1:
      return HtmlFuncs::GetAPairTag(
          Encode(output.SourceName) + "/" +
              Encode(output.PageFileName + std::to_string(number) + ".html"),
          "thumb", "_self", image);
    case 2:
      return image;
    default:
      return HtmlFuncs::GetAPairTag("", "thumb", "_self", image);
  }
}

void AddNoteCell(PageLines& lines, const ALBUMITEM& item) {
  const std::string note = item.note.empty() ? HtmlFuncs::GetBrTag(0) : NoteText(item.note);
  lines.Add(10, HtmlFuncs::GetTdTag("note"));
  lines.Add(0, HtmlFuncs::GetDivPairTag("thumb-info", note, 0));
  lines.Add(0, HtmlFuncs::GetTdClosingTag(), true);
}

// Line 27 of the page: the rows of thumbnails, from the cursor until the page is full.
void AddThumbnailRows(const OutputContext& run, PageCursor& cursor, PageLines& lines, int page) {
  const auto& thumb = run.settings.OutputThumbnail;
  const int rows = std::max(1, thumb.Row);
  const int columns = std::max(1, thumb.Column);
  const int total = run.list.CheckedCount();
  Pump& pump = run.host.GetPump();
  int placed = 0;
  int row = 1;
  bool full = false;
  int i = cursor.row;
  for (; i < run.list.RowCount(); ++i) {
    if (!pump.PumpMessages()) {
      cursor.quit = true;
      break;
    }
    if (!run.list.IsRowChecked(i)) continue;
    ++placed;
    const int number = (page - 1) * rows * columns + placed;
    const ALBUMITEM& item = run.list.RowItem(i);
    lines.Add(BuildThumbnailCell(run, item, number));
    if (run.settings.OutputStyle.Style == 1) AddNoteCell(lines, item);
    if (placed != row * columns || number == total) continue;
    if (row == rows) {
      full = true;
      break;
    }
    lines.Add(9, HtmlFuncs::GetTrClosingTag(), true);
    lines.Add(9, HtmlFuncs::GetTrTag("thumb"), true);
    ++row;
  }
  cursor.row = full ? i + 1 : i;
}

}  // namespace

std::string GetSizeClass(int thumbnailSize) {
  switch (thumbnailSize) {
    case 0:
      return "large";
    case 1:
      return "middle";
    case 2:
      return "small";
    default:
      return {};
  }
}

int GetThumbnailLimit(int thumbnailSize) {
  switch (thumbnailSize) {
    case 0:
      return 248;
    case 1:
      return 92;
    case 2:
      return 46;
    default:
      return 0;
  }
}

int GetPageCount(int checkedCount, int rows, int columns) {
  const long long perPage = static_cast<long long>(std::max(1, rows)) * std::max(1, columns);
  if (checkedCount <= perPage) return 1;
  return static_cast<int>((checkedCount + perPage - 1) / perPage);
}

std::string BuildThumbnailCell(const OutputContext& run, const ALBUMITEM& item, int number) {
  const auto& thumb = run.settings.OutputThumbnail;
  const ImageUtils::ImageSize size = ImageUtils::GetThumbnailSize(
      GetRunImageSize(run, item.fullPath), GetThumbnailLimit(thumb.ThumbnailSize));
  const std::string image = HtmlFuncs::GetImgTag(
      Encode(run.settings.Output.ThumbnailName) + "/" + Encode(GetWebFileName(run, item.name)),
      "thumbnail", size.width, size.height, item.name);
  PageLines cell;
  cell.Add(10, HtmlFuncs::GetTdTag("center thumb-" + GetSizeClass(thumb.ThumbnailSize)));
  cell.Add(0, ThumbnailLink(run, item, number, image));
  cell.Add(0, HtmlFuncs::GetDivTag("thumb-info"));
  cell.Add(0, thumb.ViewName != 0 ? HtmlFuncs::GetTextNode(item.name) : HtmlFuncs::GetBrTag(0));
  cell.Add(0, HtmlFuncs::GetDivClosingTag(0));
  cell.Add(0, HtmlFuncs::GetTdClosingTag(), true);
  return cell.Join();
}

std::string BuildThumbnailPage(const OutputContext& run, PageCursor& cursor,
                               const std::string& title, const std::string& header, int pageCount,
                               int page) {
  PageLines lines;
  PageFrame::AddPageOpening(lines, PageKind::Thumbnail, title, run.designStyleSheet);
  lines.Add(3, HtmlFuncs::GetTableTag("main", "table-contents"));
  lines.Add(4, HtmlFuncs::GetTbodyTag());
  lines.Add(5, HtmlFuncs::GetTrTag("title"));
  lines.Add(0, HtmlFuncs::GetTdTag("title"));
  lines.Add(0, HtmlFuncs::GetDivPairTag("title", header, 0));
  lines.Add(0, HtmlFuncs::GetTdClosingTag());
  lines.Add(0, HtmlFuncs::GetTrClosingTag(), true);
  lines.Add(5, HtmlFuncs::GetTrTag("contents"), true);
  lines.Add(6, HtmlFuncs::GetTdTag("contents"), true);
  lines.Add(7, HtmlFuncs::GetTableTag("photo-contents", "table-photo-contents"));
  lines.Add(8, HtmlFuncs::GetTbodyTag());
  lines.Add(9, HtmlFuncs::GetTrTag("thumb"), true);
  AddThumbnailRows(run, cursor, lines, page);
  lines.Add(9, HtmlFuncs::GetTrClosingTag(), true);
  lines.Add(8, HtmlFuncs::GetTbodyClosingTag());
  lines.Add(7, HtmlFuncs::GetTableClosingTag());
  lines.Add(6, HtmlFuncs::GetTdClosingTag(), true);
  lines.Add(5, HtmlFuncs::GetTrClosingTag(), true);
  lines.Add(4, HtmlFuncs::GetTbodyClosingTag());
  lines.Add(3, HtmlFuncs::GetTableClosingTag());
  if (pageCount > 1) {
    lines.Add(Navigation::GetThumbnailPageLinks(run.settings, pageCount, page, run.host.GetPump()));
  }
  if (run.settings.OutputPage.ViewLinkHomePageThumbnailPage != 0) {
    lines.Add(Navigation::GetHomePageLink(run.settings));
  }
  PageFrame::AddPageClosing(lines, run.settings);
  return lines.Join();
}

bool WriteThumbnailPage(const OutputContext& run, PageCursor& cursor, const std::string& pagePath,
                        const std::string& title, const std::string& header, int pageCount,
                        int page) {
  const std::string text = BuildThumbnailPage(run, cursor, title, header, pageCount, page);
  if (!WriteTextFileUtf8(pagePath, text)) {
    run.host.ShowMessage(LogUtils::GetLastErrorMessage(), MessageIcon::None, MessageButtons::Ok);
    return false;
  }
  // Once per album; its photo pages share the script.
  if (page == 1) {
    PageFrame::CopyPageScript(GetDesignFolderPath(run), FileUtils::GetSplitDirPath(pagePath));
  }
  return true;
}

}  // namespace pictavo::ThumbnailPage
