/// @file
/// Sound, one short sound effect held in memory.
#ifndef TS_SOUND_H
#define TS_SOUND_H

#include <memory>
#include <string>

#include <tessera/audio/AudioDevice.h>

namespace sf {
class Sound;
class SoundBuffer;
}  // namespace sf

namespace ts {

class SilentPlayback;

/// One short sound effect held in memory, with a label, in (and owned by)
/// the resource manager's table; games get a non-owning pointer from
/// ResourceManager::getSound(). Without an audio device it plays silently,
/// like Music.
class Sound {
 public:
  /// No sound loaded.
  Sound();
  /// Destroys the playing sound before the buffer it plays from.
  ~Sound();
  Sound(const Sound &) = delete;
  Sound &operator=(const Sound &) = delete;

  /// Sets the name the resource manager finds it by.
  void setLabel(std::string label) { m_label = label; }
  /// The name; empty unless set.
  std::string getLabel() const { return m_label; }

  /// Reads the whole file into memory: 0 on success, else -1. Nothing logged.
  int loadSound(std::string filename);
  /// Plays the sound from its start, repeating it when loop is true; nothing
  /// when none is loaded.
  void play(bool loop = false);
  /// Stops the sound if there is one; otherwise does nothing.
  void stop();
  /// Whether the sound is playing (also silently, without a device).
  bool isPlaying() const;

 private:
  // Both created only when a device exists (see Music).
  std::unique_ptr<sf::SoundBuffer> m_p_buffer;
  std::unique_ptr<sf::Sound> m_p_sound;
  // Plays in their place when there is no device.
  std::unique_ptr<SilentPlayback> m_p_silent;
  bool m_loaded;
  std::string m_label;
};

}  // namespace ts

#endif
