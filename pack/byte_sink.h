// Where the pack's writers put their bytes: collected in memory, or passed on
// to an open file in large chunks. The first failed write sticks, so writers
// need not check each piece; the builder checks once per stage.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace tolvenek {

class ByteSink {
 public:
  ByteSink() = default;  // collects everything in memory
  explicit ByteSink(WritableFile* file) : file_(file) {}
  ByteSink(const ByteSink&) = delete;
  ByteSink& operator=(const ByteSink&) = delete;

  void Put(std::string_view bytes);
  // The bytes followed by CR LF.
  void PutLine(std::string_view bytes);

  // Hands everything buffered to the file; the first error from now on.
  FsError Flush();
  FsError error() const { return error_; }

  // In memory mode: everything put so far.
  const std::string& collected() const { return buffer_; }

 private:
  WritableFile* file_ = nullptr;
  std::string buffer_;
  FsError error_ = FsError::kOk;
};

}  // namespace tolvenek
