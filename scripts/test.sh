#!/usr/bin/env bash
# Builds and runs every test twice: a plain build (build/), then a build with
# AddressSanitizer and UndefinedBehaviorSanitizer (build-sanitize/); then the
# log's thread test once more under ThreadSanitizer (build-tsan/). Every
# option is passed explicitly, so a folder configured otherwise before (by
# hand or by an older script) is brought back to what the tests need. Last,
# the fuzz harnesses are built with clang and replay their saved inputs.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/font.sh
jobs=$(nproc)
COMMON=(-DTESSERA_RHYTHM=ON -DTESSERA_TESTS=ON -DTESSERA_TOOLS=ON -DTESSERA_FUZZ=OFF)

# run_tests DIR: every test of the folder; no tests at all is a failure.
run_tests() {
  (cd "$1" && ctest --output-on-failure --no-tests=error -j "$jobs" --timeout 600)
  counts+=("$(cd "$1" && ctest -N | sed -n 's/^Total Tests: //p') in $1/")
}
counts=()

scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${COMMON[@]}" -DTESSERA_BENCH=ON -DTESSERA_SANITIZE=OFF
run_tests build

scripts/build.sh build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo "${COMMON[@]}" -DTESSERA_BENCH=OFF -DTESSERA_SANITIZE=ON
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
run_tests build-sanitize

# The log's thread test alone under ThreadSanitizer: a small build of its own.
scripts/build.sh build-tsan -DTESSERA_TSAN=ON
run_tests build-tsan

# The fuzz harnesses, built with clang, each replaying its saved inputs.
scripts/fuzz-build.sh
echo "All tests passed: ${counts[0]}, ${counts[1]}, ${counts[2]}."
