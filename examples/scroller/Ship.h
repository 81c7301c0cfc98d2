// The ship: an arrow key sets it flying that way, Space stops it. It flies
// by its velocity, which the world applies every frame, and stops at the
// edge of the world. The view follows it.
#ifndef SCROLLER_SHIP_H
#define SCROLLER_SHIP_H

#include <tessera/input/EventKeyboard.h>
#include <tessera/world/Object.h>

class Ship : public ts::Object {
 public:
  explicit Ship(ts::Vector start);
  int eventHandler(const ts::Event *p_event) override;

 private:
  void handleKey(const ts::EventKeyboard *p_keyboard);
  void step();
};

#endif
