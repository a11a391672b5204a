// Faults and bad inputs as the player meets them. For every case: the message
// shown, the exit code of tolvenek-cli, the target's bytes afterwards, and that
// nothing changed anywhere but the target and the temporary pack file.
//
// Cases that the disk itself can stage run the real tolvenek-cli. Faults the
// disk cannot stage for root (a refused open, a failing Sync, Close or
// replace, a short read) run the same job in this process over a file system
// that fails on demand; their exit code is the one tolvenek-cli gives for the
// outcome (0 written, 1 failed).
#include <fcntl.h>
#include <linux/fs.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/generation_job.h"
#include "base/status_record.h"
#include "gamedata/catalogue.h"
#include "gamedata/drs_writer.h"
#include "install/custom_scripts.h"
#include "pack/build_pack.h"
#include "pack/pack_header.h"
#include "pack/random_block.h"
#include "tests/child_process.h"
#include "tests/fakes/faulty_file_system.h"

namespace tolvenek {
namespace {

namespace fs = std::filesystem;

constexpr int kExitWritten = 0;
constexpr int kExitFailed = 1;
const std::string kOldPack = "/* the pack of an earlier run */\r\n";
const std::string kLandResourcesText = "/* land resources */\r\ncreate_object ORE_MINE\r\n";

std::string Word(uint32_t value) {
  std::string out;
  for (int shift = 0; shift < 32; shift += 8) out += char((value >> shift) & 0xFF);
  return out;
}

uint32_t WordAt(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | uint8_t(bytes[at + i]);
  return value;
}

void PutWordAt(std::string& bytes, size_t at, uint32_t value) { bytes.replace(at, 4, Word(value)); }

// The file's bytes, "<folder>" or "<missing>".
std::string ReadAll(const fs::path& path) {
  std::error_code error;
  if (fs::is_directory(path, error)) return "<folder>";
  std::ifstream file(path, std::ios::binary);
  if (!file) return "<missing>";
  return std::string(std::istreambuf_iterator<char>(file), {});
}

void WriteAll(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

size_t Count(const std::string& text, const std::string& piece) {
  size_t count = 0;
  for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) {
    ++count;
  }
  return count;
}

// Every built-in map's script: about 1 KB, so a pack of all of them is large
// enough to fill a small disk, with a marker that tells the maps apart.
std::string MapScript(const CatalogueRow& row) {
  return "/* " + std::string(row.label) + " " + std::string(900, '-') + " */\r\n" +
         std::string(kMapDefinitionsInclude) + "\r\n<PLAYER_SETUP>\r\n  random_placement /* map " +
         std::to_string(row.id) + " */\r\n<LAND_GENERATION>\r\n  base_terrain DESERT\r\n" +
         "<OBJECTS_GENERATION>\r\n" + std::string(kLandResourcesInclude) +
         "\r\ncreate_object COMMAND_CENTER\r\n<ELEVATION_GENERATION>\r\n<CLIFF_GENERATION>\r\n"
         "<CONNECTION_GENERATION>\r\n";
}

std::string Marker(ResourceId id) { return "/* map " + std::to_string(id) + " */"; }

std::vector<DrsEntry> GameEntries() {
  std::vector<DrsEntry> entries = {{kLandResourcesId, kLandResourcesText},
                                   {kMapDefinitionsId, "/* map definitions */\r\n"}};
  for (const CatalogueRow& row : BuiltinCatalogue()) entries.push_back({row.id, MapScript(row)});
  return entries;
}

std::vector<DrsEntry> GameEntriesWithout(ResourceId id) {
  std::vector<DrsEntry> entries = GameEntries();
  std::erase_if(entries, [&](const DrsEntry& e) { return e.id == id; });
  return entries;
}

// The first 4-aligned position of `id` in an archive of ours: its descriptor.
size_t DescriptorOf(const std::string& archive, ResourceId id) {
  for (size_t at = 0; at + 4 <= archive.size(); at += 4) {
    if (WordAt(archive, at) == id) return at;
  }
  ADD_FAILURE() << "no descriptor of " << id;
  return 0;
}

constexpr ResourceId kDesert = 54201;  // the first map of the catalogue
constexpr ResourceId kSea = 54203;

// An archive of the game's layout with one descriptor word changed.
std::string PatchedArchive(ResourceId id, int word, std::function<uint32_t(uint32_t)> change) {
  std::string archive = BuildDrsArchive(GameEntries());
  const size_t at = DescriptorOf(archive, id) + 4 * word;
  PutWordAt(archive, at, change(WordAt(archive, at)));
  return archive;
}
constexpr int kOffsetWord = 1;
constexpr int kSizeWord = 2;

// A game folder below a fresh temporary root, with neighbours that a stray
// write would change: a "random" folder and a file beside the game folder.
class GameFolder {
 public:
  GameFolder() {
    std::string pattern = (fs::temp_directory_path() / "tolvenek-faults-XXXXXX").string();
    root = mkdtemp(pattern.data());
    game = root / "game";
    random = game / "random";
    WriteAll(game / "battlegrounds_x1.exe", "MZ");
    WriteAll(game / "data" / "gamedata_x1.drs", BuildDrsArchive(GameEntries()));
    WriteAll(random / "sample.rms", kOldPack);
    WriteAll(root / "random" / "keep.rms", "a neighbour's script\r\n");
    WriteAll(root / "keep.txt", "beside the game folder\r\n");
  }

