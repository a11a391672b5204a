// make_sample_game: writes the bundled demo game folder from the text fixtures
// beside this file, so the program can be tried without the game installed.
//
//   make_sample_game FIXTURES GAME_FOLDER
//
// FIXTURES/archive holds one file per archive entry, named by its resource id
// and a readable rest ("54201_desert.rms"); FIXTURES/random holds the custom
// scripts. GAME_FOLDER receives battlegrounds_x1.exe (an empty marker),
// data/gamedata_x1.drs in the game's own archive layout and random/*.rms.
// Other files in GAME_FOLDER (a pack written by the demo) are left alone.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "gamedata/drs_archive.h"
#include "gamedata/drs_writer.h"
#include "platform/memory_file.h"

namespace fs = std::filesystem;

namespace {

bool ReadWhole(const fs::path& path, std::string* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  *bytes = text.str();
  return !in.bad();
}

// Through a temporary file and a rename, so a reader (or an interrupted build)
// never sees half a file.
bool WriteWhole(const fs::path& path, const std::string& bytes) {
  const fs::path temp = path.string() + ".part";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::cerr << "make_sample_game: cannot write " << temp << "\n";
      return false;
    }
  }
  std::error_code error;
  fs::rename(temp, path, error);
  if (error) {
    std::cerr << "make_sample_game: cannot rename " << temp << ": " << error.message() << "\n";
    return false;
  }
  return true;
}

// The regular files of `folder`, sorted by name so the output never depends
// on the order the system lists them in.
std::vector<fs::path> FilesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_sample_game FIXTURES GAME_FOLDER\n";
    return 2;
  }
  const fs::path fixtures = argv[1];
  const fs::path game = argv[2];
  try {
    std::vector<tolvenek::DrsEntry> entries;
    for (const fs::path& file : FilesIn(fixtures / "archive")) {
      const std::string name = file.filename().string();
      char* end = nullptr;
      errno = 0;
      const unsigned long id = std::strtoul(name.c_str(), &end, 10);
      if (end == name.c_str() || *end != '_' || errno != 0 || id > 0xFFFFFFFFul) {
        std::cerr << "make_sample_game: " << file << " does not start with a resource id\n";
        return 1;
      }
      tolvenek::DrsEntry entry{static_cast<tolvenek::ResourceId>(id), {}};
      if (!ReadWhole(file, &entry.data)) {
        std::cerr << "make_sample_game: cannot read " << file << "\n";
        return 1;
      }
      entries.push_back(std::move(entry));
    }

    // The game finds an entry by the first 4-aligned word equal to its id, so
    // an earlier offset or size that happens to equal an id would hide that
    // entry. Read every entry back the same way before writing anything.
    const std::string archive = tolvenek::BuildDrsArchive(entries);
    for (const tolvenek::DrsEntry& entry : entries) {
      tolvenek::MemoryReadableFile file(archive);
      std::string data;
      if (tolvenek::FindDrsEntry(file, entry.id, &data) != tolvenek::DrsLookup::kFound ||
          data != entry.data) {
        std::cerr << "make_sample_game: entry " << entry.id
                  << " is hidden by an earlier word of the archive; change a fixture's size\n";
        return 1;
      }
    }

    fs::create_directories(game / "data");
    fs::create_directories(game / "random");
    if (!WriteWhole(game / "battlegrounds_x1.exe", "") ||
        !WriteWhole(game / "data" / "gamedata_x1.drs", archive)) {
      return 1;
    }
    for (const fs::path& file : FilesIn(fixtures / "random")) {
      std::string bytes;
      if (!ReadWhole(file, &bytes)) {
        std::cerr << "make_sample_game: cannot read " << file << "\n";
        return 1;
      }
      if (!WriteWhole(game / "random" / file.filename(), bytes)) return 1;
    }
  } catch (const fs::filesystem_error& error) {
    std::cerr << "make_sample_game: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
