#include <gtest/gtest.h>

#include "pack/chances.h"

namespace tolvenek {
TEST(Smoke, Chances) { EXPECT_EQ(SplitChances(3), (std::vector<int>{33, 33, 34})); }
}  // namespace tolvenek
