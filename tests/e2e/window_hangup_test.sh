#!/usr/bin/env bash
# window_hangup_test.sh RHYTHM: the window game's log reaches the disk while it runs (5 s on the start
# screen), and SIGHUP ends it like SIGTERM: through its normal shut-down, status 0, a log line naming it.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"

start_game 60 "$1"
find_window
sleep 5
game=$(pgrep -P "$game_pid" -x rhythm) || fail "no game process under $game_pid"
kill -0 "$game" || fail "the game is not running"
running_lines=$(wc -l <"$log")
echo "after 5 s of a running game the log on disk has $running_lines lines"
cp "$log" "$work/log-while-running"
for line in "** Game engine started **" "SongLibrary:"; do
  grep -qF -- "$line" "$work/log-while-running" || fail "while running, the log on disk lacks: $line"
done
kill -HUP "$game"
expect_clean_exit
expect_log "GameManager::run(): Caught SIGHUP; ending the game." "** Game engine stopped **"
echo PASS
