#include "install/custom_scripts.h"

#include <algorithm>

namespace tolvenek {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// Sort key of one byte: its class first, then the byte itself, case folded.
int CollationRank(char c) {
  const auto byte = static_cast<unsigned char>(Lower(c));
  int group = 0;
  if (byte >= 128) {
    group = 3;
  } else if (byte >= 'a' && byte <= 'z') {
    group = 2;
  } else if (byte >= '0' && byte <= '9') {
    group = 1;
  }
  return group * 256 + byte;
}

}  // namespace

bool IsRmsName(std::string_view name) {
  constexpr std::string_view kExtension = ".rms";
  if (name.size() < kExtension.size()) return false;
  const std::string_view tail = name.substr(name.size() - kExtension.size());
  return std::equal(tail.begin(), tail.end(), kExtension.begin(),
                    [](char a, char b) { return Lower(a) == b; });
}

ScriptListing ListCustomScripts(FileSystem& fs, std::string_view game_folder) {
  fs.SetCurrentFolder(std::string(game_folder));
  ScriptListing listing;
  std::vector<FolderEntry> entries;
  const FsError error = fs.ListFolder(JoinPath(fs.CurrentFolder(), "random"), &entries);
  // A folder named like a script is listed too, as the game's own search does.
  for (FolderEntry& entry : entries) {
    if (IsRmsName(entry.name)) listing.names.push_back(std::move(entry.name));
  }
  if (error == FsError::kAccessDenied) listing.warning = kAccessDeniedWarning;
  if (error == FsError::kPathNotFound || error == FsError::kNotFound) {
    listing.warning = kGameNotFoundWarning;
  }
  return listing;
}

bool CustomScriptExists(FileSystem& fs, std::string_view folder, std::string_view name) {
  if (name.empty()) return false;
  FsError error = FsError::kOk;
  return fs.OpenForReading(JoinPath(JoinPath(folder, "random"), name), &error) != nullptr;
}

int CompareScriptNames(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    const int difference = CollationRank(a[i]) - CollationRank(b[i]);
    if (difference != 0) return difference;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

size_t SortedInsertPosition(const std::vector<std::string>& list, std::string_view name) {
  const auto at = std::upper_bound(list.begin(), list.end(), name,
                                   [](std::string_view value, const std::string& entry) {
                                     return CompareScriptNames(value, entry) < 0;
                                   });
  return size_t(at - list.begin());
}

void RefillScriptChooser(DialogWindow& window, FileSystem& fs, std::string_view game_folder) {
  for (int count = window.ListCount(kScriptChooserId); count > 0; --count) {
    window.DeleteListString(kScriptChooserId, 0);
  }
  const ScriptListing listing = ListCustomScripts(fs, game_folder);
  if (!listing.warning.empty()) {
    window.ShowMessage(listing.warning, "Warning", MessageIcon::kWarning, /*owned=*/false);
  }
  for (const std::string& name : listing.names) window.AddListString(kScriptChooserId, name);
}

void AddCustomScript(DialogWindow& window, FileSystem& fs) {
  const std::string name = window.GetItemText(kScriptChooserId);
  if (CustomScriptExists(fs, fs.CurrentFolder(), name)) {
    window.AddListString(kCustomScriptListId, name);
  } else {
    window.ShowMessage(kFileNotFound, "Error", MessageIcon::kError, /*owned=*/true);
  }
}

}  // namespace tolvenek
