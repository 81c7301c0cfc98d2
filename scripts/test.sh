#!/usr/bin/env bash
# Builds and runs every test twice: a plain build, then a build with
# AddressSanitizer and UndefinedBehaviorSanitizer; then the log's thread
# test once more under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
[ -x scripts/font.sh ] && scripts/font.sh
jobs=$(nproc)

scripts/build.sh build
(cd build && ctest --output-on-failure -j "$jobs" --timeout 300)

scripts/build.sh build-sanitize -DTESSERA_SANITIZE=ON -DTESSERA_BENCH=OFF
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
(cd build-sanitize && ctest --output-on-failure -j "$jobs" --timeout 600)

# The log's thread test alone under ThreadSanitizer: a small build of its own.
scripts/build.sh build-tsan -DTESSERA_TSAN=ON
(cd build-tsan && ctest --output-on-failure --timeout 120)
echo "All tests passed (plain, sanitized and thread-sanitized builds)."
