#!/usr/bin/env bash
# Runs a command inside its own virtual X server. Servers are started and
# stopped one at a time under a lock, each on the lowest display number from
# 20 up that no server holds. -noreset keeps the server from resetting when
# its last client disconnects, which would refuse a client connecting just
# then (the window library connects and disconnects more than once).
set -uo pipefail
# The graphics driver keeps a few allocations until exit, which the leak
# checker would report; leaks are checked by the tests without a window.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
workdir=$(mktemp -d)
server=""

stop_server() {
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  server=""
}

# Starts a server and waits until it has written its display number, which
# it does once it accepts clients.
start_server() {
  local n=20
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  : >"$workdir/display"
  Xvfb ":$n" -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$workdir/display" 2>"$workdir/server.log" 9>&- &
  server=$!
  for _ in $(seq 200); do
    [ -s "$workdir/display" ] && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.05
  done
  [ -s "$workdir/display" ] || return 1
  export DISPLAY=":$(head -n 1 "$workdir/display")"
  xdotool getdisplaygeometry >/dev/null 2>&1
}

lock() { exec 9>/tmp/tessera-xvfb.lock && flock 9; }
trap 'lock; stop_server; rm -rf "$workdir"' EXIT

lock
for attempt in 1 2 3 4 5; do
  start_server && break
  stop_server
  if [ "$attempt" = 5 ]; then
    echo "with-xvfb.sh: the X server did not start" >&2
    cat "$workdir/server.log" >&2
    exit 1
  fi
done
exec 9>&-

"$@"
status=$?
if [ "$status" -ne 0 ]; then
  echo "with-xvfb.sh: exit status $status on display $DISPLAY; X server log:" >&2
  cat "$workdir/server.log" >&2
fi
exit "$status"
