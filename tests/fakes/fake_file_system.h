// An in-memory FileSystem that behaves like Windows: drive-letter paths with
// '\' (or '/'), names matched whatever their letter case but kept as created,
// relative paths against a current folder ("C:\" at start), and errors where
// Windows gives them. Tests add files and folders, inject failures (a folder
// listing refused part way, an open refused) and read back what happened:
// every change of the current folder and every removal is recorded.
//
// Not thread-safe; the dialog tests call it from one thread.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/letter_case.h"
#include "platform/file_system.h"
#include "platform/memory_file.h"

namespace tolvenek {

class FakeFileSystem : public FileSystem {
 public:
  FakeFileSystem() { nodes_["c:"] = Node{"C:", true, nullptr, {}}; }

  // Adds a folder and every folder on the way to it.
  void AddFolder(std::string_view path) { MakeFolders(Resolve(path)); }

  // Adds (or replaces) a file, making the folders on the way.
  void AddFile(std::string_view path, std::string bytes = "") {
    std::vector<std::string> parts = Resolve(path);
    std::vector<std::string> parent(parts.begin(), parts.end() - 1);
    MakeFolders(parent);
    Node* node = Find(parts);
    if (node && !node->folder) {
      *node->bytes = std::move(bytes);
      return;
    }
    Insert(parts, false)->bytes = std::make_shared<std::string>(std::move(bytes));
  }

  bool FileExists(std::string_view path) {
    const Node* node = Find(Resolve(path));
    return node && !node->folder;
  }
  // The file's bytes; "" for a missing file.
  std::string Contents(std::string_view path) {
    const Node* node = Find(Resolve(path));
    return node && !node->folder ? *node->bytes : std::string();
  }

  // ListFolder of `folder` yields its first `after` entries, then fails.
  void FailListing(std::string_view folder, FsError error, size_t after = 0) {
    listing_faults_[Key(Resolve(folder))] = {error, after};
  }
  // OpenForReading of `path` fails with `error`.
  void FailOpen(std::string_view path, FsError error) { open_faults_[Key(Resolve(path))] = error; }

  // What happened, as the paths were passed.
  std::vector<std::string> folder_changes;  // every SetCurrentFolder, entered or not
  std::vector<std::string> removed;         // absolute paths of removed files

  // FileSystem:
  std::unique_ptr<ReadableFile> OpenForReading(const std::string& path, FsError* error) override {
    const std::vector<std::string> parts = Resolve(path);
    if (auto fault = open_faults_.find(Key(parts)); fault != open_faults_.end()) {
      *error = fault->second;
      return nullptr;
    }
    const Node* node = Find(parts);
    if (!node) {
      *error = Missing(parts);
      return nullptr;
    }
    if (node->folder) {
      *error = FsError::kIsFolder;
      return nullptr;
    }
    return std::make_unique<MemoryReadableFile>(*node->bytes);
  }

  FsError ProbeWritable(const std::string& path, bool* created) override {
    const std::vector<std::string> parts = Resolve(path);
    *created = false;
    if (const Node* node = Find(parts)) return node->folder ? FsError::kIsFolder : FsError::kOk;
    if (!ParentIsFolder(parts)) return FsError::kPathNotFound;
    Insert(parts, false)->bytes = std::make_shared<std::string>();
    *created = true;
    return FsError::kOk;
  }

  std::unique_ptr<WritableFile> CreateForWriting(const std::string& path, FsError* error) override {
    const std::vector<std::string> parts = Resolve(path);
    Node* node = Find(parts);
    if (node && node->folder) {
      *error = FsError::kIsFolder;
      return nullptr;
    }
    if (!node && !ParentIsFolder(parts)) {
      *error = FsError::kPathNotFound;
      return nullptr;
    }
    if (!node) node = Insert(parts, false);
    node->bytes = std::make_shared<std::string>();
    return std::make_unique<Writer>(node->bytes);
  }

  FsError MoveFileOver(const std::string& from, const std::string& to) override {
    const std::vector<std::string> source = Resolve(from);
    const std::vector<std::string> target = Resolve(to);
    Node* node = Find(source);
    if (!node) return Missing(source);
    if (node->folder) return FsError::kAccessDenied;
    if (!ParentIsFolder(target)) return FsError::kPathNotFound;
    if (const Node* existing = Find(target); existing && existing->folder) {
      return FsError::kAccessDenied;
    }
    std::shared_ptr<std::string> bytes = node->bytes;
    Erase(source);
    Node* moved = Find(target);
    if (!moved) moved = Insert(target, false);
    moved->bytes = bytes;
    return FsError::kOk;
  }

  FsError RemoveFile(const std::string& path) override {
    const std::vector<std::string> parts = Resolve(path);
    const Node* node = Find(parts);
    if (!node) return Missing(parts);
    if (node->folder) return FsError::kAccessDenied;
    removed.push_back(Display(parts));
    Erase(parts);
    return FsError::kOk;
  }

