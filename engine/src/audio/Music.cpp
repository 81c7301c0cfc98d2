#include <tessera/audio/Music.h>

#include <algorithm>

#include <SFML/Audio/Music.hpp>

#include <tessera/core/LogManager.h>

#include "audio/FileStream.h"
#include "audio/SilentPlayback.h"
#include "core/MediaLog.h"

namespace ts {

Music::Music() : m_p_silent(std::make_unique<SilentPlayback>()), m_loaded(false), m_label("[Undefined]") {}

Music::~Music() = default;

std::string Music::checkFile(const std::string &filename) {
  FileStream stream;
  std::string problem;
  stream.open(filename, MAX_FILE_BYTES, problem);
  return problem;
}

int Music::loadMusic(std::string filename) {
  routeMediaLibraryMessagesToLog();
  m_loaded = false;
  auto p_stream = std::make_unique<FileStream>();
  std::string problem;
  if (!p_stream->open(filename, MAX_FILE_BYTES, problem)) return -1;
  if (!AudioDevice::isAvailable()) {
    m_loaded = m_p_silent->load(*p_stream);
  } else {
    if (!m_p_music) m_p_music = std::make_unique<sf::Music>();
    m_loaded = m_p_music->openFromStream(*p_stream);
  }
  // A failed open leaves the library holding no stream either.
  m_p_stream = std::move(p_stream);
  return m_loaded ? 0 : -1;
}

void Music::play(bool loop) {
  LogManager::getInstance().writeLog(LOG_MANAGER, "Music::play(): Playing music.");
  if (!m_loaded) return;
  if (!m_p_music) {
    m_p_silent->play(loop);
    return;
  }
  // Looping is set before playback starts: the streaming thread may reach
  // the end of a short track before a later setting takes effect, and the
  // track would then play only once.
  m_p_music->setLoop(loop);
  // A paused stream would go on from where it was held.
  if (m_p_music->getStatus() == sf::SoundSource::Paused) m_p_music->stop();
  m_p_music->play();
}

void Music::playFrom(float seconds, bool loop) {
  play(loop);
  if (!m_loaded) return;
  const float from = std::clamp(seconds, 0.0f, std::max(0.0f, getDuration()));
  if (m_p_music)
    m_p_music->setPlayingOffset(sf::seconds(from));
  else
    m_p_silent->skipTo(from);
}

void Music::stop() {
  LogManager::getInstance().writeLog(LOG_MANAGER, "Music::stop(): Stopping music.");
  if (!m_loaded) return;
  if (m_p_music) {
    m_p_music->stop();
  } else {
    m_p_silent->stop();
  }
}

void Music::pause() {
  LogManager::getInstance().writeLog(LOG_MANAGER, "Music::pause(): Pausing music.");
  if (!isPlaying()) return;
  if (m_p_music) {
    m_p_music->pause();
  } else {
    m_p_silent->pause();
  }
}

void Music::resume() {
  LogManager::getInstance().writeLog(LOG_MANAGER, "Music::resume(): Resuming music.");
  if (!isPaused()) return;
  // Playing a paused stream goes on from where it was held.
  if (m_p_music) {
    m_p_music->play();
  } else {
    m_p_silent->resume();
  }
}

bool Music::isPaused() const {
  if (!m_loaded) return false;
  if (m_p_music) return m_p_music->getStatus() == sf::SoundSource::Paused;
  return m_p_silent->isPaused();
}

bool Music::isPlaying() const {
  if (!m_loaded) return false;
  if (m_p_music) return m_p_music->getStatus() == sf::SoundSource::Playing;
  return m_p_silent->isPlaying();
}

bool Music::isLooping() const {
  if (!m_loaded) return false;
  return m_p_music ? m_p_music->getLoop() : m_p_silent->getLoop();
}

float Music::getPlayingOffset() const {
  if (!m_loaded) return 0.0f;
  if (m_p_music) return m_p_music->getPlayingOffset().asSeconds();
  return static_cast<float>(m_p_silent->getOffset());
}

float Music::getDuration() const {
  if (!m_loaded) return 0.0f;
  if (m_p_music) return m_p_music->getDuration().asSeconds();
  return static_cast<float>(m_p_silent->getDuration());
}

}  // namespace ts
