#include "platform/Platform.h"

#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
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

std::string executableFolder() {
  std::vector<char> path(4096);
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (length <= 0) return "";
  const std::string program(path.data(), static_cast<size_t>(length));
  const size_t slash = program.rfind('/');
  return slash == std::string::npos ? "" : program.substr(0, slash);
}

bool standardStreamsAreTerminals() { return isatty(STDIN_FILENO) == 1 && isatty(STDOUT_FILENO) == 1; }

namespace {

// Whether a Unix stream socket at the address (a leading '@' for the
// abstract namespace) takes a connection.
bool socketAccepts(const std::string &address) {
  sockaddr_un where{};
  where.sun_family = AF_UNIX;
  if (address.size() >= sizeof where.sun_path) return false;
  std::memcpy(where.sun_path, address.data(), address.size());
  if (address[0] == '@') where.sun_path[0] = '\0';
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return true;  // cannot tell: leave it to the window library
  const socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + address.size());
  int result;
  do {
    result = connect(fd, reinterpret_cast<const sockaddr *>(&where), length);
  } while (result != 0 && errno == EINTR);
  close(fd);
  return result == 0;
}

}  // namespace

bool displayAcceptsConnections(const std::string &display) {
  std::string rest = display;
  if (rest.compare(0, 5, "unix:") == 0)
    rest.erase(0, 5);
  else if (!rest.empty() && rest[0] == ':')
    rest.erase(0, 1);
  else
    return true;
  const std::string number = rest.substr(0, rest.find('.'));
  if (number.empty() || number.size() > 6 || number.find_first_not_of("0123456789") != std::string::npos) return true;
  const std::string socket_path = "/tmp/.X11-unix/X" + number;
  return socketAccepts("@" + socket_path) || socketAccepts(socket_path);
}

}  // namespace platform
}  // namespace ts