  ~GameFolder() {
    for (const fs::path& path : immutable_) SetImmutable(path, false);
    for (const fs::path& path : mounts_) umount2(path.c_str(), MNT_DETACH);
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }

  GameFolder(const GameFolder&) = delete;
  GameFolder& operator=(const GameFolder&) = delete;

  void Archive(const std::string& bytes) const {
    WriteAll(game / "data" / "gamedata_x1.drs", bytes);
  }
  void Script(const std::string& name, const std::string& bytes) const {
    WriteAll(random / name, bytes);
  }

  // Makes `path` immutable, which refuses writes even to root. False when the
  // file system does not support the flag.
  bool MakeImmutable(const fs::path& path) {
    if (!SetImmutable(path, true)) return false;
    immutable_.push_back(path);
    return true;
  }

  // Puts the random folder on a tmpfs of `bytes`, its files carried over.
  // False when this machine does not let us mount.
  bool PutRandomFolderOnSmallDisk(size_t bytes) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(random)) {
      files[entry.path().filename().string()] = ReadAll(entry.path());
    }
    const std::string options = "size=" + std::to_string(bytes);
    if (mount("tolvenek-faults", random.c_str(), "tmpfs", 0, options.c_str()) != 0) return false;
    mounts_.push_back(random);
    for (const auto& [name, content] : files) WriteAll(random / name, content);
    return true;
  }

  fs::path root, game, random;

 private:
  static bool SetImmutable(const fs::path& path, bool on) {
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
      flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
      done = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    close(fd);
    return done;
  }

  std::vector<fs::path> immutable_;
  std::vector<fs::path> mounts_;
};

// Everything below `root` by relative path: "<folder>" or the file's size and
// a hash of its bytes.
std::map<std::string, std::string> Snapshot(const fs::path& root) {
  std::map<std::string, std::string> tree;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::string relative = entry.path().lexically_relative(root).string();
    if (entry.is_symlink()) {
      tree[relative] = "<link to " + fs::read_symlink(entry.path()).string() + ">";
    } else if (entry.is_directory()) {
      tree[relative] = "<folder>";
    } else {
      const std::string bytes = ReadAll(entry.path());
      tree[relative] =
          std::to_string(bytes.size()) + " " + std::to_string(std::hash<std::string>()(bytes));
    }
  }
  return tree;
}

struct Outcome {
  int exit_code = -1;
  std::string message;  // what the player is shown
};

// Starts tolvenek-cli in `cwd`, its standard output and error to `out` and `err`.
pid_t StartCli(const std::vector<std::string>& args, const fs::path& cwd, const fs::path& out,
               const fs::path& err) {
  std::vector<std::string> argv = {TOLVENEK_CLI_PATH};
  argv.insert(argv.end(), args.begin(), args.end());
  return StartProgram(argv, cwd, out, err);
}

std::string WithoutLastLineEnd(std::string text) {
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

Outcome RunCli(const std::vector<std::string>& args, const fs::path& cwd) {
  std::string pattern = (fs::temp_directory_path() / "tolvenek-capture-XXXXXX").string();
  const fs::path capture = mkdtemp(pattern.data());
  Outcome outcome;
  outcome.exit_code = WaitForProgram(StartCli(args, cwd, capture / "out", capture / "err"));
  const std::string out = ReadAll(capture / "out");
  // The player reads stdout's first line on success, stderr on failure.
  outcome.message = outcome.exit_code == kExitWritten
                        ? out.substr(0, out.find('\n'))
                        : WithoutLastLineEnd(ReadAll(capture / "err"));
  fs::remove_all(capture);
  return outcome;
}

std::vector<std::string> AllLabels() {
  std::vector<std::string> labels;
  for (const CatalogueRow& row : BuiltinCatalogue()) labels.emplace_back(row.label);
  return labels;
}

enum class Target {
  kKept,     // exactly the bytes it had (or still absent)
  kNewPack,  // a whole pack of the case's pool
};

struct FaultCase {
  const char* name;
  // Breaks the game folder; false when this machine cannot stage the case.
  std::function<bool(GameFolder&)> setup;
  // Set: the job runs in this process with these faults at the file seam.
  std::function<void(FaultyFileSystem::Faults&)> inject;
  std::vector<std::string> maps = {"Desert"};
  std::vector<std::string> custom;
  std::string output = "sample.rms";
  int exit_code = kExitFailed;
  std::string message;
  Target target = Target::kKept;
  // The file that takes the pack, when the system spells it unlike `output`.
  std::string target_file;
  // More checks of the written pack.
  std::function<void(const GameFolder&, const std::string& pack)> check;
};

void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.name; }

