// tolvenek-cli: the dialog's "Generate script" from the command line, for
// players on Linux, for scripts and for tests.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/generation_job.h"
#include "base/letter_case.h"
#include "gamedata/catalogue.h"
#include "install/custom_scripts.h"
#include "install/game_folder.h"
#include "pack/build_pack.h"
#include "platform/file_system.h"
#include "platform/registry.h"

namespace tolvenek {
namespace {

constexpr std::string_view kVersion = "1.3";
constexpr std::string_view kUsage =
    "usage: tolvenek-cli [--game-folder DIR] [--map LABEL]... [--group NAME]... [--all]\n"
    "                    [--custom NAME]... [--output NAME] | --list | --help | --version";

constexpr std::string_view kHelp =
    R"(Writes one pack script into the game's random folder. When the game runs it,
the pack picks one of the chosen maps, each with a near-equal chance.

  --game-folder DIR  the game's folder (the one holding battlegrounds_x1.exe);
                     found by itself when left out
  --map LABEL        a built-in map by its label, letter case ignored; repeatable
  --group NAME       every map of a group: "Blind Random", "Star Wars Locale"
                     or "Miscellaneous"; repeatable
  --all              all 46 built-in maps
  --custom NAME      a script of the random folder; repeatable
  --output NAME      the pack's file name in the random folder (default sample.rms)
  --list             the built-in maps and the random folder's scripts
  --help, --version

Exit codes: 0 written, 1 the pack could not be written (the reason on
standard error), 2 the command line is wrong.)";

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// Up to three labels nearest to `wanted`, nearest first.
std::string ClosestLabels(std::string_view wanted) {
  std::vector<std::pair<size_t, std::string_view>> scored;
  for (const CatalogueRow& row : BuiltinCatalogue()) {
    scored.push_back({EditDistance(AsciiLowered(wanted), AsciiLowered(row.label)), row.label});
  }
  std::stable_sort(scored.begin(), scored.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::string text;
  for (size_t i = 0; i < 3; ++i) text += (i ? ", \"" : "\"") + std::string(scored[i].second) + "\"";
  return text;
}

int UsageError(const std::string& problem) {
  std::cerr << "tolvenek-cli: " << problem << "\n" << kUsage << "\n";
  return kExitUsage;
}

void PrintList(FileSystem& fs, const std::string& folder) {
  std::cout << "Built-in maps (group, label, resource id):\n";
  for (const CatalogueRow& row : BuiltinCatalogue()) {
    std::cout << "  " << GroupName(row.group) << "\t" << row.label << "\t" << row.id << "\n";
  }
  ScriptListing listing = ListCustomScripts(fs, folder);
  if (!listing.warning.empty()) std::cerr << listing.warning << "\n";
  std::vector<std::string> sorted;
  for (std::string& name : listing.names) {
    sorted.insert(sorted.begin() + SortedInsertPosition(sorted, name), std::move(name));
  }
  std::cout << "Custom scripts in " << fs.DisplayPath(JoinPath(folder, "random")) << ":\n";
  for (const std::string& name : sorted) std::cout << "  " << name << "\n";
}

int Run(const std::vector<std::string>& args) {
  FileSystem& fs = SystemFileSystem();
  std::string game_folder;
  bool folder_given = false;
  bool list = false;
  SelectionFlags selection{};
  std::vector<std::string> custom;
  std::string output = "sample.rms";

  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool takes_value = arg == "--game-folder" || arg == "--map" || arg == "--group" ||
                             arg == "--custom" || arg == "--output";
    if (takes_value && i + 1 >= args.size()) return UsageError(arg + " needs a value");
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage << "\n\n" << kHelp << "\n";
      return 0;
    } else if (arg == "--version") {
      std::cout << "tolvenek-cli " << kVersion << "\n";
      return 0;
    } else if (arg == "--game-folder") {
      game_folder = args[++i];
      folder_given = true;
    } else if (arg == "--map") {
      const std::string wanted = AsciiLowered(args[++i]);
      const auto& rows = BuiltinCatalogue();
      const auto row = std::find_if(rows.begin(), rows.end(), [&](const CatalogueRow& r) {
        return AsciiLowered(r.label) == wanted;
      });
      if (row == rows.end()) {
        return UsageError("no built-in map \"" + args[i] +
                          "\"; closest: " + ClosestLabels(args[i]));
      }
      selection[size_t(row - rows.begin())] = true;
    } else if (arg == "--group") {
      const std::string wanted = AsciiLowered(args[++i]);
      bool known = false;
      for (size_t r = 0; r < BuiltinCatalogue().size(); ++r) {
        if (AsciiLowered(GroupName(BuiltinCatalogue()[r].group)) == wanted) {
          selection[r] = true;
          known = true;
        }
      }
      if (!known) {
        return UsageError("no group \"" + args[i] +
                          "\"; the groups are \"Blind Random\", \"Star Wars Locale\" and "
                          "\"Miscellaneous\"");
      }
    } else if (arg == "--all") {
      selection.fill(true);
    } else if (arg == "--custom") {
      custom.push_back(args[++i]);
    } else if (arg == "--output") {
      output = args[++i];
    } else if (arg == "--list") {
      list = true;
    } else {
      return UsageError("unknown argument \"" + arg + "\"");
    }
  }

  if (!folder_given) game_folder = DetectGameFolder(fs, SystemRegistry());
  const std::string folder = EnterGameFolder(fs, game_folder);
  if (list) {
    PrintList(fs, folder);
    return 0;
  }

  JobInputs inputs;
  inputs.game_folder = folder;
  inputs.selection = selection;
  inputs.output_name = output;
  for (const std::string& name : custom) {
    if (!CustomScriptExists(fs, folder, name)) {
      std::cerr << kFileNotFound << ": random\\" << name << "\n";
      return kExitFailed;
    }
    // The same place the dialog's sorted list would give it.
    inputs.custom_names.insert(
        inputs.custom_names.begin() + SortedInsertPosition(inputs.custom_names, name), name);
  }

  const JobOutcome outcome = RunGenerationJob(fs, inputs);
  if (outcome.failed) {
    // As the dialog does on Exit: a failed build's temporary file goes.
    fs.RemoveFile(JoinPath(JoinPath(folder, "random"), kTempPackName));
    std::cerr << outcome.message << "\n";
    return kExitFailed;
  }
  std::cout << outcome.message << "\n" << outcome.written_path << "\n";
  return 0;
}

}  // namespace
}  // namespace tolvenek

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return tolvenek::Run(args);
}
