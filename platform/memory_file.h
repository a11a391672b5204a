// A ReadableFile over bytes in memory: archives built by tests and fuzzers.
#pragma once

#include <cstring>
#include <string>
#include <utility>

#include "platform/file_system.h"

namespace tolvenek {

class MemoryReadableFile : public ReadableFile {
 public:
  explicit MemoryReadableFile(std::string bytes) : bytes_(std::move(bytes)) {}
  uint64_t Size() const override { return bytes_.size(); }
  FsError ReadAt(uint64_t offset, size_t count, char* out, size_t* got) override {
    *got = 0;
    if (offset >= bytes_.size()) return FsError::kOk;
    const uint64_t left = bytes_.size() - offset;
    *got = count < left ? count : static_cast<size_t>(left);
    std::memcpy(out, bytes_.data() + offset, *got);
    return FsError::kOk;
  }

 private:
  std::string bytes_;
};

}  // namespace tolvenek
