#!/usr/bin/env bash
# installed_game_test.sh RHYTHM: the installed game's command line, where it
# keeps its log when it runs from another folder than its data's, and that it
# finds its data (songs, music, sprites) from there.
set -uo pipefail
rhythm=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() {
  echo "FAIL: $*" >&2
  for file in out err *.log; do [ -f "$file" ] && { echo "--- $file" >&2; cat "$file" >&2; }; done
  exit 1
}

# run ARGS...: the game without a display, so that a start fails at once.
run() {
  env -u DISPLAY -u TESSERA_LOG -u TESSERA_CONFIG "$rhythm" "$@" >out 2>err
  status=$?
}

run --help
[ $status = 0 ] && grep -q "^usage: rhythm \[--demo N|CHART\]" out && [ ! -s err ] || fail "--help (status $status)"
run --version
[ $status = 0 ] && [ "$(cat out)" = "rhythm (Tessera 4.21)" ] && [ ! -s err ] || fail "--version (status $status)"
for arguments in "--fast" "--demo 0" "--demo"; do
  # shellcheck disable=SC2086
  run $arguments
  [ $status = 2 ] && [ ! -s out ] && grep -q "^usage:" err || fail "$arguments (status $status)"
done

# A failed start: one line on standard error that says where the log is; the
# log stays in the folder the game was started from, though the game has
# gone to its data folder.
run
[ $status = 1 ] || fail "a start without a display ended with status $status"
[ "$(cat err)" = "rhythm: the engine did not start; see the log $work/tessera.log" ] || fail "the failure line"
grep -qF "Unable to allocate window" tessera.log || fail "no reason in tessera.log"
# The settings file of that folder is read, and names the log.
printf 'logfile:other.log,\n' >ts-config.txt
rm tessera.log
run
[ $status = 1 ] && [ -f other.log ] && [ ! -e tessera.log ] || fail "the log named by ts-config.txt"
grep -qF "$work/other.log" err || fail "the failure line names another log"

# Headless, the demo finds the installed songs, music and sprites and plays
# track 1; a stop signal then ends it through the normal shut-down.
printf 'headless:true,\n' >ts-config.txt
env -u DISPLAY -u TESSERA_LOG -u TESSERA_CONFIG ALSOFT_DRIVERS=null "$rhythm" --demo 1 >out 2>err &
game=$!
sleep 5  # the first note is hit about a second after the start; the log is complete only at the end
kill -TERM $game
wait $game
status=$?
[ $status = 0 ] && [ ! -s err ] || fail "the headless demo ended with status $status"
for line in "SongLibrary: key 1: 'Star' (star.chart)" "SUCCESS: Game BGM game_bgm1 started." \
  "Correct key pressed! Note hit successfully." "Caught SIGTERM; ending the game."; do
  grep -qF "$line" tessera.log || fail "no log line: $line"
done
grep -qF "Error!" tessera.log && fail "an error in the log: $(grep -F "Error!" tessera.log)"
echo PASS
