#!/usr/bin/env bash
# mash_test.sh RHYTHM: blind mashing with real key events. Track 1 is started with key 1, then all four
# arrow keys are pressed and released every 50 ms, without looking, until the song is over; its accuracy
# must stay under 50 %.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"

start_game 90 "$1" --once
find_window
until_screen start "$window"
xdotool windowfocus --sync "$window" && xdotool key 1 || fail "key 1"
# One xdotool for the whole song (27 s), so that the presses keep their pace.
mash=()
for _ in $(seq 540); do mash+=(key --delay 0 Left Up Down Right sleep 0.05); done
xdotool "${mash[@]}" || fail "arrow keys"
expect_clean_exit
results=$(grep -o "Results: 'Star' (star.chart): .*" "$log") || fail "no results"
echo "$results"
accuracy=$(sed -n 's/.*accuracy \([0-9]*\)\.[0-9]%.*/\1/p' <<<"$results")
[ -n "$accuracy" ] && [ "$accuracy" -lt 50 ] || fail "mashing scored $accuracy % accuracy"
echo PASS
