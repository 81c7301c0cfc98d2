// Loads sprites, music and sounds once, owns them for the whole run and hands
// out non-owning pointers by label. Sprites come from text files in a simple
// or a robust format, recognised by the file's first line.
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

const int MAX_SPRITES = 1000;
const int MAX_SOUNDS = 100;
const int MAX_MUSICS = 50;

class ResourceManager : public Manager {
 public:
  static ResourceManager &getInstance();
  ~ResourceManager() override;

  int startUp() override;
  // Deletes every sprite and stops every sound and music.
  void shutDown() override;

  int loadSprite(std::string filename, std::string label);
  Sprite *getSprite(std::string label) const;
  int loadMusic(std::string filename, std::string label);
  Music *getMusic(std::string label);
  int loadSound(std::string filename, std::string label);
  Sound *getSound(std::string label);

  int getSpriteCount() const { return m_sprites.getCount(); }
  int getMusicCount() const { return m_music.getCount(); }
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
