#include <tessera/audio/AudioDevice.h>

#include <dlfcn.h>

#include <SFML/System/Err.hpp>
#include <atomic>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <streambuf>

#include <tessera/core/LogManager.h>
#include <tessera/core/utility.h>

namespace ts {

namespace {

// The few entry points of the audio backend the probe needs. The backend is
// the shared library the audio module itself runs on, so looking them up at
// run time sees the same configuration without a build-time dependency.
using OpenDevice = void *(*)(const char *);
using CloseDevice = char (*)(void *);
using GetString = const char *(*)(void *, int);
const int DEVICE_SPECIFIER = 0x1005;

struct ProbeResult {
  bool available = false;
  std::string name;
};

// True while the probe runs: without a sound card the sound system's
// complaints about each driver it tries are expected and mean nothing.
std::atomic<bool> g_probing(false);

// Receives the messages of the sound system's client library, which would
// otherwise go straight to the standard error stream.
void soundSystemMessage(const char *, int, const char *function, int, const char *format, ...) {
  if (g_probing) return;
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  LogManager::getInstance().writeLog("ALSA: %s: %s", function ? function : "", text);
}

using SoundSystemHandler = void (*)(const char *, int, const char *, int, const char *, ...);
using SetSoundSystemHandler = int (*)(SoundSystemHandler);

// The audio backend loads the sound system's library itself when it tries
// that driver; loading it first (it stays loaded) lets the handler be set on
// the very instance the backend will use.
void routeSoundSystemMessages() {
  void *library = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
  if (!library) return;
  auto set_handler = reinterpret_cast<SetSoundSystemHandler>(dlsym(library, "snd_lib_error_set_handler"));
  if (set_handler) set_handler(soundSystemMessage);
}

ProbeResult probeDevice() {
  ProbeResult result;
  // The backend writes its own error lines to the standard error stream
  // unless told otherwise; it reads this once, at its first use, which is
  // this probe. A level chosen by the user is kept.
  setenv("ALSOFT_LOGLEVEL", "0", 0);
  routeSoundSystemMessages();
  g_probing = true;
  void *library = dlopen("libopenal.so.1", RTLD_NOW | RTLD_LOCAL);
  if (!library) return result;
  auto open_device = reinterpret_cast<OpenDevice>(dlsym(library, "alcOpenDevice"));
  auto close_device = reinterpret_cast<CloseDevice>(dlsym(library, "alcCloseDevice"));
  auto get_string = reinterpret_cast<GetString>(dlsym(library, "alcGetString"));
  if (open_device && close_device) {
    if (void *device = open_device(nullptr)) {
      result.available = true;
      const char *name = get_string ? get_string(device, DEVICE_SPECIFIER) : nullptr;
      result.name = name ? name : "";
      close_device(device);
    }
  }
  g_probing = false;
  // The library stays loaded: the audio module keeps using it anyway.
  return result;
}

const ProbeResult &probe() {
  static const ProbeResult result = probeDevice();
  return result;
}

// Collects the library's characters into lines and writes each complete
// line to the engine log. The library writes from its streaming threads too,
// hence the lock. After MAX_LINES lines the rest is dropped, so a library
// that reports an error per buffer cannot flood the log.
class LogLineBuffer : public std::streambuf {
 public:
  static const int MAX_LINES = 200;
  bool isActive() const { return m_active; }
  void setActive(bool active) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_active = active;
  }

 protected:
  int overflow(int ch) override {
    if (ch == traits_type::eof()) return traits_type::not_eof(ch);
    char c = static_cast<char>(ch);
    xsputn(&c, 1);
    return ch;
  }
  std::streamsize xsputn(const char *text, std::streamsize count) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (std::streamsize i = 0; i < count; ++i) {
      if (text[i] == '\n') {
        flushLine();
      } else if (m_line.size() < 1000) {
        m_line += text[i];
      }
    }
    return count;
  }

 private:
  void flushLine() {
    std::string line;
    line.swap(m_line);
    if (!m_active || m_lines > MAX_LINES) return;
    if (++m_lines > MAX_LINES) {
      LogManager::getInstance().writeLog("SFML: Warning! Too many messages; the rest are not logged.");
      return;
    }
    LogManager::getInstance().writeLog("SFML: %s", line.c_str());
  }

  std::mutex m_mutex;
  std::string m_line;
  bool m_active = false;
  int m_lines = 0;
};

// Never destroyed: the library may still write while static objects die.
LogLineBuffer *g_line_buffer = nullptr;
std::streambuf *g_previous_buffer = nullptr;

// Runs before the log manager is destroyed (it was registered after the log
// manager was built), and hands the error stream back to its own buffer.
void restoreLibraryStream() {
  if (!g_line_buffer) return;
  g_line_buffer->setActive(false);
  sf::err().rdbuf(g_previous_buffer);
}

}  // namespace

bool AudioDevice::isAvailable() { return probe().available; }

std::string AudioDevice::getName() { return probe().name; }

void AudioDevice::routeLibraryMessagesToLog() {
  if (g_line_buffer) return;
  LogManager::getInstance();  // built first, so it outlives the routing
  g_line_buffer = new LogLineBuffer;
  g_line_buffer->setActive(true);
  g_previous_buffer = sf::err().rdbuf(g_line_buffer);
  std::atexit(restoreLibraryStream);
}

void SilentPlayback::play(bool loop) {
  m_loop = loop;
  m_playing = true;
  m_start_us = monotonicMicroseconds();
}

double SilentPlayback::elapsed() const { return static_cast<double>(monotonicMicroseconds() - m_start_us) / 1e6; }

bool SilentPlayback::isPlaying() const { return m_playing && (m_loop || elapsed() < m_duration); }

double SilentPlayback::getOffset() const {
  if (!isPlaying() || m_duration <= 0.0) return 0.0;
  return std::fmod(elapsed(), m_duration);
}

}  // namespace ts
