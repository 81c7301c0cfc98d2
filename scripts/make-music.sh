#!/usr/bin/env bash
# Regenerates the game's music (Sound/*.ogg) from the game's chart files
# (charts/*.chart) with the generator in tools/, and the sound example's
# loop and blip (examples/sound/data/*.ogg).
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build-music}"
cmake -S . -B "$dir" -G Ninja -DTESSERA_TESTS=OFF -DTESSERA_BENCH=OFF >/dev/null
cmake --build "$dir" --target make_music
mkdir -p Sound
"$dir/tools/make_music" Sound
"$dir/tools/make_music" --example examples/sound/data
