// tolvenek-cli run as a player runs it: on game folders made on disk, checking
// the bytes written, the messages, the exit codes and what is left on disk.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "gamedata/drs_writer.h"

namespace tolvenek {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;

std::string ReadBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return "<missing>";
  return std::string(std::istreambuf_iterator<char>(file), {});
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

// A scratch folder: the game folder is <root>/game, the program's output goes
// beside it, so a snapshot of the root shows anything written above the game.
class Scratch {
 public:
  Scratch() {
    std::string pattern = (fs::temp_directory_path() / "tolvenek-e2e-XXXXXX").string();
    root_ = mkdtemp(pattern.data());
    fs::create_directory(game());
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  fs::path root() const { return root_; }
  fs::path game() const { return root_ / "game"; }

 private:
  fs::path root_;
};

struct CliRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// Runs the program with `args` in `folder`, with a Wine prefix that holds no
// game, so detection can only find what the test put there.
CliRun RunCli(const Scratch& scratch, const std::vector<std::string>& args,
              const fs::path& folder = {}) {
  const fs::path out_path =
      scratch.root().parent_path() / (scratch.root().filename().string() + ".out");
  const fs::path err_path =
      scratch.root().parent_path() / (scratch.root().filename().string() + ".err");
  const std::string wine_prefix = (scratch.root().parent_path() / "tolvenek-e2e-no-wine").string();
  std::vector<char*> argv;
  std::string program = TOLVENEK_CLI;
  argv.push_back(program.data());
  std::vector<std::string> copies = args;
  for (std::string& arg : copies) argv.push_back(arg.data());
  argv.push_back(nullptr);

  const pid_t child = fork();
  if (child == 0) {
    const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(126);
    if (!folder.empty() && chdir(folder.c_str()) != 0) _exit(126);
    setenv("WINEPREFIX", wine_prefix.c_str(), 1);
    execv(argv[0], argv.data());
    _exit(127);
  }
  CliRun run;
  int status = 0;
  if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
    run.exit_code = WEXITSTATUS(status);
  }
  run.out = ReadBytes(out_path);
  run.err = ReadBytes(err_path);
  fs::remove(out_path);
  fs::remove(err_path);
  return run;
}

// Every file below `folder` with its bytes, and every folder (as "name/").
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = fs::relative(entry.path(), folder).string();
    if (entry.is_directory()) {
      files[name + "/"] = "";
    } else {
      files[name] = ReadBytes(entry.path());
    }
  }
  return files;
}

// The tiny game of most tests: two built-in maps and three custom scripts.
// Desert's objects section uses the land-resources include, the custom script
// c.rms has no player setup.
const std::string kLandResources = "LR\r\n";
const std::string kDesert =
    "#include_drs random_map.def 54000\r\nD0\r\n<PLAYER_SETUP>\r\nD1\r\n"
    "<OBJECTS_GENERATION>\r\nD4\r\n#include_drs GBG_land_resources.inc 54103\r\n";
const std::string kKashyyyk = "K0\r\n<PLAYER_SETUP>\r\nK1\r\n";
const std::string kCustomC = "<LAND_GENERATION>\r\nC2\r\n<OBJECTS_GENERATION>\r\nC4\r\n";

void MakeTinyGame(const fs::path& game, const std::string& random = "random",
                  const std::string& archive = "data/gamedata_x1.drs") {
  WriteBytes(game / "battlegrounds_x1.exe", "");
  WriteBytes(game / archive,
             BuildDrsArchive({{54103, kLandResources}, {54201, kDesert}, {55001, kKashyyyk}}));
  WriteBytes(game / random / "c.rms", kCustomC);
  WriteBytes(game / random / "A.rms", "<PLAYER_SETUP>\r\nA1\r\n");
  WriteBytes(game / random / "b.rms", "<PLAYER_SETUP>\r\nB1\r\n");
}

const std::string kOldPack = "an older pack that must survive a failed build\r\n";

// A conditional block as the pack holds it.
std::string Block(int map, const std::string& content) {
  return "\r\nif ZOQ_MAP" + std::to_string(map) + "\r\n" + content + "\r\nendif\r\n";
}

