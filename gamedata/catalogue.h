// The game's 46 built-in random maps: the dialog's map boxes, their labels,
// groups and the archive entries that hold their scripts.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tolvenek {

using ResourceId = uint32_t;

enum class MapGroup { kBlindRandom, kStarWarsLocale, kMiscellaneous };

struct CatalogueRow {
  std::string_view label;  // the map box's caption, exactly as shown
  MapGroup group;
  ResourceId id;
};

constexpr int kBuiltinMapCount = 46;
constexpr int kFirstMapBoxId = 1001;  // box kFirstMapBoxId + i is row i
constexpr ResourceId kLandResourcesId = 54103;
constexpr ResourceId kMapDefinitionsId = 54000;

const std::array<CatalogueRow, kBuiltinMapCount>& BuiltinCatalogue();

// "Blind Random", "Star Wars Locale" or "Miscellaneous".
std::string_view GroupName(MapGroup group);

// A selected built-in map as a pack needs it.
struct BuiltinMap {
  ResourceId id;
  std::string_view label;
};

using SelectionFlags = std::array<bool, kBuiltinMapCount>;

// The selected rows in catalogue order (not id order); its size is the
// built-in count.
std::vector<BuiltinMap> SelectBuiltinMaps(const SelectionFlags& flags);

}  // namespace tolvenek
