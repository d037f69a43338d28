#include "album/OutputRun.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>

#include "album/HighDensity.h"
#include "album/OutputSettingsModel.h"
#include "album/PageFrame.h"
#include "album/PhotoPage.h"
#include "album/Slideshow.h"
#include "album/StyleFuncs.h"
#include "core/FileUtils.h"
#include "core/GuidUtils.h"
#include "core/LogUtils.h"
#include "core/PathUtils.h"
#include "core/SettingsStore.h"
#include "core/StringUtils.h"
#include "items/FileListUtils.h"
#include "items/ImageUtils.h"
#include "items/ImageWork.h"

namespace pictavo {

namespace {

constexpr StringId kIdProgressText =
    StringId::OutputtingItems;  // "選択した項目を出力しています。お待ちください。"
constexpr StringId kIdDone = StringId::OutputDone;          // "出力が完了しました。"
constexpr StringId kIdSelectItems = StringId::SelectItems;  // "項目を選択してください。"
constexpr StringId kIdOutputFailed =
    StringId::OutputFailed;  // "ファイルを出力することができませんでした。"
constexpr StringId kIdOpenFailed =
    StringId::OpenOutputFailed;  // "出力ファイルを開くことができませんでした。..."
constexpr StringId kIdConfirm = StringId::ConfirmOutput;  // "選択した項目を出力しますか?"
constexpr StringId kIdCancelled = StringId::OutputCancelled;  // "出力を中止しました。..."

std::string Text(StringId id) {
  return StringUtils::GetLoadString(id);
}

std::string AlbumFolderOf(const std::string& outputPath) {
  return FileUtils::GetPathRemoveBackslash(FileUtils::GetSplitDirPath(outputPath));
}

// The recorded reason of the failed call, or at least the file it concerned.
std::string FailureText(const std::string& path) {
  std::string text = LogUtils::GetLastErrorMessage();
  return text.empty() ? path + ": " + Text(kIdOutputFailed) : text;
}

bool EnsureFolder(const std::string& folder) {
  return FileUtils::IsDirectory(folder) || FileUtils::CreateFolderPathExists(folder);
}

}  // namespace

OutputRun::OutputRun(const ItemList& list, const Settings& settings, Host& host, Runtime runtime)
    : m_liveList(list),
      m_liveSettings(settings),
      m_list(list),
      m_settings(settings),
      m_host(host),
      m_runtime(std::move(runtime)) {
  m_list.SetObserver(nullptr);
}

OutputRun::Snapshot::Snapshot(OutputRun& run) : m_run(run) {
  if (m_run.m_snapshotDepth++ > 0) return;
  m_run.m_list = m_run.m_liveList;
  m_run.m_list.SetObserver(nullptr);  // the copy is nobody's view
  m_run.m_settings = m_run.m_liveSettings;
}

OutputRun::Snapshot::~Snapshot() {
  --m_run.m_snapshotDepth;
}

void OutputRun::BeginProgressStep(int total) {
  if (!m_progress || m_progress->IsDestroyed()) return;
  m_progress->SetRange(0, total);
  m_progress->SetPos(0);
}

void OutputRun::AdvanceProgress(int position, const std::string& file) {
  if (!m_progress || m_progress->IsDestroyed()) return;
  m_progress->SetPos(position);
  if (!file.empty()) m_progress->SetText(1, file);
}

bool OutputRun::IsCancelled() const {
  return m_progress && m_progress->IsCancelled();
}

void OutputRun::NoteFailure(const std::string& path, const std::string& reason) {
  m_outcome.failures.push_back({path, reason});
}

int OutputRun::GetPhotoSizeLimit(int photoSize, int customSize) {
  switch (photoSize) {
    case 1:
      return 1024;
    case 2:
      return 800;
    case 3:
      return 640;
    case 4:
      return std::max(0, customSize);
    default:
      return 0;
  }
}

int OutputRun::GetOutputTypeOfStyle(int style) {
  return style == 2 ? kOutputSlideshow : kOutputThumbnail;
}

std::string OutputRun::GetDesignFolderPath() const {
  return pictavo::GetDesignFolderPath(m_runtime.styleFolder);
}

std::string OutputRun::GetOutputPath(const std::string& location,
                                     const std::string& folderName) const {
  // An empty location would put the album in whatever folder the program runs in.
  if (location.empty()) return {};
  return FileUtils::GetCombinePath(FileUtils::GetCombinePath(location, folderName),
                                   m_settings.Output.FileName + ".html");
}

Settings OutputRun::RunSettings() const {
  Settings run = m_settings;
  // Below 1 the page count never grows past the first page's items, and the grid has no cells.
  run.OutputThumbnail.Row = std::max(1, run.OutputThumbnail.Row);
  run.OutputThumbnail.Column = std::max(1, run.OutputThumbnail.Column);
  return run;
}

OutputContext OutputRun::MakeContext(const Settings& runSettings) {
  return OutputContext{
      m_list,
      runSettings,
      m_host,
      m_listedFolder,
      StyleFuncs::GetDesignStyleSheetName(m_runtime.designs, runSettings.OutputStyle.StyleDesign,
                                          m_host.GetPump()),
      &m_sizes,
      m_progress.get(),
      &m_outcome.failures,
      &m_webNames,
      m_runtime.styleFolder,
      m_runtime.workerThreads};
}

void OutputRun::RecordFailure(const std::string& path, const std::string& reason) {
  FileFailure failure{path, reason};
  m_host.ShowMessage(DescribeFileFailure(failure), MessageIcon::None, MessageButtons::Ok);
  NoteFailure(path, reason);
}

bool OutputRun::CheckTargets(int outputType, const std::string& outputPath) {
  m_guard = SourceGuard(m_list, m_listedFolder);
  m_webNames = WebFileNames(m_list);
  const Settings runSettings = RunSettings();
  std::vector<std::string> pages = {outputPath};
  if (outputType != kOutputSlideshow) {
    const int pageCount = ThumbnailPage::GetPageCount(
        m_list.CheckedCount(), runSettings.OutputThumbnail.Row, runSettings.OutputThumbnail.Column);
    for (int page = 2; page <= pageCount; ++page) pages.push_back(GetPagePath(outputPath, page));
  }
  const std::string refusal = m_guard.CheckAlbum(AlbumFolderOf(outputPath), runSettings, pages);
  if (refusal.empty()) return true;
  m_host.ShowMessage(refusal, MessageIcon::Error, MessageButtons::Ok);
  return false;
}

std::string OutputRun::GetPagePath(const std::string& outputPath, int page) const {
  if (page == 1) return outputPath;
  return FileUtils::GetCombinePath(AlbumFolderOf(outputPath),
                                   m_settings.Output.PageFileName + std::to_string(page) + ".html");
}

void OutputRun::ShowProgress() {
  m_progress = m_host.CreateProgressWindow(ProgressKind::Items);
  if (!m_progress) return;
  m_progress->Show();
  m_progress->SetText(0, Text(kIdProgressText));
}

void OutputRun::HideProgress() {
  if (m_progress && !m_progress->IsDestroyed()) m_progress->Hide();
}

bool OutputRun::ExecuteOutput(int outputType) {
  const Snapshot snapshot(*this);
  m_outcome = {};
  if (!m_list.IsAnyRowChecked()) {
    m_host.ShowMessage(Text(kIdSelectItems), MessageIcon::None, MessageButtons::Ok);
    return false;
  }
  if (m_host.ShowMessage(Text(kIdConfirm), MessageIcon::Question, MessageButtons::YesNo) !=
      MessageResult::Yes) {
    return false;
  }
  ShowProgress();
  const bool written = OutputToDestination(outputType);
  HideProgress();
  if (!written) return false;
  m_host.ShowMessage(Text(kIdDone), MessageIcon::Information, MessageButtons::Ok);
  const bool opened = OpenOutputFile(m_outcome.firstPage);
  if (!opened) m_host.ShowMessage(Text(kIdOpenFailed), MessageIcon::Error, MessageButtons::Ok);
  return true;
}

bool OutputRun::PreviewOutput(int outputType) {
  const Snapshot snapshot(*this);
  m_outcome = {};
  if (!m_list.IsAnyRowChecked()) {
    m_host.ShowMessage(Text(kIdSelectItems), MessageIcon::None, MessageButtons::Ok);
    return false;
  }
  ShowProgress();
  const bool written = OutputToPreviewFolder(outputType);
  HideProgress();
  if (!written) return false;
  // A preview always opens with the desktop, whatever program the options name.
  std::string error;
  const bool opened = m_host.OpenWithDesktop(m_outcome.firstPage, &error);
  if (!opened) {
    if (!error.empty()) m_host.ShowMessage(error, MessageIcon::Error, MessageButtons::Ok);
    m_host.ShowMessage(Text(kIdOpenFailed), MessageIcon::Error, MessageButtons::Ok);
  }
  return true;
}

bool OutputRun::OutputToDestination(int outputType) {
  const Snapshot snapshot(*this);
  std::string folderName = m_settings.Output.FolderName;
  std::string location = m_settings.Output.Location;
  std::string title = m_settings.OutputPage.Title;
  std::string header = m_settings.OutputPage.Header;
  std::string outputPath;
  if (m_settings.Output.ShowOutputSettings != 0) {
    const OutputSettingsValues proposal =
        OutputSettingsModel::MakeProposal(m_settings, m_listedFolder);
    OutputSettingsValues values = proposal;
    const std::string proposedName = values.folderName;
    if (!m_host.ShowOutputSettings(values)) return false;
    // A host may hand back values its dialog never checked; never write outside the location.
    if (!OutputSettingsModel::IsValidFolderName(values.folderName)) {
      m_host.ShowMessage(OutputSettingsModel::GetInvalidNameMessage(), MessageIcon::Error,
                         MessageButtons::Ok);
      return false;
    }
    // Another run may have taken the name since the dialog checked it: only a folder this run
    // created is written into.
    if (!values.location.empty()) {
      const std::string refusal =
          OutputSettingsModel::CreateAlbumFolder(values, folderName, proposedName);
      if (!refusal.empty()) {
        m_host.ShowMessage(refusal, MessageIcon::Error, MessageButtons::Ok);
        m_host.ShowMessage(Text(kIdOutputFailed), MessageIcon::Error, MessageButtons::Ok);
        return false;
      }
    }
    outputPath = GetOutputPath(values.location, values.folderName);
    if (!values.preferDetailedSettings) {
      title = OutputSettingsModel::GetPageText(values.title, proposal.title);
      header = OutputSettingsModel::GetPageText(values.header, proposal.header);
    }
  } else {
    outputPath = GetOutputPath(location, folderName);
  }
  return FinishOutput(
      outputPath.empty() ? false : GenerateOutput(outputType, outputPath, title, header),
      outputPath);
}

bool OutputRun::FinishOutput(bool generated, const std::string& outputPath) {
  if (!generated) {
    const bool cancelled = m_outcome.cancelled;
    m_host.ShowMessage(Text(cancelled ? kIdCancelled : kIdOutputFailed),
                       cancelled ? MessageIcon::Warning : MessageIcon::Error, MessageButtons::Ok);
    return false;
  }
  m_outcome.succeeded = true;
  m_outcome.albumFolder = AlbumFolderOf(outputPath);
  m_outcome.firstPage = outputPath;
  return true;
}

bool OutputRun::OutputToPreviewFolder(int outputType) {
  const Snapshot snapshot(*this);
  const std::string previewFolder =
      FileUtils::GetCombinePath(PathUtils::GetPreviewRootPath(), GuidUtils::CreateGuid());
  std::string outputPath;
  if (EnsureFolder(previewFolder)) {
    outputPath = FileUtils::GetCombinePath(
        FileUtils::GetCombinePath(previewFolder, m_settings.Output.FolderName),
        m_settings.Output.FileName + ".html");
  }
  return FinishOutput(outputPath.empty()
                          ? false
                          : GenerateOutput(outputType, outputPath, m_settings.OutputPage.Title,
                                           m_settings.OutputPage.Header),
                      outputPath);
}

bool OutputRun::GenerateOutput(int outputType, const std::string& outputPath,
                               const std::string& title, const std::string& header) {
  const Snapshot snapshot(*this);
  if (outputPath.empty()) return false;
  m_sizes.Clear();
  m_outcome.failures.clear();
  // The window and the command line check these where they come in; a run never trusts that a
  // name from the settings stays inside the album folder.
  if (const std::string refusal = CheckAlbumFileNames(m_settings); !refusal.empty()) {
    m_host.ShowMessage(refusal, MessageIcon::Error, MessageButtons::Ok);
    return false;
  }
  if (!CheckTargets(outputType, outputPath)) return false;
  m_cache.reset();
  if (!m_runtime.imageCacheFolder.empty() && m_settings.Cache.ImageCacheSize > 0) {
    m_cache = std::make_unique<ImageCache>(
        m_runtime.imageCacheFolder, static_cast<std::uint64_t>(m_settings.Cache.ImageCacheSize)
                                        << 20);
  }
  bool written = false;
  switch (outputType) {
    case kOutputThumbnail:
    case kOutputThumbnailToo:
      written =
          WritePhotoFiles(
              outputPath, m_settings.OutputPhoto.PhotoSize, m_settings.OutputPhoto.PhotoDimensions,
              ThumbnailPage::GetThumbnailLimit(m_settings.OutputThumbnail.ThumbnailSize),
              m_settings.OutputThumbnail.ThumbnailImageLink == 1) &&
          GenerateThumbnailOutput(outputPath, title, header);
      break;
    case kOutputSlideshow:
      written = WritePhotoFiles(outputPath, m_settings.OutputSlideshow.PhotoSize,
                                m_settings.OutputSlideshow.PhotoDimensions) &&
                GenerateSlideshowStep(outputPath, title, header);
      break;
    default:
      break;
  }
  if (m_cache) m_cache->Trim();
  // Each failed file was named when it failed; pages that link it make the album broken.
  return written && m_outcome.failures.empty();
}

bool OutputRun::GenerateThumbnailOutput(const std::string& outputPath, const std::string& title,
                                        const std::string& header) {
  const Snapshot snapshot(*this);
  const Settings runSettings = RunSettings();
  const OutputContext run = MakeContext(runSettings);
  m_cursor = {};
  const int pageCount = ThumbnailPage::GetPageCount(
      m_list.CheckedCount(), runSettings.OutputThumbnail.Row, runSettings.OutputThumbnail.Column);
  if (!WriteThumbnailFiles(outputPath)) return false;
  BeginProgressStep(pageCount);
  for (int page = 1; page <= pageCount && !m_cursor.quit; ++page) {
    if (IsCancelled()) {
      m_outcome.cancelled = true;
      return false;
    }
    const std::string pagePath = GetPagePath(outputPath, page);
    if (!ThumbnailPage::WriteThumbnailPage(run, m_cursor, pagePath, title, header, pageCount,
                                           page)) {
      return false;
    }
    AdvanceProgress(page, FileUtils::GetSplitFileName(pagePath));
  }
  if (runSettings.OutputThumbnail.ThumbnailImageLink == 1) {
    BeginProgressStep(m_list.CheckedCount());
    const bool pagesWritten = WritePhotoPagesStep(run, outputPath);
    if (IsRunCancelled(run)) m_outcome.cancelled = true;
    if (!pagesWritten || m_outcome.cancelled ||
        !CopyDesignImages(GetDesignFolderPath(), outputPath)) {
      return false;
    }
  }
  std::vector<std::string> linked =
      PageFrame::GetStyleSheets(PageKind::Thumbnail, run.designStyleSheet);
  if (runSettings.OutputThumbnail.ThumbnailImageLink == 1) {
    for (std::string& sheet : PageFrame::GetStyleSheets(PageKind::Photo, run.designStyleSheet)) {
      linked.push_back(std::move(sheet));
    }
  }
  CopyStyleFiles(
      run, outputPath,
      {run.designStyleSheet, "common.css", "style.css", "thumb.css", "photo.css", "property.css"},
      linked);
  return true;
}

void OutputRun::CopyStyleFiles(const OutputContext& run, const std::string& outputPath,
                               const std::vector<std::string>& styleSheets,
                               const std::vector<std::string>& linked) {
  for (const std::string& sheet : styleSheets) {
    LogUtils::ClearLastError();
    if (CopyStyleFile(pictavo::GetDesignFolderPath(run), outputPath, sheet)) continue;
    // A sheet no page links may be missing; one a page links leaves the page unstyled.
    if (sheet.empty() || std::find(linked.begin(), linked.end(), sheet) == linked.end()) continue;
    const std::string reason = LogUtils::GetLastErrorMessage();
    RecordFailedFile(
        run,
        FileUtils::GetCombinePath(
            FileUtils::GetCombinePath(AlbumFolderOf(outputPath), PathUtils::GetCSSFolderName()),
            sheet),
        reason.empty() ? "the design has no such style sheet" : reason);
  }
}

bool OutputRun::GenerateSlideshowStep(const std::string& outputPath, const std::string& title,
                                      const std::string& header) {
  const Settings runSettings = RunSettings();
  return GenerateSlideshowOutput(MakeContext(runSettings), outputPath, title, header);
}

bool OutputRun::WritePhotoPagesStep(const OutputContext& run, const std::string& outputPath) {
  return WritePhotoPages(run, outputPath, run.settings.Output.FileName + ".html");
}

namespace {

// Each result names its files, so the calling thread needs no bookkeeping of the jobs in flight.
struct ThumbnailResult {
  std::string source;
  std::string destination;
  bool ok = false;
  ImageUtils::ScaledBytes bytes;     // the encoded thumbnail, written by the calling thread
  ImageUtils::ImageSize sourceSize;  // upright size of the source
  std::string error;                 // why it could not be encoded, taken on the worker
};

struct PhotoResult {
  std::string destination;
  bool ok = false;
  std::string error;           // the text to show when !ok, taken on the worker's own thread
  ImageUtils::ImageSize size;  // of the written photo; 0 x 0 when its source is no image
  bool twice = false;          // a 2x copy was written beside it
  ThumbnailResult thumbnail;   // ok when made from the photo's decode
};

// thumbnail: where the photo's decode may also leave its thumbnail (thumbnailLimit > 0).
// cache: finished images of earlier runs; may be null.
PhotoResult WritePhotoFile(const std::string& source, const std::string& destination, int photoSize,
                           int customSize, bool doublePhoto, const std::string& thumbnail,
                           int thumbnailLimit, const ImageCache* cache) {
  LogUtils::ClearLastError();
  PhotoResult result;
  result.destination = destination;
  ThumbnailResult& thumb = result.thumbnail;
  thumb.source = source;
  thumb.destination = thumbnail;
  // Copies of originals are as cheap as the cache's own copy, so only scaled photos are kept.
  const int limit = OutputRun::GetPhotoSizeLimit(photoSize, customSize);
  const std::string key =
      cache && photoSize != 0
          ? ImageCache::MakeKey(source, "photo " + std::to_string(limit) +
                                            (doublePhoto ? " 2x" : " 1x") + " thumbnail " +
                                            std::to_string(thumbnailLimit))
          : std::string();
  if (std::optional<ImageCache::Entry> hit = key.empty() ? std::nullopt : cache->Find(key)) {
    result.size = hit->size;
    result.ok = HighDensity::WriteScaledFiles(destination, hit->image, &result.twice);
    thumb.sourceSize = hit->sourceSize;
    thumb.bytes = std::move(hit->small);
    thumb.ok = result.ok && !thumb.bytes.single.empty();
    if (!result.ok) result.error = FailureText(destination);
    return result;
  }
  // One header read gives the size, the encoder and what the scaler needs.
  const ImageUtils::ImageHeader header = ImageUtils::GetImageHeader(source);
  result.size = ImageUtils::GetThumbnailSize(ImageUtils::SizeOf(header), limit);
  // The original's bytes where browsers show them (and always for a file that is no image we
  // read); an animated GIF that needs no scaling keeps its frames untouched.
  const bool copy = photoSize == 0 ? !header.ok || ImageUtils::IsWebFormat(header)
                                   : ImageUtils::IsAnimatedGif(header) &&
                                         result.size == ImageUtils::SizeOf(header);
  if (copy) {
    result.ok = FileUtils::CopyFile(source, destination);
    // The web gets no GPS position: a copy loses it as the scaled photos lose all metadata.
    if (result.ok && header.ok && !FileListUtils::RemoveGpsPosition(destination)) {
      std::remove(destination.c_str());
      result.ok = false;
    }
  } else {
    ImageUtils::ScaledBytes bytes;
    // The thumbnail comes from the same decode: a second decode costs more than both scalings.
    thumb.sourceSize = ImageUtils::SizeOf(header);
    const ImageUtils::ImageSize thumbSize =
        thumbnailLimit > 0 ? ImageUtils::GetThumbnailSize(thumb.sourceSize, thumbnailLimit)
                           : ImageUtils::ImageSize{};
    result.ok = ImageUtils::EncodeImageScaled(source, header, result.size.width, result.size.height,
                                              doublePhoto, &bytes, thumbSize, &thumb.bytes) &&
                HighDensity::WriteScaledFiles(destination, bytes, &result.twice);
    thumb.ok = result.ok && !thumb.bytes.single.empty();
    if (result.ok && !key.empty()) {
      cache->Store(key, {result.size, thumb.sourceSize, std::move(bytes), thumb.bytes});
    }
  }
  if (!result.ok) result.error = FailureText(destination);
  return result;
}

ThumbnailResult EncodeThumbnailFile(const std::string& source, const std::string& destination,
                                    int limit, const ImageCache* cache) {
  LogUtils::ClearLastError();
  ThumbnailResult result;
  result.source = source;
  result.destination = destination;
  const std::string key =
      cache ? ImageCache::MakeKey(source, "thumbnail " + std::to_string(limit)) : std::string();
  if (std::optional<ImageCache::Entry> hit = key.empty() ? std::nullopt : cache->Find(key)) {
    result.sourceSize = hit->sourceSize;
    result.bytes = std::move(hit->image);
    result.ok = true;
    return result;
  }
  const ImageUtils::ImageHeader header = ImageUtils::GetImageHeader(source);
  result.sourceSize = ImageUtils::SizeOf(header);
  const ImageUtils::ImageSize size = ImageUtils::GetThumbnailSize(result.sourceSize, limit);
  result.ok =
      ImageUtils::EncodeImageScaled(source, header, size.width, size.height, true, &result.bytes);
  if (!result.ok) {
    result.error = FailureText(destination);
  } else if (!key.empty()) {
    cache->Store(key, {size, result.sourceSize, result.bytes, {}});
  }
  return result;
}

// A thumbnail made in the photo step is written there, in list order; one that cannot be
// written is left to the thumbnail step, which reports it as it reports its own.
void KeepThumbnailOfPhoto(KnownImageSizes& sizes, const ThumbnailResult& thumbnail) {
  if (!thumbnail.ok) return;
  bool twice = false;
  if (!HighDensity::WriteScaledFiles(thumbnail.destination, thumbnail.bytes, &twice)) return;
  sizes.Keep(thumbnail.source, thumbnail.sourceSize);
  sizes.KeepWritten(thumbnail.destination);
  if (twice) sizes.KeepDoubleThumbnail(thumbnail.source);
}

}  // namespace

// Image work runs on worker threads; results are taken in list order on the calling thread,
// which pumps once per row and while it waits: messages and files come in the order of a
// sequential run. A Cancel drops the jobs that have not started; those running finish.
bool OutputRun::WritePhotoFiles(const std::string& outputPath, int photoSize, int customSize,
                                int thumbnailLimit, bool doublePhotos) {
  const Snapshot snapshot(*this);
  const std::string photoFolder =
      FileUtils::GetCombinePath(AlbumFolderOf(outputPath), m_settings.Output.PhotoName);
  const std::string thumbFolder =
      FileUtils::GetCombinePath(AlbumFolderOf(outputPath), m_settings.Output.ThumbnailName);
  // Without the folder the thumbnail step makes them, and reports the folder.
  if (thumbnailLimit > 0 && !EnsureFolder(thumbFolder)) thumbnailLimit = 0;
  LoopControl control(m_host.GetPump(), m_progress.get());
  m_sizes.Clear();
  BeginProgressStep(m_list.CheckedCount());
  int attempted = 0;
  int written = 0;
  ImageWork<PhotoResult> work(m_runtime.workerThreads);
  work.SetWhileWaiting([&] { control.Wait(); });
  const auto take = [&](const PhotoResult& result) {
    ++attempted;
    if (result.ok) {
      ++written;
      ++m_outcome.photosWritten;
      if (result.size.width > 0) m_sizes.Keep(result.destination, result.size);
      if (result.twice) m_sizes.KeepDoublePhoto(result.destination);
      KeepThumbnailOfPhoto(m_sizes, result.thumbnail);
    } else {
      RecordFailure(result.destination, result.error);
    }
    AdvanceProgress(attempted, FileUtils::GetSplitFileName(result.destination));
  };
  for (int row = 0; row < m_list.RowCount(); ++row) {
    if (!control.Step()) break;
    if (!m_list.IsRowChecked(row)) continue;
    const ALBUMITEM& item = m_list.RowItem(row);
    if (!EnsureFolder(photoFolder)) {
      const std::string reason = LogUtils::GetLastErrorMessage();
      work.Drain(take);
      RecordFailure(photoFolder, reason);
      return false;
    }
    const std::string source = FileUtils::GetCombinePath(m_listedFolder, item.name);
    if (FileUtils::IsDirectory(source)) continue;
    const std::string webName = m_webNames.Of(item.name);
    const std::string destination = FileUtils::GetCombinePath(photoFolder, webName);
    if (m_guard.IsSource(destination)) {
      work.Drain(take);
      RecordFailure(destination, SourceGuard::GetSourceTargetMessage(destination));
      continue;
    }
    const std::string thumbnail = FileUtils::GetCombinePath(thumbFolder, webName);
    // A thumbnail that would replace a source is refused by the thumbnail step.
    const int limit = m_guard.IsSource(thumbnail) ? 0 : thumbnailLimit;
    work.Submit(
        [source, destination, photoSize, customSize, doublePhotos, thumbnail, limit,
         cache = m_cache.get()] {
          return WritePhotoFile(source, destination, photoSize, customSize, doublePhotos, thumbnail,
                                limit, cache);
        },
        take);
  }
  if (control.Cancelled()) {
    m_outcome.cancelled = true;
    work.CancelPending(take);  // the photos already written are still counted and reported
    return false;
  }
  work.Drain(take);
  // Each failed photo was shown and skipped; the album is only worth going on with when at
  // least one photo made it (or there was none to write).
  return attempted == 0 || written > 0;
}

bool OutputRun::WriteThumbnailFiles(const std::string& outputPath) {
  const Snapshot snapshot(*this);
  const std::string thumbFolder =
      FileUtils::GetCombinePath(AlbumFolderOf(outputPath), m_settings.Output.ThumbnailName);
  if (!EnsureFolder(thumbFolder)) {
    RecordFailure(thumbFolder, LogUtils::GetLastErrorMessage());
    return false;
  }
  const int limit = ThumbnailPage::GetThumbnailLimit(m_settings.OutputThumbnail.ThumbnailSize);
  LoopControl control(m_host.GetPump(), m_progress.get());
  BeginProgressStep(m_list.CheckedCount());
  bool failed = false;
  int taken = 0;
  ImageWork<ThumbnailResult> work(m_runtime.workerThreads);
  work.SetWhileWaiting([&] { control.Wait(); });
  // The files are written here, in list order, so that nothing after the first failure is
  // written, as in a run that makes one thumbnail after the other.
  const auto take = [&](const ThumbnailResult& result) {
    if (failed) return;
    bool twice = false;
    failed = !result.ok || !HighDensity::WriteScaledFiles(result.destination, result.bytes, &twice);
    if (failed) {
      RecordFailure(result.destination, result.ok ? FailureText(result.destination) : result.error);
      return;
    }
    m_sizes.Keep(result.source, result.sourceSize);
    if (twice) m_sizes.KeepDoubleThumbnail(result.source);
    AdvanceProgress(++taken, FileUtils::GetSplitFileName(result.destination));
  };
  for (int row = 0; row < m_list.RowCount() && !failed; ++row) {
    if (!control.Step()) break;
    if (!m_list.IsRowChecked(row)) continue;
    const ALBUMITEM& item = m_list.RowItem(row);
    const std::string source = FileUtils::GetCombinePath(m_listedFolder, item.name);
    const std::string destination =
        FileUtils::GetCombinePath(thumbFolder, m_webNames.Of(item.name));
    if (m_guard.IsSource(destination)) {
      work.Drain(take);
      if (!failed) RecordFailure(destination, SourceGuard::GetSourceTargetMessage(destination));
      failed = true;
      break;
    }
    if (m_sizes.WasWritten(destination)) {  // made from the photo's decode
      AdvanceProgress(++taken, FileUtils::GetSplitFileName(destination));
      continue;
    }
    work.Submit(
        [source, destination, limit, cache = m_cache.get()] {
          return EncodeThumbnailFile(source, destination, limit, cache);
        },
        take);
  }
  if (control.Cancelled()) m_outcome.cancelled = true;
  if (failed || m_outcome.cancelled) work.DropPending();
  work.Drain(take);
  return !failed && !m_outcome.cancelled;
}

bool OutputRun::CopyStyleFile(const std::string& designFolder, const std::string& outputPath,
                              const std::string& styleSheet) {
  const std::string sourceFolder =
      FileUtils::GetCombinePath(designFolder, PathUtils::GetCSSFolderName());
  if (!FileUtils::IsDirectory(sourceFolder)) return false;
  // The name comes from styles.xml; a path in it must not reach outside the css folders.
  if (!StyleFuncs::IsPlainFileName(styleSheet)) return false;
  const std::string destinationFolder =
      FileUtils::GetCombinePath(AlbumFolderOf(outputPath), PathUtils::GetCSSFolderName());
  if (!EnsureFolder(destinationFolder)) return false;
  return FileUtils::CopyFile(FileUtils::GetCombinePath(sourceFolder, styleSheet),
                             FileUtils::GetCombinePath(destinationFolder, styleSheet));
}

bool OutputRun::CopyDesignImages(const std::string& designFolder, const std::string& outputPath) {
  const std::string destination =
      FileUtils::GetCombinePath(AlbumFolderOf(outputPath), PathUtils::GetImagesFolderName());
  if (!EnsureFolder(destination)) return false;
  return FileUtils::CopyFolder(
      FileUtils::GetCombinePath(designFolder, PathUtils::GetImagesFolderName()), destination);
}

bool OutputRun::OpenOutputFile(const std::string& path) {
  const auto& output = m_settings.Output;
  if (output.OpenFile == 0) return true;
  std::string error;
  bool opened = false;
  switch (output.OpenFileProgram) {
    case 0:
      opened = m_host.OpenWithDesktop(path, &error);
      break;
    case 1:
      opened = m_host.OpenWithProgram(output.OpenProgram, path, &error);
      break;
    default:
      error = "OpenFileProgram=" + std::to_string(output.OpenFileProgram) +
              ": no way of opening the page is chosen";
      break;
  }
  if (!opened && !error.empty()) {
    m_host.ShowMessage(error, MessageIcon::Error, MessageButtons::Ok);
  }
  return opened;
}

}  // namespace pictavo