// The pack for Desert and c.rms, written out by hand.
std::string ExpectedDesertAndC() {
  std::string pack =
      "/* This script was generated by Tolvenek v1.3 (2018.04.20) */\r\n"
      "/* The game picks one map of this pack at random; each has a near-equal chance. */\r\n"
      "/* Change the pool in Tolvenek and generate again rather than editing this file. */\r\n"
      "\r\n"
      "/* Maps included in this pack: Desert, c.rms" +
      std::string(72 - 13, ' ') + " */\r\n\r\n" +
      "start_random\r\n"
      "percent_chance 50\r\n#define ZOQ_MAP0\r\n#define ZOQ_LANDRES\r\n"
      "percent_chance 50\r\n#define ZOQ_MAP1\r\n"
      "end_random\r\n";
  pack += Block(0, std::string(33, ' ') + "\r\nD0\r\n") + Block(1, "");
  pack += "\r\n<PLAYER_SETUP>\r\n" + Block(0, "\r\nD1\r\n") + Block(1, "");
  pack += "\r\n<LAND_GENERATION>\r\n" + Block(0, "") + Block(1, "\r\nC2\r\n");
  pack += "\r\n<TERRAIN_GENERATION>\r\n" + Block(0, "") + Block(1, "");
  pack += "\r\n<OBJECTS_GENERATION>\r\n\r\nif ZOQ_LANDRES\r\n" + kLandResources + "\r\nendif\r\n" +
          Block(0, "\r\nD4\r\n" + std::string(41, ' ') + "\r\n") + Block(1, "\r\nC4\r\n");
  for (const char* tag :
       {"<ELEVATION_GENERATION>", "<CLIFF_GENERATION>", "<CONNECTION_GENERATION>"}) {
    pack += "\r\n" + std::string(tag) + "\r\n" + Block(0, "") + Block(1, "");
  }
  return pack;
}

