// Feeds arbitrary bytes to the sprite loader as a sprite file: any input must
// be loaded or refused without crashing and without unbounded allocation.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "LogManager.h"
#include "ResourceManager.h"

namespace {

const std::string &inputPath() {
  static const std::string path = [] {
    // Memory-backed when possible: the file is rewritten for every input.
    char shm_name[] = "/dev/shm/tessera-sprite-fuzz-XXXXXX";
    char tmp_name[] = "/tmp/tessera-sprite-fuzz-XXXXXX";
    char *name = shm_name;
    int fd = mkstemp(shm_name);
    if (fd < 0) {
      name = tmp_name;
      fd = mkstemp(tmp_name);
    }
    if (fd >= 0) close(fd);
    return std::string(name);
  }();
  return path;
}

void startOnce() {
  static bool started = false;
  if (started) return;
  started = true;
  setenv("TESSERA_LOG", "/dev/null", 0);
  setenv("ALSOFT_DRIVERS", "null", 0);
  ts::LogManager::getInstance().startUp();
  std::atexit([] { std::remove(inputPath().c_str()); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  startOnce();
  FILE *file = std::fopen(inputPath().c_str(), "wb");
  if (!file) return 0;
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);
  ts::ResourceManager &resources = ts::ResourceManager::getInstance();
  resources.startUp();
  if (resources.loadSprite(inputPath(), "fuzz") == 0) {
    ts::Sprite *sprite = resources.getSprite("fuzz");
    for (int i = 0; sprite && i < sprite->getFrameCount(); ++i) sprite->getFrame(i).getString();
  }
  resources.shutDown();  // deletes the sprite
  return 0;
}
