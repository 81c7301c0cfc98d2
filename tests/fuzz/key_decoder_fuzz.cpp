// Feeds arbitrary bytes to the terminal key decoder and the frame reader,
// split into frames at the input's own zero bytes: any input must decode
// without crashing, and the decoder must hold only a bounded tail.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "input/KeyDecoder.h"
#include "input/TerminalReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::vector<std::string> frames(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0 && i + 1 < size && data[i + 1] == 0) {
      frames.emplace_back();
      ++i;
    } else {
      frames.back() += static_cast<char>(data[i]);
    }
  }
  ts::TerminalReader reader({ts::Keyboard::UPARROW, ts::Keyboard::A});
  for (const std::string &frame : frames) {
    bool given = false;
    reader.readFrame([&](char *buffer, size_t room, std::string &) -> long {
      if (given) return 0;
      given = true;
      const size_t count = frame.size() < room ? frame.size() : room;
      frame.copy(buffer, count);
      return static_cast<long>(count);
    });
  }
  ts::KeyDecoder decoder;
  std::vector<ts::TerminalInput> out;
  for (size_t i = 0; i < size; ++i) {
    decoder.feed(reinterpret_cast<const char *>(data + i), 1, out);
    if (out.size() > 1000) out.clear();
  }
  decoder.expire(out);
  if (decoder.hasPending()) std::abort();
  return 0;
}
