#!/usr/bin/env bash
# window_abort_test.sh RHYTHM: the window library aborts while the window opens (a display that does not
# exist): the log's start lines are on disk, and standard error has one line naming the log. The display
# is named by host, which the engine leaves to the window library (a local ":N" it refuses itself).
set -uo pipefail
rhythm=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  cat "$work/stderr" "$work/tessera.log" >&2
  exit 1
}
n=90
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
printf 'random_seed:42,\n' >"$work/ts-config.txt"
(cd "$work" && DISPLAY="127.0.0.1:$n" ALSOFT_DRIVERS=null TESSERA_LOG=tessera.log TESSERA_CONFIG="$work/ts-config.txt" \
  XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" timeout 60 "$rhythm" 2>"$work/stderr")
status=$?
[ "$status" = 134 ] || fail "exit status $status, not the abort's 134"
grep -qF "** Game engine started **" "$work/tessera.log" || fail "the log's start lines are not on disk"
grep -qF "Failed to open X11 display" "$work/tessera.log" || fail "the window library's message is not in the log"
expected="$(basename "$rhythm"): the engine did not start; see the log $(cd "$work" && pwd -P)/tessera.log"
[ "$(cat "$work/stderr")" = "$expected" ] || fail "standard error is not the one line naming the log: $(cat "$work/stderr")"
echo PASS
