#include "core/StdioFileEx.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "core/LogUtils.h"
#include "tests/core/CoreTestDir.h"

namespace pictavo {
namespace {

using coretest::ReadBytes;
using coretest::ScratchDir;
using coretest::WriteBytes;

constexpr unsigned kNewFile = CStdioFileEx::modeCreate | CStdioFileEx::modeWrite;
constexpr unsigned kNewUnicodeFile = kNewFile | CStdioFileEx::typeUnicode;

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

std::string Written(const std::string& path, unsigned flags, int codePage, const std::string& text,
                    bool mark = true) {
  CStdioFileEx file;
  file.SetCodePage(codePage);
  file.SetWriteMark(mark);
  EXPECT_TRUE(file.Open(path, flags)) << LogUtils::GetLastErrorMessage();
  EXPECT_TRUE(file.WriteString(text)) << LogUtils::GetLastErrorMessage();
  EXPECT_TRUE(file.Close());
  return ReadBytes(path);
}

std::vector<std::string> ReadLines(const std::string& path, int codePage, bool* unicode = nullptr) {
  CStdioFileEx file;
  file.SetCodePage(codePage);
  EXPECT_TRUE(file.Open(path, CStdioFileEx::modeRead | CStdioFileEx::typeText))
      << LogUtils::GetLastErrorMessage();
  if (unicode) *unicode = file.IsUnicode();
  std::vector<std::string> lines;
  std::string line;
  while (file.ReadString(line)) lines.push_back(line);
  EXPECT_EQ(line, "") << "the end of the file leaves an empty line";
  EXPECT_FALSE(file.ReadString(line)) << "the end stays the end";
  return lines;
}

TEST(CStdioFileEx, StartsNarrowInTheLocaleCharsetWithMarks) {
  CStdioFileEx file;
  EXPECT_FALSE(file.IsUnicode());
  EXPECT_EQ(file.GetCodePage(), -1);
  EXPECT_EQ(file.GetOpenFlags(), 0u);
  EXPECT_FALSE(file.IsOpen());
}

TEST(CStdioFileEx, OpensAlwaysInBinaryMode) {
  ScratchDir dir;
  CStdioFileEx file;
  file.SetCodePage(65001);
  ASSERT_TRUE(file.Open(dir / "a.txt", kNewFile | CStdioFileEx::typeText));
  EXPECT_EQ(file.GetOpenFlags(), kNewFile | CStdioFileEx::typeBinary);
}

TEST(CStdioFileEx, WritesTheBytesOfEachEncoding) {
  struct Row {
    const char* name;
    unsigned flags;
    int codePage;
    std::string text;
    bool mark;
    std::string bytes;
  };
  const std::vector<Row> rows = {
      {"UTF-8 with mark", kNewFile, 65001, "a\r\n", true,
       "\xEF\xBB\xBF"
       "a\r\n"},
      {"UTF-16LE with mark", kNewUnicodeFile, 65001, "a\r\n", true,
       std::string("\xFF\xFE"
                   "a\0\r\0\n\0",
                   8)},
      {"Unicode mode ignores the code page", kNewUnicodeFile, 932, "a", true,
       std::string("\xFF\xFE"
                   "a\0",
                   4)},
      {"UTF-16LE surrogate pair", kNewUnicodeFile, -1, "😀", true,
       std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6)},
      {"ill-formed UTF-8 becomes U+FFFD", kNewUnicodeFile, -1, "\xC3", true, "\xFF\xFE\xFD\xFF"},
      {"932 has no mark", kNewFile, 932, "a漢\r\n", true, "a\x8A\xBF\r\n"},
      {"932 lacks the character", kNewFile, 932, "a😀b", true, "a#b"},
      {"932 lacks it after a kana", kNewFile, 932, "ア€ü", true, "\x83\x41##"},
      {"1252 maps accents and the euro", kNewFile, 1252, "é€", true, "\xE9\x80"},
      {"1252 composes a decomposed accent", kNewFile, 1252, "e\xCC\x81", true, "\xE9"},
      {"1252 lacks Japanese", kNewFile, 1252, "x漢y", true, "x#y"},
      {"UTF-8 without mark", kNewFile, 65001, "abc", false, "abc"},
      {"empty text still gets the mark", kNewFile, 65001, "", true, "\xEF\xBB\xBF"},
      {"UTF-8 keeps a decomposed accent", kNewFile, 65001, "e\xCC\x81", false, "e\xCC\x81"},
      {"hostile name characters", kNewFile, 65001, "&<>\"',%#", false, "&<>\"',%#"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ScratchDir dir;
    EXPECT_EQ(Hex(Written(dir / "out.txt", row.flags, row.codePage, row.text, row.mark)),
              Hex(row.bytes));
  }
}

TEST(CStdioFileEx, AppendingToExistingContentWritesNoSecondMark) {
  ScratchDir dir;
  const std::string path = dir / "notes.txt";
  Written(path, kNewFile, 65001, "one\r\n");
  CStdioFileEx file;
  file.SetCodePage(65001);
  ASSERT_TRUE(file.Open(path, kNewFile | CStdioFileEx::modeNoTruncate));
  EXPECT_EQ(file.Seek(0, CStdioFileEx::end), 8);
  ASSERT_TRUE(file.WriteString("two\r\n"));
  ASSERT_TRUE(file.Close());
  EXPECT_EQ(ReadBytes(path),
            "\xEF\xBB\xBF"
            "one\r\ntwo\r\n");
}

TEST(CStdioFileEx, ReadsTheLinesOfEachEncoding) {
  struct Row {
    const char* name;
    std::string bytes;
    int codePage;
    std::vector<std::string> lines;
    bool unicode;
  };
  const std::vector<Row> rows = {
      {"1252 CR LF", "x\r\ny", 1252, {"x", "y"}, false},
      {"1252 upper half", "\xE9\x80\n", 1252, {"é€"}, false},
      {"FF FE means Unicode whatever the code page",
       std::string("\xFF\xFE"
                   "a\0\n\0",
                   6),
       1252,
       {"a"},
       true},
      {"Unicode CR LF and a last line without LF",
       std::string("\xFF\xFE"
                   "a\0\r\0\n\0b\0",
                   10),
       65001,
       {"a", "b"},
       true},
      {"Unicode LF byte inside a character does not split",
       std::string("\xFF\xFE\x0A\x01\n\x00", 6),
       -1,
       {"Ċ"},
       true},
      {"Unicode odd last byte",
       std::string("\xFF\xFE"
                   "a\0b",
                   5),
       -1,
       {"a\xEF\xBF\xBD"},
       true},
      {"Unicode mark only", "\xFF\xFE", -1, {}, true},
      {"UTF-8 with mark",
       "\xEF\xBB\xBF"
       "abc\n",
       65001,
       {"abc"},
       false},
      {"UTF-8 without mark keeps its first bytes", "abcdef\n", 65001, {"abcdef"}, false},
      {"UTF-8 shorter than a mark", "ab", 65001, {"ab"}, false},
      {"UTF-8 Japanese without mark", "写真\r\n", 65001, {"写真"}, false},
      {"ill-formed UTF-8 becomes U+FFFD", "\xFF\n", 65001, {"\xEF\xBF\xBD"}, false},
      {"932", "\x8A\xBF\x83\x41\n", 932, {"漢ア"}, false},
      {"empty file", "", 65001, {}, false},
      {"empty lines", "\n\r\n\r\n", 1252, {"", "", ""}, false},
      {"only one carriage return is dropped", "a\r\r\n", 1252, {"a\r"}, false},
      {"a carriage return inside a line stays", "a\rb\n", 1252, {"a\rb"}, false},
      {"NUL inside a line stays", std::string("a\0b\n", 4), 1252, {std::string("a\0b", 3)}, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ScratchDir dir;
    WriteBytes(dir / "in.txt", row.bytes);
    bool unicode = !row.unicode;
    EXPECT_EQ(ReadLines(dir / "in.txt", row.codePage, &unicode), row.lines);
    EXPECT_EQ(unicode, row.unicode);
  }
}

TEST(CStdioFileEx, LinesOfAnyLengthAreReadWhole) {
  struct Row {
    const char* name;
    unsigned flags;
    int codePage;
    std::string line;
  };
  std::string japanese;
  for (int i = 0; i < 10000; ++i) japanese += "漢";
  const std::vector<Row> rows = {
      {"UTF-16 line of 10,000 characters", kNewUnicodeFile, 65001, std::string(10000, 'x')},
      {"UTF-16 Japanese line of 10,000 characters", kNewUnicodeFile, 65001, japanese},
      {"UTF-8 line of 10,000 characters", kNewFile, 65001, std::string(10000, 'y')},
      {"932 line of 10,000 characters", kNewFile, 932, japanese},
      {"1252 line of 100,000 characters", kNewFile, 1252, std::string(100000, 'z')},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ScratchDir dir;
    Written(dir / "long.txt", row.flags, row.codePage, row.line + "\r\nend");
    const std::vector<std::string> lines = ReadLines(dir / "long.txt", row.codePage);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), row.line.size());
    EXPECT_EQ(lines[0], row.line);
    EXPECT_EQ(lines[1], "end");
  }
}

TEST(CStdioFileEx, TextRoundTripsThroughEveryMode) {
  const std::string text = "名前 & <写真> \"1\",'2' 100% #3\r\n\r\nlast";
  const std::vector<std::string> expected = {"名前 & <写真> \"1\",'2' 100% #3", "", "last"};
  struct Row {
    unsigned flags;
    int codePage;
  };
  for (const Row& row :
       {Row{kNewUnicodeFile, -1}, Row{kNewFile, 65001}, Row{kNewFile, 932}, Row{kNewFile, -1}}) {
    SCOPED_TRACE(row.codePage);
    ScratchDir dir;
    Written(dir / "page.txt", row.flags, row.codePage, text);
    EXPECT_EQ(ReadLines(dir / "page.txt", row.codePage), expected);
  }
}

TEST(CStdioFileEx, SeekingToTheStartSkipsTheMarkAgain) {
  ScratchDir dir;
  WriteBytes(dir / "in.txt",
             "\xEF\xBB\xBF"
             "first\nsecond\n");
  CStdioFileEx file;
  file.SetCodePage(65001);
  ASSERT_TRUE(file.Open(dir / "in.txt", CStdioFileEx::modeRead));
  std::string line;
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(line, "first");
  EXPECT_EQ(file.Seek(0, CStdioFileEx::begin), 0);
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(line, "first");
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(line, "second");
}

TEST(CStdioFileEx, ReadAndWriteOnOneFileKeepTheirPositions) {
  ScratchDir dir;
  const std::string path = dir / "rw.txt";
  WriteBytes(path,
             "\xEF\xBB\xBF"
             "a\nb\n");
  CStdioFileEx file;
  file.SetCodePage(65001);
  ASSERT_TRUE(file.Open(path, CStdioFileEx::modeReadWrite));
  std::string line;
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(line, "a");
  ASSERT_TRUE(file.WriteString("X"));
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(line, "");
  ASSERT_TRUE(file.Close());
  EXPECT_EQ(ReadBytes(path),
            "\xEF\xBB\xBF"
            "a\nX\n");
}

TEST(CStdioFileEx, FailuresAreReportedWithTheirReason) {
  ScratchDir dir;
  WriteBytes(dir / "plain.txt", "x\n");
  struct Row {
    const char* name;
    std::string path;
    unsigned flags;
    int codePage;
    std::string inMessage;
  };
  const std::vector<Row> rows = {
      {"missing file", dir / "missing.txt", CStdioFileEx::modeRead, 65001, "missing.txt"},
      {"folder", dir.Path(), CStdioFileEx::modeRead, 65001, dir.Path()},
      {"missing folder", dir / "no/such/out.txt", kNewFile, 65001, "out.txt"},
      {"unknown code page", dir / "plain.txt", CStdioFileEx::modeRead, 12345, "12345"},
      {"unknown code page for writing", dir / "new.txt", kNewFile, -7, "-7"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    LogUtils::ClearLastError();
    CStdioFileEx file;
    file.SetCodePage(row.codePage);
    EXPECT_FALSE(file.Open(row.path, row.flags));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_NE(LogUtils::GetLastErrorMessage().find(row.inMessage), std::string::npos)
        << LogUtils::GetLastErrorMessage();
  }
  EXPECT_EQ(ReadBytes(dir / "plain.txt"), "x\n") << "a refused open changes nothing";
}

TEST(CStdioFileEx, ANewFileReplacesTheOldOneOnlyWhenClosedWhole) {
  ScratchDir dir;
  const std::string path = dir / "slideshow.js";
  WriteBytes(path, "old");
  {
    CStdioFileEx file;
    file.SetCodePage(65001);
    ASSERT_TRUE(file.Open(path, kNewFile));
    ASSERT_TRUE(file.WriteString("new"));
    EXPECT_EQ(ReadBytes(path), "old") << "nothing of the new file shows before Close";
    ASSERT_TRUE(file.Close());
  }
  EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBFnew");
  {
    coretest::ScopedFileSizeLimit limit(100);
    CStdioFileEx file;
    file.SetCodePage(65001);
    ASSERT_TRUE(file.Open(path, kNewFile));
    const bool wrote = file.WriteString(std::string(100000, 'x'));
    EXPECT_FALSE(wrote && file.Close());
  }
  EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBFnew");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                          std::filesystem::directory_iterator()),
            1)
      << "no temporary file is left behind";
}

TEST(CStdioFileEx, UseOfAClosedFileFails) {
  CStdioFileEx file;
  std::string line = "stale";
  EXPECT_FALSE(file.WriteString("x"));
  EXPECT_FALSE(file.ReadString(line));
  EXPECT_EQ(line, "");
  EXPECT_EQ(file.Seek(0, CStdioFileEx::begin), -1);
  EXPECT_TRUE(file.Close());
}

TEST(CStdioFileEx, AFullDiskIsReportedNotSwallowed) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "/dev/full is not available";
  CStdioFileEx file;
  file.SetCodePage(65001);
  ASSERT_TRUE(file.Open("/dev/full", CStdioFileEx::modeWrite));
  const bool wrote = file.WriteString(std::string(1 << 20, 'x'));
  const bool closed = file.Close();
  EXPECT_FALSE(wrote && closed);
  EXPECT_FALSE(LogUtils::GetLastErrorMessage().empty());
}

TEST(WriteTextFileUtf8, WritesTheMarkAndTextReplacingTheFile) {
  ScratchDir dir;
  const std::string path = dir / "index.html";
  WriteBytes(path, std::string(1000, 'o'));
  ASSERT_TRUE(WriteTextFileUtf8(path, "<p>写真 & 100%</p>\r\n"));
  EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBF<p>写真 & 100%</p>\r\n");
  ASSERT_TRUE(WriteTextFileUtf8(path, ""));
  EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBF");
}

TEST(WriteTextFileUtf8, FailsWithTheReasonWhenItCannotWrite) {
  ScratchDir dir;
  struct Row {
    const char* name;
    std::string path;
  };
  std::vector<Row> rows = {{"missing folder", dir / "no/such/index.html"},
                           {"a folder", dir.Path()}};
  if (std::filesystem::exists("/dev/full")) rows.push_back({"full disk", "/dev/full"});
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    LogUtils::ClearLastError();
    EXPECT_FALSE(WriteTextFileUtf8(row.path, "<p></p>"));
    EXPECT_NE(LogUtils::GetLastErrorMessage().find(row.path), std::string::npos)
        << LogUtils::GetLastErrorMessage();
  }
}

}  // namespace
}  // namespace pictavo
