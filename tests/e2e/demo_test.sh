#!/usr/bin/env bash
# demo_test.sh RHYTHM TRACK SCORE COMBO SECONDS [ARGS...]: a whole track played by the demo mode to its end,
# with the game's other arguments (--classic) after it. Under the fair rules a lead-in gives the
# player time: the first hit comes at least 55 steps (1.83 s) after the song starts; the classic
# rules start the music at once.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"

start_game "$5" "$1" --demo "$2" "${@:6}"
expect_clean_exit
expect_log "SUCCESS: Game BGM game_bgm$2 started." "ScoreManager: Current Score: $3, Combo: $4" \
  "GameOver screen displayed." "Game shutting down."
grep -F "Demo: last note" "$log"
# Log lines are "time step message".
step_of() { grep -m 1 -F -- "$1" "$log" | awk '{print $2}'; }
start=$(step_of "SUCCESS: Game BGM") first_hit=$(step_of "Correct key pressed!")
if [[ " ${*:6} " == *" --classic "* ]]; then
  grep -qF "lead-in" "$log" && fail "a lead-in under the classic rules"
else
  [ $((first_hit - start)) -ge 55 ] || fail "first hit at step $first_hit, $((first_hit - start)) steps after the start"
fi
echo "first hit $((first_hit - start)) steps after the start"
echo PASS
