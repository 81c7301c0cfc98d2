// Judges arrow-key presses during play: the first note in the hit zone
// whose direction matches the key is hit; while the song is paused no key
// judges a note. Escape ends the game.
#ifndef RHYTHM_KEYBOARD_HANDLER_H
#define RHYTHM_KEYBOARD_HANDLER_H

#include <tessera/world/Object.h>

class KeyboardHandler : public ts::Object {
 public:
  KeyboardHandler();
  int eventHandler(const ts::Event *p_event) override;
};

#endif
