// One run of "Generate script": from captured choices to a pack on disk and
// the message the player sees. Shared by the dialog and tolvenek-cli, so both
// write the same bytes for the same choices.
#pragma once

#include <string>
#include <vector>

#include "gamedata/catalogue.h"
#include "platform/file_system.h"

namespace tolvenek {

inline constexpr std::string_view kScriptGenerated = "Script generated";

// Captured on the UI thread before the job starts; the job reads nothing else.
struct JobInputs {
  std::string game_folder;  // absolute (EnterGameFolder), so later changes of
                            // the current folder cannot move the job
  SelectionFlags selection{};
  std::vector<std::string> custom_names;  // in the Custom script list's order
  std::string output_name;
};

struct JobOutcome {
  bool failed = false;
  std::string message;       // the failure's text, or kScriptGenerated
  std::string written_path;  // on success: the pack, as the system spells it
};

// Loads the land-resources include and builds the pack. Safe on any thread.
JobOutcome RunGenerationJob(FileSystem& fs, const JobInputs& inputs);

}  // namespace tolvenek
