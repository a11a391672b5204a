// The block with which the game picks one map of the pack.
#pragma once

#include <string_view>
#include <vector>

#include "pack/byte_sink.h"
#include "pack/map_sections.h"

namespace tolvenek {

inline constexpr std::string_view kLandResourcesInclude =
    "#include_drs GBG_land_resources.inc 54103";
inline constexpr std::string_view kMapDefinitionsInclude = "#include_drs random_map.def 54000";

// True when the map's objects section, as cut, holds kLandResourcesInclude.
bool UsesLandResources(const MapSections& map);

// "start_random", one branch per map (its chance, its map define, and the
// land-resources define where the map needs it), "end_random". Must run before
// the section blocks blank the include lines.
void WriteRandomBlock(ByteSink& out, const std::vector<int>& chances,
                      const std::vector<MapSections>& maps);

}  // namespace tolvenek
