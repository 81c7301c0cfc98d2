// Feeds arbitrary bytes to the sprite loader as a sprite file: any input must
// be loaded or refused without crashing and without unbounded allocation.
#include <cstdint>
#include <cstdlib>
#include <string>

#include <tessera/resources/ResourceManager.h>

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  setenv("ALSOFT_DRIVERS", "null", 0);
  fuzz_support::startQuietLog();
  const std::string path = fuzz_support::inputFile(data, size);
  if (path.empty()) return 0;
  ts::ResourceManager &resources = ts::ResourceManager::getInstance();
  resources.startUp();
  if (resources.loadSprite(path, "fuzz") == 0) {
    ts::Sprite *sprite = resources.getSprite("fuzz");
    for (int i = 0; sprite && i < sprite->getFrameCount(); ++i) sprite->getFrame(i).getString();
  }
  resources.shutDown();  // deletes the sprite
  return 0;
}
