# What both Windows toolchain files share: Debian's mingw-w64 compilers for
# TOLVENEK_MINGW_TRIPLE (the -posix ones carry the winpthreads runtime that
# std::thread needs), the search roots, and static linking so the executable
# needs no runtime DLLs beside it.
set(CMAKE_SYSTEM_NAME Windows)

find_program(CMAKE_C_COMPILER NAMES ${TOLVENEK_MINGW_TRIPLE}-gcc-posix ${TOLVENEK_MINGW_TRIPLE}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${TOLVENEK_MINGW_TRIPLE}-g++-posix ${TOLVENEK_MINGW_TRIPLE}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${TOLVENEK_MINGW_TRIPLE}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${TOLVENEK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
