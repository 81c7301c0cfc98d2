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

namespace {
ts::Keyboard::Key s_keys[Lane::COUNT] = {ts::Keyboard::LEFTARROW, ts::Keyboard::UPARROW, ts::Keyboard::DOWNARROW,
                                         ts::Keyboard::RIGHTARROW};
}

const Lane *Lane::ofKey(ts::Keyboard::Key key) {
  for (int i = 0; i < COUNT; ++i)
    if (key == s_keys[i]) return &LANES[i];
  return nullptr;
}

void Lane::useKeys(const ts::Keyboard::Key (&keys)[COUNT]) {
  for (int i = 0; i < COUNT; ++i) s_keys[i] = keys[i];
}
