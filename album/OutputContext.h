#pragma once

// What every step of one output run reads: the list with its ticks, the run's settings, the
// host for messages and the pump, and the folder the items were listed from (their sources).

#include <string>

#include "core/Host.h"
#include "core/Settings.h"
#include "items/ItemList.h"

namespace pictavo {

struct OutputContext {
  const ItemList& list;      // rows in display order; the ticked rows are the album
  const Settings& settings;  // the run's own copy, with Row and Column at least 1
  Host& host;
  std::string listedFolder;      // sources are listedFolder joined with the item's file name
  std::string designStyleSheet;  // file name of the chosen design's style sheet, may be empty
};

}  // namespace pictavo
