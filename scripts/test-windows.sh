#!/usr/bin/env bash
# The Windows program: the 32-bit cross build (what we ship) and the real
# dialog's tests under Wine, in Xvfb, in a fresh Wine prefix of their own.
# Needs the native build (scripts/test-native.sh): tolvenek-cli and the sample
# game folder, whose packs the dialog's must equal.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ ! -x build/tolvenek-cli ] || [ ! -e build/sample-game/data/gamedata_x1.drs ]; then
  echo "test-windows: run scripts/test-native.sh first (it builds tolvenek-cli and build/sample-game)" >&2
  exit 1
fi

cmake -S . -B build-win -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake
cmake --build build-win -j"$(nproc)"
tests/wine/check_shipped_exe.sh build-win

# 32-bit Wine needs a kernel that runs 32-bit code. Where it can't (IA-32
# emulation switched off, as on some CI machines), the same sources are
# tested as a 64-bit build under 64-bit Wine instead, and we say so.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  tests/wine/run_wine_tests.sh build-win build win32
else
  echo "test-windows: this machine cannot run 32-bit programs (no IA-32 emulation in its kernel);"
  echo "test-windows: the Wine tests run on the x86_64 build of the same sources under 64-bit Wine"
  cmake -S . -B build-win64 -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake
  cmake --build build-win64 -j"$(nproc)"
  tests/wine/run_wine_tests.sh build-win64 build win64
fi
