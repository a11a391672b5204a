// The body of a pack: every map's preamble and sections behind its define.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "pack/byte_sink.h"
#include "pack/map_sections.h"

namespace tolvenek {

// Overwrites `length` bytes of `buffer` from `index` on with spaces, keeping
// the text's length and lines. Bytes past the end are left alone.
void BlankText(std::string& buffer, size_t index, size_t length);

// All preamble blocks, then under each section tag the land-resources block
// (objects section only) and one conditional block per map. Blanks the first
// definitions include of each preamble and the first land-resources include of
// each objects section on the way, and releases each piece once written.
void WriteSectionBlocks(ByteSink& out, std::vector<MapSections>& maps,
                        std::string_view land_resources);

}  // namespace tolvenek
