# The same program for 64-bit Windows. Not what we ship (that is the i686
# build); scripts/test-windows.sh runs its Wine tests on this build when the
# machine cannot execute 32-bit code (a kernel without IA-32 emulation), so
# that the real dialog is still driven under Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOLVENEK_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

# Debian ships the 64-bit loader outside PATH.
find_program(TOLVENEK_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(TOLVENEK_WINE64 NAMES wine64 wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TOLVENEK_WINE64})
