// The ship: crosses the screen from left to right by itself, half a cell
// every frame, and starts again at the left edge; the up and down arrows
// change its row, Escape ends the game.
#ifndef HELLO_SHIP_H
#define HELLO_SHIP_H

#include <tessera/input/EventKeyboard.h>
#include <tessera/world/Object.h>

class Ship : public ts::Object {
 public:
  static constexpr float CELLS_PER_STEP = 0.5f;

  Ship();
  int eventHandler(const ts::Event *p_event) override;
  int getLaps() const { return m_laps; }

 private:
  void step();
  void handleKey(const ts::EventKeyboard *p_keyboard);
  void changeRow(int rows);

  int m_laps;  // how often it has crossed the whole screen
};

#endif
