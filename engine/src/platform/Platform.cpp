#include "platform/Platform.h"

#include <sys/prctl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/Signals.h"

namespace ts {
namespace platform {

int64_t monotonicMicroseconds() {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

// Sleeps in slices of at most a tenth of a second: a stop signal may be
// handled by another thread, or arrive just before a slice begins, and the
// sleep still ends soon after it.
void sleepUntilMicroseconds(int64_t deadline) {
  const int64_t SLICE = 100000;
  for (;;) {
    if (stopSignalPending()) return;
    const int64_t now = monotonicMicroseconds();
    if (now >= deadline) return;
    const int64_t until = deadline - now > SLICE ? now + SLICE : deadline;
    struct timespec when;
    when.tv_sec = static_cast<time_t>(until / 1000000);
    when.tv_nsec = static_cast<long>((until % 1000000) * 1000);
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &when, nullptr);
  }
}

void requestPreciseTimers() { prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL); }

bool localTimeOfDay(LocalTime &time) {
  time_t now = ::time(nullptr);
  struct tm local;
  if (now == static_cast<time_t>(-1) || !localtime_r(&now, &local)) return false;
  time = LocalTime{local.tm_hour, local.tm_min, local.tm_sec};
  return true;
}

std::string workingDirectory() {
  std::vector<char> buffer(256);
  while (!getcwd(buffer.data(), buffer.size())) {
    if (errno != ERANGE || buffer.size() >= 65536) return "";
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

bool isRegularFile(const std::string &path, long long *size) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  if (size) *size = static_cast<long long>(info.st_size);
  return true;
}

bool setEnvironmentVariable(const std::string &name, const std::string &value) {
  return setenv(name.c_str(), value.c_str(), 1) == 0;
}

std::string errorText(int code) { return std::strerror(code); }

}  // namespace platform
}  // namespace ts
