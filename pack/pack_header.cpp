#include "pack/pack_header.h"

#include <cstdint>
#include <string>

namespace tolvenek {

namespace {

constexpr int64_t kListWidth = 72;
constexpr int64_t kWrapAfter = 54;
// As wide as "/* Maps included in this pack: ", so every line's names line up.
const std::string kContinuation = "/*" + std::string(29, ' ');

void CloseListLine(ByteSink& out, int64_t width) {
  if (kListWidth - width > 0) out.Put(std::string(size_t(kListWidth - width), ' '));
  out.PutLine(" */");
}

}  // namespace

void WritePackHeader(ByteSink& out, const std::vector<std::string_view>& names) {
  out.PutLine(kPackBanner);
  // The game takes "/*" and "*/" only as words of their own, hence the spaces.
  out.PutLine("/* The game picks one map of this pack at random; each has a near-equal chance. */");
  out.PutLine(
      "/* Change the pool in Tolvenek and generate again rather than editing this file. */");
  out.PutLine("");

  out.Put("/* Maps included in this pack: ");
  int64_t width = 0;
  bool first = true;
  for (std::string_view name : names) {
    if (!first) {
      out.Put(", ");
      width += 2;
      if (width > kWrapAfter) {
        CloseListLine(out, width);
        out.Put(kContinuation);
        width = 0;
      }
    }
    first = false;
    out.Put(name);
    width += static_cast<int64_t>(name.size());
  }
  CloseListLine(out, width);
  out.PutLine("");
}

}  // namespace tolvenek
