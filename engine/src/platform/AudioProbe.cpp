#include "platform/AudioProbe.h"

#include <alc.h>
#include <alsa/asoundlib.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace ts {
namespace platform {

namespace {

std::atomic<bool> g_probing(false);
std::atomic<SoundSystemSink> g_sink(nullptr);

void soundSystemMessage(const char *, int, const char *function, int, const char *format, ...) {
  SoundSystemSink sink = g_sink;
  if (g_probing || !sink) return;
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  sink(function ? function : "", text);
}

}  // namespace

AudioOutput probeAudioOutput(SoundSystemSink sink) {
  // The backend reads its log level once, at its first use, which is this probe.
  setenv("ALSOFT_LOGLEVEL", "0", 0);
  g_sink = sink;
  snd_lib_error_set_handler(soundSystemMessage);
  AudioOutput result;
  g_probing = true;
  if (ALCdevice *device = alcOpenDevice(nullptr)) {
    result.available = true;
    const ALCchar *name = alcGetString(device, ALC_DEVICE_SPECIFIER);
    result.name = name ? name : "";
    alcCloseDevice(device);
  }
  g_probing = false;
  return result;
}

}  // namespace platform
}  // namespace ts
