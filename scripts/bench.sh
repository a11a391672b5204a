#!/usr/bin/env bash
# The benchmark: a pack of all 46 built-in maps and 200 custom scripts of
# about 30 KB each, timed against copying its input, with tolvenek-cli's peak
# memory. Optional argument: the number of timed runs (default 7).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target tolvenek_bench
build/bench/tolvenek_bench "$@"
