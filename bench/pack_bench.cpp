// tolvenek_bench: how long a big pack takes next to merely copying its input,
// and how much memory tolvenek-cli needs for it.
//
// Builds a game folder in a temporary place: an archive in the game's own
// layout with all 46 built-in maps and the land-resources include, and 200
// custom scripts, every script about 30 KB. Then, in one run and alternating:
//   pack - the generation job for all 46 + 200 maps, in this process;
//   copy - the same input bytes (the archive and the custom scripts) read and
//          written into one file, flushed to disk like the pack.
// Reports the medians and their ratio, and the peak resident memory of one
// tolvenek-cli process building the same pack, against the scripts' size.
//
//   tolvenek_bench [RUNS]   (default 7)
#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/generation_job.h"
#include "gamedata/catalogue.h"
#include "gamedata/drs_writer.h"
#include "platform/file_system.h"

namespace {

namespace fs = std::filesystem;

constexpr int kCustomCount = 200;
constexpr size_t kScriptSize = 30 * 1024;

// A script shaped like the game's: a preamble with the definitions include,
// seven sections, the land-resources include in some objects sections, and
// enough object and terrain blocks to reach about `size` bytes.
std::string MakeScript(int seed, size_t size, bool land_resources) {
  std::string preamble = "/* benchmark map " + std::to_string(seed) + " */\r\n" +
                         "#include_drs random_map.def 54000\r\n#const BENCH_TERRAIN " +
                         std::to_string(seed % 40) + "\r\n\r\n";
  std::string land = "<LAND_GENERATION>\r\nbase_terrain GRASS\r\n";
  std::string terrain = "<TERRAIN_GENERATION>\r\n";
  std::string objects = "<OBJECTS_GENERATION>\r\n";
  if (land_resources) objects += "#include_drs GBG_land_resources.inc 54103\r\n";
  const std::string tail =
      "<ELEVATION_GENERATION>\r\ncreate_elevation 4\r\n{\r\n  base_terrain GRASS\r\n}\r\n"
      "<CLIFF_GENERATION>\r\nmin_number_of_cliffs 2\r\n"
      "<CONNECTION_GENERATION>\r\ncreate_connect_all_players_land\r\n{\r\n"
      "  replace_terrain WATER SHALLOWS\r\n}\r\n";
  const std::string player = "<PLAYER_SETUP>\r\n  random_placement\r\n";
  for (int block = 0; preamble.size() + player.size() + land.size() + terrain.size() +
                          objects.size() + tail.size() <
                      size;
       ++block) {
    const std::string n = std::to_string((seed * 31 + block) % 97);
    switch (block % 4) {
      case 0:
        land += "create_land\r\n{\r\n  terrain_type DIRT\r\n  number_of_tiles " + n +
                "0\r\n  land_position " + n + " 50\r\n}\r\n";
        break;
      case 1:
        terrain += "create_terrain FOREST\r\n{\r\n  base_terrain GRASS\r\n  number_of_clumps " + n +
                   "\r\n  set_avoid_player_start_areas\r\n}\r\n";
        break;
      default:
        objects += "create_object ORE_MINE\r\n{\r\n  number_of_objects " + n +
                   "\r\n  set_place_for_every_player\r\n  min_distance_to_players 7\r\n"
                   "  max_distance_to_players 12\r\n}\r\n";
        break;
    }
  }
  return preamble + player + land + terrain + objects + tail;
}

bool WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  return bool(out);
}

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Reads every input whole and writes it into one file, synced like the pack.
bool CopyInputs(const std::vector<fs::path>& inputs, const fs::path& output) {
  const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (out < 0) return false;
  bool ok = true;
  std::string buffer;
  for (const fs::path& input : inputs) {
    const int in = open(input.c_str(), O_RDONLY);
    if (in < 0) {
      ok = false;
      break;
    }
    buffer.resize(size_t(fs::file_size(input)));
    ok = read(in, buffer.data(), buffer.size()) == ssize_t(buffer.size()) &&
         write(out, buffer.data(), buffer.size()) == ssize_t(buffer.size());
    close(in);
    if (!ok) break;
  }
  ok = fsync(out) == 0 && ok;
  return close(out) == 0 && ok;
}

