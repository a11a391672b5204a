// Cutting a map script into its preamble and its seven tagged sections.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tolvenek {

// In the order the game reads them and the pack writes them.
enum class SectionKind {
  kPlayerSetup,
  kLandGeneration,
  kTerrainGeneration,
  kObjectsGeneration,
  kElevationGeneration,
  kCliffGeneration,
  kConnectionGeneration,
};
constexpr int kSectionCount = 7;

// "<PLAYER_SETUP>" and so on, matched byte for byte.
std::string_view SectionTag(SectionKind kind);

struct MapSections {
  // Everything before the first "<PLAYER_SETUP>"; empty without one.
  std::string preamble;
  // From the tag's '<' up to, not including, the next '<' (or the end).
  std::array<std::optional<std::string>, kSectionCount> sections;

  std::optional<std::string>& Section(SectionKind kind) { return sections[int(kind)]; }
  const std::optional<std::string>& Section(SectionKind kind) const { return sections[int(kind)]; }
};

// The 1-based position of the first occurrence of `pattern` that starts among
// the first `count` bytes of `text` and lies wholly inside `text`, or -1. An
// empty pattern and a count of 0 or less find nothing.
int32_t FindTextPosition(std::string_view pattern, std::string_view text, int64_t count);

// The section of `tag` in `text` (which must already end at its first NUL), or
// nothing when the tag does not occur.
std::optional<std::string> CutSection(std::string_view text, std::string_view tag);

// Cuts the script; the text ends at `text.size()` or its first NUL byte. Every
// piece is searched from the start of the text, so tag order does not matter.
MapSections SplitMapScript(std::string_view text);

// A present section's text after the '>' of its own tag.
std::string_view SectionBody(std::string_view section);

}  // namespace tolvenek
