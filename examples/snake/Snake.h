// The snake: its head moves one whole cell at a time, every few frames, and
// the body follows cell by cell. The arrow keys turn it; food makes it
// longer and faster; running into itself or off the world ends the game.
#ifndef SNAKE_SNAKE_H
#define SNAKE_SNAKE_H

#include <deque>

#include <tessera/input/EventKeyboard.h>
#include <tessera/system/Random.h>
#include <tessera/world/Object.h>

class Snake : public ts::Object {
 public:
  static constexpr int FIRST_DELAY = 6;    // frames per cell at the start
  static constexpr int FASTEST_DELAY = 2;  // frames per cell at the most

  explicit Snake(ts::Vector start);
  int eventHandler(const ts::Event *p_event) override;
  ts::Vector getHeading() const { return m_heading; }
  int getLength() const { return static_cast<int>(m_body.size()) + 1; }

 private:
  void turn(const ts::EventKeyboard *p_keyboard);
  void advance();
  void eat(ts::Object *p_food);
  void crash(const char *what);
  void placeFood(ts::Vector entering);

  ts::Vector m_heading;  // one cell: (1,0), (-1,0), (0,1) or (0,-1)
  ts::Vector m_turn;     // the heading to take at the next move
  // Segments from the neck to the tail. The snake makes them and nothing
  // else destroys them before the end, so keeping pointers is safe here.
  std::deque<ts::Object *> m_body;
  int m_delay;  // frames per cell
  int m_grow;   // segments still to add
  bool m_crashed;
  ts::Random m_random;  // where the food goes
};

#endif
