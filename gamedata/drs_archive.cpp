#include "gamedata/drs_archive.h"

#include <new>
#include <vector>

namespace tolvenek {

namespace {

uint32_t LoadLittleEndian32(const char* bytes) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes);
  return uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
}

// Finds the first 4-aligned word equal to `id`; its position goes to `*where`.
DrsLookup ScanForId(ReadableFile& archive, ResourceId id, uint64_t* where) {
  constexpr size_t kChunk = 64 * 1024;  // a multiple of 4, so words never straddle chunks
  std::vector<char> chunk(kChunk);
  const uint64_t size = archive.Size();
  for (uint64_t start = 0; start + 4 <= size; start += kChunk) {
    size_t got = 0;
    if (archive.ReadAt(start, kChunk, chunk.data(), &got) != FsError::kOk) {
      return DrsLookup::kReadFailed;
    }
    const size_t wanted = size - start < kChunk ? static_cast<size_t>(size - start) : kChunk;
    if (got < wanted) return DrsLookup::kReadFailed;
    for (size_t p = 0; p + 4 <= got; p += 4) {
      if (LoadLittleEndian32(chunk.data() + p) == id) {
        *where = start + p;
        return DrsLookup::kFound;
      }
    }
  }
  return DrsLookup::kMissing;
}

}  // namespace

DrsLookup FindDrsEntry(ReadableFile& archive, ResourceId id, std::string* data) {
  uint64_t where = 0;
  const DrsLookup scan = ScanForId(archive, id, &where);
  if (scan != DrsLookup::kFound) return scan;

  const uint64_t archive_size = archive.Size();
  if (archive_size - where < 12) return DrsLookup::kCutOff;
  char words[8];
  size_t got = 0;
  if (archive.ReadAt(where + 4, sizeof words, words, &got) != FsError::kOk || got != sizeof words) {
    return DrsLookup::kReadFailed;
  }
  const uint64_t offset = LoadLittleEndian32(words);
  const uint64_t size = LoadLittleEndian32(words + 4);
  // Checked so that no sum can wrap, and so no allocation exceeds the archive.
  if (offset > archive_size || size > archive_size - offset) return DrsLookup::kOutOfRange;

  try {
    data->assign(static_cast<size_t>(size), '\0');
  } catch (const std::bad_alloc&) {
    return DrsLookup::kOutOfMemory;
  }
  if (size == 0) return DrsLookup::kFound;
  if (archive.ReadAt(offset, static_cast<size_t>(size), data->data(), &got) != FsError::kOk ||
      got != size) {
    data->clear();
    return DrsLookup::kReadFailed;
  }
  return DrsLookup::kFound;
}

std::optional<std::string> LookupDrsResource(FileSystem& fs, std::string_view game_folder,
                                             ResourceId id, StatusRecord& status) {
  FsError error = FsError::kOk;
  std::unique_ptr<ReadableFile> archive =
      fs.OpenForReading(JoinPath(game_folder, kDrsArchivePath), &error);
  if (!archive) {
    SetStatus(status, kCannotOpenArchive);
    return std::nullopt;
  }
  std::string data;
  const DrsLookup result = FindDrsEntry(*archive, id, &data);
  const std::string name = "resource " + std::to_string(id);
  switch (result) {
    case DrsLookup::kFound:
      return data;
    case DrsLookup::kMissing:
      SetStatus(status, "gamedata_x1.drs has no " + name + ". Make sure game path is correct");
      break;
    case DrsLookup::kCutOff:
      SetStatus(status, "gamedata_x1.drs is damaged: the entry of " + name + " is cut off");
      break;
    case DrsLookup::kOutOfRange:
      SetStatus(status, "gamedata_x1.drs is damaged: " + name + " lies past the end of the file");
      break;
    case DrsLookup::kReadFailed:
      SetStatus(status, "Cannot read " + name + " from gamedata_x1.drs");
      break;
    case DrsLookup::kOutOfMemory:
      SetStatus(status, "Not enough memory to read " + name + " from gamedata_x1.drs");
      break;
  }
  return std::nullopt;
}

}  // namespace tolvenek
