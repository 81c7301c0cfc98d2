#!/usr/bin/env bash
# stop_signals_test.sh RHYTHM: Ctrl-C (SIGINT) of a game asleep in a frame of 2147483647 ms must end it through
# its normal shut-down, at once, with status 0 and its log written. (SIGTERM: e2e_terminal_signal.)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"

printf 'random_seed:42,\nframe_time:99999999999999999999999,\n' >"$work/ts-config.txt"
start_game 60 "$1"
find_window
sleep 1
game=$(pgrep -P "$game_pid" -x rhythm) || fail "no game process under $game_pid"
start=$(date +%s%N)
kill -INT "$game"
expect_clean_exit
stop_ms=$((($(date +%s%N) - start) / 1000000))
echo "SIGINT: the game ended $stop_ms ms after the signal"
[ "$stop_ms" -le 1000 ] || fail "the sleeping game took $stop_ms ms to end"
expect_log "GameManager::startUp(): Warning! Frame time of 2147483647 ms is above 10000 ms; every frame waits that long." \
  "GameManager::run(): Caught SIGINT; ending the game." "** Game engine stopped **"
echo PASS
