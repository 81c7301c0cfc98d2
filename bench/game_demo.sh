#!/usr/bin/env bash
# Plays each track in demo mode, first on the machine as it is, then with
# three busy processes (yes > /dev/null) competing for the cores, each run in
# an X server of its own. For every run it prints the demo's line at the last
# note (the music's playing position against the note clock, the drift
# between them, the frames that took exactly one step and the catch-up
# steps), the final score, the game's CPU time, the overruns of the frame
# loop and the load average at the end of the run.
# Usage: bench/game_demo.sh [build directory, default build] [idle runs per track, default 3]
#        [busy runs per track, default 1]
# The busy processes are stopped when the script ends, however it ends.
set -uo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
runs="${2:-3}"
busy_runs="${3:-1}"
export ALSOFT_DRIVERS=null
work=$(mktemp -d)
export XDG_CONFIG_HOME="$work/config"  # no saved audio offset
busy=()
stop_busy() {
  for pid in "${busy[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${busy[@]}"; do wait "$pid" 2>/dev/null; done
  busy=()
}
trap 'stop_busy; rm -rf "$work"' EXIT

# run TRACK LABEL: one demo run in an X server of its own (the tests' wrapper);
# tried again (three times at most) when the game could not use its server.
run() {
  local log="$work/log" line
  for _ in 1 2 3; do
    rm -f "$log"
    tests/support/with-xvfb.sh env TESSERA_LOG="$log" \
      /usr/bin/time -f "%U %S %e" -o "$work/time" "$build/rhythm" --demo "$1" >/dev/null 2>&1
    line=$(grep -o 'Demo: last note.*' "$log" 2>/dev/null) && break
  done
  read -r user sys wall <"$work/time"
  echo "$2 track $1: $line" \
       "| $(grep -o 'Current Score: .*' "$log") | CPU $user s user + $sys s system in $wall s" \
       "| overruns $(grep -c "Can't keep up" "$log") | load $(cut -d' ' -f1 /proc/loadavg)"
}

for track in 1 2; do
  for _ in $(seq "$runs"); do run "$track" idle; done
done
for _ in 1 2 3; do
  yes >/dev/null &
  busy+=($!)
done
sleep 5  # let the load settle
for track in 1 2; do
  for _ in $(seq "$busy_runs"); do run "$track" busy; done
done
stop_busy
