#!/usr/bin/env bash
# Builds the game (Release, in build-release/, apart from the test builds)
# and starts it. Arguments are passed on to the game, e.g. --demo 1.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --play
scripts/font.sh
scripts/build.sh build-release -DCMAKE_BUILD_TYPE=Release -DTESSERA_RHYTHM=ON -DTESSERA_TESTS=OFF \
  -DTESSERA_BENCH=OFF -DTESSERA_TOOLS=OFF -DTESSERA_SANITIZE=OFF -DTESSERA_FUZZ=OFF
exec build-release/rhythm "$@"
