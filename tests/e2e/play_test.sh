#!/usr/bin/env bash
# A game played with real key events: the start screen, key 1, a screen of
# play, then Escape. Run inside an X server: play_test.sh RHYTHM
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"

start_game "$1"
window=$(game_window)
# Without a window the X server is not ours to use (see in-xvfb.sh): another
# try, or a failure after the last one.
[ -n "$window" ] || { echo "no game window" >&2; exit 75; }
until_screen start "$work/start.ppm" "$window" 20 || fail "the start screen does not show the title centred"

xdotool windowfocus --sync "$window" || fail "focus"
xdotool key 1
# Notes fall from the spawner's step 5 on, one every 15 steps, so some are
# always on screen from then on.
until_screen play "$work/play.ppm" "$window" 20 || fail "the play screen lacks notes, hit-zone lines, HUD or stars"

xdotool key Escape
wait_for_exit 10
[ "$exit_status" = 0 ] || fail "exit status $exit_status after Escape"
in_log "SUCCESS: GameStart BGM started." || fail "no start music"
in_log "SUCCESS: Game BGM game_bgm1 started." || fail "key 1 did not start game_bgm1"
in_log "GameOver will trigger after 25 seconds" || fail "no GameOver announcement"
in_log "Note spawned in lane" || fail "no note spawned"
in_log "ESC pressed! Exiting game..." || fail "no Escape line in the log"
in_log "** Game engine stopped **" || fail "the engine was not stopped"
echo "PASS"
