// Cost of getting the log to its file: 200,000 lines written with a flush
// after every line (what line buffering would do), after every 20 lines (a
// busy frame) and never until the end (the buffer fills). Reports the time
// per line of each; the log goes to a file in /tmp.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <tessera/core/LogManager.h>

namespace {

double nanosecondsPerLine(int lines, int flush_every) {
  ts::LogManager &log = ts::LogManager::getInstance();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 1; i <= lines; ++i) {
    log.writeLog("NetworkManager::send(): Warning! %d of %d bytes sent.", i, 1048576);
    if (flush_every > 0 && i % flush_every == 0) log.flush();
  }
  log.flush();
  const auto took = std::chrono::steady_clock::now() - start;
  return std::chrono::duration<double, std::nano>(took).count() / lines;
}

}  // namespace

int main() {
  const std::string path = "/tmp/tessera-log-flush-bench.log";
  setenv("TESSERA_LOG", path.c_str(), 1);
  ts::LogManager &log = ts::LogManager::getInstance();
  if (log.startUp() != 0) return 1;
  const int lines = 200000;
  nanosecondsPerLine(lines / 10, 0);  // warm the file and the caches
  for (int round = 0; round < 3; ++round) {
    const double each_line = nanosecondsPerLine(lines, 1);
    const double per_frame = nanosecondsPerLine(lines, 20);
    const double at_end = nanosecondsPerLine(lines, 0);
    std::printf("round %d: flush every line %.0f ns/line, every 20 lines %.0f ns/line, buffer only %.0f ns/line\n",
                round + 1, each_line, per_frame, at_end);
  }
  log.shutDown();
  std::remove(path.c_str());
  return 0;
}
