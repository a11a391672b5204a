// The file system a job works through, so that "Exit" can abandon the job:
// after Cancel() returns, no call that creates, writes over or moves a file
// is running or will run (they fail with kIo), so the dialog can then clean
// up what the job left without racing it. Reads, listings and removals still
// pass, so the job winds down by its ordinary failure path.
//
// Shared between the UI thread (Cancel) and the job's worker (everything
// else); each forwarded call holds a lock that Cancel() also takes.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace tolvenek {

class CancellableFileSystem : public FileSystem {
 public:
  explicit CancellableFileSystem(FileSystem& base) : base_(base) {}

  // Waits for a call in flight to end; afterwards creating calls fail.
  void Cancel() {
    std::lock_guard<std::mutex> lock(mutex_);
    cancelled_ = true;
  }
  bool cancelled() const { return cancelled_; }

  std::unique_ptr<ReadableFile> OpenForReading(const std::string& path, FsError* error) override {
    return base_.OpenForReading(path, error);
  }
  FsError ProbeWritable(const std::string& path, bool* created) override {
    std::lock_guard<std::mutex> lock(mutex_);
    *created = false;
    return cancelled_ ? FsError::kIo : base_.ProbeWritable(path, created);
  }
  std::unique_ptr<WritableFile> CreateForWriting(const std::string& path, FsError* error) override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (cancelled_) {
      *error = FsError::kIo;
      return nullptr;
    }
    std::unique_ptr<WritableFile> file = base_.CreateForWriting(path, error);
    return file ? std::make_unique<Writer>(std::move(file), *this) : nullptr;
  }
  FsError MoveFileOver(const std::string& from, const std::string& to) override {
    std::lock_guard<std::mutex> lock(mutex_);
    return cancelled_ ? FsError::kIo : base_.MoveFileOver(from, to);
  }
  FsError RemoveFile(const std::string& path) override { return base_.RemoveFile(path); }
  FsError ListFolder(const std::string& folder, std::vector<FolderEntry>* entries) override {
    return base_.ListFolder(folder, entries);
  }
  bool IsFolder(const std::string& path) override { return base_.IsFolder(path); }
  bool SetCurrentFolder(const std::string& path) override { return base_.SetCurrentFolder(path); }
  std::string CurrentFolder() override { return base_.CurrentFolder(); }
  std::string DisplayPath(const std::string& path) override { return base_.DisplayPath(path); }

 private:
  // Writes to a file made before the cancel fail after it, too.
  class Writer : public WritableFile {
   public:
    Writer(std::unique_ptr<WritableFile> file, CancellableFileSystem& owner)
        : file_(std::move(file)), owner_(owner) {}
    FsError Write(std::string_view bytes) override {
      std::lock_guard<std::mutex> lock(owner_.mutex_);
      return owner_.cancelled_ ? FsError::kIo : file_->Write(bytes);
    }
    FsError Sync() override {
      std::lock_guard<std::mutex> lock(owner_.mutex_);
      return owner_.cancelled_ ? FsError::kIo : file_->Sync();
    }
    FsError Close() override { return file_->Close(); }

   private:
    std::unique_ptr<WritableFile> file_;
    CancellableFileSystem& owner_;
  };

  FileSystem& base_;
  std::mutex mutex_;
  std::atomic<bool> cancelled_{false};
};

}  // namespace tolvenek
