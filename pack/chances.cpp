#include "pack/chances.h"

namespace tolvenek {

namespace {

// Rounds to single precision even where the compiler would keep more (x87).
float Single(float value) {
  volatile float stored = value;
  return stored;
}

}  // namespace

std::vector<int> SplitChances(int n) {
  std::vector<int> chances(n > 0 ? n : 0);
  if (n <= 0) return chances;
  const float q = Single(100.0f / Single(static_cast<float>(n)));
  const int base = static_cast<int>(q);
  const float threshold = 0.999f;
  float sum = 0.0f;
  float total = 0.0f;
  for (int i = 0; i < n; ++i) {
    chances[i] = base;
    sum = Single(sum + static_cast<float>(base));
    total = Single(total + q);
    if (Single(total - sum) >= threshold) {
      chances[i] = base + 1;
      sum = Single(sum + 1.0f);
    }
  }
  return chances;
}

}  // namespace tolvenek
