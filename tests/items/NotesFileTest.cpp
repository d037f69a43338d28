#include "items/NotesFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "items/ItemList.h"
#include "support/Fixtures.h"
#include "support/RecordingHost.h"

namespace pictavo {
namespace {

namespace fs = std::filesystem;
using testing::RecordingHost;

class NotesFileTest : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return m_temp.File(name); }

  testing::TempDir m_temp;
  const fs::path& m_dir = m_temp.Path();
};

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

ItemList ListOfPaths(const std::vector<std::string>& paths) {
  ItemList list;
  for (const auto& path : paths) {
    ALBUMITEM item;
    item.fullPath = path;
    list.InsertRow(list.AddItem(item));
  }
  list.CheckAllRows(true);
  return list;
}

const std::vector<std::string> kHostileNotes = {
    "plain",
    "a,b,,c,",
    "say \"hi\" \"\"",
    "<b>Tom & Jerry</b>",
    "line1\r\nline2\nline3\rline4",
    "\r\n",
    "日本語のメモ、です。「引用」",
    "&amp; &#44; &lt; written literally",
    "& &; &#; &#x; &#xZZ; &#0; &#xD800; &#1114112;",
    "trailing ampersand &",
    "\xFF\xFE invalid UTF-8 \xC3",
    "tab\there",
    " leading and trailing spaces ",
};

TEST(NotesFormat, EncodedTextRoundTripsAndStaysOnOneField) {
  for (const std::string& note : kHostileNotes) {
    SCOPED_TRACE(note);
    const std::string encoded = NotesFormat::EncodeText(note);
    EXPECT_EQ(encoded.find_first_of(",\"\r\n"), std::string::npos);
    EXPECT_EQ(NotesFormat::DecodeText(encoded), note);
  }
}

TEST(NotesFormat, DecodesEntitiesAndKeepsMalformedOnesLiteral) {
  const std::pair<std::string, std::string> rows[] = {
      {"&amp;&lt;&gt;&quot;&apos;", "&<>\"'"},
      {"&#65;&#x42;&#X43;", "ABC"},
      {"&#12354;", "あ"},
      {"&#x1F600;", "\xF0\x9F\x98\x80"},
      {"&#0;", "&#0;"},
      {"&#xD800;", "&#xD800;"},
      {"&#x110000;", "&#x110000;"},
      {"&#99999999999;", "&#99999999999;"},
      {"&unknown;", "&unknown;"},
      {"&AMP;", "&AMP;"},
      {"&amp", "&amp"},
      {"&;", "&;"},
      {"&amp;amp;", "&amp;"},
      {"", ""},
  };
  for (const auto& [encoded, text] : rows) {
    EXPECT_EQ(NotesFormat::DecodeText(encoded), text) << encoded;
  }
}

