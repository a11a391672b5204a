// The file seam: everything Tolvenek does to disk goes through FileSystem, so
// the core never includes a platform header and tests can swap in a fake or a
// wrapper that fails on demand.
//
// Paths follow the game's conventions on every platform: '\' and '/' both
// separate folders, names match without regard to letter case, and a relative
// path is resolved against the current folder. The POSIX implementation
// emulates this (and maps "C:\..." into the Wine prefix); the Win32 one gets
// it from the system.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tolvenek {

enum class FsError {
  kOk,
  kNotFound,      // the file does not exist
  kPathNotFound,  // a folder on the way does not exist
  kAccessDenied,
  kIsFolder,  // a file was wanted, a folder stands there
  kNoSpace,
  kTooLarge,
  kIo,  // anything else
};

// A short lower-case reason for messages: "disk full", "access denied", ...
std::string_view DescribeFsError(FsError error);

class ReadableFile {
 public:
  virtual ~ReadableFile() = default;
  virtual uint64_t Size() const = 0;
  // Reads up to `count` bytes at `offset` into `out`; `*got` receives the number
  // read, fewer only at the end of the file. kOk unless the read itself failed.
  virtual FsError ReadAt(uint64_t offset, size_t count, char* out, size_t* got) = 0;
};

class WritableFile {
 public:
  virtual ~WritableFile() = default;
  // Every byte or an error; a failed write may have written part of `bytes`.
  virtual FsError Write(std::string_view bytes) = 0;
  // Flushes to stable storage, so a crash after it leaves the bytes on disk.
  virtual FsError Sync() = 0;
  // Closes once; later calls return kOk. The destructor closes without checking.
  virtual FsError Close() = 0;
};

struct FolderEntry {
  std::string name;
  bool is_folder = false;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Null and `*error` set when the file cannot be opened for reading.
  virtual std::unique_ptr<ReadableFile> OpenForReading(const std::string& path, FsError* error) = 0;

  // Tells whether `path` can be written without changing an existing file's
  // bytes: an existing file is opened for appending and closed, an absent one is
  // created empty. `*created` says which happened.
  virtual FsError ProbeWritable(const std::string& path, bool* created) = 0;

  // Creates `path` or empties it, open for writing. A link standing at `path`
  // is replaced by the new file, never written through.
  virtual std::unique_ptr<WritableFile> CreateForWriting(const std::string& path,
                                                         FsError* error) = 0;

  // Moves `from` over `to` in one step, replacing an existing `to`. (Not
  // named ReplaceFile: <windows.h> makes that a macro.)
  virtual FsError MoveFileOver(const std::string& from, const std::string& to) = 0;

  virtual FsError RemoveFile(const std::string& path) = 0;

  // The entries of `folder` ("." and ".." left out), in the order the system
  // gives them. On a failure part way, `entries` keeps what was found.
  virtual FsError ListFolder(const std::string& folder, std::vector<FolderEntry>* entries) = 0;

  virtual bool IsFolder(const std::string& path) = 0;

  // The process-wide current folder. SetCurrentFolder returns false and leaves
  // it unchanged when `path` cannot be entered.
  virtual bool SetCurrentFolder(const std::string& path) = 0;
  virtual std::string CurrentFolder() = 0;

  // `path` as the system itself spells it, for showing to the player.
  virtual std::string DisplayPath(const std::string& path) { return path; }
};

// `folder` and `name` joined with one '\' (none added when `folder` is empty or
// already ends in a separator).
std::string JoinPath(std::string_view folder, std::string_view name);

// True when `path` is relative and never climbs: no drive, no leading
// separator, no "." or ".." part. Such a path stays inside its base folder.
bool StaysInsideFolder(std::string_view path);

// True when `path` is absolute: "X:\...", "\\server\..." or "/...".
bool IsAbsolutePath(std::string_view path);

// The real file system of the platform the program runs on.
FileSystem& SystemFileSystem();

}  // namespace tolvenek
