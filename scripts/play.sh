#!/usr/bin/env bash
# Builds the game and starts it from the repository root, where its data
# files live. Arguments are passed on to the game.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=Release -DTESSERA_TESTS=OFF -DTESSERA_BENCH=OFF
[ -x scripts/font.sh ] && scripts/font.sh
exec ./build/rhythm "$@"
