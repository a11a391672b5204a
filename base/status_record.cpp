#include "base/status_record.h"

#include <cstring>

namespace tolvenek {

std::string_view StatusRecord::Text() const { return std::string_view(text, std::strlen(text)); }

void SetStatus(StatusRecord& status, std::string_view message) {
  constexpr size_t kMax = kStatusTextCapacity - 1;
  if (message.size() <= kMax) {
    std::memcpy(status.text, message.data(), message.size());
    status.text[message.size()] = '\0';
  } else {
    constexpr std::string_view kEllipsis = "...";
    const size_t keep = kMax - kEllipsis.size();
    std::memcpy(status.text, message.data(), keep);
    std::memcpy(status.text + keep, kEllipsis.data(), kEllipsis.size());
    status.text[kMax] = '\0';
  }
  status.flag = true;
}

}  // namespace tolvenek
