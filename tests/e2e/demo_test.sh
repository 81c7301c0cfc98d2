#!/usr/bin/env bash
# A whole track played by the demo mode, ending by itself:
# demo_test.sh RHYTHM TRACK SCORE COMBO SECONDS
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"

start_game "$1" --demo "$2"
wait_for_exit "$5"
[ "$exit_status" = 0 ] || fail "exit status $exit_status"
[ -s "$work/stderr" ] && { cat "$work/stderr" >&2; fail "the game wrote to standard error"; }
in_log "SUCCESS: Game BGM game_bgm$2 started." || fail "track $2 did not start"
in_log "ScoreManager: Current Score: $3, Combo: $4" || fail "final score is not $3 with combo $4"
in_log "GameOver screen displayed." || fail "no game-over screen"
in_log "Game shutting down." || fail "the game-over screen did not end the game"
grep -F "Demo: last note" "$log"
echo "PASS"
