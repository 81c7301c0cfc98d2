#!/usr/bin/env bash
# terminal_test.sh RHYTHM MODE: the game in a terminal (tmux, 80 x 24, no X display), from a shell.
#   play    the song list, 1 starts track 1, notes and the HUD in their columns and colours; Escape
#           opens the pause menu, Escape again goes to the song list (the game runs on), Escape quits
#   flow    a short song from the song list: the pause menu's Retry plays it again, its results wait
#           until R plays it again, then Enter goes back to the song list
#   small   a 40 x 12 terminal says on screen that it is too small and the size needed
#   demo    rhythm --terminal --demo 1 plays track 1 to its end: 480 points, combo 48
#   hangup  the terminal closes under the running game: the game ends cleanly
#   signal  the game is ended by SIGTERM on the start screen
#   usr1    SIGUSR1 ends it the same way (a stop request)
#   quit    SIGQUIT ends it at once (status 131), the log's lines still written
#   suspend SIGTSTP gives the shell its terminal back while the game is stopped; SIGCONT takes it
#           again and draws the whole screen anew; keys work at once (Escape ends the game)
#   notty   without a terminal at all the engine fails to start (exit status 1), saying why
#   fallback rhythm --demo 1 without --terminal and with no DISPLAY plays in the terminal it was started
#           from, to its end (480 points), saying so in the log
# Afterwards the shell's screen, the cursor, the terminal's modes and its settings are as before.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
rhythm=$1
mode=$2
work=$(mktemp -d)
log="$work/tessera.log"
printf 'random_seed:42,\n' >"$work/ts-config.txt"
tm() { tmux -S "$work/tmux.socket" "$@"; }
cleanup() {
  tm kill-server 2>/dev/null
  [ "${keep_work:-0}" = 1 ] && return
  # The pane's shell may still be writing its last file while the server goes.
  for _ in 1 2 3 4 5; do rm -rf "$work" 2>/dev/null && return; sleep 0.2; done
}
trap cleanup EXIT

fail() {
  echo "FAIL: $* (files kept in $work)" >&2
  keep_work=1
  tm capture-pane -p -t t >"$work/last-pane.txt" 2>/dev/null && cat "$work/last-pane.txt" >&2
  [ -f "$log" ] && grep -v 'Drawing' "$log" | tail -n 30 >&2
  exit 1
}
pane() { tm capture-pane -p -t t | sed -e 's/ *$//'; }
flags() { tm display-message -p -t t "$1"; }
# until_pane TEXT SECONDS: wait until the pane shows the text.
until_pane() {
  for _ in $(seq $(($2 * 4))); do
    pane | grep -qF -- "$1" && return 0
    sleep 0.25
  done
  fail "the pane never showed: $1"
}
# until_screen KIND SECONDS: wait until the coloured pane passes pane.py's check.
until_screen() {
  for _ in $(seq $(($2 * 4))); do
    tm capture-pane -e -p -t t >"$work/$1.pane"
    python3 "$here/pane.py" "$1" "$work/$1.pane" 2>"$work/$1.problems" && return 0
    sleep 0.25
  done
  fail "the $1 screen: $(cat "$work/$1.problems")"
}

if [ "$mode" = notty ]; then
  setsid -w env ALSOFT_DRIVERS=null TESSERA_LOG="$log" TESSERA_CONFIG="$work/ts-config.txt" \
    timeout 30 "$rhythm" --terminal </dev/null >/dev/null 2>&1
  status=$?
  [ "$status" = 1 ] || fail "exit status $status without a terminal"
  grep -qF "DisplayManager::startUp(): Error! Unable to use the terminal" "$log" || fail "no log line about the terminal"
  echo PASS
  exit 0
fi
command -v tmux >/dev/null || { echo "tmux is not installed" >&2; exit 1; }
size="-x 80 -y 24"
[ "$mode" = small ] && size="-x 40 -y 12"
tm -f /dev/null new-session -d $size -s t \
  "env -i PATH=/usr/bin:/bin HOME=$work HISTFILE=/dev/null TERM=tmux-256color PS1='$ ' bash --norc --noprofile"
# The typed command does not hold the marker as printed, so only the command's output matches.
tm send-keys -t t "cd '$PWD' && stty -g >'$work/stty.before' && clear && echo SHELL_BEFORE_THE_GAME | tr _ ' '" Enter
for _ in $(seq 40); do
  [ "$(pane | grep -v '^$')" = "$(printf 'SHELL BEFORE THE GAME\n$')" ] && break
  sleep 0.25
