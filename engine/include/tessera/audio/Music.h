/// @file
/// Music, one streamed music track.
#ifndef TS_MUSIC_H
#define TS_MUSIC_H

#include <cstdint>
#include <memory>
#include <string>

#include <tessera/audio/AudioDevice.h>

namespace sf {
class Music;
}

namespace ts {

class FileStream;
class SilentPlayback;

/// One streamed music track with a label, held (and owned) by the resource
/// manager's table; games get a non-owning pointer from
/// ResourceManager::getMusic(). Without an audio device the track plays
/// silently: it still reports playing, looping and its offset as it would
/// with sound.
class Music {
 public:
  /// No track loaded.
  Music();
  /// Stops the track and closes its file.
  ~Music();
  Music(const Music &) = delete;
  Music &operator=(const Music &) = delete;

  /// Sets the name the resource manager finds it by.
  void setLabel(std::string label) { m_label = label; }
  /// The name; empty unless set.
  std::string getLabel() const { return m_label; }

  /// A larger music file is refused: a song's music fits well within it.
  static constexpr int64_t MAX_FILE_BYTES = 64 * 1024 * 1024;

  /// Why a file cannot be loaded as music, without decoding any sound; empty
  /// when it can. Refused: a missing file, anything but a regular file, more
  /// than MAX_FILE_BYTES, and Ogg whose channels or rate the output cannot
  /// play.
  static std::string checkFile(const std::string &filename);
  /// 0 if the file passed the same checks and was opened for streaming, else
  /// -1. Nothing is logged here (the resource manager logs the failure). Data
  /// after an Ogg stream's last page is never read.
  int loadMusic(std::string filename);
  /// Starts the track from its beginning, repeating it when loop is true;
  /// nothing when no track is loaded. Logged at level 5.
  void play(bool loop = true);
  /// Starts the track `seconds` into it (clamped to the track's length),
  /// repeating it when loop is true: a song list plays a preview this way.
  /// Does nothing for a track that is not loaded; logs nothing but what
  /// play() logs.
  void playFrom(float seconds, bool loop);
  /// Stops the track and rewinds it; nothing when none is loaded. Logged at level 5.
  void stop();
  /// Holds the track where it is; resume() plays on from there. Both do
  /// nothing unless the track is playing, or paused, respectively.
  void pause();
  /// Plays a paused track on from where it was held.
  void resume();
  /// Whether the track is paused.
  bool isPaused() const;

  /// Whether a file was loaded.
  bool isLoaded() const { return m_loaded; }
  /// Whether the track is playing (also silently, without a device).
  bool isPlaying() const;
  /// Whether the track repeats; false when none is loaded.
  bool isLooping() const;
  /// Seconds since the start of the track (within the current repetition); 0
  /// when none is loaded.
  float getPlayingOffset() const;
  /// Length of the track in seconds; 0 when none is loaded.
  float getDuration() const;

 private:
  // The open file the track streams from; outlives the streams reading it.
  std::unique_ptr<FileStream> m_p_stream;
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
