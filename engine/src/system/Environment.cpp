#include <tessera/system/Environment.h>

#include "platform/Platform.h"

namespace ts {

bool setEnvironmentVariable(const std::string &name, const std::string &value) {
  return platform::setEnvironmentVariable(name, value);
}

}  // namespace ts