done
pane >"$work/before.txt"
[ "$(grep -c . "$work/before.txt")" = 2 ] || fail "the shell did not show the marker and its prompt"

game="ALSOFT_DRIVERS=null TESSERA_LOG='$log' TESSERA_CONFIG='$work/ts-config.txt' XDG_CONFIG_HOME='$work/config' XDG_DATA_HOME='$work/data'"
# A two-second song of the player's, third in the song list.
mkdir -p "$work/data/tessera-rhythm/charts"
cp "$here/../support/data/tone.ogg" "$work/data/tessera-rhythm/charts/"
printf 'title: Short Tone\nmusic: tone.ogg\nnotes: 3:left 8:up 13:down\n' >"$work/data/tessera-rhythm/charts/tone.chart"
args="--terminal"
[ "$mode" = demo ] && args="--terminal --demo 1"
[ "$mode" = fallback ] && args="--demo 1"
if [ "$mode" = hangup ]; then
  # The shell ignores the hang-up, so it outlives the pane and records the game's status.
  tm send-keys -t t "trap '' HUP; $game timeout 60 '$rhythm' $args 2>'$work/stderr'; echo \$? >'$work/status'" Enter
  until_screen start 15
  tm kill-pane -t t
  for _ in $(seq 40); do [ -s "$work/status" ] && break; sleep 0.25; done
  [ "$(cat "$work/status" 2>/dev/null)" = 0 ] || fail "exit status $(cat "$work/status" 2>/dev/null) after the hang-up"
  grep -qE "Terminal closed \(.*\)\. Setting game over\." "$log" || fail "no log line about the closed terminal"
  echo PASS
  exit 0
fi
# The game's process id, for the signal: the shell started for it becomes the game.
tm send-keys -t t "$game timeout 150 sh -c 'echo \$\$ >$work/pid; exec $rhythm $args' 2>'$work/stderr'; echo EXIT=\$?; stty -g >'$work/stty.after'" Enter

# The demo starts its track at once, so it shows the play screen at once.
if [ "$mode" = small ]; then
  until_pane "needs 80 x 24." 15
elif [ "$mode" = demo ] || [ "$mode" = fallback ]; then
  until_screen play 15
else
  until_screen start 15
fi
[ "$(flags '#{alternate_on}#{cursor_flag}')" = 10 ] || fail "the game is not on the alternate screen with the cursor hidden"
if [ "$mode" = play ]; then
  tm send-keys -t t 1
  until_screen play 15
  tm send-keys -t t Escape
  until_screen menu 15
  tm send-keys -t t Escape
  until_screen start 15
  sleep 1
  pane | grep -qE 'EXIT=[0-9]+' && fail "the game ended on the song list"
  tm send-keys -t t Escape
elif [ "$mode" = small ]; then
  tm send-keys -t t Escape
elif [ "$mode" = flow ]; then
  tm send-keys -t t 3
  until_pane "| Score " 15
  tm send-keys -t t Escape
  until_screen menu 15
  tm send-keys -t t Down
  sleep 0.2
  tm send-keys -t t Enter
  until_screen results 20
  tm send-keys -t t r
  sleep 1
  until_screen results 20
  tm send-keys -t t Enter
  until_screen start 15
  tm send-keys -t t Escape
fi
expected_status=0
# until_flags FORMAT VALUE: wait until tmux reports the pane's modes so.
until_flags() {
  for _ in $(seq 40); do [ "$(flags "$1")" = "$2" ] && return 0; sleep 0.25; done
  fail "modes $1: $(flags "$1"), not $2"
}
modes='#{alternate_on}#{cursor_flag}#{mouse_any_flag}#{mouse_sgr_flag}'
if [ "$mode" = signal ]; then
  # The game ends through its normal shut-down, which puts the terminal back.
  kill -TERM "$(cat "$work/pid")"
elif [ "$mode" = usr1 ]; then
  kill -USR1 "$(cat "$work/pid")"
elif [ "$mode" = quit ]; then
  kill -QUIT "$(cat "$work/pid")"
  expected_status=131
elif [ "$mode" = suspend ]; then
  tty=$(flags '#{pane_tty}')
  playing=$(flags "$modes")
  raw=$(stty -g -F "$tty")
  kill -TSTP "$(cat "$work/pid")"
  until_flags "$modes" 0100
  for _ in $(seq 20); do [ "$(ps -o stat= -p "$(cat "$work/pid")" | cut -c1)" = T ] && break; sleep 0.25; done
  [ "$(ps -o stat= -p "$(cat "$work/pid")" | cut -c1)" = T ] || fail "the game did not stop"
  [ "$(stty -g -F "$tty")" = "$(cat "$work/stty.before")" ] || fail "stopped, the terminal's settings are not the shell's"
  pane | grep -qE "Score|=====|Press" && fail "stopped, the game's screen is still shown"
  kill -CONT "$(cat "$work/pid")"
  until_flags "$modes" "$playing"
  [ "$(stty -g -F "$tty")" = "$raw" ] || fail "continued, the terminal is not in raw mode again"
  until_screen start 15  # the alternate screen starts empty: only a full redraw shows it
  tm send-keys -t t Escape
