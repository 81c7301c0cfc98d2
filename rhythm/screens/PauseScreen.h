// P during a song holds it: the music pauses, the note clock and the notes
// stop, and "Paused" shows in the middle of the screen until P plays on.
#ifndef RHYTHM_PAUSE_SCREEN_H
#define RHYTHM_PAUSE_SCREEN_H

#include <tessera/world/Object.h>

class NoteSpawner;

class PauseScreen : public ts::Object {
 public:
  PauseScreen();

  int eventHandler(const ts::Event *p_event) override;
  // The word "Paused" and how to go on, only while paused.
  int draw() override;
  bool isShowing() const;

 private:
  static NoteSpawner *spawner();
};

#endif
