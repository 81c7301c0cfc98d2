// Feeds arbitrary bytes to ViewObject::deserialize (see RecordFuzz.h).
#include <tessera/world/ViewObject.h>

#include "RecordFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  return record_fuzz::readThenWrite<ts::ViewObject>(data, size, 0xFFFFF);  // every attribute of both classes
}
