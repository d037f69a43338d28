#include "cli/Scan.h"

#include "cli/Commands.h"

namespace pictavo::cli {

bool ListFolderItems(ItemList&, const std::string&, const Settings&, Host&) {
  // The folder scan of the item list is not part of this build yet: say so, list nothing.
  PrintError("the folder scan is not part of this build yet");
  return false;
}

}  // namespace pictavo::cli
