// Which sprite an object shows, its current frame and how long it has shown.
#ifndef TS_ANIMATION_H
#define TS_ANIMATION_H

#include <optional>
#include <sstream>
#include <string>

#include <tessera/core/Box.h>
#include <tessera/graphics/Sprite.h>

namespace ts {

class Animation {
 public:
  Animation();
  void setSprite(Sprite *sprite);
  Sprite *getSprite() const { return m_p_sprite; }
  std::string getName() const { return m_name; }
  void setIndex(int index) { m_index = index; }
  int getIndex() const { return m_index; }
  // -1 freezes the animation on its current frame.
  void setSlowdownCount(int slowdown_count) { m_slowdown_count = slowdown_count; }
  int getSlowdownCount() const { return m_slowdown_count; }
  // Draws the current frame and then advances at the sprite's slowdown.
  /// With a colour, the frame is drawn in it instead of the sprite's own.
  int draw(Vector position, std::optional<Color> color = std::nullopt);
  // The sprite's extent centred on the position, or just under one cell.
  Box getBox() const;
  std::string toString() const;
  int serialize(std::stringstream &stream) const;
  int deserialize(std::stringstream &stream);

 private:
  Sprite *m_p_sprite;
  int m_index;
  int m_slowdown_count;
  std::string m_name;
};

}  // namespace ts

#endif
