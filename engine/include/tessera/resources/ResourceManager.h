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

  int getSpriteCount() const { return static_cast<int>(m_sprites.size()); }
  int getMusicCount() const { return m_music_count; }
  int getSoundCount() const { return m_sound_count; }

 private:
  ResourceManager();
  std::unique_ptr<Sprite> loadSimpleSprite(std::ifstream &file);
  std::unique_ptr<Sprite> loadRobustSprite(std::ifstream &file);
  std::unique_ptr<Sprite> readSimpleFrames(std::ifstream &file, int frames, int width, int height, int slowdown,
                                           Color color);
  // Both write their messages and return false on failure.
  bool readRobustFrames(std::deque<std::string> &body, int frames, int width, int height, int header_end,
                        Sprite *sprite) const;
  bool readRobustFooter(std::ifstream &file) const;
  void logSpriteFrames(const Sprite *sprite) const;

  std::vector<std::unique_ptr<Sprite>> m_sprites;  // at most MAX_SPRITES
  Sound m_sound[MAX_SOUNDS];
  int m_sound_count;
  Music m_music[MAX_MUSICS];
  int m_music_count;
  // Size of the sprite file being read: no header may make the loaders
  // reserve room for more than the file can hold.
  long long m_file_size;
};

}  // namespace ts

#endif
