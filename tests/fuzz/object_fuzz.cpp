// Feeds arbitrary bytes to Object::deserialize (see RecordFuzz.h).
#include <tessera/world/Object.h>

#include "RecordFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  return record_fuzz::readThenWrite<ts::Object>(data, size, ts::ALL_OBJECT_ATTR);
}
