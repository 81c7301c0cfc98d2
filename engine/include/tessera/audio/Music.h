// One streamed music track with a label, held in the resource manager's
// table. Without an audio device the track plays silently: it still reports
// playing, looping and its offset as it would with sound.
#ifndef TS_MUSIC_H
#define TS_MUSIC_H

#include <memory>
#include <string>

#include <tessera/audio/AudioDevice.h>

namespace sf {
class Music;
}

namespace ts {

class SilentPlayback;

class Music {
 public:
  Music();
  ~Music();
  Music(const Music &) = delete;
  Music &operator=(const Music &) = delete;

  void setLabel(std::string label) { m_label = label; }
  std::string getLabel() const { return m_label; }

  // 0 if the file was opened for streaming, else -1. Nothing is logged here.
  int loadMusic(std::string filename);
  // Starts the track from its beginning, repeating it when loop is true.
  void play(bool loop = true);
  void stop();
  // Holds the track where it is; resume() plays on from there. Both do
  // nothing unless the track is playing, or paused, respectively.
  void pause();
  void resume();
  bool isPaused() const;

  bool isLoaded() const { return m_loaded; }
  bool isPlaying() const;
  bool isLooping() const;
  // Seconds since the start of the track (within the current repetition).
  float getPlayingOffset() const;
  float getDuration() const;

 private:
  // Created only when a device exists: the library opens the device as soon
  // as its first audio object is built, and without one it floods its error
  // stream.
  std::unique_ptr<sf::Music> m_p_music;
  // Plays in their place when there is no device.
  std::unique_ptr<SilentPlayback> m_p_silent;
  bool m_loaded;
  std::string m_label;
};

}  // namespace ts

#endif
