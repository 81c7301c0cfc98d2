#!/usr/bin/env bash
# example-screenshots.sh [BUILD]: retakes the pictures of the examples'
# README (examples/<name>/screenshot.png). Installs the engine built in BUILD
# (default: build) into a prefix, builds the examples from that prefix as a
# game would, then plays each with its autopilot in a window of a virtual X
# server and captures the window after a few seconds of play.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

# capture NAME TITLE SECONDS ARGS...: run in the X server by the second half
# of this script; the game is stopped once its window is captured.
capture() {
  local name=$1 title=$2 seconds=$3
  shift 3
  (cd "$examples/$name" && exec ./"$name" "$@") >/dev/null 2>&1 &
  local game=$!
  local window
  window=$(timeout 10 xdotool search --sync --onlyvisible --name "^$title\$" | head -n 1)
  sleep "$seconds"
  import -window "$window" "png:$root/examples/$name/screenshot.png"
  kill "$game"
  wait "$game" || true
  echo "examples/$name/screenshot.png"
}

# Pong needs two players: the host, then a guest on the port it names. The
# guest's window opens last and lies on top (the server keeps no picture of
# a covered window), so it is the one captured, in a long rally.
capture_pong() {
  cd "$examples/pong"
  rm -f host.log
  TESSERA_LOG=host.log ./pong --host 0 --autopilot HHHHHHHHHHHH --steps 300 >/dev/null 2>&1 &
  for _ in $(seq 50); do grep -qs "hosting on port" host.log && break; sleep 0.1; done
  local port
  port=$(sed -n 's/.*hosting on port \([0-9]*\),.*/\1/p' host.log)
  TESSERA_LOG=guest.log ./pong --join 127.0.0.1 "$port" --autopilot HMHHHHHHHHHH --steps 300 >/dev/null 2>&1 &
  timeout 10 xdotool search --sync --onlyvisible --name "^Pong\$" >/dev/null
  sleep 4
  import -window "$(xdotool search --onlyvisible --name "^Pong\$" | tail -n 1)" "png:$root/examples/pong/screenshot.png"
  wait
  echo "examples/pong/screenshot.png"
}

if [ "${1:-}" = --capture ]; then
  examples=$2
  capture chase Chase 3 --autopilot LUUDDRRRR
  capture hello Hello 2 --keys UUUDDDDDDDDD
  capture breakout Breakout 6 --autopilot
  capture snake Snake 8 --autopilot
  capture scroller Scroller 3 --autopilot
  capture sprites Sprites 1.5 --steps 150
  ALSOFT_DRIVERS=null capture sound Sound 2 --autopilot ........P --steps 90
  capture_pong
  exit 0
fi

build=${1:-build}
work=$root/$build/example-screenshots
tests/package/install.sh "$build" "$work/prefix" >/dev/null
cmake -S examples -B "$work/examples" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" \
  -DCMAKE_FIND_PACKAGE_NO_PACKAGE_REGISTRY=ON >/dev/null
nice -n 10 cmake --build "$work/examples" -j2 >/dev/null
tests/support/with-xvfb.sh "$0" --capture "$work/examples"
