// The one place where a running job collects its failure for the player.
#pragma once

#include <string>
#include <string_view>

namespace tolvenek {

// A failure message of at most kStatusTextCapacity - 1 single-byte characters
// plus its terminator, and a flag. Writers copy their whole message (so a short
// message after a long one shows only the short one); the text is never cleared.
// Only the job's own thread touches a record, so it needs no lock.
constexpr size_t kStatusTextCapacity = 255;

struct StatusRecord {
  char text[kStatusTextCapacity] = {};
  bool flag = false;

  std::string_view Text() const;
};

// Copies `message` into the record and sets the flag. A message longer than
// 254 characters is cut to 251 and ends in "..." so the player sees it was cut.
void SetStatus(StatusRecord& status, std::string_view message);

}  // namespace tolvenek
