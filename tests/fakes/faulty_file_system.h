// A FileSystem that passes every call on to another one and fails on demand:
// refused opens, a disk that fills up after so many bytes, failing Sync, Close
// and replace, files that deliver fewer bytes than their size. Every call is
// recorded, so a test can also tell what was (not) attempted.
//
// Faults are matched by the last part of a path (letter case ignored, as the
// game's names are), so a test names "ZOQ_TMP_FILE.tmp" or "sample.rms" and
// need not know how the builder spells the folders in front.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/letter_case.h"
#include "platform/file_system.h"

namespace tolvenek {

class FaultyFileSystem : public FileSystem {
 public:
  // What to break; everything is off by default. Set before the calls it is
  // meant for; the settings are read at each call.
  struct Faults {
    // OpenForReading of this name fails with open_error.
    std::string refuse_read;
    // ProbeWritable and CreateForWriting of this name fail with open_error.
    std::string refuse_write;
    FsError open_error = FsError::kAccessDenied;

    // Writes to files made by CreateForWriting fail with write_error once this
    // many bytes (counted over all such files) have gone through; the write
    // that crosses the limit lands partly, as on a disk that fills up.
    uint64_t write_limit = UINT64_MAX;
    FsError write_error = FsError::kNoSpace;

    FsError sync_error = FsError::kOk;
    FsError close_error = FsError::kOk;
    FsError move_error = FsError::kOk;  // MoveFileOver refused without moving

    // Files of this name say their full size but deliver only the first
    // short_read_limit bytes; reads behind that return fewer bytes, no error.
    std::string short_read;
    uint64_t short_read_limit = 0;
  };

  explicit FaultyFileSystem(FileSystem& base) : base_(base) {}

  Faults faults;
  // One line per call: the operation, a blank and the path ("Write 17" for
  // writes), in call order.
  std::vector<std::string> calls;

  // Calls whose line starts with `operation`.
  size_t CountCalls(std::string_view operation) const {
    return size_t(std::count_if(calls.begin(), calls.end(), [&](const std::string& call) {
      return call.compare(0, operation.size(), operation) == 0;
    }));
  }

  std::unique_ptr<ReadableFile> OpenForReading(const std::string& path, FsError* error) override {
    calls.push_back("OpenForReading " + path);
    if (Matches(path, faults.refuse_read)) {
      *error = faults.open_error;
      return nullptr;
    }
    std::unique_ptr<ReadableFile> file = base_.OpenForReading(path, error);
    if (file && Matches(path, faults.short_read)) {
      return std::make_unique<ShortFile>(std::move(file), faults.short_read_limit);
    }
    return file;
  }

  FsError ProbeWritable(const std::string& path, bool* created) override {
    calls.push_back("ProbeWritable " + path);
    if (Matches(path, faults.refuse_write)) {
      *created = false;
      return faults.open_error;
    }
    return base_.ProbeWritable(path, created);
  }

  std::unique_ptr<WritableFile> CreateForWriting(const std::string& path, FsError* error) override {
    calls.push_back("CreateForWriting " + path);
    if (Matches(path, faults.refuse_write)) {
      *error = faults.open_error;
      return nullptr;
    }
    std::unique_ptr<WritableFile> file = base_.CreateForWriting(path, error);
    if (!file) return nullptr;
    return std::make_unique<FaultyFile>(std::move(file), *this);
  }

  FsError MoveFileOver(const std::string& from, const std::string& to) override {
    calls.push_back("MoveFileOver " + from + " " + to);
    if (faults.move_error != FsError::kOk) return faults.move_error;
    return base_.MoveFileOver(from, to);
  }

  FsError RemoveFile(const std::string& path) override {
    calls.push_back("RemoveFile " + path);
    return base_.RemoveFile(path);
  }

  FsError ListFolder(const std::string& folder, std::vector<FolderEntry>* entries) override {
    calls.push_back("ListFolder " + folder);
    return base_.ListFolder(folder, entries);
  }

  bool IsFolder(const std::string& path) override {
    calls.push_back("IsFolder " + path);
    return base_.IsFolder(path);
  }

  bool SetCurrentFolder(const std::string& path) override {
    calls.push_back("SetCurrentFolder " + path);
    return base_.SetCurrentFolder(path);
  }

  std::string CurrentFolder() override { return base_.CurrentFolder(); }
  std::string DisplayPath(const std::string& path) override { return base_.DisplayPath(path); }

  // Bytes that reached the wrapped files.
  uint64_t bytes_written() const { return bytes_written_; }

 private:
  static bool Matches(std::string_view path, std::string_view name) {
    if (name.empty()) return false;
    const size_t slash = path.find_last_of("\\/");
    const std::string_view last = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return EqualIgnoringCase(last, name);
  }

  class FaultyFile : public WritableFile {
   public:
    FaultyFile(std::unique_ptr<WritableFile> base, FaultyFileSystem& owner)
        : base_(std::move(base)), owner_(owner) {}
    FsError Write(std::string_view bytes) override {
      owner_.calls.push_back("Write " + std::to_string(bytes.size()));
      const Faults& faults = owner_.faults;
      const uint64_t room = faults.write_limit > owner_.bytes_written_
                                ? faults.write_limit - owner_.bytes_written_
                                : 0;
      if (bytes.size() > room) {
        if (room > 0 && base_->Write(bytes.substr(0, size_t(room))) == FsError::kOk) {
          owner_.bytes_written_ += room;
        }
        return faults.write_error;
      }
      const FsError error = base_->Write(bytes);
      if (error == FsError::kOk) owner_.bytes_written_ += bytes.size();
      return error;
    }
    FsError Sync() override {
      owner_.calls.push_back("Sync");
      if (owner_.faults.sync_error != FsError::kOk) return owner_.faults.sync_error;
      return base_->Sync();
    }
    FsError Close() override {
      owner_.calls.push_back("Close");
      const FsError error = base_->Close();
      if (closed_) return FsError::kOk;
      closed_ = true;
      return owner_.faults.close_error != FsError::kOk ? owner_.faults.close_error : error;
    }

   private:
    std::unique_ptr<WritableFile> base_;
    FaultyFileSystem& owner_;
    bool closed_ = false;
  };

  class ShortFile : public ReadableFile {
   public:
    ShortFile(std::unique_ptr<ReadableFile> base, uint64_t limit)
        : base_(std::move(base)), limit_(limit) {}
    uint64_t Size() const override { return base_->Size(); }
    FsError ReadAt(uint64_t offset, size_t count, char* out, size_t* got) override {
      *got = 0;
      if (offset >= limit_) return FsError::kOk;
      const uint64_t left = limit_ - offset;
      return base_->ReadAt(offset, count < left ? count : size_t(left), out, got);
    }

   private:
    std::unique_ptr<ReadableFile> base_;
    uint64_t limit_;
  };

  FileSystem& base_;
  uint64_t bytes_written_ = 0;
};

}  // namespace tolvenek
