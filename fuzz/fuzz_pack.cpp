// Cutting arbitrary map scripts and writing a whole pack from them.
// Input: the land-resources text, then up to twelve scripts, each piece
// separated by kPieceSeparator (a single piece is one script and no land
// text). Every cut is checked against the text it came from, and the pack is
// read back block by block: a block per map in every part, each framed by
// its own "if" and "endif" and holding exactly that map's piece.
#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "pack/byte_sink.h"
#include "pack/chances.h"
#include "pack/map_sections.h"
#include "pack/pack_header.h"
#include "pack/random_block.h"
#include "pack/section_blocks.h"

namespace tolvenek {
namespace {

void CheckCut(std::string_view script, const MapSections& map) {
  const std::string_view text = script.substr(0, script.find('\0'));
  const size_t setup = text.find(SectionTag(SectionKind::kPlayerSetup));
  FUZZ_CHECK(map.preamble == (setup == std::string_view::npos ? "" : text.substr(0, setup)),
             "the preamble is all before the first player-setup tag");
  FUZZ_CHECK(text.substr(0, map.preamble.size()) == map.preamble, "the preamble is a prefix");
  for (int s = 0; s < kSectionCount; ++s) {
    const std::string_view tag = SectionTag(SectionKind(s));
    const std::optional<std::string>& section = map.sections[s];
    const size_t at = text.find(tag);
    FUZZ_CHECK(section.has_value() == (at != std::string_view::npos),
               "a section is present exactly when its tag occurs");
    if (!section) continue;
    FUZZ_CHECK(section->rfind(tag, 0) == 0, "a section starts with its tag");
    FUZZ_CHECK(section->find('<', 1) == std::string::npos, "no '<' after a section's first byte");
    FUZZ_CHECK(text.substr(at, section->size()) == *section, "a section is cut at its first tag");
    const size_t end = at + section->size();
    FUZZ_CHECK(end == text.size() || text[end] == '<', "a section ends at a '<' or the end");
    FUZZ_CHECK(SectionBody(*section) == std::string_view(*section).substr(tag.size()),
               "the body follows the tag");
  }
}

void CheckChances(int n) {
  const std::vector<int> chances = SplitChances(n);
  FUZZ_CHECK(chances.size() == size_t(n), "one chance per map");
  const auto [low, high] = std::minmax_element(chances.begin(), chances.end());
  FUZZ_CHECK(*high - *low <= 1, "chances differ by at most one");
  FUZZ_CHECK(chances[0] == *low, "the first map never gets the extra point");
  if (n <= 791) {
    FUZZ_CHECK(std::accumulate(chances.begin(), chances.end(), 0) == 100, "chances add up to 100");
  }
}

// `original` with the first occurrence of `include` turned into spaces.
std::string Blanked(std::string original, std::string_view include) {
  const size_t at = original.find(include);
  if (at != std::string::npos) original.replace(at, include.size(), include.size(), ' ');
  return original;
}

// Reads the pack back in order; every Expect names what it wanted.
class PackReader {
 public:
  explicit PackReader(std::string_view pack) : rest_(pack) {}
  void Expect(std::string_view piece, const char* what) {
    FUZZ_CHECK(rest_.substr(0, piece.size()) == piece, what);
    rest_.remove_prefix(piece.size());
  }
  void ExpectBlock(size_t n, std::string_view content) {
    Expect("\r\nif ZOQ_MAP" + std::to_string(n) + "\r\n", "a block opens with its map's if");
    Expect(content, "a block holds its map's piece");
    Expect("\r\nendif\r\n", "a block closes with endif");
  }
  bool AtEnd() const { return rest_.empty(); }

 private:
  std::string_view rest_;
};

void CheckPack(std::string_view land, const std::vector<std::string_view>& scripts) {
  std::vector<MapSections> maps;
  for (std::string_view script : scripts) {
    maps.push_back(SplitMapScript(script));
    CheckCut(script, maps.back());
  }
  const std::vector<MapSections> cut = maps;  // the writers blank and release theirs
  const std::vector<int> chances = SplitChances(int(maps.size()));

  std::vector<std::string> names;
  for (size_t n = 0; n < maps.size(); ++n) names.push_back("map" + std::to_string(n) + ".rms");
  ByteSink out;
  WritePackHeader(out, std::vector<std::string_view>(names.begin(), names.end()));
  const size_t header_size = out.collected().size();
  WriteRandomBlock(out, chances, maps);
  WriteSectionBlocks(out, maps, land);
  FUZZ_CHECK(out.error() == FsError::kOk, "memory sinks do not fail");
  const std::string& pack = out.collected();

  PackReader reader(std::string_view(pack).substr(header_size));
  reader.Expect("start_random\r\n", "the random block opens");
  for (size_t n = 0; n < cut.size(); ++n) {
    reader.Expect("percent_chance " + std::to_string(chances[n]) + "\r\n#define ZOQ_MAP" +
                      std::to_string(n) + "\r\n",
                  "one branch per map, in pool order");
    const auto& objects = cut[n].Section(SectionKind::kObjectsGeneration);
    if (objects && objects->find(kLandResourcesInclude) != std::string::npos) {
      reader.Expect("#define ZOQ_LANDRES\r\n", "a map that includes land resources defines it");
    }
  }
  reader.Expect("end_random\r\n", "the random block closes");
  for (size_t n = 0; n < cut.size(); ++n) {
    reader.ExpectBlock(n, Blanked(cut[n].preamble, kMapDefinitionsInclude));
  }
  for (int s = 0; s < kSectionCount; ++s) {
    const SectionKind kind = SectionKind(s);
    reader.Expect("\r\n" + std::string(SectionTag(kind)) + "\r\n", "each part opens with its tag");
    if (kind == SectionKind::kObjectsGeneration) {
      reader.Expect("\r\nif ZOQ_LANDRES\r\n", "the land-resources block opens");
      reader.Expect(land, "the land-resources text, every byte");
      reader.Expect("\r\nendif\r\n", "the land-resources block closes");
    }
    for (size_t n = 0; n < cut.size(); ++n) {
      const std::optional<std::string>& section = cut[n].sections[s];
      std::string body = section ? std::string(SectionBody(*section)) : "";
      if (kind == SectionKind::kObjectsGeneration) body = Blanked(body, kLandResourcesInclude);
      reader.ExpectBlock(n, body);
    }
  }
  FUZZ_CHECK(reader.AtEnd(), "the last map's connection block ends the pack");
}

}  // namespace
}  // namespace tolvenek

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tolvenek;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> pieces = SplitPieces(input, 13);
  std::string_view land;
  if (pieces.size() > 1) {
    land = pieces.front();
    pieces.erase(pieces.begin());
  }
  CheckPack(land, pieces);
  // Pools far larger than a pack of these inputs, up to 1000 maps.
  uint32_t hash = 2166136261u;
  for (char c : input) hash = (hash ^ uint8_t(c)) * 16777619u;
  CheckChances(int(pieces.size()));
  CheckChances(1 + int(hash % 1000));
  return 0;
}