TEST(NotesFormat, SplitsAtCommasOutsideQuotes) {
  const std::pair<std::string, std::vector<std::string>> rows[] = {
      {"\"a,b\",\"c\",", {"a,b", "c", ""}},
      {"\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}},
      {"plain,text", {"plain", "text"}},
      {"", {""}},
      {",", {"", ""}},
      {"\"unterminated,still", {"unterminated,still"}},
      {"\"a\"tail,b", {"atail", "b"}},
  };
  for (const auto& [line, fields] : rows) {
    EXPECT_EQ(NotesFormat::SplitFields(line), fields) << line;
  }
}

TEST(NotesFormat, ParseRejectsLinesWithoutPathAndNote) {
  std::string path;
  std::string note;
  for (const char* line : {"", "\"only-path\"", "\"\",\"note\",", "garbage"}) {
    EXPECT_FALSE(NotesFormat::ParseLine(line, &path, &note)) << line;
  }
  ASSERT_TRUE(NotesFormat::ParseLine("\"/p/a.jpg\",\"n&#44;1\",", &path, &note));
  EXPECT_EQ(path, "/p/a.jpg");
  EXPECT_EQ(note, "n,1");
}

TEST(NotesFormat, ReadsUtf8WithAndWithoutMarkAndUtf16Le) {
  const std::string text = "\"/p/é.jpg\",\"メモ😀\",\r\n";
  std::string utf16 = "\xFF\xFE";
  // UTF-16LE of the same text, written out by hand for the non-ASCII characters.
  for (char c : std::string("\"/p/")) utf16 += std::string{c, '\0'};
  utf16 += std::string("\xE9\x00", 2);
  for (char c : std::string(".jpg\",\"")) utf16 += std::string{c, '\0'};
  utf16 += std::string("\xE1\x30\xE2\x30\x3D\xD8\x00\xDE", 8);
  for (char c : std::string("\",\r\n")) utf16 += std::string{c, '\0'};
  utf16 += "Z";  // odd last byte
  EXPECT_EQ(NotesFormat::DecodeFileBytes("\xEF\xBB\xBF" + text), text);
  EXPECT_EQ(NotesFormat::DecodeFileBytes(text), text);
  EXPECT_EQ(NotesFormat::DecodeFileBytes(utf16), text);
  EXPECT_EQ(NotesFormat::DecodeFileBytes(std::string("\xFF\xFE\x00\xD8", 4)), "\xEF\xBF\xBD");
}

TEST(NotesFormat, SplitsLinesAtLineFeedsAndDropsTheCarriageReturn) {
  EXPECT_EQ(NotesFormat::SplitLines("a\r\nb\nc\r\r\n\nd"),
            (std::vector<std::string>{"a", "b", "c\r", "", "d"}));
  EXPECT_TRUE(NotesFormat::SplitLines("").empty());
}

TEST_F(NotesFileTest, ListWithoutNotesGivesAZeroByteFile) {
  ItemList list = ListOfPaths({"/p/a.jpg", "/p/b.jpg"});
  list.SetRowNote(0, "typed, then cleared");
  list.SetRowNote(0, "");
  RecordingHost host;
  ASSERT_TRUE(SaveNotesFile(list, PathOf("Note.dat"), host));
  EXPECT_TRUE(fs::exists(PathOf("Note.dat")));
  EXPECT_EQ(fs::file_size(PathOf("Note.dat")), 0u);
  EXPECT_TRUE(host.m_messages.empty());
}

TEST_F(NotesFileTest, WritesOneLinePerNoteInListOrderWithOneMark) {
  ItemList list = ListOfPaths({"/p/b.jpg", "/p/a.jpg", "/p/c.jpg"});
  list.SetRowNote(0, "second, \"quoted\"");
  list.SetRowNote(2, "third");
  list.SetRowChecked(2, false);  // unticked rows are saved too
  RecordingHost host;
  ASSERT_TRUE(SaveNotesFile(list, PathOf("Note.dat"), host));
  EXPECT_EQ(ReadBytes(PathOf("Note.dat")),
            "\xEF\xBB\xBF\"/p/b.jpg\",\"second&#44; &quot;quoted&quot;\",\r\n"
            "\"/p/c.jpg\",\"third\",\r\n");
  EXPECT_EQ(host.m_pump.m_calls, 3);
}

TEST_F(NotesFileTest, HostileNotesAndPathsComeBackUnchanged) {
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < kHostileNotes.size(); ++i) {
    paths.push_back("/photos/a, b \"q\" &amp; 写真 " + std::to_string(i) + ".jpg");
  }
  paths.push_back("/photos/line\nbreak.jpg");
  ItemList saved = ListOfPaths(paths);
  for (std::size_t i = 0; i < kHostileNotes.size(); ++i) {
    saved.SetRowNote(static_cast<int>(i), kHostileNotes[i]);
  }
  saved.SetRowNote(static_cast<int>(kHostileNotes.size()), "note of an odd name");
  RecordingHost host;
  ASSERT_TRUE(SaveNotesFile(saved, PathOf("Note.dat"), host));

  ItemList loaded = ListOfPaths(paths);
  ASSERT_TRUE(LoadNotesFile(loaded, PathOf("Note.dat"), host));
  for (int row = 0; row < saved.RowCount(); ++row) {
    EXPECT_EQ(loaded.RowItem(row).note, saved.RowItem(row).note) << row;
  }
  EXPECT_TRUE(host.m_messages.empty());
}

TEST_F(NotesFileTest, OnlyTheUpperOfTwoRowsForOnePathTakesTheNote) {
  testing::WriteBytes(PathOf("Note.dat"), "\xEF\xBB\xBF\"/p/a.jpg\",\"new\",\r\n");
  ItemList list = ListOfPaths({"/p/b.jpg", "/p/a.jpg", "/p/a.jpg"});
  list.SetRowNote(2, "kept");
  ASSERT_EQ(list.MoveRowUp(2), 1);  // the item with "kept" is now the upper row
  RecordingHost host;
  ASSERT_TRUE(LoadNotesFile(list, PathOf("Note.dat"), host));
  EXPECT_EQ(list.RowItem(0).note, "");
  EXPECT_EQ(list.RowItem(1).note, "new");
  EXPECT_EQ(list.RowItem(2).note, "");
}

