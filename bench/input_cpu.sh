#!/usr/bin/env bash
# CPU time of the game per second of wall-clock time, idle on the start
# screen (20 s, then ended with Ctrl-C's signal) and playing track 2 in demo
# mode, each run in an X server of its own with OpenAL's null output. Prints
# user and system time, the share of one core and the load average at the
# end of each run. Run it from any tree with the game's data: the build
# directory may belong to another checkout (an older commit, to compare).
# Usage: bench/input_cpu.sh [build directory, default build] [runs, default 3] [idle|play|both, default both]
set -uo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
runs="${2:-3}"
what="${3:-both}"
export ALSOFT_DRIVERS=null
work=$(mktemp -d)
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"  # no saved offset, no best scores
trap 'rm -rf "$work"' EXIT

# measure LABEL COMMAND...: one run under /usr/bin/time.
measure() {
  local label="$1"
  shift
  tests/support/with-xvfb.sh env TESSERA_LOG="$work/log" \
    /usr/bin/time -f "%U %S %e" -o "$work/time" "$@" >/dev/null 2>&1
  # The last line: a first one tells an exit status other than 0 (timeout's 124).
  read -r user sys wall < <(tail -n 1 "$work/time")
  awk -v label="$label" -v u="$user" -v s="$sys" -v w="$wall" -v load="$(cut -d' ' -f1 /proc/loadavg)" \
    'BEGIN { printf "%s: %.2f s user + %.2f s system in %.2f s = %.2f %% of a core | load %s\n", label, u, s, w, 100 * (u + s) / w, load }'
}

for _ in $(seq "$runs"); do
  [ "$what" = play ] || measure "idle (start screen)" timeout -s INT 20 "$build/rhythm"
  [ "$what" = idle ] || measure "play (--demo 2)" "$build/rhythm" --demo 2
done
