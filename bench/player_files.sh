#!/usr/bin/env bash
# Plays track 1 in demo mode (headless: no window, no sound device) with
# hostile files in the player's folders and prints, for each, the exit
# status, the final score, the wall time and the peak resident memory:
#   plain       nothing in the player's folders (the reference)
#   fifo-scores scores.txt is a FIFO with no writer
#   fifo-settings settings.txt is a FIFO with no writer
#   huge-settings settings.txt is 300 MB of 'a'
#   padded-256  a player's chart whose music is a valid Ogg followed by 256 MiB of zeros
#   padded-60   the same with 60 MiB of zeros (under the music size limit, so it is opened)
# Usage: bench/player_files.sh [build directory, default build]
set -uo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
export ALSOFT_DRIVERS=null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'headless:true,\nrandom_seed:42,\n' >"$work/ts-config.txt"

# run NAME: one demo run with the player's folders as prepared in $work/NAME.
run() {
  local home="$work/$1" log="$work/$1.log"
  timeout 120 env XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" TESSERA_LOG="$log" \
    TESSERA_CONFIG="$work/ts-config.txt" /usr/bin/time -v -o "$work/$1.time" "$build/rhythm" --demo 1 \
    >/dev/null 2>&1
  local status=$?
  echo "$1: status $status | $(grep -o 'Current Score: [0-9]*' "$log" | tail -n 1)" \
       "| $(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/$1.time") wall" \
       "| peak $(($(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/$1.time") / 1024)) MB" \
       "| refusals: $(grep -c -E 'Warning! Cannot read|Error!.*cannot be read|refused:' "$log")"
}

folders() { mkdir -p "$work/$1/data/tessera-rhythm/charts" "$work/$1/config/tessera-rhythm"; }
for name in plain fifo-scores fifo-settings huge-settings padded-256 padded-60; do folders "$name"; done
mkfifo "$work/fifo-scores/data/tessera-rhythm/scores.txt"
mkfifo "$work/fifo-settings/config/tessera-rhythm/settings.txt"
head -c 300000000 /dev/zero | tr '\0' a >"$work/huge-settings/config/tessera-rhythm/settings.txt"
for size in 256 60; do
  charts="$work/padded-$size/data/tessera-rhythm/charts"
  cp tests/support/data/tone.ogg "$charts/padded.ogg"
  truncate -s "+${size}M" "$charts/padded.ogg"
  printf 'title: Padded\nmusic: padded.ogg\nnotes: 5 9\n' >"$charts/padded.chart"
done
for name in plain fifo-scores fifo-settings huge-settings padded-256 padded-60; do run "$name"; done
