// On Linux the game lives in a Wine prefix, whose registry is a text file.
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "base/letter_case.h"
#include "platform/registry.h"

namespace tolvenek {

namespace {

constexpr const char* kGameKey =
    "LucasArts Entertainment Company LLC\\Star Wars Galactic Battlegrounds: Clone Campaigns\\1.0";

// Wine writes "\\" for '\' and "\"" for '"' in key names and string values.
std::string Unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) ++i;
    out += text[i];
  }
  return out;
}

// The "Game Path" string in the section of `key` (lower case, unescaped).
std::string FindValue(const std::string& registry, const std::string& key) {
  std::istringstream lines(registry);
  std::string line;
  bool in_key = false;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '[') {
      const size_t close = line.rfind(']');
      in_key =
          close != std::string::npos && AsciiLowered(Unescape(line.substr(1, close - 1))) == key;
      continue;
    }
    constexpr std::string_view kValue = "\"game path\"=\"";
    if (in_key && AsciiLowered(line).rfind(kValue, 0) == 0 && line.size() > kValue.size() &&
        line.back() == '"') {
      std::string value = Unescape(line.substr(kValue.size(), line.size() - kValue.size() - 1));
      if (const size_t nul = value.find('\0'); nul != std::string::npos) value.resize(nul);
      // The value has to fit the game's 255-byte buffer with its terminator.
      return value.size() <= 254 ? value : std::string();
    }
  }
  return "";
}

class WineRegistry : public GameRegistry {
 public:
  std::string ReadGamePath() override {
    const char* prefix = std::getenv("WINEPREFIX");
    const char* home = std::getenv("HOME");
    const std::string folder =
        prefix && *prefix ? prefix : std::string(home ? home : "") + "/.wine";
    std::ifstream file(folder + "/system.reg", std::ios::binary);
    if (!file) return "";
    std::ostringstream text;
    text << file.rdbuf();
    // A 32-bit program sees Wow6432Node on a 64-bit prefix, the plain key on a
    // 32-bit one.
    const std::string key = AsciiLowered(kGameKey);
    std::string value = FindValue(text.str(), "software\\wow6432node\\" + key);
    if (value.empty()) value = FindValue(text.str(), "software\\" + key);
    return value;
  }
};

}  // namespace

GameRegistry& SystemRegistry() {
  static WineRegistry registry;
  return registry;
}

}  // namespace tolvenek
