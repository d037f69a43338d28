#pragma once

// Every key of the Options\ sections of the settings file, with its built-in default.
// Member names are the keys; one nested record per section, in file order.

#include <cstdint>
#include <filesystem>
#include <string>

namespace pictavo {

using COLORREF = std::uint32_t;  // 0x00BBGGRR, as stored in the settings file

struct Settings {
  struct General {
    int StartupAddress = 0;
    std::string Address;
    int AddressHistory = 8;
  } General;

  struct View {
    int ReadOnly = 1;
    int Hidden = 1;
    int System = 0;
    int GIF = 0;
    int JPEG = 1;
    int PNG = 0;
    int TIFF = 1;
    int AllFile = 0;
  } View;

  struct Layout {
    int ShowGridlines = 0;
    int ShowAlternatingRowColors = 0;
    COLORREF AlternatingRowColorsTextBkOdd = 0xFFFFFF;
    COLORREF AlternatingRowColorsTextBkEven = 0xE6E6E6;
  } Layout;

  struct Output {
    std::string FileName = "index";
    std::string FolderName = "Pictavo";  // string 57344
    std::string Location;                // documents folder / Pictavo, filled by LoadSettings
    int ShowOutputSettings = 1;
    int OpenFile = 1;
    int OpenFileProgram = 0;
    int OpenProgramApps = 0;
    std::string OpenProgramKey = "IEXPLORE.EXE";
    std::string OpenProgram;
    std::string PageFileName = "page";
    std::string SourceName = "src";
    std::string PhotoName = "photos";
    std::string ThumbnailName = "thumbs";
  } Output;

  struct OutputStyle {
    int Style = 0;  // 0 thumbnail, 1 album, 2 slideshow
    int StyleDesign = 0;
  } OutputStyle;

  struct OutputPage {
    std::string Title = "ピクタボ";      // 10411
    std::string Header = "フォト 一覧";  // 10412
    int ViewLinkPhotoPage = 1;
    int NaviCount = 10;
    int ViewLinkThumbnailPage = 1;
    std::string LinkThumbnailPage = "フォト 一覧";  // 10423
    int ViewLinkHomePageThumbnailPage = 0;
    int ViewLinkHomePagePhotoPage = 0;
    std::string LinkHomePage = "ホームページ";  // 10424
    std::string LinkHomePageURL = "http://";    // 10425
    std::string FooterCopyright;                // 10413, filled by LoadSettings
  } OutputPage;

  struct OutputPhoto {
    int PhotoSize = 3;
    int PhotoDimensions = 1280;
    int ViewItem = 1;
    int ViewNote = 1;
  } OutputPhoto;

  struct OutputThumbnail {
    int ThumbnailSize = 0;
    int ThumbnailImageLink = 1;
    int Column = 5;
    int Row = 3;
    int ViewName = 1;
  } OutputThumbnail;

  struct OutputSlideshow {
    int Play = 0;
    std::string Duration = "3.0";  // kept as the text the file holds
    int Repeat = 0;
    int RepeatLimit = 3;
    int PhotoSize = 2;
    int PhotoDimensions = 1280;
    int ViewName = 1;
    int ViewNote = 1;
  } OutputSlideshow;

  struct Update {
    int Enabled = 1;
    int Interval = 1;
  } Update;

  // The finished photos and thumbnails kept for re-runs and previews, in MB; 0 keeps none.
  struct Cache {
    int ImageCacheSize = 4096;
  } Cache;

  // Derived from Update.Interval after loading; never stored.
  int CheckPeriodDays = 7;
};

}  // namespace pictavo
