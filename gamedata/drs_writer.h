// Building archives in the game's own layout, for the sample game folder,
// tests, fuzz seeds and benchmarks. The program itself never writes archives.
#pragma once

#include <string>
#include <vector>

#include "gamedata/catalogue.h"

namespace tolvenek {

struct DrsEntry {
  ResourceId id;
  std::string data;
};

// One table of type "anib" (scripts) holding `entries` sorted by id:
// a 60-byte copyright, version "1.00", file type "swbg", the table count, the
// offset of the first entry's data, the table record, the entry records
// (id, offset, size) and then the data, all little-endian.
std::string BuildDrsArchive(std::vector<DrsEntry> entries);

}  // namespace tolvenek
