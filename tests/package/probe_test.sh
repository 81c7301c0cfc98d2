#!/usr/bin/env bash
# probe_test.sh PREFIX WORK COMPILER FLAGS WITH_XVFB: a one-file program built
# against the engine installed in PREFIX and installed beside it (PREFIX/bin),
# run from an empty folder in a virtual X server. An object marked for
# deletion neither blocks a move into it nor hears of it; with no font of its
# own the program's window uses the font installed with the engine.
set -euo pipefail
prefix=$1 work=$2 compiler=$3 flags=$4 with_xvfb=$5
rm -rf "$work"
mkdir -p "$work"
cd "$work"
cat >probe.cpp <<'PROGRAM'
#include <cstdio>

#include <tessera/core/LogManager.h>
#include <tessera/graphics/DisplayManager.h>
#include <tessera/world/Object.h>
#include <tessera/world/WorldManager.h>

// Counts the collision events it hears of.
class Counter : public ts::Object {
 public:
  int collisions = 0;
  int eventHandler(const ts::Event *p_event) override {
    if (p_event->getType() == ts::COLLISION_EVENT) ++collisions;
    return 0;
  }
};

int main() {
  ts::LogManager::getInstance().startUp();
  ts::WorldManager &world = ts::WorldManager::getInstance();
  world.startUp();
  world.setBoundary(ts::Box(ts::Vector(0, 0), 80, 24));
  Counter *a = new Counter, *b = new Counter;
  a->setPosition(ts::Vector(5, 5));
  b->setPosition(ts::Vector(6, 5));
  world.markForDelete(b);
  const int moved = world.moveObject(a, ts::Vector(6, 5));
  std::printf("move %d, collisions %d %d\n", moved, a->collisions, b->collisions);
  world.update();
  std::printf("display %d\n", ts::DisplayManager::getInstance().startUp());
  ts::DisplayManager::getInstance().shutDown();
  world.shutDown();
  ts::LogManager::getInstance().shutDown();
  return 0;
}
PROGRAM
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig"
# shellcheck disable=SC2046,SC2086
"$compiler" -std=c++17 $flags probe.cpp -o "$prefix/bin/tessera-probe" $(pkg-config --cflags --libs tessera)
mkdir empty && cd empty
output=$(TESSERA_LOG="$work/probe.log" ALSOFT_DRIVERS=null "$with_xvfb" "$prefix/bin/tessera-probe")
fail() { echo "FAIL: $*" >&2; cat "$work/probe.log" >&2; exit 1; }
[ "$output" = "$(printf 'move 0, collisions 0 0\ndisplay 0')" ] || fail "output '$output'"
grep -qF "DisplayManager::startUp(): No font 'ts-font.ttf' here; using the installed font '$prefix/bin/../share/tessera/ts-font.ttf'." \
  "$work/probe.log" || fail "no line naming the installed font"
echo PASS
