// Writes albums of every page kind with one design style for the design browser tests and lists
// their pages in fixture.json.
//
//   pictavo_design_albums <folder> <design id>
//
// Sources go to <folder>/source; the albums to <folder>/thumbnail (large thumbnails over two
// pages, with photo pages when this build writes them), <folder>/album (album style with notes,
// middle thumbnails, large photos), <folder>/small (small thumbnails linking the photos) and
// <folder>/slideshow. Exit status 0 on success, 1 with a message on standard error otherwise.

#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "album/OutputRun.h"
#include "album/PropertyColumns.h"
#include "album/Slideshow.h"
#include "core/FileUtils.h"
#include "core/LogUtils.h"
#include "core/PathUtils.h"
#include "core/StringUtils.h"
#include "items/ItemList.h"
#include "support/Fixtures.h"
#include "support/RecordingHost.h"

#if __has_include("album/PhotoPage.h")
inline constexpr bool kHasPhotoPages = true;
#else
inline constexpr bool kHasPhotoPages = false;
#endif

namespace {

using namespace pictavo;

struct Photo {
  const char* name;
  const char* note;
  int width;
  int height;
};

// Seventeen photos: two more than a page of 5 x 3, in every aspect and one smaller than every
// photo box, with names and notes that are long, unbroken, Japanese, camera-made or full of
// characters a page must escape.
const Photo kPhotos[] = {
    {"01 夕暮れの山.jpg", "峠から見た夕焼け。\n雲が切れて、最後の光が稜線を照らした。", 1600, 1200},
    {"02 #hash & 100%.jpg", "", 900, 1200},
    {"03 <i>not italic.jpg", "Tom & <Jerry>", 1200, 1200},
    {"04 パノラマ.jpg", "横に長い写真", 2400, 600},
    {"05_averyveryverylongfilenamewithoutanyspacesthatmustwrapsomewhere.jpg",
     "averyveryverylongnotewithoutanyspacesthatmustwrapinsideitscellandnotwidenthepage", 1200, 800},
    {"06 縦長.jpg", "", 600, 1600},
    {"07 IMG_20260405_1742.jpg", "短い", 1024, 768},
    {"08 'quoted' \"name\".jpg", "quote \" and \\ backslash", 800, 600},
    {"09 桜.jpg", "", 1200, 900},
    {"10.jpg", "", 900, 900},
    {"11 海.jpg", "一行目\n二行目\n三行目", 1600, 900},
    {"12.jpg", "", 700, 1050},
    {"13 森.jpg", "", 1500, 1000},
    {"14.jpg", "", 1000, 1500},
    {"15 最後の行.jpg", "", 1280, 960},
    {"16 次のページ.jpg", "二ページ目の一枚", 1200, 900},
    {"17 小さな写真.jpg", "", 160, 120},
};
constexpr int kPhotoCount = static_cast<int>(std::size(kPhotos));

std::string Json(const std::string& text) {
  return "\"" + Slideshow::GetScriptStringText(text) + "\"";
}

ALBUMITEM MakeItem(const std::string& path, const Photo& photo) {
  ALBUMITEM item;
  item.fullPath = path;
  item.name = photo.name;
  item.folder = FileUtils::GetSplitDirPath(path);
  item.sizeText = "1.2 MB";
  item.typeText = "JPEG イメージ";
  item.modifiedText = item.createdText = item.accessedText = "2026/04/05 17:42";
  item.attributesText = "A";
  item.dateTakenText = item.dateDigitizedText = item.exifDateTimeText = "2026/04/05 17:42:10";
  item.dimensionsText = std::to_string(photo.width) + " x " + std::to_string(photo.height);
  item.cameraMaker = "Maker & Sons";
  item.cameraModel = "Model 7 <II>";
  item.exifVersion = "0232";
  item.software = "Firmware 1.10";
  item.exposureProgram = "プログラム AE";
  item.xResolutionText = item.yResolutionText = "72 dpi";
  item.note = photo.note;
  item.width = photo.width;
  item.height = photo.height;
  return item;
}

struct PageEntry {
  std::string name;  // label and screenshot name
  std::string path;
  std::string kind;  // thumbnail, photo or slideshow
  int thumbnails = 0;
  int columns = 0;
  int properties = 0;
};

struct Album {
  std::string folder;
  int outputType = kOutputThumbnail;
  Settings settings;
};

bool WriteAlbum(const ItemList& list, const std::string& source, const Album& album,
                const Runtime& runtime) {
  testing::RecordingHost host;
  OutputRun run(list, album.settings, host, runtime);
  run.SetListedFolder(source);
  if (!FileUtils::CreateFolderPathExists(album.folder)) return false;
  const std::string page = FileUtils::GetCombinePath(album.folder, "index.html");
  const auto& title = album.settings.OutputPage.Title;
  const auto& header = album.settings.OutputPage.Header;
  const bool ok = run.GenerateOutput(album.outputType, page, title, header);
  for (const auto& text : host.MessageTexts()) std::cerr << "message: " << text << '\n';
  if (!ok) {
    std::cerr << "album not written: " << album.folder << ": " << LogUtils::GetLastErrorMessage()
              << '\n';
  }
  return ok && host.MessageTexts().empty();
}

int CountShownProperties() {
  NullPump pump;
  const std::string defaults = FileUtils::GetCombinePath(
      FileUtils::GetCombinePath(PathUtils::GetStyleFolderPath(), PathUtils::GetDesignFolderName()),
      PathUtils::GetDefaultsFolderName());
  int shown = 0;
  for (const auto& entry : PropertyColumns::ReadColumnEntries(defaults, "property.ini", pump)) {
    if (entry.shown) ++shown;
  }
  return shown;
}

int Run(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: pictavo_design_albums <folder> <design id>\n";
    return 1;
  }
  const std::string folder = argv[1];
  const int design = std::stoi(argv[2]);
  Runtime runtime;
  LoadDesigns(runtime);
  std::string sheet;
  for (const auto& item : runtime.designs) {
    if (item.id == design) sheet = item.styleSheet;
  }
  if (sheet.empty()) {
    std::cerr << "no design with id " << design << " in styles.xml\n";
    return 1;
  }

