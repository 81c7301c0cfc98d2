// One streamed music track with a label, held in the resource manager's
// table. Without an audio device the track plays silently: it still reports
// playing, looping and its offset as it would with sound.
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

class Music {
 public:
  Music();
  ~Music();
  Music(const Music &) = delete;
  Music &operator=(const Music &) = delete;

  void setLabel(std::string label) { m_label = label; }
  std::string getLabel() const { return m_label; }

  // A larger music file is refused: a song's music fits well within it.
  static constexpr int64_t MAX_FILE_BYTES = 64 * 1024 * 1024;

  // Why a file cannot be loaded as music, without decoding any sound; empty
  // when it can. Refused: a missing file, anything but a regular file, more
  // than MAX_FILE_BYTES, and Ogg whose channels or rate the output cannot
  // play.
  static std::string checkFile(const std::string &filename);
  // 0 if the file passed checkFile() and was opened for streaming, else -1.
  // Nothing is logged here. Data after an Ogg stream's last page is never
  // read.
  int loadMusic(std::string filename);
  // Starts the track from its beginning, repeating it when loop is true.
  void play(bool loop = true);
  /// Starts the track `seconds` into it (clamped to the track's length),
  /// repeating it when loop is true: a song list plays a preview this way.
  /// Does nothing for a track that is not loaded; logs nothing but what
  /// play() logs.
  void playFrom(float seconds, bool loop);
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
