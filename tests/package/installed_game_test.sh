#!/usr/bin/env bash
# installed_game_test.sh RHYTHM: the installed game's command line, and where
# it keeps its log when it runs from another folder than its data's.
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
[ $status = 0 ] && grep -q "^usage: rhythm \[--demo 1|2\]" out && [ ! -s err ] || fail "--help (status $status)"
run --version
[ $status = 0 ] && [ "$(cat out)" = "rhythm (Tessera 4.21)" ] && [ ! -s err ] || fail "--version (status $status)"
for arguments in "--fast" "--demo 3" "--demo"; do
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
echo PASS