  FsError ListFolder(const std::string& folder, std::vector<FolderEntry>* entries) override {
    const std::vector<std::string> parts = Resolve(folder);
    const Node* node = Find(parts);
    if (!node || !node->folder) return FsError::kPathNotFound;
    std::optional<std::pair<FsError, size_t>> fault;
    if (auto found = listing_faults_.find(Key(parts)); found != listing_faults_.end()) {
      fault = found->second;
    }
    size_t given = 0;
    for (const std::string& child : node->children) {
      if (fault && given == fault->second) return fault->first;
      const Node& entry = nodes_.at(child);
      entries->push_back({LastPart(entry.display), entry.folder});
      ++given;
    }
    return fault ? fault->first : FsError::kOk;
  }

  bool IsFolder(const std::string& path) override {
    const Node* node = Find(Resolve(path));
    return node && node->folder;
  }

  bool SetCurrentFolder(const std::string& path) override {
    folder_changes.push_back(path);
    if (path.empty()) return false;
    const std::vector<std::string> parts = Resolve(path);
    const Node* node = Find(parts);
    if (!node || !node->folder) return false;
    current_ = parts;
    return true;
  }

  std::string CurrentFolder() override { return Display(current_); }

 private:
  struct Node {
    std::string display;  // the absolute path as created, "C:\Games\SWGB"
    bool folder = false;
    std::shared_ptr<std::string> bytes;  // a file's bytes, shared with open writers
    std::vector<std::string> children;   // keys, in the order they were made
  };

  class Writer : public WritableFile {
   public:
    explicit Writer(std::shared_ptr<std::string> bytes) : bytes_(std::move(bytes)) {}
    FsError Write(std::string_view bytes) override {
      bytes_->append(bytes);
      return FsError::kOk;
    }
    FsError Sync() override { return FsError::kOk; }
    FsError Close() override { return FsError::kOk; }

   private:
    std::shared_ptr<std::string> bytes_;
  };

  static std::string LastPart(const std::string& display) {
    return display.substr(display.rfind('\\') + 1);
  }

  // The absolute parts of `path`, drive first ("C:"), "." and ".." applied.
  std::vector<std::string> Resolve(std::string_view path) const {
    std::vector<std::string> parts;
    std::string_view rest = path;
    if (rest.size() >= 2 && rest[1] == ':') {
      parts.push_back(
          std::string(1, char(rest[0] >= 'a' && rest[0] <= 'z' ? rest[0] - 32 : rest[0])) + ":");
      rest.remove_prefix(2);
    } else if (!rest.empty() && (rest[0] == '\\' || rest[0] == '/')) {
      parts.push_back(current_.front());
    } else {
      parts = current_;
    }
    size_t start = 0;
    while (start <= rest.size()) {
      size_t end = rest.find_first_of("\\/", start);
      if (end == std::string_view::npos) end = rest.size();
      const std::string part(rest.substr(start, end - start));
      start = end + 1;
      if (part.empty() || part == ".") continue;
      if (part == "..") {
        if (parts.size() > 1) parts.pop_back();
        continue;
      }
      parts.push_back(part);
    }
    return parts;
  }

  static std::string Key(const std::vector<std::string>& parts) {
    std::string key;
    for (const std::string& part : parts) key += (key.empty() ? "" : "\\") + AsciiLowered(part);
    return key;
  }

  // As the system spells it: the names as they were created.
  std::string Display(const std::vector<std::string>& parts) const {
    if (const auto found = nodes_.find(Key(parts)); found != nodes_.end()) {
      return parts.size() == 1 ? found->second.display + "\\" : found->second.display;
    }
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : "\\") + part;
    return parts.size() == 1 ? text + "\\" : text;
  }

  Node* Find(const std::vector<std::string>& parts) {
    const auto found = nodes_.find(Key(parts));
    return found == nodes_.end() ? nullptr : &found->second;
  }

  bool ParentIsFolder(const std::vector<std::string>& parts) {
    if (parts.size() < 2) return false;
    const Node* parent = Find({parts.begin(), parts.end() - 1});
    return parent && parent->folder;
  }

  FsError Missing(const std::vector<std::string>& parts) {
    return ParentIsFolder(parts) ? FsError::kNotFound : FsError::kPathNotFound;
  }

  void MakeFolders(const std::vector<std::string>& parts) {
    for (size_t n = 1; n <= parts.size(); ++n) {
      const std::vector<std::string> prefix(parts.begin(), parts.begin() + long(n));
      if (!Find(prefix)) {
        if (n == 1) {
          nodes_[Key(prefix)] = Node{prefix[0], true, nullptr, {}};
        } else {
          Insert(prefix, true);
        }
      }
    }
  }

  Node* Insert(const std::vector<std::string>& parts, bool folder) {
    const std::vector<std::string> parent_parts(parts.begin(), parts.end() - 1);
    Node& parent = *Find(parent_parts);
    const std::string key = Key(parts);
    parent.children.push_back(key);
    Node& node = nodes_[key];
    node.display = parent.display + "\\" + parts.back();
    node.folder = folder;
    return &node;
  }

  void Erase(const std::vector<std::string>& parts) {
    const std::string key = Key(parts);
    Node& parent = *Find({parts.begin(), parts.end() - 1});
    std::erase(parent.children, key);
    nodes_.erase(key);
  }

  std::map<std::string, Node> nodes_;  // by lower-case key
  std::vector<std::string> current_ = {"C:"};
  std::map<std::string, std::pair<FsError, size_t>> listing_faults_;
  std::map<std::string, FsError> open_faults_;
};

}  // namespace tolvenek
