// Finding the game and its scripts on the real (POSIX) file system.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "install/custom_scripts.h"
#include "install/game_folder.h"
#include "platform/file_system.h"
#include "platform/registry.h"
#include "test_folder.h"

namespace tolvenek {
namespace {

TEST(PosixFileSystem, FindsGameFilesWhateverTheirCase) {
  TestFolder game;
  game.Write("Random/Big Map.RMS", "map");
  game.Write("DATA/GameData_X1.DRS", "drs");
  FileSystem& fs = SystemFileSystem();
  FsError error = FsError::kOk;
  for (const std::string relative :
       {"random\\big map.rms", "RANDOM/Big Map.RMS", "data\\gamedata_x1.drs"}) {
    EXPECT_NE(fs.OpenForReading(JoinPath(game.path(), relative), &error), nullptr) << relative;
  }
  EXPECT_EQ(fs.OpenForReading(JoinPath(game.path(), "random\\nope.rms"), &error), nullptr);
  EXPECT_EQ(error, FsError::kNotFound);
  EXPECT_EQ(fs.OpenForReading(JoinPath(game.path(), "nope\\x.rms"), &error), nullptr);
  EXPECT_EQ(error, FsError::kPathNotFound);
  // A new file in a folder of other case lands in that folder.
  bool created = false;
  EXPECT_EQ(fs.ProbeWritable(JoinPath(game.path(), "random\\new.rms"), &created), FsError::kOk);
  EXPECT_TRUE(created);
  EXPECT_TRUE(std::filesystem::exists(game / "Random/new.rms"));
}

TEST(PosixFileSystem, ProbeNeverEmptiesAnExistingFile) {
  TestFolder folder;
  folder.Write("pack.rms", "old");
  bool created = true;
  EXPECT_EQ(SystemFileSystem().ProbeWritable(folder / "pack.rms", &created), FsError::kOk);
  EXPECT_FALSE(created);
  EXPECT_EQ(folder.Read("pack.rms"), "old");
}

TEST(ListCustomScripts, ListsRmsFilesAndWarnsWithoutARandomFolder) {
  TestFolder game;
  for (const char* name : {"c.rms", "a.RMS", "b.txt", "folder.rms/x"}) {
    game.Write(std::string("random/") + name, "");
  }
  ScriptListing listing = ListCustomScripts(SystemFileSystem(), game.path());
  std::sort(listing.names.begin(), listing.names.end());
  EXPECT_EQ(listing.names, (std::vector<std::string>{"a.RMS", "c.rms", "folder.rms"}));
  EXPECT_EQ(listing.warning, "");

  std::filesystem::remove_all(game / "random");
  listing = ListCustomScripts(SystemFileSystem(), game.path());
  EXPECT_TRUE(listing.names.empty());
  EXPECT_EQ(listing.warning, kGameNotFoundWarning);
}

TEST(CustomScriptExists, LooksOnlyInsideTheRandomFolder) {
  TestFolder game;
  game.Write("random/sub/x.rms", "");
  game.Write("random/a.rms", "");
  game.Write("outside.rms", "");
  struct Case {
    const char* name;
    bool exists;
  } cases[] = {{"a.rms", true},
               {"A.RMS", true},
               {"sub\\x.rms", true},
               {"sub/x.rms", true},
               {"", false},
               {"b.rms", false},
               {"..\\outside.rms", false},
               {"sub\\..\\a.rms", false},
               {"/etc/hostname", false}};
  for (const Case& c : cases) {
    EXPECT_EQ(CustomScriptExists(SystemFileSystem(), game.path(), c.name), c.exists) << c.name;
  }
}

TEST(CompareScriptNames, OrdersLikeTheSortedControls) {
  // Each name sorts before the next; case is ignored.
  const std::vector<std::string> ordered = {"_x.rms", "a b.rms", "a_b.rms", "a1.rms",
                                            "ab.rms", "B.rms",   "c.rms",   "\xE9.rms"};
  for (size_t i = 0; i + 1 < ordered.size(); ++i) {
    EXPECT_LT(CompareScriptNames(ordered[i], ordered[i + 1]), 0) << ordered[i];
    EXPECT_GT(CompareScriptNames(ordered[i + 1], ordered[i]), 0) << ordered[i];
  }
  EXPECT_EQ(CompareScriptNames("Map.RMS", "map.rms"), 0);
  // A name equal to an entry but for case goes where the controls' binary
  // search meets that entry: before it (as Wine's list box does).
  std::vector<std::string> list = {"a.rms", "x.rms"};
  EXPECT_EQ(SortedInsertPosition(list, "A.RMS"), 0u);
  EXPECT_EQ(SortedInsertPosition(list, "b.rms"), 1u);
  EXPECT_EQ(SortedInsertPosition(list, "z.rms"), 2u);
}

// Sets WINEPREFIX for one test.
class WinePrefixTest : public ::testing::Test {
 protected:
  WinePrefixTest() { setenv("WINEPREFIX", prefix_.path().c_str(), 1); }
  ~WinePrefixTest() override {
    unsetenv("WINEPREFIX");
    SystemFileSystem().SetCurrentFolder(start_);
  }
  TestFolder prefix_;
  std::string start_ = SystemFileSystem().CurrentFolder();
};

TEST_F(WinePrefixTest, ReadsGamePathFromThePrefixRegistry) {
  EXPECT_EQ(SystemRegistry().ReadGamePath(), "");
  prefix_.Write("system.reg",
                "WINE REGISTRY Version 2\n\n"
                "[Software\\\\Wow6432Node\\\\LucasArts Entertainment Company LLC\\\\Star Wars "
                "Galactic Battlegrounds: Clone Campaigns\\\\1.0] 1700000000\n"
                "#time=1d\n"
                "\"Game Path\"=\"C:\\\\Games\\\\SWGB\\\\\"\n");
  EXPECT_EQ(SystemRegistry().ReadGamePath(), "C:\\Games\\SWGB\\");
}

TEST_F(WinePrefixTest, DetectionFindsAFixedFolderInsideThePrefix) {
  prefix_.Write(
      "drive_c/Program Files (x86)/LucasArts/Star Wars Galactic Battlegrounds Saga/Game/"
      "Battlegrounds_x1.exe",
      "");
  prefix_.Write("drive_c/Program Files/LucasArts/Star Wars Galactic Battlegrounds/Game/readme", "");
  FileSystem& fs = SystemFileSystem();
  EXPECT_EQ(DetectGameFolder(fs, SystemRegistry()), kFixedGameFolders[3]);
  EXPECT_EQ(std::filesystem::path(fs.CurrentFolder()).filename(), "Game");
  EXPECT_TRUE(std::filesystem::exists("Battlegrounds_x1.exe"));
}

}  // namespace
}  // namespace tolvenek
