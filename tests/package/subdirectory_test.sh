#!/usr/bin/env bash
# subdirectory_test.sh SOURCE WORK COMPILER: a project that adds the engine's
# source tree with add_subdirectory gets the engine alone (no game, tests or
# tools) and compiles against Tessera::tessera. Only the consumer's own
# object file is built: the engine itself is compiled by the other tests.
set -euo pipefail
source=$1 work=$2 compiler=$3
rm -rf "$work"
mkdir -p "$work/project"
cat >"$work/project/CMakeLists.txt" <<PROJECT
cmake_minimum_required(VERSION 3.16)
project(Consumer LANGUAGES CXX)
add_subdirectory("$source" tessera)
add_executable(consumer main.cpp)
target_link_libraries(consumer PRIVATE Tessera::tessera)
PROJECT
cat >"$work/project/main.cpp" <<'PROGRAM'
#include <tessera/core/Version.h>
#include <tessera/game/GameManager.h>

int main() { return ts::GameManager::getInstance().startUp() == 0 && ts::TESSERA_VERSION > 4 ? 0 : 1; }
PROGRAM
cmake -S "$work/project" -B "$work/build" -G Ninja -DCMAKE_CXX_COMPILER="$compiler" >"$work/configure.log" ||
  { cat "$work/configure.log" >&2; exit 1; }
for target in rhythm rhythm_core tessera_tests rhythm_tests chase make_music; do
  if grep -q "^build $target:" "$work/build/build.ninja"; then
    echo "FAIL: the target $target is built as part of another project" >&2
    exit 1
  fi
done
cmake --build "$work/build" --target CMakeFiles/consumer.dir/main.cpp.o
echo PASS
