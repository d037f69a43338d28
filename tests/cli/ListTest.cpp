// list through the binary: the window's scan of a generated folder printed as the copy-all
// text, and the sort choices.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CliRunner.h"
#include "support/Fixtures.h"

namespace pictavo::testing {
namespace {

namespace fs = std::filesystem;

using Line = std::vector<std::string>;

// Splits CRLF lines of quoted fields ("" inside quotes is one quote); a malformed line or a
// bare LF fails the test.
std::vector<Line> ParseCopyText(const std::string& text) {
  std::vector<Line> lines;
  Line fields;
  std::string field;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '"') {
      ADD_FAILURE() << "unquoted field at byte " << i;
      return lines;
    }
    ++i;
    field.clear();
    for (;; ++i) {
      if (i >= text.size()) {
        ADD_FAILURE() << "unterminated field";
        return lines;
      }
      if (text[i] == '"') {
        if (i + 1 < text.size() && text[i + 1] == '"') {
          field += '"';
          ++i;
          continue;
        }
        ++i;
        break;
      }
      field += text[i];
    }
    fields.push_back(field);
    if (text.compare(i, 1, ",") == 0) {
      ++i;
    } else if (text.compare(i, 2, "\r\n") == 0) {
      i += 2;
      lines.push_back(fields);
      fields.clear();
    } else {
      ADD_FAILURE() << "no comma or CR LF after a field at byte " << i;
      return lines;
    }
  }
  EXPECT_TRUE(fields.empty()) << "last line without CR LF";
  return lines;
}

Line Column(const std::vector<Line>& rows, size_t column) {
  Line values;
  for (size_t i = 1; i < rows.size(); ++i) {
    values.push_back(column < rows[i].size() ? rows[i][column] : "<missing>");
  }
  return values;
}

class ListRun : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(Photos());
    ExifValues exif = SampleExif();
    WriteImage(Photos() / "IMG_10.jpg", 64, 48, ImageFormat::Jpeg, exif);
    exif.make = "Aurora";
    WriteImage(Photos() / "IMG_9.jpg", 300, 200, ImageFormat::Jpeg, exif);
    exif.make = "Brightfield";
    WriteImage(Photos() / "comma, \"quote\".jpg", 32, 32, ImageFormat::Jpeg, exif);
    ExifValues scanner;
    scanner.make = "Duneway";
    WriteImage(Photos() / "scan.tif", 20, 40, ImageFormat::Tiff, scanner);
    // Not listed with the default view settings.
    WriteImage(Photos() / "screen.png", 10, 10, ImageFormat::Png);
    WriteImage(Photos() / "loop.gif", 10, 10, ImageFormat::Gif);
    fs::create_directory(Photos() / "sub folder");
    WriteImage(Photos() / "sub folder" / "deep.jpg", 10, 10, ImageFormat::Jpeg);
  }
  fs::path Photos() const { return m_home / "photos"; }

  CliResult List(std::vector<std::string> options) {
    CliRun run;
    run.home = m_home.Path().string();
    run.args = {"list"};
    run.args.insert(run.args.end(), options.begin(), options.end());
    run.args.push_back(Photos().string());
    return RunCli(run);
  }

  TempDir m_home;
};

TEST_F(ListRun, PrintsTheHeaderAndOneQuotedLinePerListedFile) {
  const CliResult result = List({});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_FALSE(HasEscapeCode(result.out + result.err));
  const std::vector<Line> rows = ParseCopyText(result.out);
  ASSERT_EQ(rows.size(), 5u) << result.out;
  for (const Line& row : rows) EXPECT_EQ(row.size(), 20u);
  EXPECT_EQ(rows[0][0], "名前");
  EXPECT_EQ(rows[0][8], "撮影日時");
  // Names in the window's order: numbers by value, without regard to case.
  EXPECT_EQ(Column(rows, 0), (Line{"comma, \"quote\".jpg", "IMG_9.jpg", "IMG_10.jpg", "scan.tif"}));
  for (const std::string& folder : Column(rows, 1)) EXPECT_EQ(folder, Photos().string());
  EXPECT_EQ(Column(rows, 9), (Line{"32 x 32", "300 x 200", "64 x 48", "20 x 40"}));
  EXPECT_EQ(Column(rows, 12), (Line{"Brightfield", "Aurora", "Maker & Sons", "Duneway"}));
  EXPECT_EQ(Column(rows, 13), (Line{"Model <X> 100", "Model <X> 100", "Model <X> 100", ""}));
  EXPECT_EQ(Column(rows, 19), (Line{"", "", "", ""})) << "no notes";
}

TEST_F(ListRun, SortsByTheChosenColumnInEitherDirection) {
  const struct {
    const char* what;
    std::vector<std::string> options;
    Line names;
  } rows[] = {
      {"by name, descending",
       {"--descending"},
       {"scan.tif", "IMG_10.jpg", "IMG_9.jpg", "comma, \"quote\".jpg"}},
      {"by dimensions, as a number",
       {"--sort", "9"},
       {"scan.tif", "comma, \"quote\".jpg", "IMG_10.jpg", "IMG_9.jpg"}},
      {"by maker, by its title",
       {"--sort", "カメラの製造元", "--descending"},
       {"IMG_10.jpg", "scan.tif", "comma, \"quote\".jpg", "IMG_9.jpg"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const CliResult result = List(row.options);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(Column(ParseCopyText(result.out), 0), row.names);
  }
}

TEST_F(ListRun, ViewSettingsFromTheSettingsFileChangeWhatIsListed) {
  const fs::path settings = m_home / "view.ini";
  {
    std::ofstream out(settings, std::ios::binary);
    out << "[Options\\View]\r\nPNG=1\r\n";
  }
  const CliResult result = List({"--settings", settings.string()});
  ASSERT_EQ(result.status, 0) << result.err;
  const Line names = Column(ParseCopyText(result.out), 0);
  EXPECT_NE(std::find(names.begin(), names.end(), "screen.png"), names.end()) << result.out;

  // The same filter tried for one run only.
  const CliResult tried = List({"--set", "Options\\View", "PNG", "1"});
  ASSERT_EQ(tried.status, 0) << tried.err;
  EXPECT_EQ(Column(ParseCopyText(tried.out), 0), names);
}

TEST_F(ListRun, AnEmptyFolderPrintsNothingAndSucceeds) {
  TempDir empty;
  const CliResult result = RunCli({"list", empty.Path().string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(result.out.empty()) << result.out;
}

}  // namespace
}  // namespace pictavo::testing
