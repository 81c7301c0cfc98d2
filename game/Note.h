// A falling note in one of the four lanes. It falls one row per step, is
// judged by its row when the matching arrow key hits it, and counts as a
// miss once it has fallen past the hit zone.
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

  std::string getDirection() const { return m_direction; }
  float getFallSpeed() const { return m_speed; }
  bool isHit() const { return m_hit; }

 private:
  void fall();

  float m_speed;  // rows per step
  bool m_hit;
  std::string m_direction;
};

#endif