// A pack of `maps` maps: banner first, the random block once, and eight
// conditional blocks per map (preamble and seven sections) plus the
// land-resources block, the last map's connection block closing the file.
void ExpectWholePack(const std::string& pack, size_t maps) {
  EXPECT_EQ(pack.rfind(std::string(kPackBanner) + "\r\n", 0), 0u) << "banner";
  EXPECT_EQ(Count(pack, "\r\nstart_random\r\n"), 1u);
  EXPECT_EQ(Count(pack, "\r\nend_random\r\n"), 1u);
  EXPECT_EQ(Count(pack, "\r\nif ZOQ_MAP"), 8 * maps);
  EXPECT_EQ(Count(pack, "\r\nif ZOQ_LANDRES\r\n"), 1u);
  EXPECT_EQ(Count(pack, "\r\nendif\r\n"), 8 * maps + 1);
  EXPECT_TRUE(pack.ends_with("\r\nendif\r\n"));
}

// The conditional block of map `n` holding exactly `content`.
std::string Block(int n, const std::string& content) {
  return "\r\nif ZOQ_MAP" + std::to_string(n) + "\r\n" + content + "\r\nendif\r\n";
}

// Map 0 under the tag of one section.
std::string SectionBlock(const std::string& tag, const std::string& content) {
  return "\r\n" + tag + "\r\n" + Block(0, content);
}

std::function<bool(GameFolder&)> WithScript(const std::string& name, const std::string& bytes) {
  return [=](GameFolder& game) {
    game.Script(name, bytes);
    return true;
  };
}

std::function<bool(GameFolder&)> WithArchive(std::function<std::string()> bytes) {
  return [=](GameFolder& game) {
    game.Archive(bytes());
    return true;
  };
}

const std::string kName254 = std::string(250, 'n') + ".rms";

std::string Shortened(const std::string& message) {
  StatusRecord status;
  SetStatus(status, message);
  return std::string(status.Text());
}

std::string Archive() { return BuildDrsArchive(GameEntries()); }

const std::string kPastTheEnd =
    "gamedata_x1.drs is damaged: resource 54201 lies past the end of the file";

