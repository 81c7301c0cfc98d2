#include "audio/SilentPlayback.h"

#include <cmath>

#include <SFML/Audio/InputSoundFile.hpp>

#include <tessera/system/Clock.h>

namespace ts {

bool SilentPlayback::load(const std::string &filename) {
  *this = SilentPlayback();
  sf::InputSoundFile file;
  if (!file.openFromFile(filename)) return false;
  m_duration = file.getDuration().asSeconds();
  return true;
}

bool SilentPlayback::load(sf::InputStream &stream) {
  *this = SilentPlayback();
  sf::InputSoundFile file;
  if (!file.openFromStream(stream)) return false;
  m_duration = file.getDuration().asSeconds();
  return true;
}

void SilentPlayback::play(bool loop) {
  m_loop = loop;
  m_playing = true;
  m_paused = false;
  m_start_us = monotonicMicroseconds();
}

void SilentPlayback::skipTo(double seconds) {
  if (m_playing) m_start_us = monotonicMicroseconds() - static_cast<int64_t>(seconds * 1e6);
}

void SilentPlayback::pause() {
  if (!isPlaying()) return;
  m_paused_at = elapsed();
  m_playing = false;
  m_paused = true;
}

// The start moves forward by the time spent paused.
void SilentPlayback::resume() {
  if (!m_paused) return;
  m_paused = false;
  m_playing = true;
  m_start_us = monotonicMicroseconds() - static_cast<int64_t>(m_paused_at * 1e6);
}

double SilentPlayback::elapsed() const { return static_cast<double>(monotonicMicroseconds() - m_start_us) / 1e6; }

bool SilentPlayback::isPlaying() const { return m_playing && (m_loop || elapsed() < m_duration); }

double SilentPlayback::getOffset() const {
  if (m_duration <= 0.0) return 0.0;
  if (m_paused) return std::fmod(m_paused_at, m_duration);
  if (!isPlaying()) return 0.0;
  return std::fmod(elapsed(), m_duration);
}

}  // namespace ts
