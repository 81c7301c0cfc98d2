#!/usr/bin/env bash
# Runs a command (a test, the game, a benchmark) in its own virtual X server, started and stopped under a lock
# on the lowest free display number from 20. -noreset: a server resetting when
# its last client leaves refuses clients for a moment (the window library
# connects more than once). The screen is 1280x1024x24 unless
# TESSERA_XVFB_SCREEN names another. No leak checks: the graphics driver leaks a little.
set -uo pipefail
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
dir=$(mktemp -d)
server=""
lock() { exec 9>/tmp/tessera-xvfb.lock && flock 9; }
stop_server() {
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  server=""
}
# The server writes its display number once it accepts clients.
start_server() {
  local n=20
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  : >"$dir/display"
  Xvfb ":$n" -displayfd 3 -screen 0 "${TESSERA_XVFB_SCREEN:-1280x1024x24}" -nolisten tcp -noreset 3>"$dir/display" 2>"$dir/log" 9>&- &
  server=$!
  for _ in $(seq 200); do
    [ -s "$dir/display" ] && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.05
  done
  [ -s "$dir/display" ] && export DISPLAY=":$(head -n 1 "$dir/display")" && xdotool getdisplaygeometry >/dev/null 2>&1
}
trap 'lock; stop_server; rm -rf "$dir"' EXIT

lock
for attempt in 1 2 3 4 5; do
  start_server && break
  stop_server
  [ "$attempt" = 5 ] && { echo "with-xvfb.sh: the X server did not start" >&2; cat "$dir/log" >&2; exit 1; }
done
exec 9>&-
"$@"
status=$?
[ "$status" = 0 ] || { echo "with-xvfb.sh: exit status $status on display $DISPLAY; X server log:" >&2; cat "$dir/log" >&2; }
exit "$status"
