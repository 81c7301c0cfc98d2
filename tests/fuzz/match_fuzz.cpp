// Feeds arbitrary text and key to match(): the first zero byte separates
// them; without one, the whole input is the text and its last byte the key.
#include <cstdint>
#include <string>

#include <tessera/core/Config.h>

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  fuzz_support::startQuietLog();
  ts::LogManager::getInstance().setLogLevel(30);
  std::string input(reinterpret_cast<const char *>(data), size);
  size_t split = input.find('\0');
  std::string text = split == std::string::npos ? input : input.substr(0, split);
  std::string key =
      split == std::string::npos ? input.substr(input.empty() ? 0 : input.size() - 1) : input.substr(split + 1);
  ts::match(text, key);
  // An empty text searches the items the previous parse left.
  ts::match("", key);
  return 0;
}
