#include "pack/byte_sink.h"

namespace tolvenek {

namespace {
constexpr size_t kChunk = 256 * 1024;
}

void ByteSink::Put(std::string_view bytes) {
  if (error_ != FsError::kOk) return;
  buffer_.append(bytes);
  if (file_ && buffer_.size() >= kChunk) Flush();
}

void ByteSink::PutLine(std::string_view bytes) {
  Put(bytes);
  Put("\r\n");
}

FsError ByteSink::Flush() {
  if (!file_ || error_ != FsError::kOk) return error_;
  if (!buffer_.empty()) error_ = file_->Write(buffer_);
  buffer_.clear();
  return error_;
}

}  // namespace tolvenek
