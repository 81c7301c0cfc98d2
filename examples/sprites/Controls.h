// The keys of the show: Space stops every animation or lets them run on, N
// shows the next frame of every stopped one, Escape ends the show.
#ifndef SPRITES_CONTROLS_H
#define SPRITES_CONTROLS_H

#include <tessera/input/EventKeyboard.h>
#include <tessera/world/Object.h>

class Controls : public ts::Object {
 public:
  Controls();
  int eventHandler(const ts::Event *p_event) override;

 private:
  void toggleRunning() const;
  void stepStopped() const;
};

#endif
