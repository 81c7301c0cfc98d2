#!/usr/bin/env bash
# stop_signals_test.sh RHYTHM: kill -TERM of a game at its start screen, and Ctrl-C (SIGINT) of a game asleep
# in a frame of 2147483647 ms: each must end through its normal shut-down, with status 0 and its log written.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
rhythm=$1

# stop SIGNAL: sends the signal to the running game a second after its window is up, waits for the game's
# end and prints how long that took.
stop() {
  local game start
  find_window
  sleep 1
  game=$(pgrep -P "$game_pid" -x rhythm) || fail "no game process under $game_pid"
  start=$(date +%s%N)
  kill -"$1" "$game"
  expect_clean_exit
  stop_ms=$((($(date +%s%N) - start) / 1000000))
  echo "SIG$1: the game ended $stop_ms ms after the signal"
}

start_game 60 "$rhythm"
stop TERM
expect_log "** Game engine started **" "SUCCESS: GameStart BGM started." \
  "GameManager::run(): Caught SIGTERM; ending the game." "** Game engine stopped **"

printf 'random_seed:42,\nframe_time:99999999999999999999999,\n' >"$work/ts-config.txt"
start_game 60 "$rhythm"
stop INT
[ "$stop_ms" -le 1000 ] || fail "the sleeping game took $stop_ms ms to end"
expect_log "GameManager::startUp(): Warning! Frame time of 2147483647 ms is above 10000 ms; every frame waits that long." \
  "GameManager::run(): Caught SIGINT; ending the game." "** Game engine stopped **"
echo PASS
