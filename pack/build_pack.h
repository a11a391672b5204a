// Building one pack script into the game's random folder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/status_record.h"
#include "gamedata/catalogue.h"
#include "platform/file_system.h"

namespace tolvenek {

inline constexpr std::string_view kTempPackName = "ZOQ_TMP_FILE.tmp";
constexpr size_t kMaxOutputNameLength = 24;
// A custom script larger than this is refused rather than read.
constexpr uint64_t kMaxScriptSize = 128ull * 1024 * 1024;

// Everything one build needs, captured before it starts; the builder reads
// nothing else, so a dialog can go on changing while it runs.
struct PackJob {
  std::string game_folder;                // absolute; every file is below it
  std::vector<BuiltinMap> builtin;        // selected maps, catalogue order
  std::vector<std::string> custom_names;  // names inside the random folder, list order
  std::string output_name;                // a file name inside the random folder
  std::string land_resources;             // the bytes of the land-resources include
};

// Writes the pack for `job` through kTempPackName in the random folder and
// then moves it over the target in one step. On success `status` is left as
// it was; on failure its flag is set with the first failure's message, and an
// existing target keeps its bytes. It writes only inside the random folder.
void BuildPackScript(FileSystem& fs, const PackJob& job, StatusRecord& status);

// The message for an output name that is not a plain file name (one with a
// folder part, a drive, "." or ".."), or "" for an acceptable one.
std::string CheckOutputName(std::string_view name);

}  // namespace tolvenek
