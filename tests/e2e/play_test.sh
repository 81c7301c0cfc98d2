#!/usr/bin/env bash
# play_test.sh RHYTHM: a game played with real key events: the start screen, key 1, play, Escape.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"

start_game 60 "$1"
window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Tessera$' 2>/dev/null | head -n 1)
[ -n "$window" ] || { echo "no game window" >&2; exit 75; }  # the X server is not ours
until_screen start "$window"
xdotool windowfocus --sync "$window" && xdotool key 1 || fail "key 1"
# From the spawner's step 5 on, one note every 15 steps: always some on screen.
until_screen play "$window"
xdotool key Escape
expect_clean_exit
expect_log "SUCCESS: GameStart BGM started." "SUCCESS: Game BGM game_bgm1 started." \
  "GameOver will trigger after 25 seconds" "Note spawned in lane" "ESC pressed! Exiting game..." \
  "** Game engine stopped **"
echo PASS
