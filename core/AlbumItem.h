#pragma once

// One listed file: its path, twenty property texts, five numbers and the note.

#include <cstdint>
#include <string>

namespace pictavo {

struct ALBUMITEM {
  std::string fullPath;
  std::string name;               // column 0
  std::string folder;             // column 1
  std::string sizeText;           // column 2
  std::string typeText;           // column 3
  std::string modifiedText;       // column 4
  std::string createdText;        // column 5
  std::string accessedText;       // column 6
  std::string attributesText;     // column 7
  std::string dateTakenText;      // column 8
  std::string dateDigitizedText;  // column 10
  std::string exifDateTimeText;   // column 11
  std::string dimensionsText;     // column 9
  std::string cameraMaker;        // column 12
  std::string cameraModel;        // column 13
  std::string exifVersion;        // column 14
  std::string software;           // column 15
  std::string exposureProgram;    // column 16
  std::string xResolutionText;    // column 17
  std::string yResolutionText;    // column 18
  std::string note;               // column 19
  // Further rows for photo pages, not list columns (PropertyColumns 20 to 24).
  std::string fNumberText;
  std::string exposureTimeText;
  std::string isoSpeedText;
  std::string focalLengthText;
  std::string lensText;
  std::int64_t size = 0;
  std::int32_t width = 0;  // 0: no value
  std::int32_t height = 0;
  std::int32_t xResolution = 0;  // 0: no value
  std::int32_t yResolution = 0;
};

}  // namespace pictavo
