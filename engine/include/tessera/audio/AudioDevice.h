// Whether sound can reach a device on this machine, decided once per process.
#ifndef TS_AUDIO_DEVICE_H
#define TS_AUDIO_DEVICE_H

#include <cstdint>
#include <string>

namespace ts {

class AudioDevice {
 public:
  // Opens and closes the default output device on the first call and answers
  // every later call from that result: the audio backend reads its driver
  // configuration once, at its first use, so the answer cannot change.
  static bool isAvailable();
  // Name of the device found by the probe; empty when there is none.
  static std::string getName();
};

// Stands in for a playing stream when there is no device: tracks the play
// state and the offset on the monotonic clock so that callers see a track
// playing, looping or finished just as they would with sound.
class SilentPlayback {
 public:
  void setDuration(double seconds) { m_duration = seconds; }
  double getDuration() const { return m_duration; }
  void play(bool loop);
  void stop() {
    m_playing = false;
    m_paused = false;
  }
  // Keeps the offset reached; resume() goes on from it.
  void pause();
  void resume();
  bool isPaused() const { return m_paused; }
  void setLoop(bool loop) { m_loop = loop; }
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
