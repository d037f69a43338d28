// Writes a five-photo slideshow album for the browser tests and describes it in fixture.json.
//
//   pictavo_slideshow_album <folder> [Key=Value ...]
//
// Keys are those of Options\OutputSlideshow (Play, Duration, Repeat, RepeatLimit, PhotoSize,
// PhotoDimensions, ViewName, ViewNote). Sources go to <folder>/source, the album to
// <folder>/album. Exit status 0 on success, 1 with a message on standard error otherwise.

#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "album/OutputRun.h"
#include "album/Slideshow.h"
#include "core/FileUtils.h"
#include "core/PathUtils.h"
#include "items/ItemList.h"
#include "support/Fixtures.h"
#include "support/RecordingHost.h"

namespace {

using namespace pictavo;

struct Photo {
  const char* name;
  const char* note;
  int width;
  int height;
  testing::ImageFormat format;
};

// Names and notes that a script or URL written without care would break.
const Photo kPhotos[] = {
    {"01 sunrise.jpg", "Tom & <Jerry>", 1200, 900, testing::ImageFormat::Jpeg},
    {"02 #hash & 100%.jpg", "", 900, 1200, testing::ImageFormat::Jpeg},
    {"03 \"quoted\" [NOTE].jpg", "二行の\nメモ", 800, 800, testing::ImageFormat::Jpeg},
    {"04 写真.png", "plain", 2000, 1000, testing::ImageFormat::Png},
    {"05-last.jpg", "quote \" and \\ backslash", 640, 480, testing::ImageFormat::Jpeg},
};

bool SetValue(Settings& settings, const std::string& key, const std::string& value) {
  auto& show = settings.OutputSlideshow;
  if (key == "Duration") {
    show.Duration = value;
    return true;
  }
  int* target = key == "Play"              ? &show.Play
                : key == "Repeat"          ? &show.Repeat
                : key == "RepeatLimit"     ? &show.RepeatLimit
                : key == "PhotoSize"       ? &show.PhotoSize
                : key == "PhotoDimensions" ? &show.PhotoDimensions
                : key == "ViewName"        ? &show.ViewName
                : key == "ViewNote"        ? &show.ViewNote
                                           : nullptr;
  if (target == nullptr) return false;
  *target = std::stoi(value);
  return true;
}

std::string Quoted(const std::string& text) {
  return "\"" + Slideshow::GetScriptStringText(text) + "\"";
}

int Run(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: pictavo_slideshow_album <folder> [Key=Value ...]\n";
    return 1;
  }
  Settings settings;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    const auto eq = arg.find('=');
    if (eq == std::string::npos || !SetValue(settings, arg.substr(0, eq), arg.substr(eq + 1))) {
      std::cerr << "unknown setting: " << arg << '\n';
      return 1;
    }
  }
  const std::string folder = argv[1];
  const std::string source = FileUtils::GetCombinePath(folder, "source");
  const std::string album = FileUtils::GetCombinePath(folder, "album");
  FileUtils::CreateFolderPathExists(source);
  FileUtils::CreateFolderPathExists(album);

  ItemList list;
  for (const Photo& photo : kPhotos) {
    const std::string path = FileUtils::GetCombinePath(source, photo.name);
    testing::WriteImage(path, photo.width, photo.height, photo.format);
    ALBUMITEM item;
    item.fullPath = path;
    item.name = photo.name;
    item.note = photo.note;
    const int row = list.InsertRow(list.AddItem(std::move(item)));
    list.SetRowChecked(row, true);
  }

  Runtime runtime;
  LoadDesigns(runtime);
  testing::RecordingHost host;
  const std::string page = FileUtils::GetCombinePath(album, "index.html");
  const std::string header = "ヘッダー &amp; <b>markup</b>";
  // The whole output run of a slideshow: photos, page, script, images and style sheets.
  OutputRun output(list, settings, host, runtime);
  output.SetListedFolder(source);
  const bool ok = output.GenerateOutput(kOutputSlideshow, page, "スライドショー", header);
  for (const auto& text : host.MessageTexts()) std::cerr << "message: " << text << '\n';
  if (!ok || !host.MessageTexts().empty()) {
    std::cerr << "the slideshow was not written\n";
    return 1;
  }

  std::ofstream out(FileUtils::GetCombinePath(folder, "fixture.json"), std::ios::binary);
  out << "{\"page\": " << Quoted(page) << ",\n \"header\": " << Quoted("ヘッダー & markup")
      << ",\n \"items\": [";
  for (size_t i = 0; i < std::size(kPhotos); ++i) {
    const Photo& p = kPhotos[i];
    out << (i ? ",\n  " : "\n  ") << "{\"name\": " << Quoted(p.name)
        << ", \"note\": " << Quoted(p.note) << ", \"width\": " << p.width
        << ", \"height\": " << p.height << "}";
  }
  out << "]}\n";
  return out.good() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& error) {
    std::cerr << "pictavo_slideshow_album: " << error.what() << '\n';
    return 1;
  }
}
