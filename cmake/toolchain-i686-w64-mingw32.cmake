# Cross-compiling Tolvenek for 32-bit Windows with Debian's mingw-w64.
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOLVENEK_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

# SSE2 float math, so single-precision chance arithmetic rounds as on x86-64
# (x87 keeps excess precision); pack/chances.cpp also forces it with volatile.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

set(CMAKE_CROSSCOMPILING_EMULATOR wine)
