#!/usr/bin/env bash
# Runs a command in an X server of its own (xvfb-run -a). Two runs starting
# at the same moment may pick the same display number; the loser then has
# no usable server, which the command reports with exit status 75, or
# xvfb-run itself reports. Such a run is tried again, up to three times.
set -uo pipefail
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
for attempt in 1 2 3; do
  # -noreset: the server must not reset when its last client (a quick
  # xdotool query) disconnects, or the game may connect during the reset.
  xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$@" 2>"$errors"
  status=$?
  if [ $status -ne 75 ] && ! grep -q "Xvfb failed to start" "$errors"; then
    cat "$errors" >&2
    exit $status
  fi
  echo "in-xvfb.sh: no usable X server (attempt $attempt), trying again" >&2
  sleep "$attempt"
done
cat "$errors" >&2
exit 1
