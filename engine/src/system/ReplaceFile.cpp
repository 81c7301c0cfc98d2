#include <tessera/system/ReplaceFile.h>

#include "platform/Files.h"

namespace ts {

bool replaceFile(const std::string &path, const std::string &contents, std::string &problem) {
  return platform::replaceFile(path, contents, problem);
}

}  // namespace ts
