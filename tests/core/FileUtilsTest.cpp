#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "CoreTestDir.h"
#include "core/FileUtils.h"
#include "core/LogUtils.h"

namespace pictavo {
namespace {

using coretest::ReadBytes;
using coretest::ScopedEnv;
using coretest::ScopedFileSizeLimit;
using coretest::ScratchDir;
using coretest::WriteBytes;

TEST(FileUtilsPaths, CombineSplitAndTrim) {
  const struct {
    const char* a;
    const char* b;
    const char* combined;
  } combine[] = {
      {"/home/u", "Pictavo", "/home/u/Pictavo"},
      {"/home/u/", "Pictavo", "/home/u/Pictavo"},
      {"", "Pictavo", "Pictavo"},
      {"/home/u", "", "/home/u"},
      {"/home/u", "/abs", "/abs"},
      {"/写真", "アルバム 1", "/写真/アルバム 1"},
  };
  for (const auto& row : combine) {
    EXPECT_EQ(FileUtils::GetCombinePath(row.a, row.b), row.combined) << row.a << " + " << row.b;
  }

  const struct {
    const char* path;
    const char* name;
    const char* dir;
    const char* trimmed;
  } split[] = {
      {"/a/b/c.jpg", "c.jpg", "/a/b/", "/a/b/c.jpg"},
      {"c.jpg", "c.jpg", "", "c.jpg"},
      {"/a/b/", "", "/a/b/", "/a/b"},
      {"/", "", "/", "/"},
      {"/a//", "", "/a//", "/a"},
      {"", "", "", ""},
      {"/写真/猫 & 犬.jpg", "猫 & 犬.jpg", "/写真/", "/写真/猫 & 犬.jpg"},
  };
  for (const auto& row : split) {
    EXPECT_EQ(FileUtils::GetSplitFileName(row.path), row.name) << row.path;
    EXPECT_EQ(FileUtils::GetSplitDirPath(row.path), row.dir) << row.path;
    EXPECT_EQ(FileUtils::GetPathRemoveBackslash(row.path), row.trimmed) << row.path;
  }
}

TEST(FileUtilsSizes, DisplayTextsAsTheFileManagerShowsThem) {
  const struct {
    std::int64_t bytes;
    const char* text;
  } rows[] = {
      {-5, "0 バイト"},
      {0, "0 バイト"},
      {1, "1 バイト"},
      {1023, "1023 バイト"},
      {1024, "1 KB"},
      {1536, "1.5 KB"},
      {10239, "9.9 KB"},  // cut, not rounded up to "10 KB"
      {10240, "10 KB"},
      {15 * 1024 + 1000, "15 KB"},
      {1048575, "1023 KB"},
      {1048576, "1 MB"},
      {static_cast<std::int64_t>(2.4 * 1048576) + 1, "2.4 MB"},
      {1073741824LL * 3, "3 GB"},
      {1099511627776LL, "1 TB"},
      {INT64_MAX, "7.9 EB"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(FileUtils::GetFileSize(row.bytes, 0), row.text) << row.bytes;
}

TEST(FileUtilsFiles, ExistenceSizeAndCopy) {
  ScratchDir dir;
  const std::string file = dir / "写真 #1.jpg";
  WriteBytes(file, "12345");
  EXPECT_TRUE(FileUtils::FileExists(file));
  EXPECT_TRUE(FileUtils::FileExists(dir.Path()));
  EXPECT_FALSE(FileUtils::IsDirectory(file));
  EXPECT_TRUE(FileUtils::IsDirectory(dir.Path()));
  EXPECT_FALSE(FileUtils::FileExists(dir / "missing"));
  EXPECT_FALSE(FileUtils::FileExists(""));
  EXPECT_EQ(FileUtils::GetFileSize(file), 5);

  EXPECT_EQ(FileUtils::GetFileSize(dir / "missing"), 0);
  EXPECT_NE(LogUtils::GetLastErrorMessage().find("missing"), std::string::npos);

  const std::string copy = dir / "copy.jpg";
  WriteBytes(copy, "old content that is longer");
  ASSERT_TRUE(FileUtils::CopyFile(file, copy));
  EXPECT_EQ(ReadBytes(copy), "12345");
}

bool HasTemporaryFile(const std::string& folder) {
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().filename().string().rfind(".pictavo-", 0) == 0) return true;
  }
  return false;
}

TEST(FileUtilsFiles, AtomicWritesReplaceWholeOrNotAtAll) {
  ScratchDir dir;
  // Legal names up to 255 bytes: the temporary name must not be longer than the target's.
  const std::string longName = dir / (std::string(251, 'n') + ".jpg");
  ASSERT_TRUE(FileUtils::WriteFileAtomic(longName, "long")) << LogUtils::GetLastErrorMessage();
  ASSERT_TRUE(FileUtils::CopyFile(longName, dir / (std::string(250, 'c') + ".jpg")));
  EXPECT_EQ(ReadBytes(dir / (std::string(250, 'c') + ".jpg")), "long");

  const std::string notes = dir / "Note.dat";
  WriteBytes(notes, "earlier notes");
  ASSERT_EQ(::chmod(notes.c_str(), 0640), 0);
  {
    ScopedFileSizeLimit limit(1000);
    ASSERT_TRUE(limit.Active());
    LogUtils::ClearLastError();
    EXPECT_FALSE(FileUtils::WriteFileAtomic(notes, std::string(5000, 'x'), true));
  }
  EXPECT_NE(LogUtils::GetLastErrorMessage().find(notes), std::string::npos)
      << LogUtils::GetLastErrorMessage();
  EXPECT_EQ(ReadBytes(notes), "earlier notes");
  ASSERT_TRUE(FileUtils::WriteFileAtomic(notes, "new notes", true));
  EXPECT_EQ(ReadBytes(notes), "new notes");
  struct stat info {};
  ASSERT_EQ(::stat(notes.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u) << "a replaced file keeps its permissions";

  // Pipes and devices are never replaced, whoever runs the program.
  const std::string fifo = dir / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(FileUtils::WriteFileAtomic(fifo, "x"));
  EXPECT_FALSE(FileUtils::CopyFile(fifo, dir / "from-pipe"));
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
  EXPECT_FALSE(HasTemporaryFile(dir.Path()));
}

TEST(FileUtilsFiles, CopyOntoItselfFailsAndKeepsTheFile) {
  ScratchDir dir;
  const std::string file = dir / "a.jpg";
  WriteBytes(file, "precious");
  EXPECT_FALSE(FileUtils::CopyFile(file, file));
  EXPECT_FALSE(FileUtils::CopyFile(file, dir.Path() + "/./a.jpg"));
  EXPECT_EQ(ReadBytes(file), "precious");
  EXPECT_FALSE(LogUtils::GetLastErrorMessage().empty());
}

TEST(FileUtilsFiles, CopyOfAMissingFileFailsWithItsName) {
  ScratchDir dir;
  LogUtils::ClearLastError();
  EXPECT_FALSE(FileUtils::CopyFile(dir / "nothing.jpg", dir / "b.jpg"));
  EXPECT_NE(LogUtils::GetLastErrorMessage().find("nothing.jpg"), std::string::npos);
  EXPECT_NE(LogUtils::GetLastError(), 0);
  EXPECT_FALSE(FileUtils::FileExists(dir / "b.jpg"));
}

TEST(FileUtilsFolders, CreateCopyAndDelete) {
  ScratchDir dir;
  const std::string deep = dir / "a/b/c";
  ASSERT_TRUE(FileUtils::CreateFolderPathExists(deep));
  EXPECT_TRUE(FileUtils::IsDirectory(deep));
  EXPECT_TRUE(FileUtils::CreateFolderPathExists(deep));  // existing counts as done

  WriteBytes(dir / "a/top.css", "top");
  WriteBytes(deep + "/deep.png", "deep");
  const std::string target = dir / "copy";
  WriteBytes(dir / "stale", "");
  ASSERT_TRUE(FileUtils::CopyFolder(dir / "a", target));
  EXPECT_EQ(ReadBytes(target + "/top.css"), "top");
  EXPECT_EQ(ReadBytes(target + "/b/c/deep.png"), "deep");
  WriteBytes(dir / "a/top.css", "newer");
  ASSERT_TRUE(FileUtils::CopyFolder(dir / "a", target));  // replaces what is there
  EXPECT_EQ(ReadBytes(target + "/top.css"), "newer");

  ASSERT_TRUE(FileUtils::DeleteFolder(dir / "a"));
  EXPECT_FALSE(FileUtils::FileExists(dir / "a"));
  EXPECT_TRUE(FileUtils::DeleteFolder(dir / "a"));  // already gone
  EXPECT_TRUE(FileUtils::FileExists(target + "/top.css"));
}

TEST(FileUtilsFolders, DeletingALinkKeepsWhatItPointsTo) {
  ScratchDir dir;
  ASSERT_TRUE(FileUtils::CreateFolderPathExists(dir / "photos"));
  WriteBytes(dir / "photos/keep.jpg", "photo");
  std::filesystem::create_directory_symlink(dir / "photos", dir / "link");
  ASSERT_TRUE(FileUtils::DeleteFolder(dir / "link"));
  EXPECT_FALSE(std::filesystem::is_symlink(dir / "link"));
  EXPECT_EQ(ReadBytes(dir / "photos/keep.jpg"), "photo");
}

TEST(FileUtilsFolders, HostileRequestsFailWithAReason) {
  ScratchDir dir;
  WriteBytes(dir / "file", "x");
  const struct {
    const char* what;
    bool result;
  } rows[] = {
      {"create empty", FileUtils::CreateFolderPathExists("")},
      {"create below a file", FileUtils::CreateFolderPathExists(dir / "file/sub")},
      {"create where a file is", FileUtils::CreateFolderPathExists(dir / "file")},
      {"copy missing folder", FileUtils::CopyFolder(dir / "missing", dir / "t")},
      {"copy a file as folder", FileUtils::CopyFolder(dir / "file", dir / "t")},
      {"delete empty", FileUtils::DeleteFolder("")},
      {"delete root", FileUtils::DeleteFolder("/")},
      {"delete root spelled oddly", FileUtils::DeleteFolder("/tmp/..")},
  };
  for (const auto& row : rows) EXPECT_FALSE(row.result) << row.what;
  EXPECT_TRUE(FileUtils::FileExists(dir / "file"));
  LogUtils::ClearLastError();
  EXPECT_FALSE(FileUtils::DeleteFolder("/"));
  EXPECT_FALSE(LogUtils::GetLastErrorMessage().empty());
}

TEST(FileUtilsFolders, UnwritableFolderReportsTheSystemText) {
  if (geteuid() == 0) GTEST_SKIP() << "running as root: permissions are not enforced";
  ScratchDir dir;
  const std::string locked = dir / "locked";
  ASSERT_TRUE(FileUtils::CreateFolderPathExists(locked));
  std::filesystem::permissions(
      locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  LogUtils::ClearLastError();
  EXPECT_FALSE(FileUtils::CreateFolderPathExists(locked + "/sub"));
  EXPECT_EQ(LogUtils::GetLastError(), EACCES);
  EXPECT_NE(LogUtils::GetLastErrorMessage().find("Permission denied"), std::string::npos);
}

TEST(FileUtilsPlaces, ModuleFolderHoldsTheRunningTest) {
  const std::string folder = FileUtils::GetModuleFolderPath();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.front(), '/');
  EXPECT_TRUE(FileUtils::IsDirectory(folder));
  EXPECT_NE(folder.back(), '/');
}

TEST(FileUtilsPlaces, DocumentsFolderFromTheUserDirs) {
  ScratchDir dir;
  const std::string config = dir / "config";
  ASSERT_TRUE(FileUtils::CreateFolderPathExists(config));
  ScopedEnv home("HOME", dir.Path().c_str());
  ScopedEnv xdg("XDG_CONFIG_HOME", config.c_str());
  ScopedEnv documents("XDG_DOCUMENTS_DIR", nullptr);

  const struct {
    const char* file;
    std::string expected;
  } rows[] = {
      {nullptr, dir / "Documents"},
      {"XDG_DOCUMENTS_DIR=\"$HOME/文書\"\n", dir / "文書"},
      {"# comment\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\r\nXDG_DOCUMENTS_DIR=\"/data/docs/\"\r\n",
       "/data/docs"},
      {"XDG_DOCUMENTS_DIR=\"$HOME\"\n", dir / "Documents"},  // home itself: not set
      {"XDG_DOCUMENTS_DIR=\"relative/docs\"\n", dir / "Documents"},
      {"XDG_DOCUMENTS_DIR=\"$HOMEx/docs\"\n", dir / "Documents"},
      {"XDG_DOCUMENTS_DIR=\n", dir / "Documents"},
      {"garbage without equals\n\0\xff\xfe", dir / "Documents"},
  };
  for (const auto& row : rows) {
    std::filesystem::remove(config + "/user-dirs.dirs");
    if (row.file) WriteBytes(config + "/user-dirs.dirs", row.file);
    EXPECT_EQ(FileUtils::GetPersonalPath(), row.expected) << (row.file ? row.file : "(none)");
  }

  ScopedEnv set("XDG_DOCUMENTS_DIR", "/elsewhere/Docs");
  EXPECT_EQ(FileUtils::GetPersonalPath(), "/elsewhere/Docs");
}

}  // namespace
}  // namespace pictavo
