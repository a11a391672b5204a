#include "pack/map_sections.h"

namespace tolvenek {

std::string_view SectionTag(SectionKind kind) {
  static constexpr std::array<std::string_view, kSectionCount> kTags = {
      "<PLAYER_SETUP>",          "<LAND_GENERATION>",      "<TERRAIN_GENERATION>",
      "<OBJECTS_GENERATION>",    "<ELEVATION_GENERATION>", "<CLIFF_GENERATION>",
      "<CONNECTION_GENERATION>",
  };
  return kTags[int(kind)];
}

int32_t FindTextPosition(std::string_view pattern, std::string_view text, int64_t count) {
  if (pattern.empty() || count <= 0 || pattern.size() > text.size()) return -1;
  // Starts past the last one at which the whole pattern fits can never match.
  const size_t last_fit = text.size() - pattern.size();
  const size_t last_start =
      static_cast<uint64_t>(count) - 1 < last_fit ? size_t(count - 1) : last_fit;
  const size_t found = text.substr(0, last_start + pattern.size()).find(pattern);
  if (found == std::string_view::npos || found > INT32_MAX - 1) return -1;
  return static_cast<int32_t>(found + 1);
}

std::optional<std::string> CutSection(std::string_view text, std::string_view tag) {
  const size_t start = text.find(tag);
  if (start == std::string_view::npos) return std::nullopt;
  size_t end = text.find('<', start + 1);
  if (end == std::string_view::npos) end = text.size();
  return std::string(text.substr(start, end - start));
}

MapSections SplitMapScript(std::string_view text) {
  const size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);

  MapSections map;
  const size_t player_setup = text.find(SectionTag(SectionKind::kPlayerSetup));
  if (player_setup != std::string_view::npos) map.preamble = text.substr(0, player_setup);
  for (int i = 0; i < kSectionCount; ++i) {
    map.sections[i] = CutSection(text, SectionTag(SectionKind(i)));
  }
  return map;
}

std::string_view SectionBody(std::string_view section) {
  const size_t close = section.find('>', 1);
  if (close == std::string_view::npos) return {};
  return section.substr(close + 1);
}

}  // namespace tolvenek
