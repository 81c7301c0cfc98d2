// A falling note in one of the four lanes. It falls one row per step of the
// note clock (one per frame, more while the clock catches up with the
// music), is judged by its row when the matching arrow key hits it, and
// counts as a miss once it has fallen past the hit zone.
#ifndef RHYTHM_NOTE_H
#define RHYTHM_NOTE_H

#include <string>

#include <tessera/world/Object.h>

class Note : public ts::Object {
 public:
  Note(std::string direction, float speed, ts::Vector position);
  ~Note() override;

  int eventHandler(const ts::Event *p_event) override;
  int draw() override;
  // Grades the note by its row, credits the score and removes the note.
  void hit();
  // Falls the given number of steps at once; a miss once past the hit zone.
  void fall(int steps);

  std::string getDirection() const { return m_direction; }
  float getFallSpeed() const { return m_speed; }
  bool isHit() const { return m_hit; }

 private:
  float m_speed;  // rows per step
  bool m_hit;
  std::string m_direction;
};

#endif
