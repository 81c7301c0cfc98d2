// The engine's only door to the operating system (Linux/POSIX): clocks,
// sleeping, the working directory, file checks, sockets and the audio-device
// probe. Nothing outside this folder includes a system header; porting the
// engine means rewriting this folder.
#ifndef TS_PLATFORM_H
#define TS_PLATFORM_H

#include <cstdint>
#include <string>

namespace ts {
namespace platform {

// Microseconds on a clock that never jumps (not the wall clock).
int64_t monotonicMicroseconds();
// Sleeps until the monotonic clock reaches the deadline (microseconds);
// an interrupted sleep goes on, a past deadline returns at once, and a
// caught stop signal (Signals.h) ends the sleep early.
void sleepUntilMicroseconds(int64_t deadline);
// Asks the kernel to wake sleepers close to their deadline (timer slack of
// one nanosecond); the frame sleep depends on it.
void requestPreciseTimers();

struct LocalTime {
  int hour;
  int minute;
  int second;
};
// The local wall-clock time of day; false when the clock cannot be read.
bool localTimeOfDay(LocalTime &time);

// The working directory, or an empty string when it cannot be read.
std::string workingDirectory();
// Whether path names an existing regular file (not a folder or device); its
// size in bytes goes to size when asked for.
bool isRegularFile(const std::string &path, long long *size = nullptr);

// Sets (replaces) a variable of the process environment; false on failure.
bool setEnvironmentVariable(const std::string &name, const std::string &value);

// The system's text for an error number (strerror).
std::string errorText(int code);

// The folder of the running program (from /proc/self/exe); empty if unknown.
std::string executableFolder();

// Whether standard input and standard output are both terminals.
bool standardStreamsAreTerminals();

// Whether the X display named (the form of DISPLAY) accepts a connection.
// Only local displays (":N", ":N.S", "unix:N") are tried, on their socket;
// for any other form the answer is true and the window library decides.
bool displayAcceptsConnections(const std::string &display);

}  // namespace platform
}  // namespace ts

#endif
