// Reading entries of the game's resource archive by Resource id.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/status_record.h"
#include "gamedata/catalogue.h"
#include "platform/file_system.h"

namespace tolvenek {

// The archive, relative to the game folder.
inline constexpr std::string_view kDrsArchivePath = "data\\gamedata_x1.drs";
inline constexpr std::string_view kCannotOpenArchive =
    "Cannot open gamedata_x1.drs. Make sure game path is correct";

enum class DrsLookup {
  kFound,
  kMissing,     // no 4-aligned word equals the id
  kCutOff,      // the id's word is there, its offset or size is not
  kOutOfRange,  // offset and size point past the end of the archive
  kReadFailed,  // the system failed to read, or delivered fewer bytes
  kOutOfMemory,
};

// Scans `archive` from its first byte one little-endian 32-bit word at a time,
// 4-aligned, for the first word equal to `id`; the two words after it are the
// entry's offset and size. On kFound `*data` holds exactly the entry's bytes.
// The archive's own layout beyond that rule is not interpreted, so an earlier
// word that happens to equal the id wins, as it does for the game.
DrsLookup FindDrsEntry(ReadableFile& archive, ResourceId id, std::string* data);

// Opens kDrsArchivePath below `game_folder`, reads entry `id` and closes the
// archive again. On failure returns nothing and sets `status` to a message
// that names the id (or kCannotOpenArchive).
std::optional<std::string> LookupDrsResource(FileSystem& fs, std::string_view game_folder,
                                             ResourceId id, StatusRecord& status);

}  // namespace tolvenek
