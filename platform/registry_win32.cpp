// "Game Path" from the registry, as the game's 32-bit installer wrote it.
#include <cstring>
#include <string>

#include "platform/registry.h"
#include "platform/win32_headers.h"

namespace tolvenek {

namespace {

constexpr const char* kGameKey =
    "SOFTWARE\\LucasArts Entertainment Company LLC\\Star Wars Galactic Battlegrounds: Clone "
    "Campaigns\\1.0";

class Win32Registry : public GameRegistry {
 public:
  std::string ReadGamePath() override {
    HKEY key = nullptr;
    // Open-or-create with query access only. KEY_WOW64_32KEY: the view of
    // 32-bit programs, also when a 64-bit build of ours runs.
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kGameKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_QUERY_VALUE | KEY_WOW64_32KEY, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
      return "";
    }
    char buffer[256] = {};
    DWORD size = 255;  // room for 254 characters and the terminator
    DWORD type = 0;
    const LONG result =
        RegQueryValueExA(key, "Game Path", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return "";  // missing, or too long for the buffer
    // The type is not tested: the bytes up to the first NUL are the text.
    const size_t got = size < 255 ? size : 255;
    return std::string(buffer, strnlen(buffer, got));
  }
};

}  // namespace

GameRegistry& SystemRegistry() {
  static GameRegistry* registry = new Win32Registry;
  return *registry;
}

}  // namespace tolvenek