const FaultCase kCases[] = {
    // Archives.
    {.name = "ArchiveMissing",
     .setup = [](GameFolder& g) { return fs::remove(g.game / "data" / "gamedata_x1.drs"); },
     .message = "Cannot open gamedata_x1.drs. Make sure game path is correct"},
    {.name = "ArchiveEmpty",
     .setup = WithArchive([] { return std::string(); }),
     .message = "gamedata_x1.drs has no resource 54103. Make sure game path is correct"},
    {.name = "ArchiveCutInsideTheHeader",
     .setup = WithArchive([] { return Archive().substr(0, 50); }),
     .message = "gamedata_x1.drs has no resource 54103. Make sure game path is correct"},
    {.name = "ArchiveCutInsideTheDescriptors",
     .setup = WithArchive([] {
       const std::string archive = Archive();
       return archive.substr(0, DescriptorOf(archive, kLandResourcesId) + 6);
     }),
     .message = "gamedata_x1.drs is damaged: the entry of resource 54103 is cut off"},
    {.name = "ArchiveCutInsideAnEntry",
     .setup = WithArchive([] {
       const std::string archive = Archive();
       return archive.substr(0, WordAt(archive, DescriptorOf(archive, kDesert) + 4) + 10);
     }),
     .message = kPastTheEnd},
    {.name = "ArchiveWithoutTheMapsId",
     .setup = WithArchive([] { return BuildDrsArchive(GameEntriesWithout(kDesert)); }),
     .message = "gamedata_x1.drs has no resource 54201. Make sure game path is correct"},
    {.name = "ArchiveOffsetNear2To32",
     .setup = WithArchive(
         [] { return PatchedArchive(kDesert, kOffsetWord, [](uint32_t) { return 0xFFFFFFF0u; }); }),
     .message = kPastTheEnd},
    {.name = "ArchiveSizeNear2To32",
     .setup = WithArchive(
         [] { return PatchedArchive(kDesert, kSizeWord, [](uint32_t) { return 0xFFFFFFFFu; }); }),
     .message = kPastTheEnd},
    {.name = "ArchiveOffsetPlusSizeWrapsIn32Bits",
     // In 32 bits offset + size comes to 4, well inside the file.
     .setup = WithArchive([] {
       std::string archive = Archive();
       const size_t at = DescriptorOf(archive, kDesert);
       PutWordAt(archive, at + 8, uint32_t(0x100000004ull - WordAt(archive, at + 4)));
       return archive;
     }),
     .message = kPastTheEnd},
    {.name = "ArchiveSizeLargerThanTheFile",
     .setup = WithArchive([] {
       std::string archive = Archive();
       const size_t at = DescriptorOf(archive, kDesert);
       PutWordAt(archive, at + 8, uint32_t(archive.size() - WordAt(archive, at + 4) + 1));
       return archive;
     }),
     .message = kPastTheEnd},
    {.name = "ArchiveZeroSizeEntries",
     .setup = WithArchive([] {
       std::vector<DrsEntry> entries = GameEntries();
       for (DrsEntry& entry : entries) {
         if (entry.id == kDesert || entry.id == kLandResourcesId) entry.data.clear();
       }
       return BuildDrsArchive(entries);
     }),
     .exit_code = kExitWritten,
     .message = "Script generated",
     .target = Target::kNewPack,
     .check =
         [](const GameFolder&, const std::string& pack) {
           EXPECT_EQ(Count(pack, Block(0, "")), 8u);
           EXPECT_NE(pack.find("\r\nif ZOQ_LANDRES\r\n\r\nendif\r\n"), std::string::npos);
         }},
    {.name = "ArchiveIdBytesAtUnalignedPositions",
     // The ids' bytes stand in the copyright text at positions 1 and 6.
     .setup = WithArchive([] {
       std::string archive = Archive();
       archive.replace(1, 4, Word(kDesert));
       archive.replace(6, 4, Word(kLandResourcesId));
       return archive;
     }),
     .exit_code = kExitWritten,
     .message = "Script generated",
     .target = Target::kNewPack,
     .check =
         [](const GameFolder&, const std::string& pack) {
           EXPECT_NE(pack.find(Marker(kDesert)), std::string::npos);
           EXPECT_NE(pack.find(kLandResourcesText), std::string::npos);
         }},
    {.name = "ArchiveIdWordBeforeItsOwnDescriptor",
     // An aligned word of the header equals Desert's id and the two after it
     // point at Sea's script: that word wins, as it does for the game.
     .setup = WithArchive([] {
       std::string archive = Archive();
       const size_t sea = DescriptorOf(archive, kSea);
       archive.replace(48, 12, Word(kDesert) + archive.substr(sea + 4, 8));
       return archive;
     }),
     .exit_code = kExitWritten,
     .message = "Script generated",
     .target = Target::kNewPack,
     .check =
         [](const GameFolder&, const std::string& pack) {
           EXPECT_NE(pack.find(Marker(kSea)), std::string::npos);
           EXPECT_EQ(pack.find(Marker(kDesert)), std::string::npos);
           EXPECT_NE(pack.find("pack: Desert "), std::string::npos);
         }},

    // Scripts.
    {.name = "ScriptEmpty",
     .setup = WithScript("mine.rms", ""),
     .maps = {},
     .custom = {"mine.rms"},
     .exit_code = kExitWritten,
     .message = "Script generated",
     .target = Target::kNewPack,
     .check = [](const GameFolder&,
                 const std::string& pack) { EXPECT_EQ(Count(pack, Block(0, "")), 8u); }},
    {.name = "ScriptWithNulBytes",
     // The text ends at its first NUL: the land section behind it is gone.
     .setup = WithScript(
         "mine.rms", std::string("<PLAYER_SETUP>\r\nbefore\0<LAND_GENERATION>\r\nafter\r\n", 49)),
     .maps = {},
     .custom = {"mine.rms"},
     .exit_code = kExitWritten,
     .message = "Script generated",
     .target = Target::kNewPack,
     .check =
         [](const GameFolder&, const std::string& pack) {
           EXPECT_NE(pack.find(SectionBlock("<PLAYER_SETUP>", "\r\nbefore")), std::string::npos);
           EXPECT_NE(pack.find(SectionBlock("<LAND_GENERATION>", "")), std::string::npos);
           EXPECT_EQ(pack.find('\0'), std::string::npos);
         }},
    {.name = "ScriptWithOnlyCrLineEnds",
     .setup = WithScript("mine.rms", "pre\r<PLAYER_SETUP>\rps\r<OBJECTS_GENERATION>\robj\r"),
     .maps = {},
     .custom = {"mine.rms"},
     .exit_code = kExitWritten,
     .message = "Script generated",
     .target = Target::kNewPack,
     .check =
         [](const GameFolder&, const std::string& pack) {
           EXPECT_NE(pack.find(Block(0, "pre\r")), std::string::npos);
           EXPECT_NE(pack.find(SectionBlock("<PLAYER_SETUP>", "\rps\r")), std::string::npos);
         }},
    {.name = "ScriptWithBytesAbove127",
     .setup = WithScript("mine.rms", "\xA9\r\n<PLAYER_SETUP>\r\n/* \xE9\xFF\x80 */\r\n"),
     .maps = {},
     .custom = {"mine.rms"},
     .exit_code = kExitWritten,
     .message = "Script generated",
     .target = Target::kNewPack,
     .check =
         [](const GameFolder&, const std::string& pack) {
           EXPECT_NE(pack.find(Block(0, "\xA9\r\n")), std::string::npos);
           EXPECT_NE(pack.find(SectionBlock("<PLAYER_SETUP>", "\r\n/* \xE9\xFF\x80 */\r\n")),
                     std::string::npos);
         }},
    {.name = "Script50MB",
     .setup =
         [](GameFolder& g) {
           std::string script = "<PLAYER_SETUP>\r\n";
           while (script.size() < 50u * 1024 * 1024) script += "/* a long script line */\r\n";
           g.Script("large.rms", script + "<LAND_GENERATION>\r\n");
           return true;
         },
     .maps = {},
     .custom = {"large.rms"},
     .exit_code = kExitWritten,
     .message = "Script generated",
     .target = Target::kNewPack,
     .check = [](const GameFolder&,
                 const std::string& pack) { EXPECT_GT(pack.size(), 50u * 1024 * 1024); }},
    {.name = "ScriptSectionsOutOfOrderRepeatedMissing",
     // Objects before land, land twice, no terrain: the first of each counts,
     // and all before the player-setup tag is preamble.
     .setup = WithScript("mine.rms",
                         "<OBJECTS_GENERATION>\r\nobj\r\n<LAND_GENERATION>\r\nland1\r\n"
                         "<PLAYER_SETUP>\r\nps\r\n<LAND_GENERATION>\r\nland2\r\n"),
     .maps = {},
     .custom = {"mine.rms"},
     .exit_code = kExitWritten,
     .message = "Script generated",
     .target = Target::kNewPack,
     .check =
         [](const GameFolder&, const std::string& pack) {
           EXPECT_NE(
               pack.find(Block(0, "<OBJECTS_GENERATION>\r\nobj\r\n<LAND_GENERATION>\r\nland1\r\n")),
               std::string::npos);
           EXPECT_NE(pack.find(SectionBlock("<LAND_GENERATION>", "\r\nland1\r\n")),
                     std::string::npos);
           EXPECT_NE(pack.find(SectionBlock("<TERRAIN_GENERATION>", "")), std::string::npos);
           EXPECT_EQ(pack.find("land2"), std::string::npos);
         }},
    {.name = "ScriptWithLessThanInAComment",
     .setup = WithScript("mine.rms",
                         "<PLAYER_SETUP>\r\n<TERRAIN_GENERATION>\r\nt1 /* a < b */ t2\r\n"
                         "<OBJECTS_GENERATION>\r\n"),
     .maps = {},
     .custom = {"mine.rms"},
     .exit_code = kExitWritten,
     .message = "Script generated",
     .target = Target::kNewPack,
     .check =
         [](const GameFolder&, const std::string& pack) {
           EXPECT_NE(pack.find(SectionBlock("<TERRAIN_GENERATION>", "\r\nt1 /* a ")),
                     std::string::npos);
           EXPECT_EQ(pack.find("t2"), std::string::npos);
         }},
    {.name = "ScriptEndingInATag",
     .setup = WithScript("mine.rms", "<PLAYER_SETUP>\r\nps\r\n<CONNECTION_GENERATION>"),
     .maps = {},
     .custom = {"mine.rms"},
     .exit_code = kExitWritten,
     .message = "Script generated",
     .target = Target::kNewPack,
     .check =
         [](const GameFolder&, const std::string& pack) {
           EXPECT_TRUE(pack.ends_with(SectionBlock("<CONNECTION_GENERATION>", "")));
         }},

    // Names.
    {.name = "EmptyPool", .maps = {}, .message = "Select at least one map"},
    {.name = "OutputName24Characters",
     .output = "twenty-four-characters.s",
     .exit_code = kExitWritten,
     .message = "Script generated",
     .target = Target::kNewPack},
    {.name = "OutputName25Characters",
     .output = "twenty-five-characters.rm",
     .message = "File name exceeds 20 characters"},
    {.name = "OutputNameEmpty", .output = "", .message = "Cannot write file"},
    {.name = "OutputNameWithFolderParts",
     .output = "../escape.rms",
     .message = "File name must be a plain file name inside the random folder"},
    {.name = "OutputNameWithWindowsFolderParts",
     .output = "..\\..\\escape.rms",
     .message = "File name must be a plain file name inside the random folder"},
    {.name = "OutputNameIsTheTemporaryFile",
     .output = "zoq_tmp_file.tmp",
     .message = "ZOQ_TMP_FILE.tmp is Tolvenek's own temporary file; choose another name"},
    {.name = "OutputNameInOtherLetterCase",
     // The existing sample.rms is replaced; no second file appears.
     .output = "SAMPLE.RMS",
     .exit_code = kExitWritten,
     .message = "Script generated",
     .target = Target::kNewPack,
     .target_file = "sample.rms",
     .check =
         [](const GameFolder& g, const std::string&) {
           for (const auto& entry : fs::directory_iterator(g.random)) {
             EXPECT_NE(entry.path().filename(), "SAMPLE.RMS");
           }
         }},
    {.name = "CustomNameEmpty", .custom = {""}, .message = "File not found: random\\"},
    {.name = "CustomName254Characters",
     .setup = WithScript(kName254, "<PLAYER_SETUP>\r\nlong\r\n"),
     .custom = {kName254},
     .exit_code = kExitWritten,
     .message = "Script generated",
     .target = Target::kNewPack,
     .check =
         [](const GameFolder&, const std::string& pack) {
           EXPECT_NE(pack.find("Desert, " + kName254), std::string::npos);
         }},
    {.name = "CustomName254CharactersUnreadable",
     .setup = WithScript(kName254, "<PLAYER_SETUP>\r\nlong\r\n"),
     .inject = [](FaultyFileSystem::Faults& f) { f.refuse_read = kName254; },
     .custom = {kName254},
     .message = Shortened("Cannot open random\\" + kName254)},
    {.name = "CustomNamesDifferingOnlyInCase",
     .setup =
         [](GameFolder& g) {
           g.Script("Case.rms", "<PLAYER_SETUP>\r\nupper\r\n");
           g.Script("case.rms", "<PLAYER_SETUP>\r\nlower\r\n");
           return true;
         },
     .maps = {},
     .custom = {"Case.rms", "case.rms"},
     .exit_code = kExitWritten,
     .message = "Script generated",
     .target = Target::kNewPack,
     .check =
         [](const GameFolder&, const std::string& pack) {
           // Each name reads its own file, whichever order the list gives them.
           EXPECT_EQ(Count(pack, "\r\nupper\r\n\r\nendif\r\n"), 1u);
           EXPECT_EQ(Count(pack, "\r\nlower\r\n\r\nendif\r\n"), 1u);
         }},

    // Files.
    {.name = "TargetImmutable",
     .setup = [](GameFolder& g) { return g.MakeImmutable(g.random / "sample.rms"); },
     .message = "Cannot write file"},
    {.name = "TargetRefused",
     .inject = [](FaultyFileSystem::Faults& f) { f.refuse_write = "sample.rms"; },
     .message = "Cannot write file"},
    {.name = "RandomFolderImmutable",
     .setup = [](GameFolder& g) { return g.MakeImmutable(g.random); },
     .message = "Cannot write temp file"},
    {.name = "TemporaryFileRefused",
     .inject = [](FaultyFileSystem::Faults& f) { f.refuse_write = std::string(kTempPackName); },
     .message = "Cannot write temp file"},
    {.name = "TemporaryFileIsALinkOutsideTheGameFolder",
     // A stale temporary name that links elsewhere: the link is replaced, the
     // file it points at is not written.
     .setup =
         [](GameFolder& g) {
           fs::create_symlink(g.root / "keep.txt", g.random / kTempPackName);
           return true;
         },
     .exit_code = kExitWritten,
     .message = "Script generated",
     .target = Target::kNewPack,
     .check = [](const GameFolder& g,
                 const std::string&) { EXPECT_FALSE(fs::is_symlink(g.random / "sample.rms")); }},
    {.name = "TemporaryFileIsAFolder",
     .setup = [](GameFolder& g) { return fs::create_directory(g.random / kTempPackName); },
     .message = "Cannot write temp file"},
    {.name = "RandomFolderIsAFile",
     .setup =
         [](GameFolder& g) {
           fs::remove_all(g.random);
           WriteAll(g.random, "not a folder");
           return true;
         },
     .message = "Cannot write file"},
    {.name = "TargetIsAFolder",
     .setup =
         [](GameFolder& g) {
           fs::remove(g.random / "sample.rms");
           return fs::create_directory(g.random / "sample.rms");
         },
     .message = "Cannot write file"},
    {.name = "RandomFolderMissing",
     .setup = [](GameFolder& g) { return fs::remove_all(g.random) > 0; },
     .message = "Cannot write file"},
    {.name = "CustomScriptUnreadable",
     .setup = WithScript("mine.rms", "<PLAYER_SETUP>\r\n"),
     .inject = [](FaultyFileSystem::Faults& f) { f.refuse_read = "mine.rms"; },
     .custom = {"mine.rms"},
     .message = "Cannot open random\\mine.rms"},
    {.name = "CustomScriptGoneSinceItWasAdded",
     .inject = [](FaultyFileSystem::Faults&) {},
     .custom = {"gone.rms"},
     .message = "Cannot open random\\gone.rms"},
    {.name = "CustomScriptNotInTheRandomFolder",
     .custom = {"gone.rms"},
     .message = "File not found: random\\gone.rms"},
    {.name = "CustomScriptIsAFolder",
     .setup = [](GameFolder& g) { return fs::create_directory(g.random / "folder.rms"); },
     .custom = {"folder.rms"},
     .message = "File not found: random\\folder.rms"},
    {.name = "CustomScriptShorterThanItsSize",
     .setup = WithScript("mine.rms", "<PLAYER_SETUP>\r\nthe whole script\r\n"),
     .inject =
         [](FaultyFileSystem::Faults& f) {
           f.short_read = "mine.rms";
           f.short_read_limit = 5;
         },
     .custom = {"mine.rms"},
     .message = "Cannot read random\\mine.rms whole"},
    {.name = "NoTargetYetAndAScriptFails",
     // The probe's empty file does not stay behind.
     .setup = [](GameFolder& g) { return fs::remove(g.random / "sample.rms"); },
     .inject = [](FaultyFileSystem::Faults& f) { f.refuse_read = "mine.rms"; },
     .custom = {"mine.rms"},
     .message = "Cannot open random\\mine.rms"},
    {.name = "ArchiveRefused",
     .inject = [](FaultyFileSystem::Faults& f) { f.refuse_read = "gamedata_x1.drs"; },
     .message = "Cannot open gamedata_x1.drs. Make sure game path is correct"},
    {.name = "ArchiveShorterThanItsSize",
     .inject =
         [](FaultyFileSystem::Faults& f) {
           f.short_read = "gamedata_x1.drs";
           f.short_read_limit = 300;
         },
     .message = "Cannot read resource 54103 from gamedata_x1.drs"},
    {.name = "DiskFullAtTheSeam",
     .inject = [](FaultyFileSystem::Faults& f) { f.write_limit = 1000; },
     .maps = AllLabels(),
     .message = "Cannot write temp file: disk full"},
    {.name = "DiskFullOnASmallDisk",
     .setup = [](GameFolder& g) { return g.PutRandomFolderOnSmallDisk(32 * 1024); },
     .maps = AllLabels(),
     .message = "Cannot write temp file: disk full"},
    {.name = "SyncFails",
     .inject = [](FaultyFileSystem::Faults& f) { f.sync_error = FsError::kIo; },
     .message = "Cannot write temp file: input/output error"},
    {.name = "CloseFails",
     .inject = [](FaultyFileSystem::Faults& f) { f.close_error = FsError::kNoSpace; },
     .message = "Cannot write temp file: disk full"},
    {.name = "RenameRefused",
     .inject = [](FaultyFileSystem::Faults& f) { f.move_error = FsError::kAccessDenied; },
     .message = "Cannot replace sample.rms: access denied"},
};

