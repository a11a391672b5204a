#include "pack/map_sections.h"

#include <gtest/gtest.h>

#include <string>

namespace tolvenek {
namespace {

TEST(FindTextPosition, BoundsTheStartAndNeverReadsPastTheText) {
  struct Case {
    std::string_view pattern, text;
    int64_t count;
    int32_t expected;
  } cases[] = {
      {"ab", "xxab", 4, 3}, {"ab", "xxab", 3, 3},  {"ab", "xxab", 2, -1}, {"ab", "abab", 4, 1},
      {"", "abc", 3, -1},   {"a", "abc", 0, -1},   {"a", "abc", -5, -1},  {"abc", "ab", 2, -1},
      {"b", "ab", 100, 2},  {"AB", "xxab", 4, -1},  // case matters
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindTextPosition(c.pattern, c.text, c.count), c.expected)
        << c.pattern << " in " << c.text << " count " << c.count;
  }
}

constexpr std::string_view kUsualScript =
    "/* head */\r\n#include_drs random_map.def 54000\r\n"
    "<PLAYER_SETUP>\r\nrandom_placement\r\n"
    "<LAND_GENERATION>\r\nbase_terrain GRASS\r\n"
    "<TERRAIN_GENERATION>\r\n"
    "<OBJECTS_GENERATION>\r\ncreate_object TOWN_CENTER\r\n"
    "<ELEVATION_GENERATION>\r\n<CLIFF_GENERATION>\r\n<CONNECTION_GENERATION>\r\nend\r\n";

TEST(SplitMapScript, CutsPreambleAndEverySection) {
  const MapSections map = SplitMapScript(kUsualScript);
  EXPECT_EQ(map.preamble, "/* head */\r\n#include_drs random_map.def 54000\r\n");
  EXPECT_EQ(map.Section(SectionKind::kPlayerSetup), "<PLAYER_SETUP>\r\nrandom_placement\r\n");
  EXPECT_EQ(map.Section(SectionKind::kTerrainGeneration), "<TERRAIN_GENERATION>\r\n");
  EXPECT_EQ(map.Section(SectionKind::kConnectionGeneration), "<CONNECTION_GENERATION>\r\nend\r\n");
  EXPECT_EQ(SectionBody(*map.Section(SectionKind::kObjectsGeneration)),
            "\r\ncreate_object TOWN_CENTER\r\n");
}

TEST(SplitMapScript, OddScripts) {
  struct Case {
    const char* what;
    std::string text;
    std::string preamble;
    SectionKind kind;
    std::optional<std::string> section;
  } cases[] = {
      {"no player setup: empty preamble", "x\r\n<LAND_GENERATION>\r\nl\r\n", "",
       SectionKind::kLandGeneration, "<LAND_GENERATION>\r\nl\r\n"},
      {"no player setup: section absent", "x\r\n<LAND_GENERATION>\r\n", "",
       SectionKind::kPlayerSetup, std::nullopt},
      {"tag as the last bytes", "p<PLAYER_SETUP>\r\n<CLIFF_GENERATION>", "p",
       SectionKind::kCliffGeneration, "<CLIFF_GENERATION>"},
      {"objects before land", "<PLAYER_SETUP><OBJECTS_GENERATION>o<LAND_GENERATION>l", "",
       SectionKind::kLandGeneration, "<LAND_GENERATION>l"},
      {"mention in a comment wins", "/* <LAND_GENERATION> here */<PLAYER_SETUP><LAND_GENERATION>x",
       "/* <LAND_GENERATION> here */", SectionKind::kLandGeneration, "<LAND_GENERATION> here */"},
      {"'<' in a comment ends a section", "<PLAYER_SETUP><TERRAIN_GENERATION>a /* < */ b", "",
       SectionKind::kTerrainGeneration, "<TERRAIN_GENERATION>a /* "},
      {"lower case is no tag", "<player_setup>x", "", SectionKind::kPlayerSetup, std::nullopt},
      {"repeated tag: the first counts", "<PLAYER_SETUP>a<PLAYER_SETUP>b", "",
       SectionKind::kPlayerSetup, "<PLAYER_SETUP>a"},
      {"NUL ends the text", std::string("abc\0<PLAYER_SETUP>x", 19), "", SectionKind::kPlayerSetup,
       std::nullopt},
      {"empty script", "", "", SectionKind::kObjectsGeneration, std::nullopt},
  };
  for (const Case& c : cases) {
    const MapSections map = SplitMapScript(c.text);
    EXPECT_EQ(map.preamble, c.preamble) << c.what;
    EXPECT_EQ(map.Section(c.kind), c.section) << c.what;
  }
}

TEST(SectionBody, IsEmptyWhenTheTagIsAlone) {
  EXPECT_EQ(SectionBody("<CLIFF_GENERATION>"), "");
  EXPECT_EQ(SectionBody("<CLIFF_GENERATION>\r\nx"), "\r\nx");
}

}  // namespace
}  // namespace tolvenek
