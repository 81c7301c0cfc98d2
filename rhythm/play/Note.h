// A falling note in one of the four lanes. It falls one row per step of the
// note clock, which keeps to the music, and counts as a miss once it has
// fallen past the hit zone. A press of its arrow key judges it: by its row
// under the classic rules (hit()), by the press's time under the fair ones
// (judge()).
#ifndef RHYTHM_NOTE_H
#define RHYTHM_NOTE_H

#include <cstdint>
#include <string>

#include <tessera/world/Object.h>

#include "play/Judgement.h"

class Note : public ts::Object {
 public:
  Note(std::string direction, float speed, ts::Vector position);
  ~Note() override;

  int eventHandler(const ts::Event *p_event) override;
  int draw() override;
  // Grades the note by its row, credits the score and removes the note.
  void hit();
  // Grades the note by a press's offset from its beat in milliseconds
  // (negative: early; see TimingWindow), credits the score, shows the
  // judgement at the lane and removes the note.
  void judge(double offset_ms);
  // Falls the given number of steps at once; a miss once past the hit zone.
  void fall(int steps);

  std::string getDirection() const { return m_direction; }
  float getFallSpeed() const { return m_speed; }
  bool isHit() const { return m_hit; }
  // The note clock's step at which the note was made; it is on its beat
  // hit_zone::PERFECT_MIDDLE steps later.
  void setChartStep(int32_t step) { m_chart_step = step; }
  double getBeatStep() const;

 private:
  void credit(Judgement judgement) const;

  float m_speed;  // rows per step
  bool m_hit;
  std::string m_direction;
  int32_t m_chart_step = 0;
};

#endif
