#!/usr/bin/env bash
# Retakes the screenshots of the pong, sprites and sound examples
# (examples/<name>/screenshot.png): installs the engine from build/ into a
# prefix, builds the examples from that prefix as a game would, and runs each
# in a window of a virtual X server with its autopilot, capturing the window
# while it plays. Needs build/ configured and built (scripts/build.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
work=$root/build/screenshots
rm -rf "$work"
cmake --install build --prefix "$work/prefix" >/dev/null
cmake -S examples -B "$work/examples" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/examples" --target pong sprites sound >/dev/null

# capture NAME TITLE SECONDS: the window titled TITLE, SECONDS after one
# shows. Of two (pong's host and guest) the one opened last: it lies on top,
# and the server keeps no picture of a covered window.
capture() {
  timeout 10 xdotool search --sync --onlyvisible --name "^$2\$" >/dev/null
  sleep "$3"
  import -window "$(xdotool search --onlyvisible --name "^$2\$" | tail -n 1)" "png:$root/examples/$1/screenshot.png"
  echo "examples/$1/screenshot.png"
}

shots() {
  cd "$work/examples/sprites"
  ./sprites --steps 150 >/dev/null 2>&1 &
  capture sprites Sprites 1.5
  wait
  cd "$work/examples/sound"
  ALSOFT_DRIVERS=null ./sound --autopilot ........P --steps 90 >/dev/null 2>&1 &
  capture sound Sound 2
  wait
  cd "$work/examples/pong"
  # A long rally after the first point: the screenshot comes in the middle of it.
  TESSERA_LOG=host.log ./pong --host 0 --autopilot HHHHHHHHHHHH --steps 300 >/dev/null 2>&1 &
  for _ in $(seq 50); do grep -qs "hosting on port" host.log && break; sleep 0.1; done
  port=$(sed -n 's/.*hosting on port \([0-9]*\),.*/\1/p' host.log)
  TESSERA_LOG=guest.log ./pong --join 127.0.0.1 "$port" --autopilot HMHHHHHHHHHH --steps 300 >/dev/null 2>&1 &
  capture pong Pong 4
  wait
}
export -f shots capture
export work root
tests/support/with-xvfb.sh bash -c shots
