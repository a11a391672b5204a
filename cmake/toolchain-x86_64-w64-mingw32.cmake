# The same program for 64-bit Windows. Not what we ship (that is the i686
# build); scripts/test-windows.sh runs its Wine tests on this build when the
# machine cannot execute 32-bit code (a kernel without IA-32 emulation), so
# that the real dialog is still driven under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOLVENEK_MINGW_TRIPLE x86_64-w64-mingw32)

find_program(CMAKE_C_COMPILER NAMES ${TOLVENEK_MINGW_TRIPLE}-gcc-posix ${TOLVENEK_MINGW_TRIPLE}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${TOLVENEK_MINGW_TRIPLE}-g++-posix ${TOLVENEK_MINGW_TRIPLE}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${TOLVENEK_MINGW_TRIPLE}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${TOLVENEK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Debian ships the 64-bit loader outside PATH.
find_program(TOLVENEK_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(TOLVENEK_WINE64 NAMES wine64 wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TOLVENEK_WINE64})
