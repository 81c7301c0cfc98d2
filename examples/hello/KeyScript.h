// Plays keys from a script, one every few frames, through the same delivery
// a key of the real keyboard takes, and ends the game after a number of
// frames. The tests play the example with it.
#ifndef HELLO_KEY_SCRIPT_H
#define HELLO_KEY_SCRIPT_H

#include <string>

#include <tessera/world/Object.h>

class KeyScript : public ts::Object {
 public:
  static const int PRESS_STEPS = 5;  // frames between two keys

  // keys: U and D for the up and down arrows, Q for Escape, anything else waits
  // one turn; steps: frames after which the game ends (-1: never).
  KeyScript(std::string keys, int steps);
  int eventHandler(const ts::Event *p_event) override;

 private:
  void press(char key) const;

  std::string m_keys;
  int m_steps;
  int m_step;
};

#endif
