// The body of the record fuzzers: arbitrary bytes go to deserialize() of a
// fresh object in a started world, and whatever was read must serialize
// again. No input may crash, read out of bounds or allocate without bound.
#ifndef TS_RECORD_FUZZ_H
#define TS_RECORD_FUZZ_H

#include <cstdint>
#include <memory>
#include <sstream>

#include <tessera/core/LogManager.h>
#include <tessera/world/WorldManager.h>

#include "FuzzSupport.h"

namespace record_fuzz {

inline bool startOnce() {
  // The log goes nowhere, at the finest level, so that every detailed line
  // is formatted with whatever the stream held.
  fuzz_support::startQuietLog();
  ts::LogManager::getInstance().setLogLevel(30);
  ts::WorldManager::getInstance().startUp();
  return true;
}

// write_mask: the attributes written back (every bit the record type has).
template <typename Record>
int readThenWrite(const uint8_t *data, size_t size, unsigned int write_mask) {
  static bool started = startOnce();
  (void)started;
  std::stringstream stream(std::ios::in | std::ios::out | std::ios::binary);
  stream.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
  // The world manager is handed the object on construction; deleting it
  // takes it back out.
  auto *record = new Record;
  unsigned int mask = 0;
  record->deserialize(stream, &mask);
  std::stringstream out(std::ios::in | std::ios::out | std::ios::binary);
  record->serialize(out, write_mask);
  delete record;
  return 0;
}

}  // namespace record_fuzz

#endif