std::vector<std::string> CliArguments(const GameFolder& game, const FaultCase& c) {
  std::vector<std::string> args = {"--game-folder", game.game.string()};
  for (const std::string& map : c.maps) args.insert(args.end(), {"--map", map});
  for (const std::string& name : c.custom) args.insert(args.end(), {"--custom", name});
  args.insert(args.end(), {"--output", c.output});
  return args;
}

Outcome RunInProcess(FaultyFileSystem& fs, const GameFolder& game, const FaultCase& c) {
  JobInputs inputs;
  inputs.game_folder = game.game.string();
  for (const std::string& map : c.maps) {
    const auto& rows = BuiltinCatalogue();
    const auto row = std::find_if(rows.begin(), rows.end(),
                                  [&](const CatalogueRow& r) { return r.label == map; });
    inputs.selection[size_t(row - rows.begin())] = true;
  }
  for (const std::string& name : c.custom) {
    inputs.custom_names.insert(
        inputs.custom_names.begin() + SortedInsertPosition(inputs.custom_names, name), name);
  }
  inputs.output_name = c.output;
  const JobOutcome job = RunGenerationJob(fs, inputs);
  return {job.failed ? kExitFailed : kExitWritten, job.message};
}

class FaultTable : public testing::TestWithParam<FaultCase> {};

