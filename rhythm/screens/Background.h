// One star of the background field: drifts slowly leftwards behind the
// notes and comes back in from the right after it leaves the world.
#ifndef RHYTHM_BACKGROUND_H
#define RHYTHM_BACKGROUND_H

#include <tessera/world/Object.h>

class Background : public ts::Object {
 public:
  Background();

  int eventHandler(const ts::Event *p_event) override;
  int draw() override;

 private:
  // Leftwards at 1/2 to 1/10 of a cell per step, drawn at random.
  void setRandomVelocity();
};

#endif
