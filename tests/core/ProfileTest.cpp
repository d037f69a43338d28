#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CoreTestDir.h"
#include "core/LogUtils.h"
#include "core/Profile.h"

namespace pictavo {
namespace {

using coretest::ReadBytes;
using coretest::ScratchDir;
using coretest::WriteBytes;

std::string Utf16Le(const std::u16string& text, bool bom = true) {
  std::string bytes = bom ? "\xFF\xFE" : "";
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

TEST(ProfileRead, SectionsAndKeysIgnoreCase) {
  const Profile profile = Profile::FromText(
      "; comment\r\n[Options\\General]\r\nAddress=/写真\r\n  AddressHistory = 12 \r\n"
      "[OPTIONS\\VIEW]\r\nGIF=1\r\n");
  EXPECT_EQ(profile.GetString("options\\general", "ADDRESS", "x"), "/写真");
  EXPECT_EQ(profile.GetInt("Options\\General", "addresshistory", 8), 12);
  EXPECT_EQ(profile.GetInt("Options\\View", "gif", 0), 1);
  EXPECT_EQ(profile.GetInt("Options\\View", "PNG", 7), 7);
  EXPECT_EQ(profile.GetString("Options\\Missing", "Address", "dflt"), "dflt");
  EXPECT_TRUE(profile.HasSection("options\\view"));
  EXPECT_FALSE(profile.HasKey("Options\\View", "PNG"));
}

TEST(ProfileRead, NonAsciiNamesCompareWithoutCase) {
  const Profile profile = Profile::FromText("[Ärger]\r\nÉtat=1\r\n");
  EXPECT_EQ(profile.GetInt("ärger", "état", 0), 1);
}

TEST(ProfileRead, IntegerValues) {
  const struct {
    const char* value;
    int expected;
  } rows[] = {
      {"5", 5},
      {"-3", -3},
      {"+4", 4},
      {"12abc", 12},
      {"abc", 99},
      {"", 99},
      {"-", 99},
      {"+-5", 99},
      {"--5", 99},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483648},
      {"2147483648", 99},
      {"99999999999999999999", 99},
      {"0x10", 0},
      {"\"7\"", 99},
      {"1.5", 1},
  };
  for (const auto& row : rows) {
    const Profile profile = Profile::FromText(std::string("[S]\r\nK=") + row.value + "\r\n");
    EXPECT_EQ(profile.GetInt("S", "K", 99), row.expected) << row.value;
  }
}

TEST(ProfileRead, OddLinesAreKeptButNeverRead) {
  const Profile profile = Profile::FromText(
      "Orphan=1\n[S]\nno equals sign\n=value without key\n;K=commented\n[broken\nK=2\nK=3\n"
      "[  Spaced  ]\nA = \" padded \"\n");
  EXPECT_FALSE(profile.HasKey("", "Orphan"));
  EXPECT_EQ(profile.GetInt("S", "K", 0), 2);  // the first of two wins
  EXPECT_FALSE(profile.HasKey("S", "no equals sign"));
  EXPECT_EQ(profile.GetString("Spaced", "A", ""), " padded ");
  const std::string text = profile.ToText();
  EXPECT_NE(text.find("no equals sign\r\n"), std::string::npos);
  EXPECT_NE(text.find(";K=commented\r\n"), std::string::npos);
  EXPECT_NE(text.find("[broken\r\n"), std::string::npos);
}

TEST(ProfileWrite, InPlaceAppendedAndNewSection) {
  Profile profile =
      Profile::FromText("[A]\r\nOne=1\r\nTwo=2\r\n\r\n[B]\r\nX=x\r\n", Profile::Encoding::Utf8);
  ASSERT_TRUE(profile.WriteInt("a", "ONE", -7));
  ASSERT_TRUE(profile.WriteString("A", "Three", "3"));
  ASSERT_TRUE(profile.WriteString("C", "New", "値"));
  EXPECT_EQ(profile.ToText(),
            "[A]\r\nOne=-7\r\nTwo=2\r\nThree=3\r\n\r\n[B]\r\nX=x\r\n[C]\r\nNew=値\r\n");
}

TEST(ProfileWrite, ValuesReadBackExactly) {
  const char* values[] = {"",           " leading",   "trailing ",
                          "\"quoted\"", "a=b",        "[S]",
                          ";x",         "ピクタボ",   "Copyright &copy; <b>me</b>",
                          "\"",         "tab\tinside"};
  for (const char* value : values) {
    Profile profile;
    ASSERT_TRUE(profile.WriteString("S", "K", value));
    const Profile reread = Profile::FromText(profile.ToText());
    EXPECT_EQ(reread.GetString("S", "K", "default"), value) << value;
  }
}

TEST(ProfileWrite, LineBreaksInAValueCannotForgeKeys) {
  Profile profile;
  ASSERT_TRUE(profile.WriteString("S", "K", "a\r\n[Options\\General]\nAddress=/etc"));
  const Profile reread = Profile::FromText(profile.ToText());
  EXPECT_FALSE(reread.HasSection("Options\\General"));
  EXPECT_EQ(reread.GetString("S", "K", ""), "a  [Options\\General] Address=/etc");
}

TEST(ProfileWrite, BadNamesAreRefusedAndChangeNothing) {
  const struct {
    const char* section;
    const char* key;
  } rows[] = {{"", "K"},    {"S", ""},   {"S]", "K"}, {"S", "K=V"}, {"S\n[T]", "K"},
              {"S", "K\n"}, {" S", "K"}, {"S", " K"}, {"S", ";K"},  {"S", "[K]"}};
  for (const auto& row : rows) {
    Profile profile = Profile::FromText("[S]\r\nA=1\r\n");
    const std::string before = profile.ToText();
    EXPECT_FALSE(profile.WriteString(row.section, row.key, "v")) << row.section << "/" << row.key;
    EXPECT_EQ(profile.ToText(), before);
  }
}

TEST(ProfileFile, ReadsEveryEncodingAndWritesItBack) {
  ScratchDir dir;
  const struct {
    const char* name;
    std::string bytes;
    Profile::Encoding encoding;
  } rows[] = {
      {"utf16", Utf16Le(u"[S]\r\nK=写真\r\n"), Profile::Encoding::Utf16Le},
      {"utf8bom", "\xEF\xBB\xBF[S]\r\nK=写真\r\n", Profile::Encoding::Utf8Bom},
      {"utf8", "[S]\nK=写真\n", Profile::Encoding::Utf8},
  };
  for (const auto& row : rows) {
    const std::string path = dir / row.name;
    WriteBytes(path, row.bytes);
    Profile profile;
    ASSERT_TRUE(profile.Load(path)) << row.name;
    EXPECT_EQ(profile.GetEncoding(), row.encoding) << row.name;
    EXPECT_EQ(profile.GetString("S", "K", ""), "写真") << row.name;
    ASSERT_TRUE(profile.WriteString("S", "L", "犬"));
    ASSERT_TRUE(profile.Save());

    Profile reread;
    ASSERT_TRUE(reread.Load(path));
    EXPECT_EQ(reread.GetEncoding(), row.encoding) << row.name;
    EXPECT_EQ(reread.GetString("S", "L", ""), "犬") << row.name;
    EXPECT_EQ(reread.GetString("S", "K", ""), "写真") << row.name;
  }
  EXPECT_EQ(ReadBytes(dir / "utf16"), Utf16Le(u"[S]\r\nK=写真\r\nL=犬\r\n"));
  EXPECT_EQ(ReadBytes(dir / "utf8bom"), "\xEF\xBB\xBF[S]\r\nK=写真\r\nL=犬\r\n");
}

TEST(ProfileFile, HostileBytesGiveReadableText) {
  ScratchDir dir;
  const struct {
    const char* name;
    std::string bytes;
    const char* expectedK;
  } rows[] = {
      {"lone surrogate",
       Utf16Le(u"[S]\r\nK=a") + std::string("\x00\xD8", 2) + Utf16Le(u"b\r\n", false),
       "a\xEF\xBF\xBD"
       "b"},
      {"odd byte count", Utf16Le(u"[S]\r\nK=ab") + "\x41", "ab"},
      {"invalid utf8", "[S]\nK=a\xFF\xFE\xC3z\n", "a\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDz"},
      {"nul inside", std::string("[S]\nK=a\0b\n", 11), "ab"},
      {"bom only", "\xFF\xFE", ""},
      {"empty", "", ""},
  };
  for (const auto& row : rows) {
    const std::string path = dir / "f.ini";
    WriteBytes(path, row.bytes);
    Profile profile;
    ASSERT_TRUE(profile.Load(path)) << row.name;
    EXPECT_EQ(profile.GetString("S", "K", ""), row.expectedK) << row.name;
  }
}

TEST(ProfileFile, MissingFileIsEmptyAndHugeFileIsRefused) {
  ScratchDir dir;
  Profile missing;
  EXPECT_TRUE(missing.Load(dir / "none.ini"));
  EXPECT_EQ(missing.GetInt("S", "K", 4), 4);

  const std::string huge = dir / "huge.ini";
  std::filesystem::resize_file((WriteBytes(huge, "[S]\nK=1\n"), huge), Profile::kMaxFileBytes + 1);
  Profile profile;
  LogUtils::ClearLastError();
  EXPECT_FALSE(profile.Load(huge));
  EXPECT_EQ(profile.GetInt("S", "K", 4), 4);
  EXPECT_NE(LogUtils::GetLastErrorMessage().find("huge.ini"), std::string::npos);

  Profile folder;
  EXPECT_FALSE(folder.Load(dir.Path()));
}

TEST(ProfileSave, LeavesNoTemporaryFileAndFollowsLinks) {
  ScratchDir dir;
  const std::string real = dir / "real.ini";
  WriteBytes(real, "[S]\nK=old\n");
  std::filesystem::create_symlink(real, dir / "link.ini");
  Profile profile;
  ASSERT_TRUE(profile.Load(dir / "link.ini"));
  ASSERT_TRUE(profile.WriteString("S", "K", "new"));
  ASSERT_TRUE(profile.Save());
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.ini"));
  EXPECT_EQ(ReadBytes(real), "[S]\nK=new\n") << "its own line ends kept";
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    ++files;
  }
  EXPECT_EQ(files, 2);
}

TEST(ProfileSave, FailedWriteLeavesTheOldFileWhole) {
  ScratchDir dir;
  const std::string path = dir / "Pictavo.ini";
  WriteBytes(path, "[S]\nK=old\n");
  Profile profile;
  ASSERT_TRUE(profile.Load(path));
  ASSERT_TRUE(profile.WriteString("S", "Big", std::string(64 * 1024, 'x')));

  LogUtils::ClearLastError();
  bool saved_ok = true;
  {
    coretest::ScopedFileSizeLimit limit(4096);
    ASSERT_TRUE(limit.Active());
    saved_ok = profile.Save();
  }

  EXPECT_FALSE(saved_ok);
  EXPECT_EQ(LogUtils::GetLastError(), EFBIG);
  EXPECT_EQ(ReadBytes(path), "[S]\nK=old\n");
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    ++files;
  }
  EXPECT_EQ(files, 1);  // the temporary file is gone too
}

TEST(ProfileSave, UnwritableFolderIsReportedAndTheFileKept) {
  ScratchDir dir;
  WriteBytes(dir / "file", "x");
  Profile profile;
  ASSERT_TRUE(profile.WriteString("S", "K", "v"));
  LogUtils::ClearLastError();
  EXPECT_FALSE(profile.SaveAs(dir / "file/below.ini"));  // a file where a folder should be
  EXPECT_EQ(LogUtils::GetLastError(), ENOTDIR);
  EXPECT_FALSE(profile.SaveAs(dir / "missing/x.ini"));
  EXPECT_EQ(LogUtils::GetLastError(), ENOENT);
  EXPECT_EQ(ReadBytes(dir / "file"), "x");
  EXPECT_FALSE(Profile().Save());  // no file name
}

}  // namespace
}  // namespace pictavo
