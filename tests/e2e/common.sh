# Sourced by the end-to-end scripts: the game in the background with a log of its own, and checks.
# Exit status 75 says the X server could not be used.
work=$(mktemp -d)
log="$work/tessera.log"
printf 'random_seed:42,\n' >"$work/ts-config.txt"  # the same lanes and stars in every run
game_pid=""
trap '[ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null; [ "${keep_work:-0}" = 1 ] || rm -rf "$work"' EXIT

fail() {
  # The window library aborts when it cannot open the display (its message goes to the log).
  grep -qs "Failed to open X11 display" "$work/stderr" "$log" && exit 75
  [ "${exit_status:-0}" = 134 ] && [ ! -s "$log" ] && { echo "the game could not open the display" >&2; exit 75; }
  echo "FAIL: $* (files kept in $work)" >&2
  keep_work=1
  [ -f "$log" ] && grep -v 'Drawing Note' "$log" | tail -n 40 >&2
  exit 1
}

# start_game SECONDS RHYTHM [ARGS...]: the game, from the source tree with its data, for SECONDS at most.
start_game() {
  xdotool getdisplaygeometry >/dev/null 2>&1 || { echo "no usable X server" >&2; exit 75; }
  # The game's own settings (the audio offset), best scores and added songs in empty folders of the run's own.
  XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" TESSERA_LOG="$log" TESSERA_CONFIG="$work/ts-config.txt" timeout "$@" >"$work/stdout" 2>"$work/stderr" &
  game_pid=$!
}

# find_window: sets window to the game's window; exit status 75 when none shows (the X server is not ours).
find_window() {
  window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Tessera$' 2>/dev/null | head -n 1)
  [ -n "$window" ] || { echo "no game window" >&2; exit 75; }
}

# expect_clean_exit: the game must end with status 0 and nothing on standard error.
expect_clean_exit() {
  wait "$game_pid"
  exit_status=$?
  [ "$exit_status" = 0 ] || fail "exit status $exit_status (124: did not end in time)"
  [ -s "$work/stderr" ] && fail "the game wrote to standard error: $(cat "$work/stderr")"
}

# expect_log LINE...: the log reaches the disk every frame; complete once the game has ended.
expect_log() {
  for line in "$@"; do grep -qF -- "$line" "$log" || fail "no log line: $line"; done
}

# save_screenshot KIND: with TESSERA_SCREENSHOTS naming a folder, the accepted screenshot goes there as
# rhythm-KIND.png (scripts/screenshots.sh makes the README's pictures this way).
save_screenshot() {
  [ -z "${TESSERA_SCREENSHOTS:-}" ] || convert "ppm:$work/$1.ppm" "png:$TESSERA_SCREENSHOTS/rhythm-$1.png"
}

# until_screen KIND WINDOW: a screenshot every half second until one shows a screen of KIND; 10 s at most.
until_screen() {
  for _ in $(seq 20); do
    sleep 0.5
    import -window "$2" -depth 8 "ppm:$work/$1.ppm" &&
      python3 "$here/screenshot.py" "$1" "$work/$1.ppm" 2>"$work/$1.problems" && save_screenshot "$1" && return 0
  done
  fail "the $1 screen: $(cat "$work/$1.problems")"
}
