#!/usr/bin/env bash
# pkg_config_test.sh PREFIX WORK COMPILER FLAGS: compiles a one-file program
# with the flags pkg-config gives for the engine installed in PREFIX, and runs
# it: it starts the game manager headless, runs three frames and stops.
set -euo pipefail
prefix=$1 work=$2 compiler=$3 flags=$4
rm -rf "$work"
mkdir -p "$work"
cd "$work"
cat >program.cpp <<'PROGRAM'
#include <cstdio>

#include <tessera/game/GameManager.h>
#include <tessera/world/Object.h>

// Ends the game at its third step.
class Stopper : public ts::Object {
 public:
  Stopper() { registerInterest(ts::STEP_EVENT); }
  int eventHandler(const ts::Event *p_event) override {
    if (p_event->getType() != ts::STEP_EVENT) return 0;
    if (ts::GameManager::getInstance().getStepCount() == 2) ts::GameManager::getInstance().setGameOver();
    return 1;
  }
};

int main() {
  ts::GameManager &game_manager = ts::GameManager::getInstance();
  if (game_manager.startUp() != 0) return 1;
  new Stopper();
  game_manager.run();
  std::printf("steps %d, Tessera %s\n", game_manager.getStepCount(), ts::TESSERA_VERSION_STRING);
  game_manager.shutDown();
  return 0;
}
PROGRAM
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig"
[ "$(pkg-config --modversion tessera)" = 4.21 ] || { echo "FAIL: pkg-config version" >&2; exit 1; }
# shellcheck disable=SC2046,SC2086
"$compiler" -std=c++17 $flags program.cpp -o program $(pkg-config --cflags --libs tessera)
printf 'headless:true,\nnetworking:false,\n' >config.txt
output=$(TESSERA_CONFIG=config.txt TESSERA_LOG=program.log ./program)
[ "$output" = "steps 3, Tessera 4.21" ] || { echo "FAIL: output '$output'" >&2; cat program.log >&2; exit 1; }
grep -qF "** Tessera version 4.21 **" program.log || { echo "FAIL: no banner" >&2; exit 1; }
echo PASS
