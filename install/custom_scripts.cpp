#include "install/custom_scripts.h"

#include <algorithm>

#include "base/letter_case.h"

namespace tolvenek {

namespace {

// The sorted list box and combo box compare with CompareStringW and
// NORM_IGNORECASE in "word sort", as measured under Wine:
//  - first every character but '-' and '\'' by its primary weight: space and
//    punctuation in the table's order, then the symbols + < = >, then digits,
//    then letters with case ignored (bytes above 127 after all of those);
//  - on a tie, the ignored '-' and '\'' decide: a name without them first;
//    otherwise, pair by pair, the one at the later position first, and at the
//    same position '\'' before '-';
//  - names that differ only in letter case are equal.
constexpr std::string_view kPunctuationOrder = " !\"#$%&()*,./:;?@[\\]^_`{|}~+<=>";

bool IsIgnoredAtFirst(char c) { return c == '-' || c == '\''; }

int PrimaryWeight(char c) {
  const auto byte = static_cast<unsigned char>(AsciiLower(c));
  if (const size_t at = kPunctuationOrder.find(char(byte)); at != std::string_view::npos) {
    return int(at);
  }
  if (byte >= '0' && byte <= '9') return 100 + (byte - '0');
  if (byte >= 'a' && byte <= 'z') return 200 + (byte - 'a');
  return 300 + byte;  // control characters and bytes above 127
}

}  // namespace

bool IsRmsName(std::string_view name) {
  constexpr std::string_view kExtension = ".rms";
  if (name.size() < kExtension.size()) return false;
  const std::string_view tail = name.substr(name.size() - kExtension.size());
  return std::equal(tail.begin(), tail.end(), kExtension.begin(),
                    [](char a, char b) { return AsciiLower(a) == b; });
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
  // A name may reach into a sub-folder of the random folder, never out of it.
  if (!StaysInsideFolder(name)) return false;
  FsError error = FsError::kOk;
  return fs.OpenForReading(JoinPath(JoinPath(folder, "random"), name), &error) != nullptr;
}

int CompareScriptNames(std::string_view a, std::string_view b) {
  // First level: everything but the ignored characters.
  size_t i = 0, j = 0;
  while (true) {
    while (i < a.size() && IsIgnoredAtFirst(a[i])) ++i;
    while (j < b.size() && IsIgnoredAtFirst(b[j])) ++j;
    if (i == a.size() || j == b.size()) break;
    const int difference = PrimaryWeight(a[i]) - PrimaryWeight(b[j]);
    if (difference != 0) return difference;
    ++i;
    ++j;
  }
  if (i < a.size()) return 1;   // b ran out first
  if (j < b.size()) return -1;  // a ran out first
  // Second level: the ignored characters, by position and kind.
  i = 0;
  j = 0;
  while (true) {
    while (i < a.size() && !IsIgnoredAtFirst(a[i])) ++i;
    while (j < b.size() && !IsIgnoredAtFirst(b[j])) ++j;
    if (i == a.size() || j == b.size()) break;
    if (i != j) return i > j ? -1 : 1;  // the later one sorts first
    if (a[i] != b[j]) return a[i] == '\'' ? -1 : 1;
    ++i;
    ++j;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

size_t SortedInsertPosition(const std::vector<std::string>& list, std::string_view name) {
  // The sorted controls' own search: a binary search that stops at the first
  // equal entry it meets and inserts there, else at the end of its range.
  ptrdiff_t low = 0;
  ptrdiff_t high = ptrdiff_t(list.size()) - 1;
  while (low <= high) {
    const ptrdiff_t middle = (low + high) / 2;
    const int order = CompareScriptNames(list[size_t(middle)], name);
    if (order == 0) return size_t(middle);
    if (order > 0) {
      high = middle - 1;
    } else {
      low = middle + 1;
    }
  }
  return size_t(low);
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