TEST_F(NotesFileTest, FileFromAnotherFolderChangesNothing) {
  testing::WriteBytes(PathOf("Note.dat"),
                      "\xEF\xBB\xBF\"/other/a.jpg\",\"x\",\r\n\"/P/A.JPG\",\"y\",\r\n"
                      "\"/p/a.jpg/\",\"z\",\r\nnot a line at all\r\n\r\n");
  ItemList list = ListOfPaths({"/p/a.jpg", "/p/b.jpg"});
  list.SetRowNote(1, "mine");
  RecordingHost host;
  ASSERT_TRUE(LoadNotesFile(list, PathOf("Note.dat"), host));
  EXPECT_EQ(list.RowItem(0).note, "");
  EXPECT_EQ(list.RowItem(1).note, "mine");
}

TEST_F(NotesFileTest, UnreadableOrUnwritableFileShowsTheSystemText) {
  ItemList list = ListOfPaths({"/p/a.jpg"});
  list.SetRowNote(0, "mine");
  struct Row {
    bool save;
    std::string path;
    int error;
  };
  const Row rows[] = {
      {false, PathOf("missing.dat"), ENOENT},
      {false, m_dir.string(), EISDIR},
      {true, PathOf("no/such/folder/Note.dat"), ENOENT},
      {true, m_dir.string(), EISDIR},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.path);
    RecordingHost host;
    const bool ok = r.save ? SaveNotesFile(list, r.path, host) : LoadNotesFile(list, r.path, host);
    EXPECT_FALSE(ok);
    ASSERT_EQ(host.MessageTexts().size(), 1u);
    EXPECT_EQ(host.MessageTexts()[0].rfind(std::strerror(r.error), 0), 0u)
        << host.MessageTexts()[0];
    EXPECT_EQ(list.RowItem(0).note, "mine");
  }
}

TEST_F(NotesFileTest, QuitDuringSaveLeavesTheOldFileWhole) {
  testing::WriteBytes(PathOf("Note.dat"), "old contents");
  ItemList list = ListOfPaths({"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"});
  list.SetRowNote(0, "a");
  RecordingHost host;
  host.m_pump.m_quitAt = {2};
  EXPECT_FALSE(SaveNotesFile(list, PathOf("Note.dat"), host));
  EXPECT_EQ(ReadBytes(PathOf("Note.dat")), "old contents");
}

TEST_F(NotesFileTest, QuitDuringLoadStopsAtThatLine) {
  testing::WriteBytes(PathOf("Note.dat"), "\"/p/a.jpg\",\"1\",\r\n\"/p/b.jpg\",\"2\",\r\n");
  ItemList list = ListOfPaths({"/p/a.jpg", "/p/b.jpg"});
  RecordingHost host;
  host.m_pump.m_quitAt = {2};
  EXPECT_FALSE(LoadNotesFile(list, PathOf("Note.dat"), host));
  EXPECT_EQ(list.RowItem(0).note, "1");
  EXPECT_EQ(list.RowItem(1).note, "");
}

TEST_F(NotesFileTest, CommandsCheckTicksAskForAPathAndConfirm) {
  const std::string file = PathOf("Note.dat");
  ItemList list = ListOfPaths({"/p/a.jpg"});
  list.SetRowNote(0, "n");
  int asked = 0;
  std::optional<std::string> answer = file;
  const NotesPathChooser chooser = [&]() -> std::optional<std::string> {
    ++asked;
    return answer;
  };

  list.CheckAllRows(false);
  RecordingHost host;
  EXPECT_FALSE(SaveNotesCommand(list, host, chooser));
  EXPECT_FALSE(LoadNotesCommand(list, host, chooser));
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(host.MessageTexts(),
            (std::vector<std::string>{"項目を選択してください。", "項目を選択してください。"}));
  EXPECT_EQ(host.m_messages[0].icon, MessageIcon::None);

  list.CheckAllRows(true);
  host.m_messages.clear();
  answer = std::nullopt;  // the user cancels the dialog
  EXPECT_FALSE(SaveNotesCommand(list, host, chooser));
  EXPECT_FALSE(LoadNotesCommand(list, host, chooser));
  answer = PathOf("missing.dat");
  EXPECT_FALSE(LoadNotesCommand(list, host, chooser));
  EXPECT_TRUE(host.m_messages.empty());
  EXPECT_FALSE(fs::exists(PathOf("missing.dat")));

  answer = file;
  EXPECT_TRUE(SaveNotesCommand(list, host, chooser));
  list.SetRowNote(0, "changed");
  EXPECT_TRUE(LoadNotesCommand(list, host, chooser));
  EXPECT_EQ(list.RowItem(0).note, "n");
  ASSERT_EQ(host.m_messages.size(), 2u);
  EXPECT_EQ(host.m_messages[0].text, "ファイルの保存が完了しました。");
  EXPECT_EQ(host.m_messages[1].text, "ファイルの読み込みが完了しました。");
  EXPECT_EQ(host.m_messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(host.m_messages[1].icon, MessageIcon::Information);
}

}  // namespace
}  // namespace pictavo
