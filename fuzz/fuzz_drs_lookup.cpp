// The archive lookup over arbitrary bytes. Input: a 4-byte little-endian id,
// then the archive. The lookup's answer is checked against the descriptor
// rule itself: the first 4-aligned word equal to the id, its offset and size.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "gamedata/drs_archive.h"
#include "platform/memory_file.h"

namespace tolvenek {
namespace {

uint32_t WordAt(const std::string& bytes, size_t at) {
  return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8 |
         uint32_t(uint8_t(bytes[at + 2])) << 16 | uint32_t(uint8_t(bytes[at + 3])) << 24;
}

void CheckLookup(const std::string& archive, ResourceId id) {
  MemoryReadableFile file(archive);
  std::string data = "left over";
  const DrsLookup result = FindDrsEntry(file, id, &data);

  size_t where = 0;
  while (where + 4 <= archive.size() && WordAt(archive, where) != id) where += 4;
  if (where + 4 > archive.size()) {
    FUZZ_CHECK(result == DrsLookup::kMissing, "an id with no aligned word is missing");
    return;
  }
  if (archive.size() - where < 12) {
    FUZZ_CHECK(result == DrsLookup::kCutOff, "a descriptor without room for its words is cut off");
    return;
  }
  const uint64_t offset = WordAt(archive, where + 4);
  const uint64_t size = WordAt(archive, where + 8);
  if (offset + size > archive.size()) {
    FUZZ_CHECK(result == DrsLookup::kOutOfRange, "an entry past the end is out of range");
    return;
  }
  FUZZ_CHECK(result == DrsLookup::kFound, "an entry inside the archive is found");
  FUZZ_CHECK(data.size() == size, "the entry has its recorded size");
  FUZZ_CHECK(data == archive.substr(size_t(offset), size_t(size)), "the entry's bytes as stored");

  // No state survives a lookup.
  std::string again;
  FUZZ_CHECK(FindDrsEntry(file, id, &again) == DrsLookup::kFound && again == data,
             "a second lookup gives the same bytes");
}

}  // namespace
}  // namespace tolvenek

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::string archive = input.substr(4);
  tolvenek::CheckLookup(archive, tolvenek::WordAt(input, 0));
  // Ids that the archive itself holds reach the interesting paths quickly.
  if (archive.size() >= 4) tolvenek::CheckLookup(archive, tolvenek::WordAt(archive, 0));
  if (archive.size() >= 16) {
    tolvenek::CheckLookup(archive, tolvenek::WordAt(archive, (archive.size() / 2) & ~size_t{3}));
  }
  return 0;
}
