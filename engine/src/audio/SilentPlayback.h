// Stands in for a playing stream when there is no device: tracks the play
// state and the offset on the monotonic clock so that callers see a track
// playing, looping or finished just as they would with sound. Music and
// Sound both play through one of these when the machine has no device.
#ifndef TS_SILENT_PLAYBACK_H
#define TS_SILENT_PLAYBACK_H

#include <cstdint>
#include <string>

namespace sf {
class InputStream;
}

namespace ts {

class SilentPlayback {
 public:
  // Starts over, stopped, with the length of the file's sound. Only the
  // header is decoded, which needs no device; false (and nothing loaded)
  // when the file is not sound the streaming path would accept.
  bool load(const std::string &filename);
  bool load(sf::InputStream &stream);
  double getDuration() const { return m_duration; }
  void play(bool loop);
  void stop() {
    m_playing = false;
    m_paused = false;
  }
  // Moves a playing track to this many seconds in.
  void skipTo(double seconds);
  // Keeps the offset reached; resume() goes on from it.
  void pause();
  void resume();
  bool isPaused() const { return m_paused; }
  bool getLoop() const { return m_loop; }
  bool isPlaying() const;
  // Seconds into the track (where it was held, while paused); 0 when stopped.
  double getOffset() const;

 private:
  double elapsed() const;

  double m_duration = 0.0;
  bool m_playing = false;
  bool m_loop = false;
  bool m_paused = false;
  double m_paused_at = 0.0;  // seconds played when paused
  int64_t m_start_us = 0;
};

}  // namespace ts

#endif