  const std::string source = FileUtils::GetCombinePath(folder, "source");
  FileUtils::CreateFolderPathExists(source);
  ItemList list;
  for (const Photo& photo : kPhotos) {
    const std::string path = FileUtils::GetCombinePath(source, photo.name);
    testing::WriteImage(path, photo.width, photo.height, testing::ImageFormat::Jpeg);
    const int row = list.InsertRow(list.AddItem(MakeItem(path, photo)));
    list.SetRowChecked(row, true);
  }

  Settings base;
  base.OutputStyle.StyleDesign = design;
  base.OutputPage.Header = "夏の旅 &amp; <em>2026</em>";
  base.OutputPage.ViewLinkHomePageThumbnailPage = 1;
  base.OutputPage.ViewLinkHomePagePhotoPage = 1;
  base.OutputPage.LinkHomePageURL = "#home";
  base.OutputPage.FooterCopyright = "Copyright &copy; 2026 写真家";
  base.OutputThumbnail.ThumbnailImageLink = kHasPhotoPages ? 1 : 0;

  std::vector<PageEntry> pages;
  const int properties = CountShownProperties();

  Album thumbnail{FileUtils::GetCombinePath(folder, "thumbnail"), kOutputThumbnail, base};
  thumbnail.settings.OutputStyle.Style = 0;
  thumbnail.settings.OutputThumbnail.ThumbnailSize = 0;
  thumbnail.settings.OutputThumbnail.Column = 5;
  thumbnail.settings.OutputThumbnail.Row = 3;
  pages.push_back({"thumbnail-page1", FileUtils::GetCombinePath(thumbnail.folder, "index.html"),
                   "thumbnail", 15, 5});
  pages.push_back({"thumbnail-page2", FileUtils::GetCombinePath(thumbnail.folder, "page2.html"),
                   "thumbnail", kPhotoCount - 15, 5});
  if (kHasPhotoPages) {
    const std::string src = FileUtils::GetCombinePath(thumbnail.folder, "src");
    pages.push_back(
        {"photo-first", FileUtils::GetCombinePath(src, "page1.html"), "photo", 0, 0, properties});
    pages.push_back({"photo-long-name", FileUtils::GetCombinePath(src, "page5.html"), "photo", 0, 0,
                     properties});
    pages.push_back({"photo-portrait", FileUtils::GetCombinePath(src, "page6.html"), "photo", 0, 0,
                     properties});
    // The last photo is the tiny one.
    pages.push_back({"photo-last",
                     FileUtils::GetCombinePath(src, "page" + std::to_string(kPhotoCount) + ".html"),
                     "photo", 0, 0, properties});
  }

  Album albumStyle{FileUtils::GetCombinePath(folder, "album"), kOutputThumbnail, base};
  albumStyle.settings.OutputStyle.Style = 1;
  albumStyle.settings.OutputThumbnail.ThumbnailSize = 1;
  albumStyle.settings.OutputThumbnail.Column = 4;
  albumStyle.settings.OutputThumbnail.Row = 2;
  albumStyle.settings.OutputPhoto.PhotoSize = 1;
  pages.push_back({"album-page1", FileUtils::GetCombinePath(albumStyle.folder, "index.html"),
                   "thumbnail", 8, 4});
  if (kHasPhotoPages) {
    pages.push_back({"photo-large-panorama",
                     FileUtils::GetCombinePath(albumStyle.folder, "src/page4.html"), "photo", 0, 0,
                     properties});
  }

  Album small{FileUtils::GetCombinePath(folder, "small"), kOutputThumbnail, base};
  small.settings.OutputThumbnail.ThumbnailSize = 2;
  small.settings.OutputThumbnail.Column = 8;
  small.settings.OutputThumbnail.Row = 4;
  small.settings.OutputThumbnail.ThumbnailImageLink = 0;
  pages.push_back({"small-page1", FileUtils::GetCombinePath(small.folder, "index.html"),
                   "thumbnail", kPhotoCount, 8});

  Album slideshow{FileUtils::GetCombinePath(folder, "slideshow"), kOutputSlideshow, base};
  pages.push_back(
      {"slideshow", FileUtils::GetCombinePath(slideshow.folder, "index.html"), "slideshow"});

  for (const Album* album : {&thumbnail, &albumStyle, &small, &slideshow}) {
    if (!WriteAlbum(list, source, *album, runtime)) return 1;
  }

  std::ofstream out(FileUtils::GetCombinePath(folder, "fixture.json"), std::ios::binary);
  out << "{\"design\": " << Json(sheet) << ",\n \"photoPages\": " << (kHasPhotoPages ? 1 : 0)
      << ",\n \"pages\": [";
  for (size_t i = 0; i < pages.size(); ++i) {
    const PageEntry& p = pages[i];
    out << (i ? ",\n  " : "\n  ") << "{\"name\": " << Json(p.name) << ", \"path\": " << Json(p.path)
        << ", \"kind\": " << Json(p.kind) << ", \"thumbnails\": " << p.thumbnails
        << ", \"columns\": " << p.columns << ", \"properties\": " << p.properties << "}";
  }
  out << "]}\n";
  return out.good() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& error) {
    std::cerr << "pictavo_design_albums: " << error.what() << '\n';
    return 1;
  }
}
