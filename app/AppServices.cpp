#include "app/AppServices.h"

#include <QFileDialog>

#include "core/FileUtils.h"
#include "core/PathUtils.h"
#include "core/StringUtils.h"
#include "items/BuildItem.h"

namespace pictavo::app {

namespace {

std::optional<std::string> BrowseFolderDialog(QWidget* parent, const std::string& start) {
  const QString folder = QFileDialog::getExistingDirectory(
      parent, QString::fromStdString(StringUtils::GetLoadString(10131)),
      QString::fromStdString(start));
  if (folder.isEmpty()) return std::nullopt;
  return folder.toStdString();
}

std::optional<std::string> NotesFileDialog(QWidget* parent, bool save) {
  const QString filter = QStringLiteral("メモ テキスト ファイル (*.dat)");
  QFileDialog dialog(parent, QString(), QStringLiteral("Note.dat"), filter);
  dialog.setDefaultSuffix(QStringLiteral("dat"));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

}  // namespace

AppServices AppServices::Defaults() {
  AppServices services;
  services.settingsFilePath = PathUtils::GetApplicationSettingsFilePath();
  services.historyFilePath = PathUtils::GetAddressHistoryFilePath();
  services.toolbarsFilePath = PathUtils::GetToolbarsFilePath();
  services.previewRootPath = PathUtils::GetPreviewRootPath();
  services.itemBuilder = BuildAlbumItem;
  services.browseFolder = BrowseFolderDialog;
  services.chooseNotesFile = NotesFileDialog;
  services.updates = UpdateCheckConfig::Defaults();
  return services;
}

std::vector<std::string> CommandLinePaths(const std::vector<std::string>& arguments) {
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument.empty() || argument[0] == '-') continue;
    if (QString::fromStdString(argument).compare(QStringLiteral("/restart"), Qt::CaseInsensitive) ==
        0) {
      ++i;  // its process id
      continue;
    }
    // On Linux "/word" may be a flag or a folder in the root: an existing path wins.
    const bool slashFlag = argument[0] == '/' && argument.find('/', 1) == std::string::npos &&
                           !FileUtils::FileExists(argument);
    if (!slashFlag) paths.push_back(argument);
  }
  return paths;
}

}  // namespace pictavo::app
