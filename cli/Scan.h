#pragma once

// Listing a folder as the window lists it: the view filters of the settings, one item per
// file, sorted by name, every row ticked.

#include <string>

#include "core/Host.h"
#include "core/Settings.h"
#include "items/ItemList.h"

namespace pictavo::cli {

// The folder as the address box would hold it: absolute, without "." or ".." parts and
// without a trailing "/", so item paths, notes paths and the proposed title agree.
std::string ListedFolderPath(const std::string& folder);

// False with the message printed when the folder cannot be listed. Files left out because
// they cannot be read are named through the host, one line each.
bool ListFolderItems(ItemList& list, const std::string& folder, const Settings& settings,
                     Host& host);

}  // namespace pictavo::cli
