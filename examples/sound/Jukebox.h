// Plays the music: starts the loop, pauses and resumes it on the P key,
// notices each time the loop starts over, and shows where it is.
#ifndef SOUND_JUKEBOX_H
#define SOUND_JUKEBOX_H

#include <tessera/audio/Music.h>
#include <tessera/input/EventKeyboard.h>
#include <tessera/world/Object.h>

class Jukebox : public ts::Object {
 public:
  // The music is the resource manager's; the jukebox only plays it.
  explicit Jukebox(ts::Music *p_music);
  int eventHandler(const ts::Event *p_event) override;
  int draw() override;

 private:
  static const int BAR_CELLS = 40;

  void noticeLoop();
  void togglePause();

  ts::Music *m_p_music;
  float m_last_offset;  // where the music was at the last step
  int m_loops;          // times it has started over
};

#endif
