#!/usr/bin/env bash
# rounds_test.sh RHYTHM: song after song with real key events. A chart dropped into the player's data folder
# is listed; key 1 starts track 1, which is played partly with arrow keys and left to end; the results show
# under the "Cleared" picture until Return brings the song list back; track 2 starts, its notes fall, Escape
# opens the pause menu, and its Quit (Up, Return) ends the game with status 0.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"

mkdir -p "$work/data/tessera-rhythm/charts"
printf 'title: Dropped In\nmusic: missing.ogg\nnotes: 5 10\n' >"$work/data/tessera-rhythm/charts/dropped.chart"
start_game 90 "$1"
find_window
until_screen start "$window"
xdotool windowfocus --sync "$window" && xdotool key 1 || fail "key 1"
for _ in $(seq 12); do
  sleep 0.4
  xdotool key Down Up Left Right || fail "arrow keys"
done
sleep 14  # the song lasts 25 seconds, after a lead-in of 1.2 s
until_screen results "$window"
sleep 4  # the results wait longer than the three seconds they used to show
until_screen results "$window"
xdotool key Return || fail "Return"
until_screen start "$window"
xdotool key 2 || fail "key 2"
until_screen play "$window"
xdotool key Escape Up Return
expect_clean_exit
expect_log "SUCCESS: GameStart BGM started." "SongLibrary: Warning! '$work/data/tessera-rhythm/charts/dropped.chart' cannot be played: music file 'missing.ogg' not found." \
  "SUCCESS: Game BGM game_bgm1 started." "GameOver will trigger after 25 seconds" "Note spawned in lane" \
  "Results: 'Star' (star.chart): Perfect " "GameOver screen displayed." \
  "RoundLoop: round 1 over: the player went back to the song list." "SUCCESS: Game BGM game_bgm2 started." \
  "ESC pressed! Exiting game..." "RoundLoop: round 2 over: the player left." "** Game engine stopped **"
grep -F "Results: " "$log"
echo PASS
