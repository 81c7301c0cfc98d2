#include "play/Lane.h"

const Lane LANES[Lane::COUNT] = {{"left", ts::Keyboard::LEFTARROW, "note_left", 0.5f},
                                 {"up", ts::Keyboard::UPARROW, "note_up", 1.5f},
                                 {"down", ts::Keyboard::DOWNARROW, "note_down", 2.5f},
                                 {"right", ts::Keyboard::RIGHTARROW, "note_right", 3.5f}};

const Lane *Lane::ofDirection(const std::string &direction) {
  for (const Lane &lane : LANES)
    if (direction == lane.direction) return &lane;
  return nullptr;
}

const Lane *Lane::ofKey(ts::Keyboard::Key key) {
  for (const Lane &lane : LANES)
    if (key == lane.key) return &lane;
  return nullptr;
}
