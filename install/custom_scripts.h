// The custom scripts of the game's random folder: listing them, the chooser,
// "Add" and the order of the sorted Custom script list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog_window.h"
#include "platform/file_system.h"

namespace tolvenek {

constexpr int kCustomScriptListId = 1048;
constexpr int kScriptChooserId = 1049;

inline constexpr std::string_view kAccessDeniedWarning =
    "Warning: access denied. Launch as administrator";
inline constexpr std::string_view kGameNotFoundWarning =
    "Warning: SWGB was not found. Please set the path manually";
inline constexpr std::string_view kFileNotFound = "File not found";

struct ScriptListing {
  std::vector<std::string> names;  // in the order the folder gave them
  std::string warning;             // one of the two warnings, or ""
};

// True for a name ending in ".rms", letter case ignored.
bool IsRmsName(std::string_view name);

// Enters `game_folder` (its failure not examined) and lists "random\*.rms"
// below the current folder. A missing random folder and an unreadable one give
// their warnings; a failure part way keeps the names found before it.
ScriptListing ListCustomScripts(FileSystem& fs, std::string_view game_folder);

// True when `name` opens for reading inside the random folder below `folder`.
bool CustomScriptExists(FileSystem& fs, std::string_view folder, std::string_view name);

// The collation of the sorted chooser and list, as the Win32 controls sort
// (CompareStringW with NORM_IGNORECASE, "word sort"; measured under Wine):
// letter case ignored; '-' and '\'' count only when all else is equal; space
// and punctuation before + < = >, those before digits, digits before letters;
// bytes above 127 last. Negative, zero or positive like strcmp.
int CompareScriptNames(std::string_view a, std::string_view b);

// The index at which a sorted list control inserts `name`: its binary search,
// which stops at the first entry it meets that compares equal (so of two
// names that differ only in case, the later one usually goes first).
size_t SortedInsertPosition(const std::vector<std::string>& list, std::string_view name);

// Empties the chooser and fills it from ListCustomScripts, showing its warning
// in an unowned box with caption "Warning". The chooser's text is not touched.
void RefillScriptChooser(DialogWindow& window, FileSystem& fs, std::string_view game_folder);

// The "Add" command: the chooser's text is added to the Custom script list
// when it names a file in the random folder below the current folder;
// otherwise "File not found" (caption "Error").
void AddCustomScript(DialogWindow& window, FileSystem& fs);

}  // namespace tolvenek
