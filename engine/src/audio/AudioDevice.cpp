#include <tessera/audio/AudioDevice.h>

#include <tessera/core/LogManager.h>

#include "platform/AudioProbe.h"

namespace ts {

namespace {

void soundSystemMessage(const char *function, const char *text) {
  LogManager::getInstance().writeLog("ALSA: %s: %s", function, text);
}

const platform::AudioOutput &probe() {
  static const platform::AudioOutput result = platform::probeAudioOutput(soundSystemMessage);
  return result;
}

}  // namespace

bool AudioDevice::isAvailable() { return probe().available; }

std::string AudioDevice::getName() { return probe().name; }

}  // namespace ts
