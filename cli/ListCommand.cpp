#include <unistd.h>
#include <cstdio>
#include <numeric>

#include "cli/Commands.h"
#include "cli/Inputs.h"
#include "cli/Scan.h"
#include "cli/SettingsAccess.h"
#include "cli/TerminalHost.h"
#include "core/AlbumColumns.h"
#include "core/StringUtils.h"
#include "items/ListCommands.h"

namespace pictavo::cli {

namespace {

// --sort takes a column title ("名前", without regard to case) or its number 0 to 19.
int ParseSortColumn(const std::string& text) {
  if (!text.empty() && text.find_first_not_of("0123456789") == std::string::npos &&
      text.size() <= 2) {
    const int column = std::stoi(text);
    return column < kColumnCount ? column : -1;
  }
  return GetColumnOfTitle(text);
}

std::string ColumnChoices() {
  std::string choices;
  for (const PropertyColumn& column : GetPropertyColumns()) {
    choices += (choices.empty() ? "" : ", ") + std::to_string(column.column) + " " +
               StringUtils::GetLoadString(column.stringId);
  }
  return choices;
}

}  // namespace

int RunList(const CliOptions& options) {
  const ListOptions& listOptions = options.list;
  int sortColumn = 0;
  if (listOptions.sortColumn) {
    sortColumn = ParseSortColumn(*listOptions.sortColumn);
    if (sortColumn < 0) {
      PrintError("no column \"" + *listOptions.sortColumn + "\" (" + ColumnChoices() + ")");
      return kExitUsage;
    }
  }
  if (const std::string error = CheckFolder(listOptions.folder); !error.empty()) {
    PrintError(error);
    return kExitUsage;
  }
  LoadedSettings loaded;
  if (const std::string error = LoadCommandSettings(options, listOptions.overrides, loaded);
      !error.empty()) {
    PrintError(error);
    return kExitUsage;
  }
  RemoveCreatedFolders(loaded);
  TerminalProgress progress(DetectProgressMode(options.quiet, STDERR_FILENO), stderr,
                            STDERR_FILENO);
  DiagnosticLog diagnostics;  // outlives the host, which reports to it to the end
  TerminalHost host(progress, stderr, options.quiet);
  if (options.verbose) host.SetDiagnosticLog(&diagnostics);
  ItemList list;
  if (!ListFolderItems(list, ListedFolderPath(listOptions.folder), loaded.settings, host)) {
    return kExitUsage;
  }
  if (sortColumn != 0 || listOptions.descending) {
    list.SetSort(sortColumn, listOptions.descending);
    SortItemList(list, host);
  }
  // The "copy all" text of every row, columns in their standard order.
  std::vector<int> rows(static_cast<size_t>(list.RowCount()));
  std::iota(rows.begin(), rows.end(), 0);
  const std::string text = GetAllColumnsText(list, rows, EffectiveColumnOrder({}));
  std::fwrite(text.data(), 1, text.size(), stdout);
  return kExitSuccess;
}

}  // namespace pictavo::cli
