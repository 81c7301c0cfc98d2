#include <tessera/audio/Sound.h>

#include <SFML/Audio/InputSoundFile.hpp>
#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>

#include "core/MediaLog.h"

namespace ts {

Sound::Sound() : m_loaded(false), m_label("[Undefined]") {}

Sound::~Sound() {
  m_p_sound.reset();
  m_p_buffer.reset();
}

int Sound::loadSound(std::string filename) {
  routeMediaLibraryMessagesToLog();
  stop();
  m_loaded = false;
  m_silent = SilentPlayback();
  if (!AudioDevice::isAvailable()) {
    sf::InputSoundFile file;
    if (!file.openFromFile(filename)) return -1;
    m_silent.setDuration(file.getDuration().asSeconds());
    m_loaded = true;
    return 0;
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
    m_silent.play(loop);
    return;
  }
  m_p_sound->setLoop(loop);
  m_p_sound->play();
}

void Sound::stop() {
  if (m_p_sound) m_p_sound->stop();
  m_silent.stop();
}

bool Sound::isPlaying() const {
  if (!m_loaded) return false;
  if (m_p_sound) return m_p_sound->getStatus() == sf::SoundSource::Playing;
  return m_silent.isPlaying();
}

}  // namespace ts
