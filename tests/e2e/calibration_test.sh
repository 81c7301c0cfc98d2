#!/usr/bin/env bash
# calibration_test.sh RHYTHM: C on the start screen opens the calibration screen with its click track;
# Space taps, Escape goes back to the start screen without saving, and Escape there ends the game.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"

start_game 60 "$1"
find_window
until_screen start "$window"
xdotool windowfocus --sync "$window" && xdotool key c || fail "key c"
until_screen calibration "$window"
xdotool key space && sleep 0.6 && xdotool key space || fail "key space"
xdotool key Escape
until_screen start "$window"
xdotool key Escape
expect_clean_exit
expect_log "Calibration: click track started." "Calibration: left before the end; nothing saved." \
  "ESC pressed! Exiting game..." "** Game engine stopped **"
[ -e "$work/config/tessera-rhythm/settings.txt" ] && fail "the calibration was left early but saved"
echo PASS
