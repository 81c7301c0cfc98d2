// One sprite on show, its caption under it. Its animation can be stopped,
// restarted and stepped by hand, one frame at a time.
#ifndef SPRITES_EXHIBIT_H
#define SPRITES_EXHIBIT_H

#include <string>

#include <tessera/world/Object.h>

class Exhibit : public ts::Object {
 public:
  Exhibit(const std::string &sprite_label, ts::Vector position, const std::string &caption);
  int draw() override;

  bool isRunning() const;
  // Stops the animation on the frame it shows, or lets it run on from there.
  void setRunning(bool running);
  // Shows the next frame (after the last, the first again).
  void stepFrame();
  // The sprite, its slowdown and the frame on show, for the log.
  std::string describe() const;

 private:
  std::string m_caption;
};

#endif
