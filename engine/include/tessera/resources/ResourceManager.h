// Loads sprites, music and sounds once, owns them for the whole run and hands
// out non-owning pointers by label. Sprites come from text files in a simple
// or a robust format, recognised by the file's first line.
#ifndef TS_RESOURCE_MANAGER_H
#define TS_RESOURCE_MANAGER_H

#include <deque>
#include <fstream>
#include <string>

#include <tessera/audio/Music.h>
#include <tessera/audio/Sound.h>
#include <tessera/core/Manager.h>
#include <tessera/graphics/Frame.h>
#include <tessera/graphics/Sprite.h>

namespace ts {

const int MAX_SPRITES = 1000;
const int MAX_SOUNDS = 100;
const int MAX_MUSICS = 50;

// Line reading and parsing shared by the sprite loaders. They count file
// lines in one counter that loadSprite() resets; messages quote it.

// Lines of one section; frames are taken from the front.
using Lines = std::deque<std::string>;

// The next line without its line end (and without a carriage return before
// it), or an empty string with an error line at the end of the file.
std::string getLine(std::ifstream &file, bool count);
// The lines between "<tag>" and "</tag>"; empty (after an error line) when
// the tags are missing or an empty line comes first.
Lines readData(std::ifstream &file, std::string tag);
// The value of the last line beginning with key (removing every such line),
// or -1 / an empty string when no line matches.
int matchLineInt(Lines &lines, const char *key);
std::string matchLineStr(Lines &lines, const char *key);
// One frame of height rows of width characters and its "end" line, taken
// from the front of lines; line_number is that of the line before the frame.
Frame readFrame(Lines &lines, int width, int height, int line_number);

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

  int getSpriteCount() const { return m_sprite_count; }
  int getMusicCount() const { return m_music_count; }
  int getSoundCount() const { return m_sound_count; }

 private:
  ResourceManager();
  Sprite *loadSimpleSprite(std::ifstream &file);
  Sprite *loadRobustSprite(std::ifstream &file);
  Sprite *readSimpleFrames(std::ifstream &file, int frames, int width, int height, int slowdown, Color color);
  // Both write their messages and return false on failure.
  bool readRobustFrames(Lines &body, int frames, int width, int height, int header_end, Sprite *sprite) const;
  bool readRobustFooter(std::ifstream &file) const;
  void logSpriteFrames(const Sprite *sprite) const;

  Sprite *m_p_sprite[MAX_SPRITES];
  int m_sprite_count;
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
