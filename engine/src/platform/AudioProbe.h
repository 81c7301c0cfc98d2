// Whether the audio backend can open an output device on this machine. The
// backend (OpenAL) is linked by name; it is the library the media library's
// audio module runs on, so the probe sees the same drivers and settings.
#ifndef TS_PLATFORM_AUDIO_PROBE_H
#define TS_PLATFORM_AUDIO_PROBE_H

#include <string>

namespace ts {
namespace platform {

struct AudioOutput {
  bool available = false;
  std::string name;  // of the default device; empty when there is none
};

// Receives a message of the sound system's client library: the function
// that reports it and the formatted text.
using SoundSystemSink = void (*)(const char *function, const char *text);

// Opens and closes the default output device. Messages the sound system
// writes meanwhile are expected (each driver tried without a sound card
// complains) and dropped; later ones go to sink instead of the standard
// error stream. Sets the backend's own log level to quiet unless the user
// chose one.
AudioOutput probeAudioOutput(SoundSystemSink sink);

}  // namespace platform
}  // namespace ts

#endif
