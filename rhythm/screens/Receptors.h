// The hit zone as the fair rules show it, drawn under the falling notes:
// the two lines of '=', and on them a receptor per lane, the outline of the
// lane's arrow in its colour between brackets, where an arrow sits exactly
// when a press is on time. A lane that was hit flashes its arrow in white
// for a moment, and the last judgement is shown at its lane, with how early
// or late the press was, for half a second.
#ifndef RHYTHM_RECEPTORS_H
#define RHYTHM_RECEPTORS_H

#include <optional>
#include <string>

#include <tessera/world/Object.h>

#include "play/Judgement.h"
#include "play/Lane.h"

class Receptors : public ts::Object {
 public:
  static constexpr int JUDGEMENT_MS = 500;
  static constexpr int FLASH_MS = 100;
  // The judgement's row, under the receptors.
  static constexpr int JUDGEMENT_ROW = 22;

  Receptors();

  int eventHandler(const ts::Event *p_event) override;
  int draw() override;
  // Shows a judgement at its lane; offset_ms (negative: early) for a press,
  // nothing for a note that fell past. A hit flashes the lane.
  void show(const Lane &lane, Judgement judgement, std::optional<double> offset_ms);

  // "Perfect! 12 ms early", "Miss!": the judgement shown, empty when cleared.
  const std::string &getText() const { return m_text; }
  // Whether a lane is flashing.
  bool isFlashing(int lane) const { return m_flash_lane == lane && m_flash_steps_left > 0; }

 private:
  static int stepsOf(int milliseconds);
  void drawReceptor(int lane, float centre_x) const;

  std::string m_text;
  Judgement m_judgement = Judgement::MISS;
  int m_lane = -1;
  int m_text_steps_left = 0;
  int m_flash_lane = -1;
  int m_flash_steps_left = 0;
};

#endif
