#include <tessera/core/Stream.h>

#include <tessera/core/LogManager.h>

namespace ts {

void writeString(std::stringstream &stream, const std::string &text) {
  uint64_t length = text.size();
  writeRaw(stream, length);
  stream.write(text.data(), static_cast<std::streamsize>(text.size()));
}

uint64_t bytesRemaining(std::stringstream &stream) {
  if (!stream.good()) return 0;
  std::streampos here = stream.tellg();
  stream.seekg(0, std::ios::end);
  std::streampos end = stream.tellg();
  stream.seekg(here);
  if (here < 0 || end < here) return 0;
  return static_cast<uint64_t>(end - here);
}

int streamCheck(const std::string &label, const std::stringstream &stream) {
  if (stream.good()) return 0;
  const LogManager &log = LogManager::getInstance();
  if (stream.eof())
    log.writeLog("%s: Error! Stream eof.", label.c_str());
  else if (stream.fail())
    log.writeLog("%s: Error! Stream fail.", label.c_str());
  else if (stream.bad())
    log.writeLog("%s: Error! Stream bad.", label.c_str());
  else
    log.writeLog("%s: Error! Stream error.", label.c_str());
  return -1;
}

}  // namespace ts
