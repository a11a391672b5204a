// The builder on a real (temporary) game folder.
#include "pack/build_pack.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "gamedata/drs_writer.h"
#include "pack/pack_header.h"
#include "test_folder.h"

namespace tolvenek {
namespace {

const BuiltinMap kDesert = {54201, "Desert"};
const BuiltinMap kMissingMap = {54228, "Team Space Satellites"};

class BuildPackTest : public ::testing::Test {
 protected:
  BuildPackTest() {
    game_.Write("data/gamedata_x1.drs",
                BuildDrsArchive({{54201, "<PLAYER_SETUP>\r\ndesert\r\n"}, {54103, "land"}}));
    game_.Write("random/a.rms", "<PLAYER_SETUP>\r\ncustom a\r\n");
  }

  // Runs one build and returns the status text ("" when it succeeded).
  std::string Build(std::vector<BuiltinMap> builtin, std::vector<std::string> custom,
                    std::string output = "pack.rms") {
    PackJob job;
    job.game_folder = game_.path();
    job.builtin = std::move(builtin);
    job.custom_names = std::move(custom);
    job.output_name = std::move(output);
    job.land_resources = "land";
    StatusRecord status;
    BuildPackScript(SystemFileSystem(), job, status);
    return status.flag ? std::string(status.Text()) : "";
  }

  TestFolder game_;
};

TEST_F(BuildPackTest, WritesThePackAndReplacesAnOldOneWhole) {
  game_.Write("random/pack.rms", std::string(100000, 'x'));
  EXPECT_EQ(Build({kDesert}, {"a.rms"}), "");
  const std::string pack = game_.Read("random/pack.rms");
  EXPECT_EQ(pack.rfind(std::string(kPackBanner) + "\r\n", 0), 0u);
  EXPECT_NE(pack.find("Maps included in this pack: Desert, a.rms"), std::string::npos);
  EXPECT_NE(pack.find("\r\nif ZOQ_MAP1\r\n\r\ncustom a\r\n\r\nendif\r\n"), std::string::npos);
  EXPECT_EQ(pack.find('x'), std::string::npos);
  EXPECT_EQ(pack.substr(pack.size() - 9), "\r\nendif\r\n");
  EXPECT_FALSE(std::filesystem::exists(game_ / "random/ZOQ_TMP_FILE.tmp"));
}

TEST_F(BuildPackTest, RefusesBadChoicesBeforeTouchingAnything) {
  const std::string name24(20, 'n');
  struct Case {
    const char* what;
    std::vector<BuiltinMap> builtin;
    std::vector<std::string> custom;
    std::string output;
    std::string message;
  } cases[] = {
      {"empty pool", {}, {}, "pack.rms", "Select at least one map"},
      {"empty pool wins over a long name", {}, {}, std::string(30, 'n'), "Select at least one map"},
      {"25 characters", {kDesert}, {}, name24 + "x.rms", "File name exceeds 20 characters"},
      {"empty name", {kDesert}, {}, "", "Cannot write file"},
      {"a folder part",
       {kDesert},
       {},
       "..\\up.rms",
       "File name must be a plain file name inside the random folder"},
      {"a drive",
       {kDesert},
       {},
       "C:up.rms",
       "File name must be a plain file name inside the random folder"},
      {"dot dot",
       {kDesert},
       {},
       "..",
       "File name must be a plain file name inside the random folder"},
      {"the temporary file's name",
       {kDesert},
       {},
       "zoq_tmp_file.TMP",
       "ZOQ_TMP_FILE.tmp is Tolvenek's own temporary file; choose another name"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Build(c.builtin, c.custom, c.output), c.message) << c.what;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(game_ / "random"), {}), 1)
        << c.what;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(game_.path()), {}), 2) << c.what;
  }
  // 24 characters is the longest name taken.
  EXPECT_EQ(Build({kDesert}, {}, name24 + ".rms"), "");
}

TEST_F(BuildPackTest, AFailedBuildLeavesTheTargetAsItWas) {
  struct Case {
    const char* what;
    std::vector<BuiltinMap> builtin;
    std::vector<std::string> custom;
    std::string message;
  } cases[] = {
      {"custom script missing", {kDesert}, {"gone.rms"}, "Cannot open random\\gone.rms"},
      {"custom script outside the random folder",
       {},
       {"..\\random\\a.rms"},
       "Cannot open random\\..\\random\\a.rms"},
      {"the temporary pack itself",
       {},
       {"zoq_tmp_file.tmp"},
       "Cannot open random\\zoq_tmp_file.tmp"},
      {"built-in map missing from the archive",
       {kMissingMap},
       {},
       "gamedata_x1.drs has no resource 54228. Make sure game path is correct"},
      {"a long name stays terminated",
       {},
       {std::string(250, 'q')},
       "Cannot open random\\" + std::string(232, 'q') + "..."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Build(c.builtin, c.custom), c.message) << c.what;
    EXPECT_FALSE(std::filesystem::exists(game_ / "random/pack.rms")) << c.what;
    game_.Write("random/pack.rms", "old pack");
    EXPECT_EQ(Build(c.builtin, c.custom), c.message) << c.what;
    EXPECT_EQ(game_.Read("random/pack.rms"), "old pack") << c.what;
    std::filesystem::remove(game_ / "random/pack.rms");
  }
  // The temporary file keeps what was written before the failure: the header.
  EXPECT_EQ(game_.Read("random/ZOQ_TMP_FILE.tmp").rfind(std::string(kPackBanner), 0), 0u);
}

TEST_F(BuildPackTest, AMissingRandomFolderEndsTheBuildInsideTheGameFolder) {
  std::filesystem::remove_all(game_ / "random");
  EXPECT_EQ(Build({kDesert}, {}), "Cannot write file");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(game_.path()), {}), 1);
}

TEST_F(BuildPackTest, ATargetThatIsAFolderCannotBeWritten) {
  std::filesystem::create_directories(game_ / "random/pack.rms");
  EXPECT_EQ(Build({kDesert}, {}), "Cannot write file");
  EXPECT_TRUE(std::filesystem::is_directory(game_ / "random/pack.rms"));
}

}  // namespace
}  // namespace tolvenek
