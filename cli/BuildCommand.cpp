#include <cstdio>
#include <filesystem>
#include <functional>
#include <system_error>

#include <unistd.h>

#include "album/OutputRun.h"
#include "album/OutputSettingsModel.h"
#include "album/StyleFuncs.h"
#include "cli/Commands.h"
#include "cli/Inputs.h"
#include "cli/Scan.h"
#include "cli/SettingsAccess.h"
#include "cli/TerminalHost.h"
#include "core/LogUtils.h"
#include "core/PathUtils.h"
#include "core/ShellUtils.h"
#include "core/StringUtils.h"
#include "items/ImageUtils.h"
#include "items/ImageWork.h"
#include "items/NotesFile.h"

namespace pictavo::cli {

namespace {

namespace fs = std::filesystem;

constexpr int kIdSelectItems = 10231;  // "項目を選択してください。"

std::string CheckStylesFolder(const CliOptions& options) {
  if (!options.stylesFolder) return {};
  const std::string error = CheckFolder(*options.stylesFolder);
  return error.empty() ? error : "styles " + error;
}

// Reads the design list of the styles folder (--styles or the shipped one).
std::string LoadDesigns(const CliOptions& options) {
  if (options.stylesFolder) PathUtils::SetStyleFolderPath(*options.stylesFolder);
  const fs::path file = fs::path(PathUtils::GetStyleFolderPath()) / "styles.xml";
  const StyleFuncs::StylesFileResult read = StyleFuncs::ReadStylesFile(file);
  if (!read.ok) return "cannot read the styles file \"" + file.string() + "\": " + read.error;
  if (read.items.empty()) return "no design styles in \"" + file.string() + "\"";
  StyleFuncs::SetDesignItems(read.items);
  return {};
}

// --design takes an id or a display name.
std::string ChooseDesign(const std::string& wanted, Settings& settings) {
  std::string known;
  for (const StyleFuncs::DESIGNITEM& item : StyleFuncs::GetDesignItems()) {
    if (std::to_string(item.id) == wanted || item.name == wanted) {
      settings.OutputStyle.StyleDesign = item.id;
      return {};
    }
    known += (known.empty() ? "" : ", ") + std::to_string(item.id) + " " + item.name;
  }
  return "no design style \"" + wanted + "\" (" + known + ")";
}

// The command line's values replace the settings for this run only.
std::string ApplyBuildOptions(const BuildOptions& build, Settings& settings) {
  if (build.location) settings.Output.Location = *build.location;
  if (build.style) settings.OutputStyle.Style = *build.style;
  if (!settings.Output.ShowOutputSettings) {
    // Without the dialog these are where and what the run writes.
    if (build.name) settings.Output.FolderName = *build.name;
    if (build.title) settings.OutputPage.Title = *build.title;
    if (build.header) settings.OutputPage.Header = *build.header;
  }
  if (build.design) return ChooseDesign(*build.design, settings);
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

// Names each ticked item whose file is no image we can read and unticks it; the thumbnail
// step would otherwise fail the whole run on it. The headers are read on the workers; the
// names come out in list order.
void UntickUnreadable(ItemList& list, TerminalHost& host) {
  struct Readable {
    int row = 0;
    bool ok = false;
    std::string reason;
  };
  ImageWork<Readable> work;
  const auto take = [&](const Readable& read) {
    if (read.ok) return;
    list.SetRowChecked(read.row, false);
    host.PrintLine("skipped, not a readable image: " + list.RowItem(read.row).fullPath +
                   (read.reason.empty() ? "" : ": " + read.reason));
  };
  for (int row = 0; row < list.RowCount(); ++row) {
    if (!list.IsRowChecked(row)) continue;
    work.Submit(
        [row, path = list.RowItem(row).fullPath] {
          LogUtils::ClearLastError();
          if (ImageUtils::GetImageSize(path).width > 0) return Readable{row, true, {}};
          return Readable{row, false, LogUtils::GetLastErrorMessage()};
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

int RunOutput(const CliOptions& options, const LoadedSettings& loaded) {
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
  ItemList list;
  if (!ListFolderItems(list, folder, loaded.settings, host)) return kExitUsage;
  if (list.IsEmpty()) {
    // The window's own answer to a run without items, then what the terminal user needs more.
    host.ShowMessage(StringUtils::GetLoadString(kIdSelectItems), MessageIcon::None,
                     MessageButtons::Ok);
    PrintError("no items listed in \"" + folder + "\" (see the Options\\View settings)");
    return kExitRunFailed;
  }
  if (build.notes && !LoadNotesFile(list, *build.notes, host)) {
    PrintError("cannot load the notes file \"" + *build.notes + "\"");
    return kExitUsage;
  }
  if (build.skipUnreadable) UntickUnreadable(list, host);

  const Settings runSettings = RunSettingsOf(loaded.settings);
  OutputRun run(list, runSettings, host);
  run.SetListedFolder(folder);
  const int outputType = OutputRun::GetOutputTypeOfStyle(runSettings.OutputStyle.Style);
  progress.SetTotal(list.CheckedCount());
  const bool written =
      build.preview ? run.PreviewOutput(outputType) : run.ExecuteOutput(outputType);
  const RunOutcome& outcome = run.GetOutcome();
  PrintFailures(outcome);
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
  const std::function<std::string()> checks[] = {
      [&] { return CheckFolder(build.folder); },
      [&] { return build.notes ? CheckReadableFile(*build.notes, "notes file") : std::string(); },
      [&] { return CheckStylesFolder(options); },
      [&] { return LoadCommandSettings(options, build.overrides, loaded); },
      [&] { return LoadDesigns(options); },
      [&] { return ApplyBuildOptions(build, loaded.settings); },
  };
  for (const auto& check : checks) {
    if (std::string error = check(); !error.empty()) {
      RemoveCreatedFolders(loaded);
      PrintError(error);
      return kExitUsage;
    }
  }
  const int status = RunOutput(options, loaded);
  RemoveCreatedFolders(loaded);
  return status;
}

}  // namespace pictavo::cli
