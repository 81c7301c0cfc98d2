// Feeds arbitrary bytes to the sprite loader as a sprite file: any input must
// be loaded or refused without crashing and without unbounded allocation.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <tessera/core/LogManager.h>
#include <tessera/resources/ResourceManager.h>

namespace {

void startOnce() {
  static bool started = false;
  if (started) return;
  started = true;
  setenv("TESSERA_LOG", "/dev/null", 0);
  setenv("ALSOFT_DRIVERS", "null", 0);
  ts::LogManager::getInstance().startUp();
}

// A fresh file holding the input, memory-backed when possible (one is
// written for every input); empty when none could be written.
std::string writeInput(const uint8_t *data, size_t size) {
  char shm_name[] = "/dev/shm/tessera-sprite-fuzz-XXXXXX";
  char tmp_name[] = "/tmp/tessera-sprite-fuzz-XXXXXX";
  char *name = shm_name;
  int fd = mkstemp(shm_name);
  if (fd < 0) {
    name = tmp_name;
    fd = mkstemp(tmp_name);
  }
  if (fd < 0) return "";
  bool written = size == 0 || write(fd, data, size) == static_cast<ssize_t>(size);
  close(fd);
  if (!written) {
    std::remove(name);
    return "";
  }
  return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  startOnce();
  const std::string path = writeInput(data, size);
  if (path.empty()) return 0;
  ts::ResourceManager &resources = ts::ResourceManager::getInstance();
  resources.startUp();
  if (resources.loadSprite(path, "fuzz") == 0) {
    ts::Sprite *sprite = resources.getSprite("fuzz");
    for (int i = 0; sprite && i < sprite->getFrameCount(); ++i) sprite->getFrame(i).getString();
  }
  resources.shutDown();  // deletes the sprite
  std::remove(path.c_str());
  return 0;
}
