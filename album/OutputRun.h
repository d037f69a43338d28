#pragma once

// The output run: turns the ticked rows of the list, in list order, into an album folder
// (photos, thumbnails, pages, style sheets and images) and opens its first page. The desktop
// program and the command line own one run object beside their list.

#include <memory>
#include <string>
#include <vector>

#include "album/OutputContext.h"
#include "album/OutputSafety.h"
#include "album/Runtime.h"
#include "album/ThumbnailPage.h"
#include "core/Host.h"
#include "core/Settings.h"
#include "items/ItemList.h"

namespace pictavo {

// Output types passed through the run.
inline constexpr int kOutputThumbnail = 0;
inline constexpr int kOutputThumbnailToo = 1;  // handled like 0
inline constexpr int kOutputNone = 2;          // no generator: the run fails
inline constexpr int kOutputSlideshow = 3;

// A file that could not be written, with the reason the system or the image library gave.
struct FileFailure {
  std::string path;
  std::string reason;
};

// What the last command of a run did, for the window and the command line to report at the end.
struct RunOutcome {
  bool succeeded = false;  // the album was written; single photos may still have failed
  bool cancelled = false;  // Cancel or a quit ended it; what was written stays
  std::string albumFolder;
  std::string firstPage;  // the page that is opened
  int photosWritten = 0;
  std::vector<FileFailure> failures;  // each was also shown as it happened
};

class OutputRun {
 public:
  // Each command works on a copy of the list and the settings taken when it starts, so that
  // whatever the pumped messages change meanwhile, the album is the one asked for. It changes
  // neither.
  OutputRun(const ItemList& list, const Settings& settings, Host& host, Runtime runtime);

  // The folder shown in the address box: where the items' sources are.
  void SetListedFolder(std::string folder) { m_listedFolder = std::move(folder); }
  const std::string& ListedFolder() const { return m_listedFolder; }

  // The output type of an OutputStyle / Style value: 3 for the slideshow (2), else 0.
  static int GetOutputTypeOfStyle(int style);

  // "実行": confirm, write to the destination, report, open the first page.
  bool ExecuteOutput(int outputType);
  // "実行プレビュー": write into a fresh preview folder without asking and open it.
  bool PreviewOutput(int outputType);

  bool OutputToDestination(int outputType);
  bool OutputToPreviewFolder(int outputType);
  bool GenerateOutput(int outputType, const std::string& outputPath, const std::string& title,
                      const std::string& header);
  bool GenerateThumbnailOutput(const std::string& outputPath, const std::string& title,
                               const std::string& header);
  bool WritePhotoFiles(const std::string& outputPath, int photoSize, int customSize);
  bool WriteThumbnailFiles(const std::string& outputPath);
  // The design's copies into the album; the slideshow step uses them too.
  static bool CopyStyleFile(const std::string& designFolder, const std::string& outputPath,
                            const std::string& styleSheet);
  // Copies the style sheets; each one in linked (a page links it) that could not be copied is
  // a failed file of the run.
  static void CopyStyleFiles(const OutputContext& run, const std::string& outputPath,
                             const std::vector<std::string>& styleSheets,
                             const std::vector<std::string>& linked);
  static bool CopyDesignImages(const std::string& designFolder, const std::string& outputPath);
  bool OpenOutputFile(const std::string& path);

  // The longer edge a PhotoSize value asks for (1024, 800, 640 or the custom size); 0 keeps the
  // photo's own size. Photo pages and the slideshow size their boxes by the same table.
  static int GetPhotoSizeLimit(int photoSize, int customSize);

  // The design folder: the styles folder joined with the design folder name.
  std::string GetDesignFolderPath() const;
  // The output path of the settings: Location / folderName / FileName.html; empty when the
  // location is empty.
  std::string GetOutputPath(const std::string& location, const std::string& folderName) const;

  // The outcome of the last ExecuteOutput or PreviewOutput. Any file in failures (one that
  // the pages link but that could not be written) makes the run a failure.
  const RunOutcome& GetOutcome() const { return m_outcome; }

  // The progress window of the last command; null before the first.
  ProgressWindow* GetProgressWindow() const { return m_progress.get(); }
  // Where the next thumbnail page starts.
  const ThumbnailPage::PageCursor& GetPageCursor() const { return m_cursor; }

 private:
  // Takes the copies when the outermost command starts and drops them when it ends.
  class Snapshot {
   public:
    explicit Snapshot(OutputRun& run);
    ~Snapshot();
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;

   private:
    OutputRun& m_run;
  };

  // Starts a counted step of `total` files on the progress window.
  void BeginProgressStep(int total);
  void AdvanceProgress(int position, const std::string& file);
  bool IsCancelled() const;
  void NoteFailure(const std::string& path, const std::string& reason);
  // Records a written album in the outcome, or shows why there is none.
  bool FinishOutput(bool generated, const std::string& outputPath);

  // The run's copy of the settings, with the values the run cannot work with mended.
  Settings RunSettings() const;
  OutputContext MakeContext(const Settings& runSettings);
  // Page 1 is outputPath; page n >= 2 is PageFileName + n + ".html" beside it.
  std::string GetPagePath(const std::string& outputPath, int page) const;
  void ShowProgress();
  void HideProgress();
  bool GenerateSlideshowStep(const std::string& outputPath, const std::string& title,
                             const std::string& header);
  bool WritePhotoPagesStep(const OutputContext& run, const std::string& outputPath);
  // Refuses, with a message, targets that are sources, before anything is written.
  bool CheckTargets(int outputType, const std::string& outputPath);
  // Shows the failure and keeps it for the end of the run.
  void RecordFailure(const std::string& path, const std::string& reason);

  const ItemList& m_liveList;
  const Settings& m_liveSettings;
  int m_snapshotDepth = 0;
  ItemList m_list;      // the copy a command works on
  Settings m_settings;  // likewise
  Host& m_host;
  const Runtime m_runtime;
  std::string m_listedFolder;
  std::unique_ptr<ProgressWindow> m_progress;
  ThumbnailPage::PageCursor m_cursor;
  KnownImageSizes m_sizes;  // of this run's sources and photos, for its pages
  RunOutcome m_outcome;
  SourceGuard m_guard;      // this run's sources, never written over
  WebFileNames m_webNames;  // of this run's photos and thumbnails
};

}  // namespace pictavo
