// Feeds arbitrary bytes to ViewObject::deserialize on a started world: no
// input may crash, read out of bounds or allocate without bound, and what was
// read must serialize again.
#include <cstdint>
#include <cstdlib>
#include <sstream>

#include <tessera/core/LogManager.h>
#include <tessera/world/ViewObject.h>
#include <tessera/world/WorldManager.h>

namespace {

bool startOnce() {
  // The log goes nowhere, at the finest level, so that every detailed line
  // is formatted with whatever the stream held.
  setenv("TESSERA_LOG", "/dev/null", 1);
  ts::LogManager::getInstance().startUp();
  ts::LogManager::getInstance().setLogLevel(30);
  ts::WorldManager::getInstance().startUp();
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static bool started = startOnce();
  (void)started;
  std::stringstream stream(std::ios::in | std::ios::out | std::ios::binary);
  stream.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
  auto *view = new ts::ViewObject;
  unsigned int mask = 0;
  view->deserialize(stream, &mask);
  std::stringstream out(std::ios::in | std::ios::out | std::ios::binary);
  view->serialize(out, 0xFFFFF);  // every attribute of both classes
  delete view;
  return 0;
}
