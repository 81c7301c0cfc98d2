// The four lanes notes fall in, left to right: each has its direction name
// (as charts write it), the arrow key that hits its notes, the sprite its
// notes show and where its column lies. Chart reading, the spawner, the
// keyboard handler and the demo player all take their lanes from here.
#ifndef RHYTHM_LANE_H
#define RHYTHM_LANE_H

#include <string>

#include <tessera/input/EventKeyboard.h>

struct Lane {
  const char *direction;
  ts::Keyboard::Key key;
  const char *sprite;
  float centre_quarters;  // the column's middle, in quarters of the world's width

  static constexpr int COUNT = 4;
  // The lane of a direction or of a key, or null for any other.
  static const Lane *ofDirection(const std::string &direction);
  // The lane a key hits: its own arrow key, or, after useKeys(), the key
  // given for it.
  static const Lane *ofKey(ts::Keyboard::Key key);
  // The keys that hit the lanes from now on, left to right (the player's
  // choice); the arrows until then.
  static void useKeys(const ts::Keyboard::Key (&keys)[COUNT]);
};

extern const Lane LANES[Lane::COUNT];

#endif
