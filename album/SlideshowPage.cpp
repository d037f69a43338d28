// The slideshow page and the run that writes it with its script, images and style sheets.

#include <string>
#include <vector>

#include "album/HtmlFuncs.h"
#include "album/Navigation.h"
#include "album/OutputFuncs.h"
#include "album/OutputRun.h"
#include "album/PageFrame.h"
#include "album/Slideshow.h"
#include "core/AlbumColumns.h"
#include "core/FileUtils.h"
#include "core/Host.h"
#include "core/LogUtils.h"
#include "core/PathUtils.h"
#include "core/StdioFileEx.h"
#include "core/StringUtils.h"
#include "items/ImageUtils.h"
#include "items/ItemList.h"

namespace pictavo {

namespace {

// Pages declare "utf-8", so page, script and template are UTF-8 text.
constexpr int kCodePage = 65001;
constexpr int kNameColumn = 0;
constexpr int kNoteColumn = 19;

// The list's text of a column; the note column shows the item's note.
std::string ColumnText(int column, const ALBUMITEM& item) {
  return column == kNoteColumn ? item.note : GetColumnText(column, item);
}

// A ticked row whose source is a file: the photo step skips folders, so the show does too.
bool IsShownRow(const OutputContext& run, int row) {
  if (!run.list.IsRowChecked(row)) return false;
  const std::string name = ColumnText(kNameColumn, run.list.RowItem(row));
  return !FileUtils::IsDirectory(FileUtils::GetCombinePath(run.listedFolder, name));
}

std::string AlbumFolderOf(const std::string& outputPath) {
  return FileUtils::GetPathRemoveBackslash(FileUtils::GetSplitDirPath(outputPath));
}

void ShowLastError(Host& host) {
  host.ShowMessage(LogUtils::GetLastErrorMessage(), MessageIcon::None, MessageButtons::Ok);
}

ImageUtils::ImageSize PhotoSizeOf(const std::string& path, const Settings& settings) {
  if (settings.OutputSlideshow.PhotoSize == 0) return ImageUtils::GetImageSize(path);
  return ImageUtils::GetThumbnailSize(path, Slideshow::GetPhotoLimit(settings));
}

// Writes text as a new UTF-8 file with a byte-order mark, in one piece.
bool WriteWholeFile(CStdioFileEx& file, const std::string& text) {
  const bool written = file.WriteString(text);
  return file.Close() && written;
}

void AddNoteRows(PageLines& lines, const std::string& note) {
  const std::string text =
      note.empty() ? HtmlFuncs::GetBrTag(0) : EncodeUtils::GetTextToEntityString(note);
  lines.Add(5, HtmlFuncs::GetTrTag());
  lines.Add(HtmlFuncs::GetTdColTag("title", "3"));
  lines.Add(HtmlFuncs::GetDivPairTag(
      "note", StringUtils::GetLoadString(kFirstColumnTitleId + kNoteColumn), 0));
  lines.Add(HtmlFuncs::GetTdClosingTag());
  lines.Add(0, HtmlFuncs::GetTrClosingTag(), true);
  lines.Add(5, HtmlFuncs::GetTrTag("note"));
  lines.Add(HtmlFuncs::GetTdColTag("note", "3"));
  lines.Add(HtmlFuncs::GetDivPairTag("slideshow-note", "note", text, 0));
  lines.Add(HtmlFuncs::GetTdClosingTag());
  lines.Add(0, HtmlFuncs::GetTrClosingTag(), true);
}

void AddPhotoCell(PageLines& lines, const OutputContext& run, const std::string& albumFolder,
                  const std::string& firstName) {
  const std::string& photoName = run.settings.Output.PhotoName;
  const std::string webName = GetWebFileName(run, firstName);
  const std::string path =
      FileUtils::GetCombinePath(FileUtils::GetCombinePath(albumFolder, photoName), webName);
  const ImageUtils::ImageSize size = PhotoSizeOf(path, run.settings);
  const std::string reference = EncodeUtils::GetTextToEncodeString(photoName + "/" + webName);
  const std::string play = StringUtils::GetLoadString(StringId::PlayButton);
  const std::string pause = StringUtils::GetLoadString(StringId::PauseButton);

  lines.Add(6, HtmlFuncs::GetTdTag("image-contents", "image-contents"), true);
  lines.Add(7, HtmlFuncs::GetDivTag("slideshow-photos", "slideshow-photos"), true);
  lines.Add(8,
            HtmlFuncs::GetImgTag(reference, "photos-slideshow", size.width, size.height, firstName,
                                 "photos-slideshow"),
            true);
  lines.Add(8, HtmlFuncs::GetDivTag("slideshow-button", "slideshow-button"));
  lines.Add(
      HtmlFuncs::GetImgTag("./images/play.png", "navi-play", 64, 64, play, "navi-play", play));
  lines.Add(
      HtmlFuncs::GetImgTag("./images/pause.png", "navi-pause", 64, 64, pause, "navi-pause", pause));
  lines.Add(HtmlFuncs::GetDivClosingTag(1));
  lines.Add(7, HtmlFuncs::GetDivClosingTag(1));
  lines.Add(6, HtmlFuncs::GetTdClosingTag(), true);
}

}  // namespace

namespace Slideshow {

int GetPhotoLimit(const Settings& settings) {
  return OutputRun::GetPhotoSizeLimit(settings.OutputSlideshow.PhotoSize,
                                      settings.OutputSlideshow.PhotoDimensions);
}

std::string GetFirstTickedText(const OutputContext& run, int column) {
  Pump& pump = run.host.GetPump();
  for (int row = 0; row < run.list.RowCount(); ++row) {
    if (!pump.PumpMessages()) return {};
    if (IsShownRow(run, row)) return ColumnText(column, run.list.RowItem(row));
  }
  return {};
}

std::vector<SlideshowEntry> GetTickedEntries(const OutputContext& run) {
  std::vector<SlideshowEntry> entries;
  Pump& pump = run.host.GetPump();
  for (int row = 0; row < run.list.RowCount(); ++row) {
    if (!pump.PumpMessages()) break;
    if (!IsShownRow(run, row)) continue;
    const ALBUMITEM& item = run.list.RowItem(row);
    SlideshowEntry entry;
    entry.name = ColumnText(kNameColumn, item);
    entry.fileName = GetWebFileName(run, entry.name);
    entry.note = ColumnText(kNoteColumn, item);
    const auto size =
        PhotoSizeOf(FileUtils::GetCombinePath(run.listedFolder, entry.name), run.settings);
    entry.width = size.width;
    entry.height = size.height;
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::string BuildSlideshowPage(const OutputContext& run, const std::string& albumFolder,
                               const std::string& title, const std::string& header) {
  const Settings& settings = run.settings;
  const std::string firstName = GetFirstTickedText(run, kNameColumn);
  const std::string& design = run.designStyleSheet;
  const std::string script = PathUtils::GetJSFolderName() + "/" + kSlideshowScriptFileName;

  PageLines lines;
  PageFrame::AddPageOpening(lines, PageKind::Slideshow, title, design, script);
  lines.Add(3, HtmlFuncs::GetTableTag("main", "table-contents"));
  lines.Add(4, HtmlFuncs::GetTbodyTag());
  lines.Add(5, HtmlFuncs::GetTrTag("title"));
  lines.Add(HtmlFuncs::GetTdColTag("title", "3"));
  // The file name is plain text; the header is the user's markup.
  const std::string shown = settings.OutputSlideshow.ViewName != 0
                                ? EncodeUtils::GetTextToEntityString(firstName)
                                : header;
  lines.Add(HtmlFuncs::GetDivPairTag("title", "file-name", shown, 0));
  lines.Add(HtmlFuncs::GetTdClosingTag());
  lines.Add(0, HtmlFuncs::GetTrClosingTag(), true);
  lines.Add(5, HtmlFuncs::GetTrTag("contents"), true);
  lines.Add(Navigation::GetSlideshowButtonCell("prev"));
  AddPhotoCell(lines, run, albumFolder, firstName);
  lines.Add(Navigation::GetSlideshowButtonCell("next"));
  lines.Add(5, HtmlFuncs::GetTrClosingTag(), true);
  if (settings.OutputSlideshow.ViewNote != 0) {
    AddNoteRows(lines, GetFirstTickedText(run, kNoteColumn));
  }
  lines.Add(4, HtmlFuncs::GetTbodyClosingTag());
  lines.Add(3, HtmlFuncs::GetTableClosingTag());
  PageFrame::AddPageClosing(lines, settings);
  return lines.Join();
}

bool WriteSlideshowScript(const OutputContext& run, const std::string& outputPath,
                          const std::string& fileName) {
  const std::string jsFolder = PathUtils::GetJSFolderName();
  const std::string folder = FileUtils::GetCombinePath(AlbumFolderOf(outputPath), jsFolder);
  if (!FileUtils::IsDirectory(folder) && !FileUtils::CreateFolderPathExists(folder)) {
    ShowLastError(run.host);
    return false;
  }
  CStdioFileEx script;
  script.SetCodePage(kCodePage);
  script.SetWriteMark(true);
  const unsigned writeFlags =
      CStdioFileEx::modeCreate | CStdioFileEx::modeWrite | CStdioFileEx::typeBinary;
  // A script that cannot be created fails the run, even when its folder was just made.
  if (!script.Open(FileUtils::GetCombinePath(folder, fileName), writeFlags)) {
    ShowLastError(run.host);
    return false;
  }

  CStdioFileEx source;
  source.SetCodePage(kCodePage);
  const std::string templatePath = FileUtils::GetCombinePath(
      FileUtils::GetCombinePath(GetDesignFolderPath(run), jsFolder), kSlideshowScriptFileName);
  if (!source.Open(templatePath, CStdioFileEx::modeRead | CStdioFileEx::typeBinary)) {
    ShowLastError(run.host);
    if (!script.Close()) ShowLastError(run.host);
    return true;
  }
  std::vector<std::string> templateLines;
  for (std::string line; source.ReadString(line);) templateLines.push_back(line);
  source.Close();

  const std::vector<SlideshowEntry> entries = GetTickedEntries(run);
  // A photo the show cannot size is one it cannot show.
  for (const SlideshowEntry& entry : entries) {
    if (entry.width > 0 && entry.height > 0) continue;
    RecordFailedFile(
        run,
        FileUtils::GetCombinePath(
            FileUtils::GetCombinePath(AlbumFolderOf(outputPath), run.settings.Output.PhotoName),
            entry.fileName),
        "the size of the image cannot be read");
  }
  const auto values = MakeScriptValues(run.settings, entries);
  if (!WriteWholeFile(script, FillScriptTemplate(templateLines, values))) {
    ShowLastError(run.host);
    return false;
  }
  return true;
}

}  // namespace Slideshow

bool GenerateSlideshowOutput(const OutputContext& run, const std::string& outputPath,
                             const std::string& title, const std::string& header) {
  CStdioFileEx page;
  page.SetCodePage(kCodePage);
  page.SetWriteMark(true);
  if (!page.Open(outputPath,
                 CStdioFileEx::modeCreate | CStdioFileEx::modeWrite | CStdioFileEx::typeBinary)) {
    ShowLastError(run.host);
    return false;
  }
  const std::string text =
      Slideshow::BuildSlideshowPage(run, AlbumFolderOf(outputPath), title, header);
  // A page that did not reach the disk is a failed run, not a quiet success.
  if (!WriteWholeFile(page, text)) {
    ShowLastError(run.host);
    return false;
  }
  if (text.empty()) return false;
  if (!OutputRun::CopyDesignImages(GetDesignFolderPath(run), outputPath)) return false;
  const bool written = Slideshow::WriteSlideshowScript(run, outputPath, kSlideshowScriptFileName);
  if (!written) return false;
  OutputRun::CopyStyleFiles(
      run, outputPath,
      {run.designStyleSheet, "common.css", "style.css", "photo.css", "slideshow.css"},
      PageFrame::GetStyleSheets(PageKind::Slideshow, run.designStyleSheet));
  return written;
}

}  // namespace pictavo
