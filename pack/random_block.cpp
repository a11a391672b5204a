#include "pack/random_block.h"

#include <string>

namespace tolvenek {

bool UsesLandResources(const MapSections& map) {
  const auto& objects = map.Section(SectionKind::kObjectsGeneration);
  return objects && FindTextPosition(kLandResourcesInclude, *objects,
                                     static_cast<int64_t>(objects->size())) != -1;
}

void WriteRandomBlock(ByteSink& out, const std::vector<int>& chances,
                      const std::vector<MapSections>& maps) {
  out.PutLine("start_random");
  for (size_t n = 0; n < maps.size(); ++n) {
    out.PutLine("percent_chance " + std::to_string(chances[n]));
    out.PutLine("#define ZOQ_MAP" + std::to_string(n));
    if (UsesLandResources(maps[n])) out.PutLine("#define ZOQ_LANDRES");
  }
  out.PutLine("end_random");
}

}  // namespace tolvenek
