#pragma once

// The main toolbar's layout and options as the toolbar state file keeps them: sections
// "Toolbar" (TextOptions, IconOptions, ButtonCount) and "Toolbar\Button%d" (CommandID,
// BitmapImage, State, Style), a UTF-16LE profile file with its comment line. Kept apart from the
// widgets so the rules can be driven without a window.

#include <cstdint>
#include <string>
#include <vector>

namespace pictavo::app {

namespace ToolbarStyle {
inline constexpr std::uint8_t kSeparator = 0x01;
inline constexpr std::uint8_t kAutoSize = 0x10;
inline constexpr std::uint8_t kShowText = 0x40;  // labelled under text option 1
inline constexpr std::uint8_t kWholeDropDown = 0x80;
}  // namespace ToolbarStyle

inline constexpr std::uint8_t kToolbarStateEnabled = 4;

struct ToolbarButton {
  int commandId = 0;  // 0 for a separator
  int bitmap = 0;
  std::uint8_t state = kToolbarStateEnabled;
  std::uint8_t style = ToolbarStyle::kSeparator;
  bool IsSeparator() const { return (style & ToolbarStyle::kSeparator) != 0; }
  bool operator==(const ToolbarButton&) const = default;
};

// Text options: 0 labels on all buttons, 1 labels right of the icon on the labelled buttons,
// 2 no labels. Icon options: 0 small, 1 large.
struct ToolbarLayout {
  static constexpr int kDefaultTextOptions = 1;
  static constexpr int kDefaultIconOptions = 1;
  std::vector<ToolbarButton> buttons;
  int textOptions = kDefaultTextOptions;
  int iconOptions = kDefaultIconOptions;
  bool operator==(const ToolbarLayout&) const = default;
};

ToolbarButton MakeToolbarSeparator();
// The button of a known command with its bitmap and style; a command the toolbar does not
// offer gives a plain button with bitmap -1.
ToolbarButton MakeToolbarButton(int commandId);
// The buttons shown before any saved layout is applied.
ToolbarLayout DefaultToolbarLayout();
// Every command the customisation offers, in the default order ("上の階層へ" included).
std::vector<int> AvailableToolbarCommands();

// Reads the file into layout, which holds the defaults on entry: a missing file changes
// nothing; ButtonCount 0 or less keeps the buttons but still reads the options. Unknown
// command ids are kept as read; a bad option becomes the default. False only when the file exists
// and cannot be read.
bool LoadToolbarState(const std::string& path, ToolbarLayout& layout);
// Writes the file anew: the comment line, then (when there is a button) the options, the count
// and each button.
bool SaveToolbarState(const std::string& path, const ToolbarLayout& layout);

}  // namespace pictavo::app
