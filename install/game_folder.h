// Finding the game's installation folder, and the folder a job works in.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/registry.h"

namespace tolvenek {

// Tried in this order after the registry's "Game Path", exactly as written.
inline constexpr std::array<std::string_view, 5> kFixedGameFolders = {
    "C:\\Program Files\\LucasArts\\Star Wars Galactic Battlegrounds\\Game\\",
    "C:\\Program Files (x86)\\LucasArts\\Star Wars Galactic Battlegrounds\\Game\\",
    "C:\\Program Files\\LucasArts\\Star Wars Galactic Battlegrounds Saga\\Game\\",
    "C:\\Program Files (x86)\\LucasArts\\Star Wars Galactic Battlegrounds Saga\\Game\\",
    "c:\\gog games\\star wars - galactic battlegrounds\\game\\",
};

inline constexpr std::string_view kGameExecutable = "battlegrounds_x1.exe";

// Enters `candidate` and looks for the game's executable there. Once the folder
// is entered it stays the current folder, found or not.
bool ProbeGameFolder(FileSystem& fs, std::string_view candidate);

// The first candidate (registry, then kFixedGameFolders) that passes the probe,
// exactly as written, or "" when none does. The current folder is left at the
// last candidate that could be entered, or where it was.
std::string DetectGameFolder(FileSystem& fs, GameRegistry& registry);

// The absolute folder a job works in: `game_folder` when it can be entered,
// otherwise the current folder as it stands. Leaves the current folder there.
std::string EnterGameFolder(FileSystem& fs, std::string_view game_folder);

}  // namespace tolvenek