TEST_P(FaultTable, ShowsItsMessageAndKeepsAllElse) {
  const FaultCase& c = GetParam();
  GameFolder game;
  if (c.setup && !c.setup(game)) GTEST_SKIP() << "this machine cannot stage the case";

  const fs::path target = game.random / (c.target_file.empty() ? c.output : c.target_file);
  const std::string target_before = ReadAll(target);
  const auto others = [&] {
    std::map<std::string, std::string> tree = Snapshot(game.root);
    tree.erase(target.lexically_relative(game.root).string());
    tree.erase((game.random / kTempPackName).lexically_relative(game.root).string());
    return tree;
  };
  const std::map<std::string, std::string> others_before = others();

  Outcome outcome;
  FaultyFileSystem faulty(SystemFileSystem());
  if (c.inject) {
    c.inject(faulty.faults);
    outcome = RunInProcess(faulty, game, c);
  } else {
    outcome = RunCli(CliArguments(game, c), game.root);
  }

  EXPECT_EQ(outcome.exit_code, c.exit_code);
  EXPECT_EQ(outcome.message, c.message);
  const std::string target_after = ReadAll(target);
  if (c.target == Target::kKept) {
    EXPECT_EQ(target_after, target_before) << "the target changed";
  } else {
    ExpectWholePack(target_after, c.maps.size() + c.custom.size());
    if (c.check) c.check(game, target_after);
  }
  EXPECT_EQ(others(), others_before) << "something else changed";
  // Every path the job used lies in the game folder.
  for (const std::string& call : faulty.calls) {
    const size_t space = call.find(' ');
    if (call.compare(0, 5, "Write") == 0 || space == std::string::npos) continue;
    EXPECT_EQ(call.compare(space + 1, game.game.string().size(), game.game.string()), 0) << call;
  }
  std::cout << "| " << c.name << " | " << (c.inject ? "seam" : "cli") << " | " << outcome.exit_code
            << " | " << outcome.message << " |\n";
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultTable, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<FaultCase>& info) {
                           return std::string(info.param.name);
                         });