fi
# The typed command holds "EXIT=" too: wait for the line the shell prints.
for _ in $(seq 480); do pane | grep -qxE 'EXIT=[0-9]+' && break; sleep 0.25; done
pane | grep -qx "EXIT=$expected_status" || fail "exit status: $(pane | grep EXIT=)"
[ -s "$work/stderr" ] && fail "the game wrote to standard error: $(cat "$work/stderr")"
if [ "$mode" = small ]; then
  # The typed command alone fills a pane this small: the shell's screen has scrolled.
  grep -qF "is smaller than the world (80 x 24 cells)" "$log" || fail "no log line about the small terminal"
  echo PASS
  exit 0
fi

# The shell's screen as it was, with the command and its status below it; nothing of the game.
pane >"$work/after.txt"
lines=$(($(grep -c . "$work/before.txt") - 1))  # what stood above the prompt
[ "$(head -n "$lines" "$work/before.txt")" = "$(head -n "$lines" "$work/after.txt")" ] || fail "the shell's screen changed"
grep -qE "Score|=====|Press" "$work/after.txt" && fail "the game's screen is left in the pane"
[ "$(flags '#{alternate_on}#{cursor_flag}#{mouse_any_flag}#{mouse_sgr_flag}')" = 0100 ] ||
  fail "terminal modes not restored: $(flags 'alternate #{alternate_on} cursor #{cursor_flag} mouse #{mouse_any_flag} sgr #{mouse_sgr_flag}')"
until_pane "$ " 5
for _ in $(seq 20); do [ -s "$work/stty.after" ] && break; sleep 0.25; done
cmp -s "$work/stty.before" "$work/stty.after" || fail "terminal settings differ: $(cat "$work/stty.before") / $(cat "$work/stty.after")"

if [ "$mode" = play ]; then
  grep -qF "ESC pressed! Exiting game..." "$log" || fail "no Escape in the log"
  grep -qF "RoundLoop: round 1 over: the player went back to the song list." "$log" || fail "no song list after the menu"
elif [ "$mode" = fallback ]; then
  grep -qF "DisplayManager::startUp(): DISPLAY is not set; playing in the terminal" "$log" || fail "no line for the choice"
  grep -qF "ScoreManager: Current Score: 480" "$log" || fail "the demo did not end with 480"
elif [ "$mode" = flow ]; then
  [ "$(grep -c "GameStart: playing 'Short Tone' (tone.chart)." "$log")" = 3 ] || fail "the song did not play three times"
  for line in "PauseMenu: opened." "RoundLoop: round 1 over: the player asked for the song again." \
    "RoundLoop: round 2 over: the player asked for the song again." \
    "RoundLoop: round 3 over: the player went back to the song list." "RoundLoop: round 4 over: the player left."; do
    grep -qF "$line" "$log" || fail "not in the log: $line"
  done
elif [ "$mode" = demo ]; then
  grep -qF "ScoreManager: Current Score: 480, Combo: 48" "$log" || fail "the demo did not end with 480/48"
  grep -qF "GameOver screen displayed." "$log" || fail "no game-over screen"
  # The lead-in: the first hit at least 55 steps (1.83 s) after the song starts (log lines: time step message).
  start=$(grep -m 1 -F "SUCCESS: Game BGM" "$log" | awk '{print $2}')
  first_hit=$(grep -m 1 -F "Correct key pressed!" "$log" | awk '{print $2}')
  [ $((first_hit - start)) -ge 55 ] || fail "first hit $((first_hit - start)) steps after the song's start"
  echo "first hit $((first_hit - start)) steps after the song's start"
elif [ "$mode" = signal ]; then
  grep -qF "Caught SIGTERM; ending the game." "$log" || fail "no line for the signal in the log"
elif [ "$mode" = usr1 ]; then
  grep -qF "Caught SIGUSR1; ending the game." "$log" || fail "no line for the signal in the log"
elif [ "$mode" = quit ]; then
  grep -qF "** Game engine started **" "$log" || fail "the log's lines were lost"
fi
echo PASS
