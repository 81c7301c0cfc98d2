// A falling note in one of the four lanes. It falls one row per step of the
// note clock, which keeps to the music, and counts as a miss once it has
// fallen past the hit zone. A press of its arrow key judges it: by its row
// under the classic rules (hit()), by the press's time under the fair ones
// (judge()).
//
// A hold is a note with a length in steps: judged at its head like any
// note, it is then held to its tail, which is a second judgement. Its head
// stays on the receptor while its column runs down into it; letting go
// before the tail's beat (less the Good window) makes the tail a miss,
// holding on to the end a "Perfect!". A head that misses takes its tail
// with it: two misses.
#ifndef RHYTHM_NOTE_H
#define RHYTHM_NOTE_H

#include <cstdint>
#include <string>

#include <tessera/world/Object.h>

#include "play/HitZone.h"
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
  // Falls the given number of steps at once; a miss once past the hit zone
  // (past it by the same time at any speed). shown_lag_steps: how far the
  // notes are placed ahead of the picture on screen; the note is missed only
  // once the picture shows it past the hit zone, so that a press the player
  // makes on what they see can still take it.
  void fall(int steps, double shown_lag_steps = 0.0);
  // A hold's key let go: offset_ms is the release's offset from the tail's
  // beat (negative: early). Does nothing unless the hold is being held.
  void release(double offset_ms);
  // A hold being held: its tail ends it once the note clock is there.
  void holdTo(double clock_position);

  std::string getDirection() const { return m_direction; }
  float getFallSpeed() const { return m_speed; }
  // Judged at its head (a hold may still be held).
  bool isHit() const { return m_hit; }
  bool isHolding() const { return m_holding; }
  // A hold's length in steps; 0 for a plain note.
  void setHoldSteps(int32_t steps) { m_hold_steps = steps; }
  int32_t getHoldSteps() const { return m_hold_steps; }
  double getTailStep() const { return getBeatStep() + m_hold_steps; }
  // The note clock's step at which the note was made; it is on its beat
  // hit_zone::PERFECT_MIDDLE steps later.
  void setChartStep(int32_t step) { m_beat_step = step + hit_zone::PERFECT_MIDDLE; }
  // The note clock's step at which it is on its beat.
  void setBeatStep(double step) { m_beat_step = step; }
  double getBeatStep() const { return m_beat_step; }

 private:
  void credit(Judgement judgement) const;
  void endHold(Judgement tail);
  void missed();
  void afterHead(Judgement head);
  void drawColumn() const;

  float m_speed;  // rows per step
  bool m_hit;
  std::string m_direction;
  double m_beat_step = hit_zone::PERFECT_MIDDLE;
  int32_t m_hold_steps = 0;
  bool m_holding = false;
  double m_clock_position = 0;  // the note clock's, as of the last step, while held
};

#endif
