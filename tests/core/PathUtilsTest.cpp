#include <gtest/gtest.h>

#include <set>
#include <string>

#include "CoreTestDir.h"
#include "core/FileUtils.h"
#include "core/GuidUtils.h"
#include "core/PathUtils.h"

namespace pictavo {
namespace {

using coretest::ScopedEnv;
using coretest::ScratchDir;

TEST(PathUtils, SettingsFolderFollowsXdgConfigHome) {
  ScratchDir dir;
  const std::string module = dir / "bin";
  ASSERT_TRUE(FileUtils::CreateFolderPathExists(module));
  ScopedEnv home("HOME", dir.Path().c_str());
  const struct {
    const char* xdg;
    std::string expected;
  } rows[] = {
      {"/srv/cfg", "/srv/cfg/Pictavo"},
      {"/srv/cfg/", "/srv/cfg/Pictavo"},
      {"relative/cfg", dir / ".config/Pictavo"},  // not absolute: ignored
      {"", dir / ".config/Pictavo"},
      {nullptr, dir / ".config/Pictavo"},
  };
  for (const auto& row : rows) {
    ScopedEnv xdg("XDG_CONFIG_HOME", row.xdg);
    EXPECT_FALSE(PathUtils::IsPortableVersion(module));
    EXPECT_EQ(PathUtils::GetApplicationSettingsPath(module), row.expected)
        << (row.xdg ? row.xdg : "(unset)");
  }
  EXPECT_EQ(PathUtils::GetOldApplicationSettingsPath(), dir / ".pictavo");
}

TEST(PathUtils, PortableModeKeepsSettingsBesideTheProgram) {
  ScratchDir dir;
  const std::string module = dir / "portable";
  ASSERT_TRUE(FileUtils::CreateFolderPathExists(module + "/Settings"));
  ScopedEnv xdg("XDG_CONFIG_HOME", "/srv/cfg");
  EXPECT_TRUE(PathUtils::IsPortableVersion(module));
  EXPECT_EQ(PathUtils::GetApplicationSettingsPath(module), module + "/Settings");

  ASSERT_TRUE(FileUtils::CreateFolderPathExists(dir / "plain"));
  coretest::WriteBytes(dir / "plain/Settings", "");  // a file named Settings is no folder
  EXPECT_FALSE(PathUtils::IsPortableVersion(dir / "plain"));
  EXPECT_FALSE(PathUtils::IsPortableVersion(""));
}

TEST(PathUtils, SettingsFilesLieInTheSettingsFolder) {
  ScopedEnv xdg("XDG_CONFIG_HOME", "/srv/cfg");
  if (PathUtils::IsPortableVersion()) GTEST_SKIP() << "a Settings folder lies beside the tests";
  EXPECT_EQ(PathUtils::GetApplicationSettingsFilePath(), "/srv/cfg/Pictavo/Pictavo.ini");
  EXPECT_EQ(PathUtils::GetAddressHistoryFilePath(), "/srv/cfg/Pictavo/History.ini");
  EXPECT_EQ(PathUtils::GetToolbarsFilePath(), "/srv/cfg/Pictavo/Toolbars.ini");
}

TEST(PathUtils, PreviewRootIsInTheUsersCache) {
  ScopedEnv home("HOME", "/home/someone");
  {
    ScopedEnv cache("XDG_CACHE_HOME", "/var/cache/me");
    EXPECT_EQ(PathUtils::GetTempFolderPath(), "/var/cache/me/Pictavo");
    EXPECT_EQ(PathUtils::GetPreviewRootPath(), "/var/cache/me/Pictavo/Preview");
  }
  ScopedEnv cache("XDG_CACHE_HOME", nullptr);
  EXPECT_EQ(PathUtils::GetPreviewRootPath(), "/home/someone/.cache/Pictavo/Preview");
}

TEST(PathUtils, StyleFolderBesideTheProgramOrInstalled) {
  const std::string module = FileUtils::GetModuleFolderPath();
  const std::string found = PathUtils::GetStyleFolderPath();
  const bool beside = found == module + "/styles";
  const bool installed = found == module + "/../share/pictavo/styles";
  EXPECT_TRUE(beside || installed) << found;
  if (FileUtils::IsDirectory(module + "/styles")) {
    EXPECT_TRUE(beside);
  }
}

TEST(PathUtils, FolderNamesOfADesign) {
  EXPECT_EQ(PathUtils::GetStyleFolderName(), "styles");
  EXPECT_EQ(PathUtils::GetDesignFolderName(), "design");
  EXPECT_EQ(PathUtils::GetCSSFolderName(), "css");
  EXPECT_EQ(PathUtils::GetImagesFolderName(), "images");
  EXPECT_EQ(PathUtils::GetJSFolderName(), "js");
  EXPECT_EQ(PathUtils::GetDefaultsFolderName(), "defaults");
  EXPECT_EQ(PathUtils::GetDefaultsDirectoryName(), "defaults");
  EXPECT_EQ(PathUtils::GetPreviewFolderName(), "Preview");
}

TEST(GuidUtils, GuidsAreWellFormedUniqueAndUsableAsFolderNames) {
  ScratchDir dir;
  std::set<std::string> seen;
  for (int i = 0; i < 200; ++i) {
    const std::string guid = GuidUtils::CreateGuid();
    ASSERT_EQ(guid.size(), 38u) << guid;
    EXPECT_EQ(guid.front(), '{');
    EXPECT_EQ(guid.back(), '}');
    for (std::size_t p = 1; p + 1 < guid.size(); ++p) {
      if (p == 9 || p == 14 || p == 19 || p == 24) {
        EXPECT_EQ(guid[p], '-') << guid;
      } else {
        EXPECT_TRUE((guid[p] >= '0' && guid[p] <= '9') || (guid[p] >= 'A' && guid[p] <= 'F'))
            << guid;
      }
    }
    EXPECT_EQ(guid[15], '4') << guid;  // random version
    EXPECT_TRUE(seen.insert(guid).second) << "repeated " << guid;
    if (i < 3) {
      EXPECT_TRUE(FileUtils::CreateFolderPathExists(dir / guid));
    }
  }
}

}  // namespace
}  // namespace pictavo
