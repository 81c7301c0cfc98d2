#!/usr/bin/env bash
# sound_test.sh BUILT: in the examples' build made against the installed
# engine (BUILT, by example_test.sh), runs the sound example headless (with
# the null audio driver under the test suite), pausing the music at step 20
# and resuming it at step 40: the music holds its place while paused and
# starts over once its 1.5 seconds have played, and the ball's sound goes
# with every exit.
set -euo pipefail
built=$1
source "$(dirname "$0")/example_common.sh"
enter_example sound
printf 'headless:true,\nnetworking:false,\nframe_time:20,\n' >run-config.txt
TESSERA_CONFIG=run-config.txt TESSERA_LOG=run.log timeout 60 ./sound --autopilot .....P....P --steps 150 2>stderr.txt ||
  { echo "FAIL: exit status $?" >&2; cat stderr.txt run.log >&2; exit 1; }
[ ! -s stderr.txt ] || { echo "FAIL: standard error: $(cat stderr.txt)" >&2; exit 1; }
# The ball starts in the middle at two cells a frame and is out of the
# 80-cell screen after 21 moves; then back from the middle the other way.
expect_lines run.log "Sound: the music lasts 1.50 s" "Sound: the music started over (1)" \
  "  20 Sound: the ball left the screen at (82,12); blip" "  41 Sound: the ball left the screen at (-2,12); blip" \
  "  62 Sound: the ball left the screen at (82,12); blip"
paused=$(sed -n 's/.*  20 Sound: the music paused at \([0-9.]*\) s$/\1/p' run.log)
resumed=$(sed -n 's/.*  40 Sound: the music resumed at \([0-9.]*\) s$/\1/p' run.log)
# Resumed where it was held: the same place, give or take the moment between
# the call and the question where it is.
awk -v p="$paused" -v r="$resumed" 'BEGIN { exit !(p > 0 && r != "" && r - p >= 0 && r - p < 0.05) }' ||
  { echo "FAIL: paused at '$paused' s, resumed at '$resumed' s" >&2; grep "Sound:" run.log >&2; exit 1; }
grep "Sound: the music" run.log
echo PASS
