# Shared by the end-to-end scripts: start the game in the background, wait
# for log lines and windows, take screenshots. Sourced, not run.

work=$(mktemp -d)
log="$work/tessera.log"
config="$work/ts-config.txt"
# A fixed seed makes the lanes and the stars the same in every run.
printf 'random_seed:42,\n' >"$config"
game_pid=""

cleanup() {
  if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then kill "$game_pid" 2>/dev/null; fi
  if [ "${keep_work:-0}" = 1 ]; then echo "kept $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT

fail() {
  # No X server of our own (another run took the display): in-xvfb.sh
  # starts the test again.
  grep -q "Failed to open X11 display" "$work/stderr" 2>/dev/null && exit 75
  # The window library aborts when it cannot open the display; its message
  # then dies in the unwritten log buffer, leaving the log empty.
  [ "${exit_status:-0}" = 134 ] && [ ! -s "$log" ] && { echo "the game could not open the display" >&2; exit 75; }
  echo "FAIL: $*" >&2
  keep_work=1
  [ -f "$log" ] && grep -v 'Drawing Note' "$log" | tail -n 40 >&2
  exit 1
}

# start_game RHYTHM [ARGS...]: runs the game from the source tree (its data
# files are read from the working directory).
start_game() {
  # An X server we cannot talk to belongs to another run that took the same
  # display number: in-xvfb.sh starts the test again.
  xdotool getdisplaygeometry >/dev/null 2>&1 || { echo "no usable X server" >&2; exit 75; }
  TESSERA_LOG="$log" TESSERA_CONFIG="$config" "$@" >"$work/stdout" 2>"$work/stderr" &
  game_pid=$!
}

# in_log TEXT: whether a log line holds TEXT. The log is buffered, so
# lines are certain to be there only after the game has ended.
in_log() {
  grep -qF -- "$1" "$log" 2>/dev/null
}

# until_screen KIND FILE WINDOW TRIES: takes screenshots half a second apart
# until one shows what a screen of KIND must show (see screenshot.py).
until_screen() {
  for _ in $(seq "$4"); do
    sleep 0.5
    screenshot "$3" "$2" && python3 "$here/screenshot.py" "$1" "$2" >"$work/$1.problems" && return 0
  done
  cat "$work/$1.problems" >&2
  return 1
}

# wait_for_exit SECONDS: sets exit_status to the game's exit status.
wait_for_exit() {
  local deadline=$((SECONDS + $1))
  while kill -0 "$game_pid" 2>/dev/null; do
    [ $SECONDS -ge $deadline ] && fail "the game did not end within $1 s"
    sleep 0.2
  done
  wait "$game_pid"
  exit_status=$?
  game_pid=""
}

# game_window: the id of the game's window, once it is mapped.
game_window() {
  local id=""
  for _ in $(seq 200); do
    id=$(xdotool search --onlyvisible --name '^Tessera$' 2>/dev/null | head -n 1)
    [ -n "$id" ] && break
    sleep 0.1
  done
  echo "$id"
}

screenshot() {  # screenshot WINDOW FILE
  import -window "$1" -depth 8 "ppm:$2"
}
