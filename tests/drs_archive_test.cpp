#include "gamedata/drs_archive.h"

#include <gtest/gtest.h>

#include "gamedata/drs_writer.h"
#include "platform/memory_file.h"
#include "test_folder.h"

namespace tolvenek {
namespace {

std::string Word(uint32_t value) {
  std::string out;
  for (int shift = 0; shift < 32; shift += 8) out += char((value >> shift) & 0xFF);
  return out;
}

struct Lookup {
  DrsLookup result;
  std::string data;
};

Lookup Find(const std::string& archive, ResourceId id) {
  MemoryReadableFile file(archive);
  Lookup lookup;
  lookup.result = FindDrsEntry(file, id, &lookup.data);
  return lookup;
}

TEST(FindDrsEntry, ReadsEntriesOfARealLayoutArchiveUnchanged) {
  const std::string raw("a\r\nb\0\xE9\xFF", 7);
  const std::string archive = BuildDrsArchive({{54201, raw}, {54103, "land"}, {55019, ""}});
  EXPECT_EQ(Find(archive, 54201).data, raw);
  EXPECT_EQ(Find(archive, 54103).data, "land");
  const Lookup empty = Find(archive, 55019);
  EXPECT_EQ(empty.result, DrsLookup::kFound);
  EXPECT_EQ(empty.data, "");
  EXPECT_EQ(Find(archive, 54202).result, DrsLookup::kMissing);
}

TEST(FindDrsEntry, TakesTheFirstAlignedWordThatEqualsTheId) {
  // The id stands as a word before its own record: that word and the two after
  // it win, as they do for the game.
  const std::string archive =
      Word(1) + Word(54300) + Word(0) + Word(4) + Word(54300) + Word(24) + Word(4) + "real";
  EXPECT_EQ(Find(archive, 54300).data, Word(1));
  // The same bytes at a position that is not a multiple of 4 never match.
  EXPECT_EQ(Find("x" + Word(54300) + Word(0) + Word(1) + "xxx", 54300).result, DrsLookup::kMissing);
}

TEST(FindDrsEntry, DamagedArchives) {
  const std::string good = BuildDrsArchive({{54201, "abcd"}});
  const size_t record = good.find(Word(54201));
  struct Case {
    const char* what;
    std::string archive;
    DrsLookup expected;
  } cases[] = {
      {"empty", "", DrsLookup::kMissing},
      {"cut inside the header", good.substr(0, 50), DrsLookup::kMissing},
      {"cut after the id", good.substr(0, record + 6), DrsLookup::kCutOff},
      {"cut inside the entry", good.substr(0, good.size() - 1), DrsLookup::kOutOfRange},
      {"size near 2^32", Word(7) + Word(0) + Word(0xFFFFFFF0u), DrsLookup::kOutOfRange},
      {"offset near 2^32", Word(7) + Word(0xFFFFFFF0u) + Word(4), DrsLookup::kOutOfRange},
      {"offset + size wraps in 32 bits", Word(7) + Word(8) + Word(0xFFFFFFFCu),
       DrsLookup::kOutOfRange},
      {"entry ends exactly at the end", Word(7) + Word(8) + Word(4), DrsLookup::kFound},
  };
  for (const Case& c : cases) {
    const ResourceId id = c.archive.size() >= 12 && c.archive.substr(0, 4) == Word(7) ? 7 : 54201;
    EXPECT_EQ(Find(c.archive, id).result, c.expected) << c.what;
  }
}

TEST(LookupDrsResource, ReportsEachFailureWithItsMessage) {
  TestFolder game;
  StatusRecord status;
  EXPECT_FALSE(LookupDrsResource(SystemFileSystem(), game.path(), 54103, status));
  EXPECT_TRUE(status.flag);
  EXPECT_EQ(status.Text(), kCannotOpenArchive);

  game.Write("data/gamedata_x1.drs", BuildDrsArchive({{54103, "land"}}));
  status = {};
  EXPECT_EQ(LookupDrsResource(SystemFileSystem(), game.path(), 54103, status), "land");
  EXPECT_FALSE(status.flag);
  EXPECT_FALSE(LookupDrsResource(SystemFileSystem(), game.path(), 54999, status));
  EXPECT_EQ(status.Text(), "gamedata_x1.drs has no resource 54999. Make sure game path is correct");
}

}  // namespace
}  // namespace tolvenek
