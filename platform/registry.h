// The registry seam: the one value Tolvenek reads.
#pragma once

#include <string>

namespace tolvenek {

class GameRegistry {
 public:
  virtual ~GameRegistry() = default;
  // The text of "Game Path" under the game's key (at most 254 characters,
  // up to its first NUL), or "" when the key or value cannot be read.
  virtual std::string ReadGamePath() = 0;
};

// Windows: the 32-bit registry view. POSIX: the Wine prefix's system.reg
// ($WINEPREFIX, else ~/.wine), or nothing when there is none.
GameRegistry& SystemRegistry();

}  // namespace tolvenek
