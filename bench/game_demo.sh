#!/usr/bin/env bash
# Plays each track three times in demo mode, each run in an X server of its
# own, and prints for every run the drift between the music's playing
# position and the frame clock at the last note (from the demo's log line),
# the game's CPU time (user and system) and its wall-clock time.
# Usage: bench/game_demo.sh [build directory, default build]
set -uo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
export ALSOFT_DRIVERS=null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for track in 1 2; do
  for run in 1 2 3; do
    log="$work/log-$track-$run"
    xvfb-run -a -s "-screen 0 1280x1024x24" env TESSERA_LOG="$log" \
      /usr/bin/time -f "%U %S %e" -o "$work/time" "$build/rhythm" --demo "$track"
    read -r user sys wall <"$work/time"
    cpu=$(python3 -c "print('%.1f' % (100 * ($user + $sys) / $wall))")
    echo "track $track run $run: $(grep -o 'Demo: last note.*' "$log")" \
         "| user $user s, system $sys s, wall $wall s: ${cpu} % of one core" \
         "| overruns $(grep -c "Can't keep up" "$log") | load $(cut -d' ' -f1 /proc/loadavg)"
  done
done
