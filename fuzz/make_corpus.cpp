// Writes the checked-in seed inputs of the fuzz targets into fuzz/corpus/:
// archives in the game's real layout and damaged in every way the lookup must
// survive, scripts with every quirk the cutter must handle, and header lists
// at the wrapping boundaries. Run from the source folder after changing it:
//   build-fuzz/fuzz/make_corpus fuzz/corpus
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "gamedata/catalogue.h"
#include "gamedata/drs_writer.h"

namespace tolvenek {
namespace {

namespace fs = std::filesystem;

std::string Word(uint32_t value) {
  std::string out;
  for (int shift = 0; shift < 32; shift += 8) out += char((value >> shift) & 0xFF);
  return out;
}

void Put(const fs::path& folder, const std::string& name, const std::string& bytes) {
  fs::create_directories(folder);
  std::ofstream(folder / name, std::ios::binary | std::ios::trunc) << bytes;
}

const std::string kScript =
    "/* a map */\r\n#include_drs random_map.def 54000\r\n<PLAYER_SETUP>\r\n  random_placement\r\n"
    "<LAND_GENERATION>\r\n  base_terrain DESERT\r\n<TERRAIN_GENERATION>\r\n<OBJECTS_GENERATION>\r\n"
    "#include_drs GBG_land_resources.inc 54103\r\ncreate_object COMMAND_CENTER\r\n"
    "<ELEVATION_GENERATION>\r\n<CLIFF_GENERATION>\r\n<CONNECTION_GENERATION>\r\n"
    "create_connect_all_players_land\r\n";

void DrsSeeds(const fs::path& folder) {
  const std::string archive = BuildDrsArchive({{kLandResourcesId, "/* land */\r\nore\r\n"},
                                               {kMapDefinitionsId, "/* defs */\r\n"},
                                               {54201, kScript},
                                               {54202, std::string("\xE9\r\n\0\xFF", 5)},
                                               {55019, ""}});
  const size_t record = archive.find(Word(54201));
  const auto patched = [&](size_t at, uint32_t value) {
    std::string copy = archive;
    copy.replace(at, 4, Word(value));
    return copy;
  };
  Put(folder, "real-layout-script", Word(54201) + archive);
  Put(folder, "real-layout-land", Word(kLandResourcesId) + archive);
  Put(folder, "real-layout-binary-entry", Word(54202) + archive);
  Put(folder, "zero-size-entry", Word(55019) + archive);
  Put(folder, "id-missing", Word(54300) + archive);
  Put(folder, "empty-archive", Word(54201));
  Put(folder, "cut-inside-header", Word(54201) + archive.substr(0, 50));
  Put(folder, "cut-inside-descriptor", Word(54201) + archive.substr(0, record + 6));
  Put(folder, "cut-inside-entry", Word(54201) + archive.substr(0, archive.size() - 20));
  Put(folder, "offset-near-2-32", Word(54201) + patched(record + 4, 0xFFFFFFF0u));
  Put(folder, "size-near-2-32", Word(54201) + patched(record + 8, 0xFFFFFFFFu));
  Put(folder, "offset-plus-size-wraps", Word(54201) + patched(record + 8, 0xFFFFFFFCu));
  Put(folder, "size-past-the-end", Word(54201) + patched(record + 8, uint32_t(archive.size())));
  // The id's bytes at positions 1 and 6, not multiples of 4.
  std::string unaligned = archive;
  unaligned.replace(1, 4, Word(54201));
  unaligned.replace(6, 4, Word(54201));
  Put(folder, "id-bytes-unaligned", Word(54201) + unaligned);
  // A header word equal to the id, before its own descriptor.
  Put(folder, "id-word-before-descriptor",
      Word(54201) + patched(56, 54201).replace(60, 8, Word(96) + Word(12)));
}

void PackSeeds(const fs::path& folder) {
  const char sep = kPieceSeparator;
  const std::string land = std::string("/* land */\r\nore\0gold\r\n", 22);
  Put(folder, "one-script-no-land", kScript);
  Put(folder, "land-and-three-maps",
      land + sep + kScript + sep + "<PLAYER_SETUP>\r\nonly setup\r\n" + sep + "");
  Put(folder, "tags-out-of-order",
      land + sep +
          "pre\r\n<OBJECTS_GENERATION>\r\nobj\r\n<LAND_GENERATION>\r\nland\r\n"
          "<PLAYER_SETUP>\r\nps\r\n");
  Put(folder, "tags-missing", land + sep + "no tags at all\r\n" + sep + "<CLIFF_GENERATION>\r\n");
  Put(folder, "tags-repeated",
      land + sep +
          "<PLAYER_SETUP>\r\na\r\n<PLAYER_SETUP>\r\nb\r\n<LAND_GENERATION>\r\nc\r\n"
          "<LAND_GENERATION>\r\nd\r\n");
  Put(folder, "less-than-in-comments",
      land + sep +
          "/* <LAND_GENERATION> in a comment */\r\n<PLAYER_SETUP>\r\n"
          "<TERRAIN_GENERATION>\r\nt /* a < b */ u\r\n<OBJECTS_GENERATION>\r\n");
  Put(folder, "tag-as-last-bytes", land + sep + "<PLAYER_SETUP>\r\n<CONNECTION_GENERATION>");
  Put(folder, "nul-bytes",
      land + sep + std::string("<PLAYER_SETUP>\r\nab\0<LAND_GENERATION>\r\n", 37) + sep +
          std::string("\0<PLAYER_SETUP>", 15));
  Put(folder, "cr-only-line-ends",
      land + sep + "pre\r<PLAYER_SETUP>\rps\r<OBJECTS_GENERATION>\robj\r");
  Put(folder, "bytes-above-127",
      land + sep + "\xA9\r\n<PLAYER_SETUP>\r\n/* \xE9\xFF\x80 */\r\n<LAND_GENERATION>\xFE");
  Put(folder, "lower-case-tag", land + sep + "<player_setup>\r\n<Player_Setup>\r\n");
  Put(folder, "includes-twice-and-misplaced",
      land + sep +
          "#include_drs random_map.def 54000\r\n#include_drs random_map.def 54000\r\n"
          "#include_drs GBG_land_resources.inc 54103\r\n<PLAYER_SETUP>\r\n"
          "#include_drs GBG_land_resources.inc 54103\r\n<OBJECTS_GENERATION>\r\n"
          "#include_drs GBG_land_resources.inc 54103\r\n#include_drs GBG_land_resources.inc 54103"
          "\r\n#include_drs gbg_land_resources.inc 54103\r\n");
  std::string twelve = land;
  for (int i = 0; i < 12; ++i) twelve += sep + kScript;
  Put(folder, "twelve-maps", twelve);
}

void HeaderSeeds(const fs::path& folder) {
  const char sep = kPieceSeparator;
  std::string all;
  for (const CatalogueRow& row : BuiltinCatalogue()) {
    if (!all.empty()) all += sep;
    all += row.label;
  }
  Put(folder, "every-builtin-map", all);
  Put(folder, "one-name", "Desert");
  Put(folder, "custom-names", std::string("my map.rms") + sep + "other.rms" + sep + "z.rms");
  Put(folder, "name-of-254", std::string(250, 'n') + ".rms");
  Put(folder, "long-names-on-continuation-lines",
      std::string(60, 'a') + sep + std::string(80, 'b') + sep + std::string(75, 'c') + sep + "d");
  // 52 characters, then a separator: width exactly 54, no wrap.
  Put(folder, "width-54-after-separator", std::string(52, 'w') + sep + "next" + sep + "last");
  Put(folder, "width-55-after-separator", std::string(53, 'w') + sep + "next");
  Put(folder, "empty-names", std::string() + sep + sep + "x" + sep);
  Put(folder, "names-with-spaces-and-bytes-above-127",
      std::string("  ") + sep + "\xE9t\xE9.rms" + sep + "a, b" + sep + " */");
}

}  // namespace
}  // namespace tolvenek

int main(int argc, char** argv) {
  const std::filesystem::path root = argc > 1 ? argv[1] : "fuzz/corpus";
  tolvenek::DrsSeeds(root / "fuzz_drs_lookup");
  tolvenek::PackSeeds(root / "fuzz_pack");
  tolvenek::HeaderSeeds(root / "fuzz_pack_header");
  return 0;
}
