#!/usr/bin/env bash
# hostile_settings_test.sh RHYTHM: window and glyph sizes the display cannot make, each played with --demo 1.
# The game must refuse to start (status 1 within 10 s, a log line naming the setting) or play to its end,
# never crash or hang, and stay under 300 MB at its peak.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
rhythm=$1
xdotool getdisplaygeometry >/dev/null 2>&1 || { echo "no usable X server" >&2; exit 75; }

# try ENTRIES SETTING: runs the demo with the configuration entries; a refusal must name SETTING.
try() {
  printf 'random_seed:42,\n%s\n' "$1" >"$work/ts-config.txt"
  local start
  start=$(date +%s%N)
  TESSERA_LOG="$log" TESSERA_CONFIG="$work/ts-config.txt" /usr/bin/time -f %M -o "$work/peak" \
    timeout 150 "$rhythm" --demo 1 >"$work/stdout" 2>"$work/stderr"
  exit_status=$?
  local ms=$((($(date +%s%N) - start) / 1000000)) peak_kb
  peak_kb=$(tail -n 1 "$work/peak")
  echo "$1 status $exit_status after $ms ms, peak $((peak_kb / 1024)) MB"
  case $exit_status in
    1)
      [ "$ms" -le 10000 ] || fail "$1 refused only after $ms ms"
      grep -q "DisplayManager::startUp(): Error! $2 " "$log" || fail "$1: no log line naming $2"
      ;;
    0) expect_log "GameOver screen displayed." "** Game engine stopped **" ;;
    *) fail "$1 ended with status $exit_status" ;;
  esac
  [ "$peak_kb" -lt $((300 * 1024)) ] || fail "$1 peaked at $peak_kb kB"
}

try "window_horizontal_pixels:2147483647,window_vertical_pixels:2147483647," window_horizontal_pixels
try "window_horizontal_pixels:100000," window_horizontal_pixels
try "font_scale:100000," font_scale
try "font_scale:200," font_scale
echo PASS
