#include "pack/chances.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace tolvenek {
namespace {

std::vector<int> Repeat(std::initializer_list<int> pattern, int times) {
  std::vector<int> out;
  for (int i = 0; i < times; ++i) out.insert(out.end(), pattern);
  return out;
}

TEST(SplitChances, WorkedResults) {
  std::vector<int> all_builtin(46, 2);
  for (int position : {5, 11, 17, 22, 28, 34, 40, 45}) all_builtin[position] = 3;
  std::vector<int> nine(9, 11);
  nine.back() = 12;
  std::vector<int> eleven(11, 9);
  eleven.back() = 10;
  std::vector<int> hundred_one(101, 1);
  hundred_one[0] = 0;
  const std::pair<int, std::vector<int>> cases[] = {
      {1, {100}},
      {2, {50, 50}},
      {3, {33, 33, 34}},
      {4, {25, 25, 25, 25}},
      {6, {16, 17, 17, 16, 17, 17}},
      {7, {14, 14, 14, 15, 14, 14, 15}},
      {8, Repeat({12, 13}, 4)},
      {9, nine},
      {11, eleven},
      {12, Repeat({8, 8, 9}, 4)},
      {13, {7, 8, 8, 7, 8, 8, 7, 8, 8, 7, 8, 8, 8}},
      {46, all_builtin},
      {101, hundred_one},
      {200, Repeat({0, 1}, 100)},
  };
  for (const auto& [n, expected] : cases) EXPECT_EQ(SplitChances(n), expected) << "N=" << n;
}

TEST(SplitChances, AddsUpTo100ThroughEveryPoolUpTo791) {
  for (int n = 1; n <= 791; ++n) {
    const std::vector<int> chances = SplitChances(n);
    ASSERT_EQ(std::accumulate(chances.begin(), chances.end(), 0), 100) << "N=" << n;
    const auto [low, high] = std::minmax_element(chances.begin(), chances.end());
    ASSERT_LE(*high - *low, 1) << "N=" << n;
    ASSERT_EQ(chances[0], *low) << "N=" << n;
  }
  // Single precision runs out beyond that; the pack keeps the same arithmetic.
  for (int n : {792, 804, 822}) {
    const std::vector<int> chances = SplitChances(n);
    EXPECT_EQ(std::accumulate(chances.begin(), chances.end(), 0), 99) << "N=" << n;
  }
}

}  // namespace
}  // namespace tolvenek
