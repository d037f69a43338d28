#include "app/ToolbarState.h"

#include <array>

#include "app/Commands.h"
#include "core/FileUtils.h"
#include "core/Profile.h"

namespace pictavo::app {

namespace {

constexpr const char* kSection = "Toolbar";
// A file larger than this is not one we wrote; the rest of it is ignored.
constexpr int kMaxButtons = 1000;

struct KnownButton {
  int commandId;
  int bitmap;
  bool showText;
  bool dropDown;
  bool shownByDefault;
};

// The order of the default toolbar; 0 marks a separator.
constexpr std::array<KnownButton, 18> kDefaultButtons = {{
    {Command::kNew, 0, true, false, true},
    {Command::kToolbarOpen, 1, true, true, true},
    {0, 0, false, false, true},
    {Command::kRefresh, 4, true, false, true},
    {0, 0, false, false, true},
    {32784, 5, false, false, true},
    {32785, 6, false, false, true},
    {32786, 7, false, false, true},
    {32787, 8, true, false, true},
    {0, 0, false, false, true},
    {32788, 10, false, false, true},
    {32789, 9, false, false, true},
    {0, 0, false, false, true},
    {Command::kToolbarExecute, 14, true, true, true},
    {0, 0, false, false, true},
    {Command::kUpOneLevel, 13, false, false, false},
    {Command::kOptions, 11, false, false, true},
    {Command::kToolbarHelp, 12, false, true, true},
}};

std::string ButtonSection(std::size_t index) {
  return std::string(kSection) + "\\Button" + std::to_string(index);
}

// A bad stored option becomes the default, so the toolbar always shows a known look.
int ValidTextOption(int value) {
  return value >= 0 && value <= 2 ? value : ToolbarLayout::kDefaultTextOptions;
}

int ValidIconOption(int value) {
  return value == 0 || value == 1 ? value : ToolbarLayout::kDefaultIconOptions;
}

}  // namespace

ToolbarButton MakeToolbarSeparator() {
  return ToolbarButton{};
}

ToolbarButton MakeToolbarButton(int commandId) {
  for (const KnownButton& known : kDefaultButtons) {
    if (known.commandId != commandId || commandId == 0) continue;
    std::uint8_t style = ToolbarStyle::kAutoSize;
    if (known.showText) style |= ToolbarStyle::kShowText;
    if (known.dropDown) style |= ToolbarStyle::kWholeDropDown;
    return {commandId, known.bitmap, kToolbarStateEnabled, style};
  }
  return {commandId, -1, kToolbarStateEnabled, ToolbarStyle::kAutoSize};
}

ToolbarLayout DefaultToolbarLayout() {
  ToolbarLayout layout;
  for (const KnownButton& known : kDefaultButtons) {
    if (!known.shownByDefault) continue;
    layout.buttons.push_back(known.commandId == 0 ? MakeToolbarSeparator()
                                                  : MakeToolbarButton(known.commandId));
  }
  return layout;
}

std::vector<int> AvailableToolbarCommands() {
  std::vector<int> ids;
  for (const KnownButton& known : kDefaultButtons)
    if (known.commandId != 0) ids.push_back(known.commandId);
  return ids;
}

bool LoadToolbarState(const std::string& path, ToolbarLayout& layout) {
  if (!FileUtils::FileExists(path)) return true;
  Profile profile;
  if (!profile.Load(path)) return false;
  const int count = profile.GetInt(kSection, "ButtonCount", 0);
  if (count > 0) {
    std::vector<ToolbarButton> buttons;
    for (int i = 0; i < count && i < kMaxButtons; ++i) {
      const std::string section = ButtonSection(static_cast<std::size_t>(i));
      ToolbarButton button;
      button.commandId = profile.GetInt(section, "CommandID", -1);
      button.bitmap = profile.GetInt(section, "BitmapImage", -1);
      // Kept as bytes, as the toolbar holds them: -1 becomes 255.
      button.state = static_cast<std::uint8_t>(profile.GetInt(section, "State", -1));
      button.style = static_cast<std::uint8_t>(profile.GetInt(section, "Style", -1));
      buttons.push_back(button);
    }
    layout.buttons = std::move(buttons);
  }
  layout.textOptions = ValidTextOption(profile.GetInt(kSection, "TextOptions", layout.textOptions));
  layout.iconOptions = ValidIconOption(profile.GetInt(kSection, "IconOptions", layout.iconOptions));
  return true;
}

bool SaveToolbarState(const std::string& path, const ToolbarLayout& layout) {
  FileUtils::CreateFolderPathExists(FileUtils::GetSplitDirPath(path));
  Profile profile = Profile::FromText("; " + FileUtils::GetSplitFileName(path) + "\r\n");
  if (!layout.buttons.empty()) {
    profile.WriteInt(kSection, "TextOptions", ValidTextOption(layout.textOptions));
    profile.WriteInt(kSection, "IconOptions", ValidIconOption(layout.iconOptions));
    profile.WriteInt(kSection, "ButtonCount", static_cast<int>(layout.buttons.size()));
    for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
      const ToolbarButton& button = layout.buttons[i];
      const std::string section = ButtonSection(i);
      profile.WriteInt(section, "CommandID", button.commandId);
      profile.WriteInt(section, "BitmapImage", button.bitmap);
      profile.WriteInt(section, "State", button.state);
      profile.WriteInt(section, "Style", button.style);
    }
  }
  return profile.SaveAs(path);
}

}  // namespace pictavo::app
