#!/usr/bin/env bash
# Remakes the README's pictures (docs/images/rhythm-start.png and
# rhythm-play.png) from the end-to-end test that plays the game with real key
# events in a virtual X server: the screenshots it accepted are kept.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/font.sh
scripts/build.sh build -DTESSERA_RHYTHM=ON -DTESSERA_TESTS=ON
mkdir -p docs/images
(cd build && TESSERA_SCREENSHOTS="$PWD/../docs/images" ctest -R '^e2e_rounds$' --output-on-failure)
ls -l docs/images/rhythm-*.png
