#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <system_error>

#include <unistd.h>

#include "album/OutputRun.h"
#include "album/OutputSettingsModel.h"
#include "album/Runtime.h"
#include "album/StyleFuncs.h"
#include "cli/Commands.h"
#include "cli/Inputs.h"
#include "cli/Interrupt.h"
#include "cli/Scan.h"
#include "cli/SettingsAccess.h"
#include "cli/TerminalHost.h"
#include "core/FileUtils.h"
#include "core/PathUtils.h"
#include "core/SettingsStore.h"
#include "core/ShellUtils.h"
#include "core/StringUtils.h"
#include "items/FolderScan.h"
#include "items/ImageUtils.h"
#include "items/ImageWork.h"
#include "items/NotesFile.h"

namespace pictavo::cli {

namespace {

namespace fs = std::filesystem;

constexpr StringId kIdSelectItems = StringId::SelectItems;  // "項目を選択してください。"

std::string CheckStylesFolder(const CliOptions& options) {
  if (!options.stylesFolder) return {};
  const std::string error = CheckFolder(*options.stylesFolder);
  return error.empty() ? error : "styles " + error;
}

// Reads the design list of the styles folder (--styles or the shipped one).
std::string LoadCommandDesigns(const CliOptions& options, Runtime& runtime) {
  if (options.stylesFolder) {
    runtime.styleFolder = FileUtils::GetPathRemoveBackslash(*options.stylesFolder);
  }
  return LoadDesigns(runtime);
}

// --design takes an id or a display name.
std::string ChooseDesign(const std::string& wanted, const Runtime& runtime, Settings& settings) {
  std::string known;
  for (const StyleFuncs::DESIGNITEM& item : runtime.designs) {
    if (std::to_string(item.id) == wanted || item.name == wanted) {
      settings.OutputStyle.StyleDesign = item.id;
      return {};
    }
    known += (known.empty() ? "" : ", ") + std::to_string(item.id) + " " + item.name;
  }
  return "no design style \"" + wanted + "\" (" + known + ")";
}

// The command line's values replace the settings for this run only.
std::string ApplyBuildOptions(const BuildOptions& build, const Runtime& runtime,
                              Settings& settings) {
  // A relative location means the working folder, as FOLDER does; the run must not depend on
  // where it happens to be when it resolves the album's paths.
  if (build.location) {
    settings.Output.Location =
        build.location->empty() ? std::string() : ListedFolderPath(*build.location);
  }
  if (build.style) settings.OutputStyle.Style = *build.style;
  if (!settings.Output.ShowOutputSettings) {
    // Without the dialog these are where and what the run writes.
    if (build.name) settings.Output.FolderName = *build.name;
    if (build.title) settings.OutputPage.Title = *build.title;
    if (build.header) settings.OutputPage.Header = *build.header;
  }
  if (build.design) return ChooseDesign(*build.design, runtime, settings);
  return {};
}

DialogAnswers AnswersOf(const BuildOptions& build) {
  return DialogAnswers{build.name, build.title, build.header};
}

// The dialog's answer is known before the folder is listed: refuse it before anything is read
// or written, as the dialog would refuse its OK. Empty when the run may go on.
std::string CheckDialogAnswers(const BuildOptions& build, const Settings& settings,
                               const std::string& listedFolder) {
  if (build.preview || !settings.Output.ShowOutputSettings) return {};
  OutputSettingsValues values = OutputSettingsModel::MakeProposal(settings, listedFolder);
  return AnswerOutputSettings(AnswersOf(build), values);
}

// Names each ticked item whose file is no image an album can carry and unticks it; the
// thumbnail step would otherwise fail the whole run on it. Only the loaders of the formats the
// view options list are tried. The headers are read on the workers; the names come out in
// list order.
void UntickUnreadable(ItemList& list, const Settings& settings, std::size_t workers,
                      TerminalHost& host) {
  struct Readable {
    int row = 0;
    bool ok = false;
    std::string reason;
  };
  ImageWork<Readable> work(workers);
  const auto take = [&](const Readable& read) {
    if (read.ok) return;
    list.SetRowChecked(read.row, false);
    host.PrintLine("skipped, not a readable image: " + list.RowItem(read.row).fullPath +
                   (read.reason.empty() ? "" : ": " + read.reason));
  };
  const unsigned formats = GetViewImageFormats(settings);
  for (int row = 0; row < list.RowCount(); ++row) {
    if (!list.IsRowChecked(row)) continue;
    work.Submit(
        [row, formats, path = list.RowItem(row).fullPath] {
          std::string reason;
          const bool ok = ImageUtils::CanPutInAlbum(path, formats, &reason);
          return Readable{row, ok, std::move(reason)};
        },
        take);
  }
  work.Drain(take);
}

// Each failure was printed as it happened; at the end of a long run they are named again
// together, so that none scrolls away unseen.
void PrintFailures(const RunOutcome& outcome) {
  if (outcome.failures.size() < 2) return;
  PrintError(std::to_string(outcome.failures.size()) + " files could not be written:");
  for (const FileFailure& failure : outcome.failures) {
    PrintError("  " + ToTerminalText(failure.path) + ": " + ToTerminalText(failure.reason));
  }
}

// The run opens its first page through the host, so the host learns the path it prints; the
// host opens it for real only with --open, always with the desktop.
Settings RunSettingsOf(const Settings& settings) {
  Settings run = settings;
  run.Output.OpenFile = 1;
  run.Output.OpenFileProgram = 0;
  return run;
}

// The signal only set a flag, so the file that was being written was finished; the album as a
// whole is not, so its first page is named as incomplete instead of printed as a result.
int Cancelled(const std::string& folder, const std::string& firstPage) {
  const char* name = Interrupt::Signal() == SIGTERM ? "SIGTERM" : "SIGINT";
  PrintError(std::string("cancelled (") + name + "): the build of \"" + folder + "\" stopped" +
             (firstPage.empty() ? std::string() : "; the album is incomplete: " + firstPage));
  return Interrupt::kExitInterrupted;
}

int RunOutput(const CliOptions& options, const LoadedSettings& loaded, const Runtime& runtime) {
  const BuildOptions& build = options.build;
  const std::string folder = ListedFolderPath(build.folder);
  if (const std::string refusal = CheckDialogAnswers(build, loaded.settings, folder);
      !refusal.empty()) {
    PrintError(ToTerminalText(refusal));
    return kExitUsage;
  }
  TerminalProgress progress(DetectProgressMode(options.quiet, STDERR_FILENO), stderr,
                            STDERR_FILENO);
  DiagnosticLog diagnostics;  // outlives the host, which reports to it to the end
  TerminalHost host(progress, stderr, options.quiet);
  if (options.verbose) host.SetDiagnosticLog(&diagnostics);
  host.SetDialogAnswers(AnswersOf(build));
  if (build.open) {
    host.SetOpener([](const std::string&, const std::string& target, std::string* error) {
      return ShellUtils::OpenWithDesktop(target, error);
    });
  }
  Interrupt::Install();
  ItemList list;
  if (!ListFolderItems(list, folder, loaded.settings, host)) return kExitUsage;
  if (Interrupt::Requested()) return Cancelled(folder, {});
  if (list.IsEmpty()) {
    // The window's own answer to a run without items, then what the terminal user needs more.
    host.ShowMessage(StringUtils::GetLoadString(kIdSelectItems), MessageIcon::None,
                     MessageButtons::Ok);
    PrintError("no items listed in \"" + folder + "\" (see the Options\\View settings)");
    return kExitRunFailed;
  }
  if (build.notes) {
    NotesLoadCount count;
    if (!LoadNotesFile(list, *build.notes, host, &count)) {
      PrintError("cannot load the notes file \"" + *build.notes + "\"");
      return kExitUsage;
    }
    // Notes that match nothing are worth a word even when quiet: they are silently lost.
    if (!options.quiet || count.matched < count.notes) {
      host.PrintLine("notes file \"" + *build.notes + "\": " + std::to_string(count.matched) +
                     " of " + std::to_string(count.notes) + " notes matched listed files");
    }
  }
  if (build.skipUnreadable) UntickUnreadable(list, loaded.settings, runtime.workerThreads, host);

  const Settings runSettings = RunSettingsOf(loaded.settings);
  OutputRun run(list, runSettings, host, runtime);
  run.SetListedFolder(folder);
  const int outputType = OutputRun::GetOutputTypeOfStyle(runSettings.OutputStyle.Style);
  progress.SetTotal(list.CheckedCount());
  const bool written =
      build.preview ? run.PreviewOutput(outputType) : run.ExecuteOutput(outputType);
  const RunOutcome& outcome = run.GetOutcome();
  PrintFailures(outcome);
  if (Interrupt::Requested()) return Cancelled(folder, outcome.firstPage);
  if (!written) {
    if (host.DialogRefused()) return kExitUsage;
    PrintError(outcome.cancelled ? "the run was cancelled" : "the album could not be written");
    return kExitRunFailed;
  }
  std::printf("%s\n", outcome.firstPage.c_str());
  return kExitSuccess;
}

}  // namespace

int RunBuild(const CliOptions& options) {
  const BuildOptions& build = options.build;
  // Each check runs only when the ones before it passed; the first failure is the message.
  LoadedSettings loaded;
  Runtime runtime;
  const std::function<std::string()> checks[] = {
      [&] { return CheckFolder(build.folder); },
      [&] { return build.notes ? CheckReadableFile(*build.notes, "notes file") : std::string(); },
      [&] { return CheckStylesFolder(options); },
      [&] { return LoadCommandSettings(options, build.overrides, loaded); },
      [&] {
        // --set values were checked as they came in; what is left came from the file.
        const std::string error = CheckAlbumFileNames(loaded.settings);
        return error.empty() ? error : "settings file \"" + loaded.path + "\": " + error;
      },
      [&] { return LoadCommandDesigns(options, runtime); },
      [&] { return ApplyBuildOptions(build, runtime, loaded.settings); },
  };
  for (const auto& check : checks) {
    if (std::string error = check(); !error.empty()) {
      RemoveCreatedFolders(loaded);
      PrintError(error);
      return kExitUsage;
    }
  }
  const int status = RunOutput(options, loaded, runtime);
  RemoveCreatedFolders(loaded);
  return status;
}

}  // namespace pictavo::cli
