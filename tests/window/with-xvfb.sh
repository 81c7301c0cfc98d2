#!/usr/bin/env bash
# Runs a command inside its own virtual X server. The server picks a free
# display number itself (-displayfd), so parallel runs never collide.
set -uo pipefail
workdir=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$workdir/display" 2>"$workdir/server.log" &
server=$!
cleanup() {
  kill "$server" 2>/dev/null
  wait "$server" 2>/dev/null
  rm -rf "$workdir"
}
trap cleanup EXIT
for _ in $(seq 200); do
  [ -s "$workdir/display" ] && break
  kill -0 "$server" 2>/dev/null || break
  sleep 0.05
done
if [ ! -s "$workdir/display" ]; then
  echo "with-xvfb.sh: the X server did not start" >&2
  cat "$workdir/server.log" >&2
  exit 1
fi
export DISPLAY=":$(head -n 1 "$workdir/display")"
"$@"
