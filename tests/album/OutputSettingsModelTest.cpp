#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "AlbumTestDir.h"
#include "album/OutputSettingsModel.h"
#include "core/Settings.h"

namespace pictavo {
namespace {

using albumtest::ScratchDir;
namespace Model = OutputSettingsModel;

TEST(OutputSettingsProposal, OffersTheSmallestFreeNumberAndNeverTheBareName) {
  struct Row {
    std::vector<std::string> present;
    const char* expected;
  };
  const Row rows[] = {
      {{}, "Pictavo1"},
      {{"Pictavo"}, "Pictavo1"},
      {{"Pictavo1", "Pictavo2"}, "Pictavo3"},
      {{"Pictavo2"}, "Pictavo1"},
      {{"Pictavo1", "Pictavo3"}, "Pictavo2"},
      {{"pictavo1"}, "Pictavo1"},  // names differ by case on Linux
  };
  for (const Row& row : rows) {
    ScratchDir dir;
    for (const auto& name : row.present) std::filesystem::create_directory(dir / name);
    EXPECT_EQ(Model::ProposeFolderName("Pictavo", dir.Path()), row.expected);
  }
}

TEST(OutputSettingsProposal, AFileOrADanglingLinkAlsoTakesTheName) {
  ScratchDir dir;
  ASSERT_TRUE(albumtest::WriteText(dir / "Album1", "x"));
  std::filesystem::create_symlink(dir / "nowhere", dir / "Album2");
  EXPECT_EQ(Model::ProposeFolderName("Album", dir.Path()), "Album3");
}

TEST(OutputSettingsProposal, AFolderTakenAfterTheProposalMovesOnOnlyWhenItWasTheProposal) {
  ScratchDir dir;
  Settings settings;
  settings.Output.FolderName = "Pictavo";
  settings.Output.Location = dir / "new/location";
  OutputSettingsValues values = Model::MakeProposal(settings, "/photos/trip");
  const std::string proposed = values.folderName;
  ASSERT_EQ(proposed, "Pictavo1");
  // Another run takes the proposal and the next name between the dialog and the creation.
  std::filesystem::create_directories(dir / "new/location/Pictavo1");
  ASSERT_TRUE(albumtest::WriteText(dir / "new/location/Pictavo2", "x"));
  EXPECT_TRUE(Model::CheckOk(values, proposed).accepted) << "the kept proposal moves on";
  EXPECT_FALSE(Model::CheckOk(values).accepted) << "a typed name that exists is refused";
  EXPECT_EQ(Model::CreateAlbumFolder(values, "Pictavo", proposed), "");
  EXPECT_EQ(values.folderName, "Pictavo3");
  EXPECT_TRUE(std::filesystem::is_directory(dir / "new/location/Pictavo3"));

  // A name the user typed is theirs: taken meanwhile, it is refused, never shared.
  values.folderName = "summer";
  std::filesystem::create_directory(dir / "new/location/summer");
  const std::string refusal = Model::CreateAlbumFolder(values, "Pictavo", proposed);
  EXPECT_NE(refusal.find("既にフォルダーが存在します"), std::string::npos) << refusal;
  EXPECT_NE(refusal.find(dir / "new/location/summer"), std::string::npos) << refusal;
  EXPECT_EQ(values.folderName, "summer");
}

TEST(OutputSettingsProposal, TitleAndHeaderComeFromTheListedFolderName) {
  ScratchDir dir;
  Settings settings;
  settings.Output.Location = dir.Path();
  struct Row {
    const char* listed;
    const char* title;
  };
  const Row rows[] = {{"/home/u/写真/2024 夏", "2024 夏"},
                      {"/home/u/trip/", "trip"},
                      {"/home/u/a&b", "a&b"},
                      {"relative", "relative"},
                      {"/", ""},
                      {"", ""}};
  for (const Row& row : rows) {
    const auto values = Model::MakeProposal(settings, row.listed);
    EXPECT_EQ(values.title, row.title) << row.listed;
    EXPECT_EQ(values.header, row.title) << row.listed;
    EXPECT_EQ(values.folderName, "Pictavo1");
    EXPECT_EQ(values.location, dir.Path());
    EXPECT_FALSE(values.preferDetailedSettings);
  }
}

TEST(OutputSettingsFieldMessages, LabelLosesItsAcceleratorAndColon) {
  struct Row {
    const char* label;
    const char* expected;
  };
  const Row rows[] = {
      {Model::kFolderNameLabel, "フォルダー名を入力してください。"},
      {Model::kLocationLabel, "ファイルの出力先を入力してください。"},
      {Model::kTitleLabel, "タイトルを入力してください。"},
      {Model::kHeaderLabel, "見出しを入力してください。"},
      {"名前:", "名前を入力してください。"},
      {"名前(&N)", "名前(&N)を入力してください。"},  // only a trailing colon ends the label
      {"(&N):名前:", "(&N):名前を入力してください。"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Model::GetFieldErrorMessage(row.label), row.expected) << row.label;
  }
}

TEST(OutputSettingsOk, RefusesInTheDialogsOrderAndNamesTheField) {
  ScratchDir dir;
  std::filesystem::create_directory(dir / "Pictavo1");
  const std::string exists = "指定した場所には、既にフォルダーが存在します。";
  struct Row {
    const char* what;
    std::string folder;
    std::string location;
    std::string title;
    std::string header;
    bool prefer;
    bool accepted;
    Model::Field focus;
    std::string message;
  };
  const std::string loc = dir.Path();
  const Row rows[] = {
      {"all filled", "Pictavo2", loc, "t", "h", false, true, Model::Field::None, ""},
      {"folder empty", "", loc, "t", "h", false, false, Model::Field::FolderName,
       "フォルダー名を入力してください。"},
      {"both empty: folder first", "", "", "", "", false, false, Model::Field::FolderName,
       "フォルダー名を入力してください。"},
      {"location empty", "Pictavo2", "", "t", "h", false, false, Model::Field::Location,
       "ファイルの出力先を入力してください。"},
      {"exists", "Pictavo1", loc, "t", "h", false, false, Model::Field::FolderName, exists},
      {"exists beats empty title", "Pictavo1", loc, "", "", false, false, Model::Field::FolderName,
       exists},
      {"title empty", "Pictavo2", loc, "", "h", false, false, Model::Field::Title,
       "タイトルを入力してください。"},
      {"header empty", "Pictavo2", loc, "t", "", false, false, Model::Field::Header,
       "見出しを入力してください。"},
      {"prefer settings: empty title and header pass", "Pictavo2", loc, "", "", true, true,
       Model::Field::None, ""},
      {"slash leaves the location", "../escape", loc, "t", "h", false, false,
       Model::Field::FolderName, Model::GetInvalidNameMessage()},
      {"dot dot", "..", loc, "t", "h", false, false, Model::Field::FolderName,
       Model::GetInvalidNameMessage()},
      {"colon", "a:b", loc, "t", "h", false, false, Model::Field::FolderName,
       Model::GetInvalidNameMessage()},
      {"newline", "a\nb", loc, "t", "h", false, false, Model::Field::FolderName,
       Model::GetInvalidNameMessage()},
      {"spaces and Japanese are fine", "夏の 写真", loc, "t", "h", false, true, Model::Field::None,
       ""},
  };
  for (const Row& row : rows) {
    OutputSettingsValues values;
    values.folderName = row.folder;
    values.location = row.location;
    values.title = row.title;
    values.header = row.header;
    values.preferDetailedSettings = row.prefer;
    const auto check = Model::CheckOk(values);
    EXPECT_EQ(check.accepted, row.accepted) << row.what;
    EXPECT_EQ(check.focus, row.focus) << row.what;
    EXPECT_EQ(check.message, row.message) << row.what;
    EXPECT_EQ(check.icon, MessageIcon::None) << row.what;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.Path() + "/../escape"));
}

TEST(OutputSettingsOk, TitleAndHeaderAreEnabledOnlyWithoutPreferDetailedSettings) {
  OutputSettingsValues values;
  EXPECT_TRUE(Model::IsTitleHeaderEnabled(values));
  values.preferDetailedSettings = true;
  EXPECT_FALSE(Model::IsTitleHeaderEnabled(values));
}

}  // namespace
}  // namespace pictavo