// Runs tolvenek-cli on the whole pool; its peak resident set in bytes, or 0.
long CliPeakMemory(const fs::path& game, const std::vector<std::string>& customs, double* seconds) {
  std::vector<std::string> args = {TOLVENEK_CLI, "--game-folder", game.string(),
                                   "--all",      "--output",      "cli.rms"};
  for (const std::string& name : customs) {
    args.push_back("--custom");
    args.push_back(name);
  }
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    return 0;
  }
  *seconds = Seconds(std::chrono::steady_clock::now() - start);
  return usage.ru_maxrss * 1024L;  // Linux reports kilobytes
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
  std::string pattern = (fs::temp_directory_path() / "tolvenek-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    std::perror("mkdtemp");
    return 1;
  }
  const fs::path game = pattern;
  struct RemoveAtExit {
    fs::path folder;
    ~RemoveAtExit() {
      std::error_code ignored;
      fs::remove_all(folder, ignored);
    }
  } remove_at_exit{game};
  fs::create_directories(game / "data");
  fs::create_directories(game / "random");

  // Inputs.
  std::vector<tolvenek::DrsEntry> entries;
  std::string land_resources;
  for (int i = 0; i < 6; ++i) {
    land_resources += "create_object CARBON_ROCK\r\n{\r\n  set_place_for_every_player\r\n}\r\n";
  }
  entries.push_back({tolvenek::kLandResourcesId, land_resources});
  size_t script_bytes = land_resources.size();
  int seed = 0;
  for (const tolvenek::CatalogueRow& row : tolvenek::BuiltinCatalogue()) {
    entries.push_back({row.id, MakeScript(seed, kScriptSize, seed % 3 == 0)});
    script_bytes += entries.back().data.size();
    ++seed;
  }
  std::vector<fs::path> inputs = {game / "data/gamedata_x1.drs"};
  std::vector<std::string> customs;
  bool written = WriteFile(game / "battlegrounds_x1.exe", "") &&
                 WriteFile(inputs[0], tolvenek::BuildDrsArchive(entries));
  for (int i = 0; i < kCustomCount && written; ++i, ++seed) {
    char name[32];
    std::snprintf(name, sizeof name, "bench_%03d.rms", i);
    const std::string text = MakeScript(seed, kScriptSize, seed % 3 == 0);
    script_bytes += text.size();
    customs.push_back(name);
    inputs.push_back(game / "random" / name);
    written = WriteFile(inputs.back(), text);
  }
  if (!written) {
    std::fprintf(stderr, "tolvenek_bench: cannot write the inputs in %s\n", game.c_str());
    return 1;
  }

  tolvenek::FileSystem& files = tolvenek::SystemFileSystem();
  tolvenek::JobInputs job;
  job.game_folder = game.string();
  job.selection.fill(true);
  job.custom_names = customs;  // already in sorted order
  job.output_name = "bench.rms";

  std::vector<double> pack_times, copy_times;
  for (int run = 0; run < runs; ++run) {
    auto start = std::chrono::steady_clock::now();
    const tolvenek::JobOutcome outcome = tolvenek::RunGenerationJob(files, job);
    pack_times.push_back(Seconds(std::chrono::steady_clock::now() - start));
    if (outcome.failed) {
      std::fprintf(stderr, "tolvenek_bench: %s\n", outcome.message.c_str());
      return 1;
    }
    start = std::chrono::steady_clock::now();
    if (!CopyInputs(inputs, game / "copy.out")) {
      std::fprintf(stderr, "tolvenek_bench: the copy failed\n");
      return 1;
    }
    copy_times.push_back(Seconds(std::chrono::steady_clock::now() - start));
  }
  const uint64_t pack_size = fs::file_size(game / "random/bench.rms");
  double cli_seconds = 0;
  const long peak = CliPeakMemory(game, customs, &cli_seconds);

  const double pack = Median(pack_times);
  const double copy = Median(copy_times);
  std::printf("pool: 46 built-in + %d custom maps, scripts %.1f MB in all, pack %.1f MB\n",
              kCustomCount, double(script_bytes) / 1e6, double(pack_size) / 1e6);
  std::printf("pack  median of %d: %8.2f ms\n", runs, pack * 1e3);
  std::printf("copy  median of %d: %8.2f ms\n", runs, copy * 1e3);
  std::printf("time ratio pack/copy: %.2f (aim: at most 3)\n", pack / copy);
  if (peak > 0) {
    std::printf(
        "tolvenek-cli: %.2f ms, peak resident %.1f MB = %.2f x the scripts (aim: at most 3)\n",
        cli_seconds * 1e3, double(peak) / 1e6, double(peak) / double(script_bytes));
  } else {
    std::printf("tolvenek-cli failed; no memory figure\n");
  }
  return 0;
}
