#include "core/SettingsStore.h"

#include <strings.h>

#include "core/FileUtils.h"
#include "core/SettingsFileLock.h"
#include "core/StringUtils.h"

namespace pictavo {

namespace {

// The string-table defaults, loaded at the moment of loading.
constexpr StringId kApplicationTitle = StringId::ApplicationTitle;
constexpr StringId kPageTitle = StringId::DefaultPageTitle;
constexpr StringId kPageHeader = StringId::DefaultPageHeader;
constexpr StringId kFooterCopyright = StringId::DefaultCopyright;
constexpr StringId kLinkThumbnailPage = StringId::ThumbnailPageLink;
constexpr StringId kLinkHomePage = StringId::HomePageLink;
constexpr StringId kLinkHomePageURL = StringId::HomePageUrlPrefix;

// Load and save walk the keys through one list, so their order can never drift apart.
template <typename S, typename Visitor>
void VisitOptions(S& s, Visitor& v) {
  v.Section("Options\\General");
  v.Int("StartupAddress", s.General.StartupAddress);
  v.Text("Address", s.General.Address);
  v.Int("AddressHistory", s.General.AddressHistory);

  v.Section("Options\\View");
  v.Int("ReadOnly", s.View.ReadOnly);
  v.Int("Hidden", s.View.Hidden);
  v.Int("System", s.View.System);
  v.Int("GIF", s.View.GIF);
  v.Int("JPEG", s.View.JPEG);
  v.Int("PNG", s.View.PNG);
  v.Int("TIFF", s.View.TIFF);
  v.Int("AllFile", s.View.AllFile);

  v.Section("Options\\Layout");
  v.Int("ShowGridlines", s.Layout.ShowGridlines);
  v.Int("ShowAlternatingRowColors", s.Layout.ShowAlternatingRowColors);
  v.Colour("AlternatingRowColorsTextBkOdd", s.Layout.AlternatingRowColorsTextBkOdd);
  v.Colour("AlternatingRowColorsTextBkEven", s.Layout.AlternatingRowColorsTextBkEven);

  v.Section("Options\\Output");
  v.Text("FileName", s.Output.FileName);
  v.Text("FolderName", s.Output.FolderName);
  v.Text("Location", s.Output.Location);
  v.Int("ShowOutputSettings", s.Output.ShowOutputSettings);
  v.Int("OpenFile", s.Output.OpenFile);
  v.Int("OpenFileProgram", s.Output.OpenFileProgram);
  v.Int("OpenProgramApps", s.Output.OpenProgramApps);
  v.Text("OpenProgramKey", s.Output.OpenProgramKey);
  v.Text("OpenProgram", s.Output.OpenProgram);
  v.Text("PageFileName", s.Output.PageFileName);
  v.Text("SourceName", s.Output.SourceName);
  v.Text("PhotoName", s.Output.PhotoName);
  v.Text("ThumbnailName", s.Output.ThumbnailName);

  v.Section("Options\\OutputStyle");
  v.Int("Style", s.OutputStyle.Style);
  v.Int("StyleDesign", s.OutputStyle.StyleDesign);

  v.Section("Options\\OutputPage");
  v.Text("Title", s.OutputPage.Title);
  v.Text("Header", s.OutputPage.Header);
  v.Int("ViewLinkPhotoPage", s.OutputPage.ViewLinkPhotoPage);
  v.Int("NaviCount", s.OutputPage.NaviCount);
  v.Int("ViewLinkThumbnailPage", s.OutputPage.ViewLinkThumbnailPage);
  v.Text("LinkThumbnailPage", s.OutputPage.LinkThumbnailPage);
  v.Int("ViewLinkHomePageThumbnailPage", s.OutputPage.ViewLinkHomePageThumbnailPage);
  v.Int("ViewLinkHomePagePhotoPage", s.OutputPage.ViewLinkHomePagePhotoPage);
  v.Text("LinkHomePage", s.OutputPage.LinkHomePage);
  v.Text("LinkHomePageURL", s.OutputPage.LinkHomePageURL);
  v.Text("FooterCopyright", s.OutputPage.FooterCopyright);

  v.Section("Options\\OutputPhoto");
  v.Int("PhotoSize", s.OutputPhoto.PhotoSize);
  v.Int("PhotoDimensions", s.OutputPhoto.PhotoDimensions);
  v.Int("ViewItem", s.OutputPhoto.ViewItem);
  v.Int("ViewNote", s.OutputPhoto.ViewNote);

  v.Section("Options\\OutputThumbnail");
  v.Int("ThumbnailSize", s.OutputThumbnail.ThumbnailSize);
  v.Int("ThumbnailImageLink", s.OutputThumbnail.ThumbnailImageLink);
  v.Int("Column", s.OutputThumbnail.Column);
  v.Int("Row", s.OutputThumbnail.Row);
  v.Int("ViewName", s.OutputThumbnail.ViewName);

  v.Section("Options\\OutputSlideshow");
  v.Int("Play", s.OutputSlideshow.Play);
  v.Text("Duration", s.OutputSlideshow.Duration);
  v.Int("Repeat", s.OutputSlideshow.Repeat);
  v.Int("RepeatLimit", s.OutputSlideshow.RepeatLimit);
  v.Int("PhotoSize", s.OutputSlideshow.PhotoSize);
  v.Int("PhotoDimensions", s.OutputSlideshow.PhotoDimensions);
  v.Int("ViewName", s.OutputSlideshow.ViewName);
  v.Int("ViewNote", s.OutputSlideshow.ViewNote);

  v.Section("Options\\Update");
  v.Int("Enabled", s.Update.Enabled);
  v.Int("Interval", s.Update.Interval);

  v.Section("Options\\Cache");
  v.Int("ImageCacheSize", s.Cache.ImageCacheSize);
}

class Loader {
 public:
  explicit Loader(const Profile& profile) : m_profile(profile) {}
  void Section(const char* name) { m_section = name; }
  void Int(const char* key, int& value) { value = m_profile.GetInt(m_section, key, value); }
  void Text(const char* key, std::string& value) {
    value = m_profile.GetString(m_section, key, value);
  }
  void Colour(const char* key, COLORREF& value) {
    const std::string text =
        m_profile.GetString(m_section, key, StringUtils::DWORDNumberToString(value));
    value = StringUtils::StringToDWORDNumber(text);
  }

