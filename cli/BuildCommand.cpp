#include <cstdio>
#include <filesystem>
#include <functional>
#include <system_error>

#include "album/StyleFuncs.h"
#include "cli/Commands.h"
#include "cli/Inputs.h"
#include "cli/SettingsAccess.h"
#include "core/PathUtils.h"
#include "core/StringUtils.h"

namespace pictavo::cli {

namespace {

namespace fs = std::filesystem;

constexpr int kFolderExists = 10240;  // "指定した場所には、既にフォルダーが存在します。"

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

// The dialog refuses a folder that exists; refuse it before anything is read or written.
bool NameIsTaken(const BuildOptions& build, const Settings& settings) {
  if (!build.name || !settings.Output.ShowOutputSettings || build.preview) return false;
  std::error_code error;
  const fs::path folder = fs::path(settings.Output.Location) / *build.name;
  if (!fs::exists(fs::symlink_status(folder, error))) return false;
  std::fprintf(stderr, "%s\n%s\n", StringUtils::GetLoadString(kFolderExists).c_str(),
               folder.c_str());
  return true;
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
  if (NameIsTaken(build, loaded.settings)) {
    RemoveCreatedFolders(loaded);
    return kExitUsage;
  }
  RemoveCreatedFolders(loaded);
  PrintError("build needs the folder scan, which this build does not have yet");
  return kExitRunFailed;
}

}  // namespace pictavo::cli
