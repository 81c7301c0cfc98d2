#include <tessera/audio/Sound.h>

#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>

#include "audio/SilentPlayback.h"
#include "core/MediaLog.h"

namespace ts {

Sound::Sound() : m_p_silent(std::make_unique<SilentPlayback>()), m_loaded(false), m_label("[Undefined]") {}

Sound::~Sound() {
  m_p_sound.reset();
  m_p_buffer.reset();
}

int Sound::loadSound(std::string filename) {
  routeMediaLibraryMessagesToLog();
  stop();
  m_loaded = false;
  if (!AudioDevice::isAvailable()) {
    m_loaded = m_p_silent->load(filename);
    return m_loaded ? 0 : -1;
  }
  // The sound must let go of the buffer before the buffer is refilled.
  m_p_sound.reset();
  if (!m_p_buffer) m_p_buffer = std::make_unique<sf::SoundBuffer>();
  if (!m_p_buffer->loadFromFile(filename)) return -1;
  m_p_sound = std::make_unique<sf::Sound>(*m_p_buffer);
  m_loaded = true;
  return 0;
}

void Sound::play(bool loop) {
  if (!m_loaded) return;
  if (!m_p_sound) {
    m_p_silent->play(loop);
    return;
  }
  m_p_sound->setLoop(loop);
  m_p_sound->play();
}

void Sound::stop() {
  if (m_p_sound) m_p_sound->stop();
  m_p_silent->stop();
}

bool Sound::isPlaying() const {
  if (!m_loaded) return false;
  if (m_p_sound) return m_p_sound->getStatus() == sf::SoundSource::Playing;
  return m_p_silent->isPlaying();
}

}  // namespace ts