TEST(CliTest, WritesThePackAndReplacesAnOlderOneWhole) {
  Scratch scratch;
  MakeTinyGame(scratch.game());
  WriteBytes(scratch.game() / "random/sample.rms", std::string(20000, 'x'));

  const CliRun run = RunCli(
      scratch, {"--game-folder", scratch.game().string(), "--custom", "c.rms", "--map", "desert"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "Script generated\n" + (scratch.game() / "random/sample.rms").string() + "\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(ReadBytes(scratch.game() / "random/sample.rms"), ExpectedDesertAndC());
  EXPECT_FALSE(fs::exists(scratch.game() / "random/ZOQ_TMP_FILE.tmp"));
}

TEST(CliTest, FindsTheGameInTheCurrentFolderWithoutGameFolder) {
  Scratch scratch;
  MakeTinyGame(scratch.game());
  const CliRun run = RunCli(scratch, {"--map", "Desert", "--custom", "c.rms"}, scratch.game());
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(ReadBytes(scratch.game() / "random/sample.rms"), ExpectedDesertAndC());
}

// Game files are found whatever the letter case of the disk's names, and the
// pack lands in the random folder that is there, over a target of other case.
TEST(CliTest, FindsGameFilesWhateverTheirLetterCase) {
  struct Layout {
    std::string random, archive;
  };
  for (const Layout& layout :
       {Layout{"Random", "DATA/GameData_X1.DRS"}, Layout{"RANDOM", "Data/gamedata_x1.drs"}}) {
    SCOPED_TRACE(layout.random + " " + layout.archive);
    Scratch scratch;
    MakeTinyGame(scratch.game(), layout.random, layout.archive);
    fs::rename(scratch.game() / layout.random / "c.rms", scratch.game() / layout.random / "C.RMS");
    WriteBytes(scratch.game() / layout.random / "Sample.RMS", kOldPack);
    auto expected_files = Snapshot(scratch.root());

    const CliRun run = RunCli(scratch, {"--game-folder", scratch.game().string(), "--map", "Desert",
                                        "--custom", "c.rms"});
    EXPECT_EQ(run.exit_code, 0) << run.err;
    expected_files["game/" + layout.random + "/Sample.RMS"] = ExpectedDesertAndC();
    EXPECT_EQ(Snapshot(scratch.root()), expected_files);
  }
}

// The custom part of the pool follows the sorted list whatever the order of
// --custom, and a script named twice stands twice.
TEST(CliTest, CustomScriptsTakeTheSortedListOrderAndKeepDuplicates) {
  Scratch scratch;
  MakeTinyGame(scratch.game());
  const CliRun run =
      RunCli(scratch, {"--game-folder", scratch.game().string(), "--custom", "b.rms", "--custom",
                       "c.rms", "--custom", "A.rms", "--custom", "b.rms", "--map", "Kashyyyk"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const std::string pack = ReadBytes(scratch.game() / "random/sample.rms");
  EXPECT_THAT(pack,
              HasSubstr("/* Maps included in this pack: Kashyyyk, A.rms, b.rms, b.rms, c.rms "));
  EXPECT_THAT(pack, HasSubstr("start_random\r\npercent_chance 20\r\n#define ZOQ_MAP0\r\n"));
  EXPECT_THAT(pack, HasSubstr("percent_chance 20\r\n#define ZOQ_MAP4\r\nend_random\r\n"));
  EXPECT_THAT(pack, HasSubstr(Block(1, "\r\nA1\r\n") + Block(2, "\r\nB1\r\n") +
                              Block(3, "\r\nB1\r\n") + Block(4, "")));
}

struct FailureCase {
  std::string name;
  std::vector<std::string> args;  // after --game-folder
  std::string message;            // the whole of standard error, without its line end
};

// Job failures: exit 1, the reason alone on standard error, and the game
// folder exactly as it was, an existing pack included.
TEST(CliTest, JobFailuresLeaveEverythingAsItWas) {
  const std::string name24 = "twenty-four-chars-ok.rms";
  ASSERT_EQ(name24.size(), 24u);
  const std::vector<FailureCase> cases = {
      {"empty pool", {}, "Select at least one map"},
      {"empty pool before the name", {"--output", "x" + name24}, "Select at least one map"},
      {"name of 25 characters",
       {"--map", "Desert", "--output", "x" + name24},
       "File name exceeds 20 characters"},
      {"empty name", {"--map", "Desert", "--output", ""}, "Cannot write file"},
      {"missing custom script",
       {"--map", "Desert", "--custom", "nope.rms"},
       "File not found: random\\nope.rms"},
      {"map the archive lacks",
       {"--map", "Desert", "--map", "WaterMass"},
       "gamedata_x1.drs has no resource 54202. Make sure game path is correct"},
  };
  for (const std::string& name : {std::string("sample.rms"), std::string()}) {
    for (const FailureCase& c : cases) {
      SCOPED_TRACE(c.name + (name.empty() ? ", no pack before" : ", a pack before"));
      Scratch scratch;
      MakeTinyGame(scratch.game());
      if (!name.empty()) WriteBytes(scratch.game() / "random" / name, kOldPack);
      const auto before = Snapshot(scratch.root());
      std::vector<std::string> args = {"--game-folder", scratch.game().string()};
      args.insert(args.end(), c.args.begin(), c.args.end());

      const CliRun run = RunCli(scratch, args);
      EXPECT_EQ(run.exit_code, 1);
      EXPECT_EQ(run.err, c.message + "\n");
      EXPECT_EQ(run.out, "");
      auto after = Snapshot(scratch.root());
      after.erase("game/random/ZOQ_TMP_FILE.tmp");  // a failed build's scratch, never a pack
      EXPECT_EQ(after, before);
    }
  }
}

// A name that would leave the random folder is refused before anything is
// touched; 24 characters is the longest name taken.
TEST(CliTest, OutputNameChecks) {
  const std::string name24 = "twenty-four-chars-ok.rms";
  const std::string plain = "File name must be a plain file name inside the random folder";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {name24, ""},
      {"UPPER.RMS", ""},
      {"sub/x.rms", plain},
      {"..\\x.rms", plain},
      {"C:x.rms", plain},
      {"..", plain},
      {".", plain},
      {"zoq_tmp_file.TMP",
       "ZOQ_TMP_FILE.tmp is Tolvenek's own temporary file; choose another name"},
  };
  for (const auto& [name, message] : cases) {
    SCOPED_TRACE(name);
    Scratch scratch;
    MakeTinyGame(scratch.game());
    fs::create_directory(scratch.game() / "random/sub");
    const auto before = Snapshot(scratch.root());
    const CliRun run = RunCli(
        scratch, {"--game-folder", scratch.game().string(), "--map", "Kashyyyk", "--output", name});
    if (message.empty()) {
      EXPECT_EQ(run.exit_code, 0) << run.err;
      EXPECT_THAT(ReadBytes(scratch.game() / "random" / name), StartsWith("/* This script"));
    } else {
      EXPECT_EQ(run.exit_code, 1);
      EXPECT_EQ(run.err, message + "\n");
      EXPECT_EQ(Snapshot(scratch.root()), before);
    }
  }
}

TEST(CliTest, MissingRandomFolderTouchesNothing) {
  Scratch scratch;
  MakeTinyGame(scratch.game());
  fs::remove_all(scratch.game() / "random");
  const auto before = Snapshot(scratch.root());
  const CliRun run = RunCli(scratch, {"--game-folder", scratch.game().string(), "--map", "Desert"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "Cannot write file\n");
  EXPECT_EQ(Snapshot(scratch.root()), before);
}

TEST(CliTest, MissingArchiveIsReported) {
  Scratch scratch;
  MakeTinyGame(scratch.game());
  fs::remove(scratch.game() / "data/gamedata_x1.drs");
  const CliRun run = RunCli(scratch, {"--game-folder", scratch.game().string(), "--map", "Desert"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "Cannot open gamedata_x1.drs. Make sure game path is correct\n");
  EXPECT_FALSE(fs::exists(scratch.game() / "random/sample.rms"));
}

// Usage errors: exit 2, what was wrong and the usage line, nothing written.
TEST(CliTest, UsageErrors) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--map", "Tatoine"}, "no built-in map \"Tatoine\"; closest: \"Tatooine\", "},
      {{"--group", "Space"}, "no group \"Space\""},
      {{"--output"}, "--output needs a value"},
      {{"--frobnicate"}, "unknown argument \"--frobnicate\""},
  };
  for (const auto& [args, problem] : cases) {
    SCOPED_TRACE(args[0] + (args.size() > 1 ? " " + args[1] : ""));
    Scratch scratch;
    MakeTinyGame(scratch.game());
    const auto before = Snapshot(scratch.root());
    std::vector<std::string> all = {"--game-folder", scratch.game().string()};
    all.insert(all.end(), args.begin(), args.end());
    const CliRun run = RunCli(scratch, all);
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_THAT(run.err, StartsWith("tolvenek-cli: " + problem));
    EXPECT_THAT(run.err, HasSubstr("\nusage: tolvenek-cli "));
    EXPECT_EQ(Snapshot(scratch.root()), before);
  }
}

TEST(CliTest, ListShowsTheCatalogueAndTheSortedScripts) {
  Scratch scratch;
  MakeTinyGame(scratch.game());
  for (const char* name : {"Z.RMS", "_x.rms", "1.rms", "c d.rms", "notes.txt"}) {
    WriteBytes(scratch.game() / "random" / name, "");
  }
  const CliRun run = RunCli(scratch, {"--game-folder", scratch.game().string(), "--list"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_THAT(run.out, StartsWith("Built-in maps (group, label, resource id):\n"
                                  "  Blind Random\tDesert\t54201\n"
                                  "  Blind Random\tWaterMass\t54202\n"));
  EXPECT_THAT(run.out, HasSubstr("  Blind Random\tTeam Space Satellites\t54228\n"
                                 "  Star Wars Locale\tKashyyyk\t55001\n"));
  // Punctuation before digits before letters, letter case ignored.
  EXPECT_THAT(run.out, HasSubstr("  Miscellaneous\tRaiders\t54227\n"
                                 "Custom scripts in " +
                                 (scratch.game() / "random").string() +
                                 ":\n"
                                 "  _x.rms\n  1.rms\n  A.rms\n  b.rms\n  c d.rms\n  c.rms\n"
                                 "  Z.RMS\n"));

  fs::remove_all(scratch.game() / "random");
  const CliRun missing = RunCli(scratch, {"--game-folder", scratch.game().string(), "--list"});
  EXPECT_EQ(missing.exit_code, 0);
  EXPECT_EQ(missing.err, "Warning: SWGB was not found. Please set the path manually\n");
}

// Whole packs over the sample game, against files checked by hand. With
// TOLVENEK_UPDATE_GOLDEN=1 the files are written instead of compared.
struct GoldenCase {
  std::string file;
  std::vector<std::string> args;
};

std::string FirstDifference(const std::string& expected, const std::string& actual) {
  size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  const size_t line = size_t(std::count(expected.begin(), expected.begin() + at, '\n')) + 1;
  const size_t start = expected.rfind('\n', at == 0 ? 0 : at - 1);
  const size_t from = start == std::string::npos ? 0 : start + 1;
  std::ostringstream text;
  text << "first difference at byte " << at << ", line " << line
       << "\n  expected: " << expected.substr(from, at - from + 40)
       << "\n  actual:   " << actual.substr(from, at - from + 40);
  return text.str();
}

TEST(CliTest, GoldenPacksOfTheSampleGame) {
  const std::vector<GoldenCase> cases = {
      {"desert.rms", {"--map", "Desert"}},
      {"frozen_moon_only.rms", {"--custom", "Frozen_Moon.rms"}},
      {"mixed.rms",
       {"--map", "Forest", "--map", "Kashyyyk", "--map", "Desert", "--map", "Asteroids", "--custom",
        "Frozen_Moon.rms", "--custom", "Crater Lakes.rms", "--custom", "beach_duel.rms", "--custom",
        "Archipelago.rms"}},
      {"all_46.rms", {"--all"}},
  };
  const bool update = getenv("TOLVENEK_UPDATE_GOLDEN") != nullptr;
  for (const GoldenCase& c : cases) {
    SCOPED_TRACE(c.file);
    Scratch scratch;
    fs::copy(TOLVENEK_SAMPLE_GAME, scratch.game(), fs::copy_options::recursive);
    std::vector<std::string> args = {"--game-folder", scratch.game().string(), "--output",
                                     "golden.rms"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliRun run = RunCli(scratch, args);
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const std::string actual = ReadBytes(scratch.game() / "random/golden.rms");
    const fs::path golden = fs::path(TOLVENEK_GOLDEN_DIR) / c.file;
    if (update) {
      WriteBytes(golden, actual);
      continue;
    }
    const std::string expected = ReadBytes(golden);
    EXPECT_TRUE(expected == actual) << FirstDifference(expected, actual);
  }
}

}  // namespace
}  // namespace tolvenek
