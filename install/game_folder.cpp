#include "install/game_folder.h"

namespace tolvenek {

bool ProbeGameFolder(FileSystem& fs, std::string_view candidate) {
  if (!fs.SetCurrentFolder(std::string(candidate))) return false;
  FsError error = FsError::kOk;
  return fs.OpenForReading(std::string(kGameExecutable), &error) != nullptr;
}

std::string DetectGameFolder(FileSystem& fs, GameRegistry& registry) {
  const std::string from_registry = registry.ReadGamePath();
  if (ProbeGameFolder(fs, from_registry)) return from_registry;
  for (std::string_view candidate : kFixedGameFolders) {
    if (ProbeGameFolder(fs, candidate)) return std::string(candidate);
  }
  return "";
}

std::string EnterGameFolder(FileSystem& fs, std::string_view game_folder) {
  fs.SetCurrentFolder(std::string(game_folder));
  return fs.CurrentFolder();
}

}  // namespace tolvenek
