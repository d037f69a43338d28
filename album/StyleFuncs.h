#pragma once

// The design styles that ship with the program: the list read from "styles.xml" and the
// style sheet of the design the user chose.

#include <filesystem>
#include <string>
#include <vector>

namespace pictavo {
class Pump;
}

namespace pictavo::StyleFuncs {

struct DESIGNITEM {
  int id = 0;              // the value kept in Options\OutputStyle / StyleDesign
  std::string name;        // display name in the design lists
  std::string styleSheet;  // file name inside the design's css folder
};

// Outcome of reading a styles file. Items that cannot be used are left out and described in
// problems, so one bad line does not hide the other designs.
struct StylesFileResult {
  bool ok = false;  // the file was read and parsed
  std::vector<DESIGNITEM> items;
  std::string error;                  // why the file could not be read, when !ok
  std::vector<std::string> problems;  // one text per skipped element
};

StylesFileResult ReadStylesFile(const std::filesystem::path& path);

// Loads items from path. Returns the number of designs, or -1 when the file could not be read;
// then items stay as they were.
int GetStylesInformation(const std::filesystem::path& path, std::vector<DESIGNITEM>& items);

// The style sheet of the first item whose id is styleDesign; empty when none matches or when
// the pump reports a quit (it is called once before each item).
std::string GetDesignStyleSheetName(const std::vector<DESIGNITEM>& items, int styleDesign,
                                    Pump& pump);

// A style sheet name is usable when it is a plain file name: it may not leave the css folder.
bool IsPlainFileName(const std::string& name);

}  // namespace pictavo::StyleFuncs
