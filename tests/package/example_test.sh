#!/usr/bin/env bash
# example_test.sh PREFIX EXAMPLES BUILD COMPILER FLAGS: builds the example
# game against the engine installed in PREFIX alone, then plays its scripted
# run headless and checks the run's log.
set -euo pipefail
prefix=$1 examples=$2 build=$3 compiler=$4 flags=$5
rm -rf "$build"
# The examples are many small programs: with ccache, a rerun compiles none again.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Only the prefix: no package registry, and nothing of the engine's sources.
cmake -S "$examples" -B "$build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_PACKAGE_NO_PACKAGE_REGISTRY=ON \
  -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_CXX_FLAGS="$flags" "${launcher[@]}" >"$build.configure.log" ||
  { cat "$build.configure.log" >&2; exit 1; }
if grep -q -- "-I$(cd "$examples/.." && pwd)/engine" "$build/build.ninja"; then
  echo "FAIL: the example compiles with the engine's source headers" >&2
  exit 1
fi
cmake --build "$build" -j2 >"$build.build.log" || { cat "$build.build.log" >&2; exit 1; }

cd "$build/chase"
log=$PWD/run.log
printf 'headless:true,\nnetworking:false,\nframe_time:10,\n' >run-config.txt
# Left into the wall, up twice to the coin, down twice; then the enemy catches
# the player twice (every 120 frames) before the 250 frames are over.
TESSERA_CONFIG=run-config.txt TESSERA_LOG="$log" timeout 120 ./chase --autopilot LUUDD --steps 250 2>stderr.txt ||
  { echo "FAIL: exit status $?" >&2; cat stderr.txt "$log" >&2; exit 1; }
[ ! -s stderr.txt ] || { echo "FAIL: standard error: $(cat stderr.txt)" >&2; exit 1; }
for line in "Maze: 95 x 31 cells" "Player: a wall stopped the move to (0,3)" "Coin: picked up at (1,1)" \
  "Enemy: reached the player at" "Player: caught at (1,3), 1 lives left" "Autopilot: 250 steps run" \
  "Chase: the game ended after 251 steps with score 10 and 1 lives"; do
  grep -qF -- "$line" "$log" || { echo "FAIL: no log line: $line" >&2; grep -v '^$' "$log" | tail -n 30 >&2; exit 1; }
done
grep -E "Enemy: reached|Chase:" "$log"
echo PASS
