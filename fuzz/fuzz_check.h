// What every fuzz target shares: a check that stops the run with a message
// (libFuzzer then keeps the input), and the split of one input into pieces.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace tolvenek {

// Unlike assert, stays on in release builds.
#define FUZZ_CHECK(condition, what)                                                       \
  do {                                                                                    \
    if (!(condition)) {                                                                   \
      std::fprintf(stderr, "%s:%d: property broken: %s (%s)\n", __FILE__, __LINE__, what, \
                   #condition);                                                           \
      std::abort();                                                                       \
    }                                                                                     \
  } while (0)

// Pieces of an input are separated by this byte (ASCII record separator), so
// seeds stay readable and mutations can move the borders.
constexpr char kPieceSeparator = '\x1E';

inline std::vector<std::string_view> SplitPieces(std::string_view input, size_t max_pieces) {
  std::vector<std::string_view> pieces;
  while (pieces.size() + 1 < max_pieces) {
    const size_t end = input.find(kPieceSeparator);
    if (end == std::string_view::npos) break;
    pieces.push_back(input.substr(0, end));
    input.remove_prefix(end + 1);
  }
  pieces.push_back(input);
  return pieces;
}

}  // namespace tolvenek
