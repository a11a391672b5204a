#!/usr/bin/env bash
# Quick start: installs what is missing, builds, writes the bundled sample game
# folder and makes a pack from it with tolvenek-cli.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target tolvenek-cli sample_game

game=build/sample-game
# A mixed pool: a few built-in maps, one whole group and two custom scripts.
output=$(build/tolvenek-cli --game-folder "$game" \
  --map Desert --map "Nova Lake" --map Tatooine --group Miscellaneous \
  --custom "Crater Lakes.rms" --custom Frozen_Moon.rms \
  --output demo_pack.rms)
echo "$output"
pack=$(sed -n 2p <<<"$output")
echo
echo "The pack is $pack ($(wc -c <"$pack") bytes). Its first lines:"
echo
head -n 25 "$pack" | tr -d '\r'