 private:
  const Profile& m_profile;
  std::string m_section;
};

class Saver {
 public:
  explicit Saver(Profile& profile) : m_profile(profile) {}
  void Section(const char* name) { m_section = name; }
  void Int(const char* key, int value) { m_profile.WriteInt(m_section, key, value); }
  void Text(const char* key, const std::string& value) {
    m_profile.WriteString(m_section, key, value);
  }
  void Colour(const char* key, COLORREF value) {
    m_profile.WriteString(m_section, key, StringUtils::DWORDNumberToString(value));
  }

 private:
  Profile& m_profile;
  std::string m_section;
};

}  // namespace

std::string CheckAlbumFileName(const std::string& section, const std::string& key,
                               const std::string& value) {
  static const char* const kNameKeys[] = {"FileName", "PageFileName", "PhotoName", "ThumbnailName",
                                          "SourceName"};
  if (strcasecmp(section.c_str(), "Options\\Output") != 0) return {};
  for (const char* name : kNameKeys) {
    if (strcasecmp(key.c_str(), name) != 0) continue;
    if (FileUtils::IsValidFolderName(value)) return {};
    return "Options\\Output " + std::string(name) + " \"" + value +
           "\" is not a usable name: it must be one name inside the album folder, not empty, "
           "\".\" or \"..\", without \\ / : * ? \" < > | or control characters";
  }
  return {};
}

std::string CheckAlbumFileNames(const Settings& settings) {
  const std::pair<const char*, const std::string*> names[] = {
      {"FileName", &settings.Output.FileName},
      {"PageFileName", &settings.Output.PageFileName},
      {"PhotoName", &settings.Output.PhotoName},
      {"ThumbnailName", &settings.Output.ThumbnailName},
      {"SourceName", &settings.Output.SourceName}};
  for (const auto& [key, value] : names) {
    if (std::string error = CheckAlbumFileName("Options\\Output", key, *value); !error.empty()) {
      return error;
    }
  }
  return {};
}

void UpdateCheckPeriod(Settings& settings) {
  switch (settings.Update.Interval) {
    case 0:
      settings.CheckPeriodDays = 1;
      break;
    case 1:
      settings.CheckPeriodDays = 7;
      break;
    case 2:
      settings.CheckPeriodDays = 30;
      break;
    default:
      break;
  }
}

void ReadSettings(Settings& settings, const Profile& profile) {
  const std::string title = StringUtils::GetLoadString(kApplicationTitle);
  settings.Output.FolderName = title;
  settings.Output.Location = FileUtils::GetCombinePath(FileUtils::GetPersonalPath(), title);
  settings.OutputPage.Title = StringUtils::GetLoadString(kPageTitle);
  settings.OutputPage.Header = StringUtils::GetLoadString(kPageHeader);
  settings.OutputPage.LinkThumbnailPage = StringUtils::GetLoadString(kLinkThumbnailPage);
  settings.OutputPage.LinkHomePage = StringUtils::GetLoadString(kLinkHomePage);
  settings.OutputPage.LinkHomePageURL = StringUtils::GetLoadString(kLinkHomePageURL);
  settings.OutputPage.FooterCopyright = StringUtils::GetLoadString(kFooterCopyright);

  Loader loader(profile);
  VisitOptions(settings, loader);

  if (!FileUtils::FileExists(settings.General.Address)) settings.General.Address.clear();
  UpdateCheckPeriod(settings);
}

void LoadSettings(Settings& settings, const Profile& profile) {
  ReadSettings(settings, profile);
  if (!FileUtils::FileExists(settings.Output.Location)) {
    // The output run reports a folder it cannot use; here a failure is not the user's concern.
    FileUtils::CreateFolderPathExists(settings.Output.Location);
  }
}

void SaveSettings(const Settings& settings, Profile& profile) {
  Saver saver(profile);
  VisitOptions(settings, saver);
}

bool LoadSettingsFile(const std::filesystem::path& path, Settings& settings) {
  Profile profile;
  const bool loaded = profile.Load(path);
  LoadSettings(settings, profile);
  return loaded;
}

bool SaveSettingsFile(const std::filesystem::path& path, const Settings& settings,
                      const std::string& windowPos) {
  if (path.has_parent_path() && !FileUtils::CreateFolderPathExists(path.parent_path())) {
    return false;
  }
  // A command-line config set may be changing the same file at this moment.
  SettingsFileLock lock(path);
  if (!lock.Lock()) return false;
  lock.RemoveStaleTemporaryFiles();
  Profile profile =
      Profile::FromText("; " + path.filename().string() + "\r\n", Profile::Encoding::Utf16Le);
  if (!windowPos.empty()) profile.WriteString("Settings", "WindowPos", windowPos);
  SaveSettings(settings, profile);
  return profile.SaveAs(path);
}

}  // namespace pictavo
