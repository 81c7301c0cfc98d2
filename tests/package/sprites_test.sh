#!/usr/bin/env bash
# sprites_test.sh BUILT: in the examples' build made against the installed
# engine (BUILT, by example_test.sh), runs the sprites show headless with a
# script of keys and checks the sprites read from both file formats and the
# frame every animation shows after stopping, stepping and running on.
set -euo pipefail
built=$1
source "$(dirname "$0")/example_common.sh"
enter_example sprites
printf 'headless:true,\nnetworking:false,\nframe_time:10,\n' >run-config.txt
# Step 0: N steps the counter, the only stopped one. Step 8: Space stops
# all, after 8 frames drawn. Steps 20 and 24: N steps each. Step 32: Space
# lets all run; 28 frames are drawn before step 60 ends the show.
TESSERA_CONFIG=run-config.txt TESSERA_LOG=run.log timeout 60 ./sprites --autopilot N.S..NN.S --steps 60 2>stderr.txt ||
  { echo "FAIL: exit status $?" >&2; cat stderr.txt run.log >&2; exit 1; }
[ ! -s stderr.txt ] || { echo "FAIL: standard error: $(cat stderr.txt)" >&2; exit 1; }
expect_lines run.log \
  "Sprites: read walker.txt as 'walker': 4 frames of 3 x 3, slowdown 4, Cyan" \
  "Sprites: read spinner.txt as 'spinner': 4 frames of 1 x 1, slowdown 2, Yellow" \
  "Sprites: read counter.txt as 'counter': 10 frames of 3 x 1, slowdown 10, Green" \
  "   0 Sprites: stepped 'counter' (Green, slowdown 10, stopped) on frame 2 of 10" \
  "   8 Sprites: every animation stopped" \
  "  20 Sprites: stepped 'walker' (Cyan, slowdown 4, stopped) on frame 4 of 4" \
  "  24 Sprites: stepped 'walker' (Cyan, slowdown 4, stopped) on frame 1 of 4" \
  "  24 Sprites: stepped 'walker-quick' (Cyan, slowdown 2, stopped) on frame 3 of 4" \
  "  32 Sprites: every animation runs" \
  "  60 Sprites: 'walker' (Cyan, slowdown 4, running) on frame 4 of 4" \
  "  60 Sprites: 'walker-quick' (Cyan, slowdown 2, running) on frame 1 of 4" \
  "  60 Sprites: 'walker-slow' (Cyan, slowdown 8, running) on frame 3 of 4" \
  "  60 Sprites: 'counter' (Green, slowdown 10, running) on frame 6 of 10" \
  "  60 Sprites: 'gem-Magenta' (Magenta, slowdown 6, running) on frame 2 of 2"
grep -c "Sprites:" run.log
echo PASS
