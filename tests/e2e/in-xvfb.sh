#!/usr/bin/env bash
# Runs a command in an X server of its own. Runs starting together may take the same display
# number; the loser (xvfb-run fails, or the command exits with 75) is tried again, three times at most.
set -uo pipefail
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
for attempt in 1 2 3; do
  # -noreset: a server resetting as its last client (a quick xdotool query) leaves would drop the game.
  xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$@" 2>"$errors"
  status=$?
  grep -q "Xvfb failed to start" "$errors" && status=75
  [ $status != 75 ] && break
  echo "in-xvfb.sh: no usable X server (attempt $attempt), trying again" >&2
  sleep "$attempt"
done
cat "$errors" >&2
exit $status
