// What several fuzz targets share: a log that writes nowhere, and one file
// for the whole run that holds the input for the loaders that read files.
#ifndef TS_FUZZ_SUPPORT_H
#define TS_FUZZ_SUPPORT_H

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <tessera/core/LogManager.h>

namespace fuzz_support {

// Starts the log manager on /dev/null at the first call.
inline void startQuietLog() {
  static const bool started = (setenv("TESSERA_LOG", "/dev/null", 1), ts::LogManager::getInstance().startUp(), true);
  (void)started;
}

// The path of the run's input file, now holding the bytes; empty when they
// could not be written. The file is removed when the run ends.
inline std::string inputFile(const uint8_t *data, size_t size) {
  struct TempFile {
    std::string path;
    TempFile() {
      char name[] = "/tmp/tessera-fuzz-XXXXXX";
      const int fd = mkstemp(name);
      if (fd >= 0) close(fd);
      path = fd >= 0 ? name : "";
    }
    ~TempFile() { std::remove(path.c_str()); }
  };
  static const TempFile file;
  FILE *stream = file.path.empty() ? nullptr : std::fopen(file.path.c_str(), "wb");
  if (!stream) return "";
  const bool written = size == 0 || std::fwrite(data, 1, size, stream) == size;
  return std::fclose(stream) == 0 && written ? file.path : "";
}

}  // namespace fuzz_support

#endif
