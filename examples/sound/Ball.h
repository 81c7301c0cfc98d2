// A ball that flies across the screen. When it has left the screen the world
// manager sends it an out event: it plays its sound and comes back from the
// middle the other way.
#ifndef SOUND_BALL_H
#define SOUND_BALL_H

#include <tessera/audio/Sound.h>
#include <tessera/world/Object.h>

class Ball : public ts::Object {
 public:
  // The sound is the resource manager's; the ball only plays it.
  explicit Ball(ts::Sound *p_sound);
  int eventHandler(const ts::Event *p_event) override;
  int draw() override;

 private:
  ts::Sound *m_p_sound;
};

#endif
