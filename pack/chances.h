// Dividing 100 percent among the maps of a pool.
#pragma once

#include <vector>

namespace tolvenek {

// N whole-number chances, each 100 / N truncated or one more, in pool order.
// Computed in single precision exactly as the game's packs always were, so the
// same pool always gets the same chances; they add up to 100 for every N up to
// 791. N must be at least 1.
std::vector<int> SplitChances(int n);

}  // namespace tolvenek
