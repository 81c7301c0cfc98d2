/// @file
/// AudioDevice: whether sound can reach a device on this machine.
#ifndef TS_AUDIO_DEVICE_H
#define TS_AUDIO_DEVICE_H

#include <string>

namespace ts {

/// Whether sound can reach a device on this machine, decided once per process.
class AudioDevice {
 public:
  /// Opens and closes the default output device on the first call and answers
  /// every later call from that result: the audio backend reads its driver
  /// configuration once, at its first use, so the answer cannot change.
  static bool isAvailable();
  /// Name of the device found by the probe; empty when there is none.
  static std::string getName();
};

}  // namespace ts

#endif
