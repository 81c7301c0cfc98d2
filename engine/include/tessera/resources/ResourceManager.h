/// @file
/// ResourceManager and its limits.
#ifndef TS_RESOURCE_MANAGER_H
#define TS_RESOURCE_MANAGER_H

#include <deque>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <tessera/audio/Music.h>
#include <tessera/audio/Sound.h>
#include <tessera/core/Manager.h>
#include <tessera/graphics/Frame.h>
#include <tessera/graphics/Sprite.h>
#include <tessera/resources/LabelTable.h>

namespace ts {

/// The most sprites the resource manager holds.
const int MAX_SPRITES = 1000;
/// The most sounds the resource manager holds.
const int MAX_SOUNDS = 100;
/// The most music tracks the resource manager holds.
const int MAX_MUSICS = 50;

/// Loads sprites, music and sounds once, owns them for the whole run and hands
/// out non-owning pointers by label. Sprites come from text files in a simple
/// or a robust format, recognised by the file's first line ("<HEADER>" for the
/// robust one, a frame count for the simple one). Log lines name it "RM".
class ResourceManager : public Manager {
 public:
  /// The one resource manager.
  static ResourceManager &getInstance();
  /// Destroys every resource still held.
  ~ResourceManager() override;

  /// Probes the audio device (a warning when there is none: music and sound
  /// then play silently); 0, or -1 when already started (logged).
  int startUp() override;
  /// Deletes every sprite and stops every sound and music (which stay loaded
  /// until the manager is destroyed at exit).
  void shutDown() override;

  /// Reads a sprite file (a regular file only) and keeps the sprite under
  /// label; 0 on success. -1 with log lines when the manager is not started,
  /// MAX_SPRITES are held, the file cannot be opened, its format is unknown or
  /// its contents are wrong (naming the line and the fault), ending
  /// "RM::loadSprite(): Sprite '<label>' NOT loaded." for a file that was read.
  int loadSprite(std::string filename, std::string label);
  /// The first sprite with the label (owned by the resource manager; valid
  /// until shutDown()), or null after a warning in the log.
  Sprite *getSprite(std::string label) const;
  /// Opens a music file for streaming and keeps it under label; 0, or -1
  /// with a log line when not started, MAX_MUSICS are held, the label is empty
  /// or the file is refused ("RM::loadmusic(): Error! Cannot load music from
  /// file '\<filename\>'.").
  int loadMusic(std::string filename, std::string label);
  /// The first music with the label (owned by the resource manager), or null
  /// after a warning in the log.
  Music *getMusic(std::string label);
  /// Reads a sound file into memory and keeps it under label; 0, or -1 with a
  /// log line as loadMusic() ("RM::loadSound(): Error! Cannot load sound
  /// from file '\<filename\>'.").
  int loadSound(std::string filename, std::string label);
  /// The first sound with the label (owned by the resource manager), or null
  /// after a warning in the log.
  Sound *getSound(std::string label);

  /// Sprites held.
  int getSpriteCount() const { return m_sprites.getCount(); }
  /// Music tracks held.
  int getMusicCount() const { return m_music.getCount(); }
  /// Sounds held.
  int getSoundCount() const { return m_sounds.getCount(); }

 private:
  ResourceManager();
  // False after a log line when the manager has not been started.
  bool checkStarted() const;
  // Loads a music or sound file into its table under the label, with the
  // table's limit and log lines. failure_origin names the function in the
  // line that reports a file the loader refused.
  template <typename Resource>
  int loadAudio(LabelTable<Resource> &table, int (Resource::*load)(std::string), const std::string &filename,
                const std::string &label, const char *failure_origin);
  std::unique_ptr<Sprite> loadSimpleSprite(std::ifstream &file);
  std::unique_ptr<Sprite> loadRobustSprite(std::ifstream &file, const std::string &filename);
  std::unique_ptr<Sprite> readSimpleFrames(std::ifstream &file, int frames, int width, int height, int slowdown,
                                           Color color);
  // Both write their messages and return false on failure.
  bool readRobustFrames(std::deque<std::string> &body, int frames, int width, int height, int header_end,
                        Sprite *sprite) const;
  bool readRobustFooter(std::ifstream &file) const;
  void logSpriteFrames(const Sprite *sprite) const;

  LabelTable<Sprite> m_sprites;
  LabelTable<Music> m_music;
  LabelTable<Sound> m_sounds;
  // Size of the sprite file being read: no header may make the loaders
  // reserve room for more than the file can hold.
  long long m_file_size;
};

}  // namespace ts

#endif
