#!/usr/bin/env bash
# demo_test.sh RHYTHM TRACK SCORE COMBO SECONDS [ARGS...]: a whole track played by the demo mode to its end,
# with the game's other arguments (--classic) after it.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"

start_game "$5" "$1" --demo "$2" "${@:6}"
expect_clean_exit
expect_log "SUCCESS: Game BGM game_bgm$2 started." "ScoreManager: Current Score: $3, Combo: $4" \
  "GameOver screen displayed." "Game shutting down."
grep -F "Demo: last note" "$log"
echo PASS
