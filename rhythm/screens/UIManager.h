// The heads-up display: score at the top left, combo at the top right, and
// the two lines of '=' that mark the hit zone. The score and combo are the
// score manager's, read whenever the display is drawn.
#ifndef RHYTHM_UI_MANAGER_H
#define RHYTHM_UI_MANAGER_H

#include <cstdint>

#include <tessera/world/ViewObject.h>

class UIManager : public ts::ViewObject {
 public:
  UIManager();
  ~UIManager() override;

  int eventHandler(const ts::Event *p_event) override;
  // Draws the hit zone and passes the score manager's values to the two
  // views; the object's own view text is never drawn.
  int draw() override;

  // Whether draw() draws the hit zone lines (yes unless told otherwise; the
  // fair rules draw them under the notes, with the receptors).
  void setDrawsHitZone(bool draws) { m_draws_hit_zone = draws; }

  ts::ViewObject *getScoreView() const;
  ts::ViewObject *getComboView() const;

 private:
  // A view this object created, with the serial that tells whether it is
  // still alive (the world may have destroyed it first at shut-down).
  struct OwnedView {
    ts::ViewObject *p_view = nullptr;
    uint64_t serial = 0;
  };
  static OwnedView createView(int location, const char *label, int value, ts::Color color);
  static ts::ViewObject *liveView(const OwnedView &view);
  static void release(OwnedView &view);

  OwnedView m_score_view;
  OwnedView m_combo_view;
  bool m_draws_hit_zone = true;
};

#endif