// A run killed at any moment leaves the old pack or the new one, never a mix,
// an empty file or nothing.
TEST(Interruption, AKilledRunLeavesTheOldPackOrTheNewOne) {
  GameFolder game;
  // A large pool, so that a run lasts long enough to be hit while writing.
  std::vector<std::string> args = {"--game-folder", game.game.string(), "--all"};
  for (int i = 0; i < 3; ++i) {
    std::string script = "<PLAYER_SETUP>\r\n";
    while (script.size() < 4u * 1024 * 1024) script += "/* script " + std::to_string(i) + " */\r\n";
    game.Script("large" + std::to_string(i) + ".rms", script);
    args.insert(args.end(), {"--custom", "large" + std::to_string(i) + ".rms"});
  }
  const fs::path target = game.random / "sample.rms";

  std::vector<std::string> old_args = {"--game-folder", game.game.string(), "--map", "Desert"};
  ASSERT_EQ(RunCli(old_args, game.root).exit_code, kExitWritten);
  const std::string old_pack = ReadAll(target);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(RunCli(args, game.root).exit_code, kExitWritten);
  const auto full_run = std::chrono::steady_clock::now() - start;
  const std::string new_pack = ReadAll(target);
  ASSERT_NE(old_pack, new_pack);

  const fs::path null_device = "/dev/null";
  std::mt19937 random(std::random_device{}());
  const int64_t span =
      std::chrono::duration_cast<std::chrono::microseconds>(full_run).count() * 5 / 4;
  std::uniform_int_distribution<int64_t> moment(0, span);
  int kept = 0, replaced = 0, while_writing = 0;
  for (int kill_number = 0; kill_number < 40; ++kill_number) {
    WriteAll(target, old_pack);
    fs::remove(game.random / kTempPackName);
    const int64_t after = moment(random);
    const pid_t pid = StartCli(args, game.root, null_device, null_device);
    std::this_thread::sleep_for(std::chrono::microseconds(after));
    kill(pid, SIGKILL);
    WaitForProgram(pid);
    const std::string now = ReadAll(target);
    ASSERT_TRUE(now == old_pack || now == new_pack)
        << "kill " << kill_number << " after " << after << " us left " << now.size() << " bytes";
    now == old_pack ? ++kept : ++replaced;
    if (now == old_pack && fs::exists(game.random / kTempPackName)) ++while_writing;
  }
  std::cout << "40 kills over " << span << " us: " << kept << " old (" << while_writing
            << " of them while the temporary pack was written), " << replaced << " new\n";
}

}  // namespace
}  // namespace tolvenek
