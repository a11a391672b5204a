#include "gamedata/drs_writer.h"

#include <algorithm>

namespace tolvenek {

namespace {

void PutLittleEndian32(std::string& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

}  // namespace

std::string BuildDrsArchive(std::vector<DrsEntry> entries) {
  std::stable_sort(entries.begin(), entries.end(),
                   [](const DrsEntry& a, const DrsEntry& b) { return a.id < b.id; });
  constexpr uint32_t kHeaderSize = 84;
  constexpr uint32_t kTableRecordSize = 12;
  const uint32_t records_offset = kHeaderSize + kTableRecordSize;
  const uint32_t data_offset = records_offset + 12 * static_cast<uint32_t>(entries.size());

  std::string out = "Copyright (c) 2001 LucasArts Entertainment Company LLC";
  out += '\x1A';
  out.resize(60, '\0');
  out += "1.00";
  out += "swbg";
  out.resize(76, '\0');
  PutLittleEndian32(out, 1);
  PutLittleEndian32(out, data_offset);
  out += "anib";
  PutLittleEndian32(out, records_offset);
  PutLittleEndian32(out, static_cast<uint32_t>(entries.size()));
  uint32_t offset = data_offset;
  for (const DrsEntry& entry : entries) {
    PutLittleEndian32(out, entry.id);
    PutLittleEndian32(out, offset);
    PutLittleEndian32(out, static_cast<uint32_t>(entry.data.size()));
    offset += static_cast<uint32_t>(entry.data.size());
  }
  for (const DrsEntry& entry : entries) out += entry.data;
  return out;
}

}  // namespace tolvenek
