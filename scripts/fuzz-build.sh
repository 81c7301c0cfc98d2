#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang (build-fuzz/, -DTESSERA_FUZZ=ON)
# and runs each once over its saved inputs (tests/fuzz/corpus/<harness>/),
# with its dictionary when it has one, so the fuzz build cannot stop
# compiling unnoticed. No input is mutated and nothing is written to the
# corpus (-runs=0 only replays what is loaded).
set -euo pipefail
cd "$(dirname "$0")/.."
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" \
  -DTESSERA_FUZZ=ON -DTESSERA_TESTS=OFF -DTESSERA_RHYTHM=ON -DTESSERA_TOOLS=OFF -DTESSERA_BENCH=OFF >/dev/null
# Only the harnesses (and what they link), not the game's program.
harnesses=()
for source in tests/fuzz/*_fuzz.cpp; do harnesses+=("$(basename "$source" .cpp)"); done
cmake --build build-fuzz --target "${harnesses[@]}"
export TESSERA_LOG=/dev/null
count=0
for corpus in tests/fuzz/corpus/*/; do
  harness=$(basename "$corpus")
  options=(-runs=0 -rss_limit_mb=1024 -malloc_limit_mb=256)
  [ -f "tests/fuzz/${harness%_fuzz}.dict" ] && options+=("-dict=tests/fuzz/${harness%_fuzz}.dict")
  if ! output=$("build-fuzz/tests/fuzz/$harness" "${options[@]}" "$corpus" 2>&1); then
    echo "$output" | tail -n 30
    echo "fuzz replay: $harness failed" >&2
    exit 1
  fi
  echo "fuzz replay: $harness: $(ls "$corpus" | wc -l) saved inputs, no finding"
  count=$((count + 1))
done
echo "fuzz replay: $count harnesses built with clang and replayed"
