/// @file
/// Animation, which frame of which sprite an object shows.
#ifndef TS_ANIMATION_H
#define TS_ANIMATION_H

#include <optional>
#include <sstream>
#include <string>

#include <tessera/core/Box.h>
#include <tessera/graphics/Sprite.h>

namespace ts {

/// Which sprite an object shows, its current frame and how long it has shown.
/// The sprite belongs to the resource manager; the animation only points to it.
class Animation {
 public:
  /// No sprite, frame 0.
  Animation();
  /// Shows sprite (not owned; null shows nothing) from its first frame and
  /// takes its label as the animation's name.
  void setSprite(Sprite *sprite);
  /// The sprite shown (owned by the resource manager), or null.
  Sprite *getSprite() const { return m_p_sprite; }
  /// The label of the last sprite set; empty before any.
  std::string getName() const { return m_name; }
  /// Sets the current frame index (not checked; a frame out of range draws nothing).
  void setIndex(int index) { m_index = index; }
  /// The current frame index.
  int getIndex() const { return m_index; }
  /// Sets the steps the current frame has shown; -1 freezes the animation on
  /// its current frame.
  void setSlowdownCount(int slowdown_count) { m_slowdown_count = slowdown_count; }
  /// Steps the current frame has shown, or -1 when frozen.
  int getSlowdownCount() const { return m_slowdown_count; }
  /// Draws the current frame centred on position (world cells), then advances
  /// one frame every getSlowdown() draws, wrapping to the first; 0 without a
  /// sprite, -1 when the display refused a cell. With a colour, the frame
  /// is drawn in it instead of the sprite's own.
  int draw(Vector position, std::optional<Color> color = std::nullopt);
  /// The sprite's extent centred on the origin (add the object's position);
  /// without a sprite just under one cell.
  Box getBox() const;
  /// "sprite <name>, frame_idx <index>", for log lines.
  std::string toString() const;
  /// Appends the sprite's name, the frame index and the slowdown count; 0, or
  /// -1 with a log line when the stream failed.
  int serialize(std::stringstream &stream) const;
  /// Reads them back (the sprite itself is looked up by the caller); 0, or -1
  /// with a log line on a short or failed stream or a name longer than the
  /// stream ("Animation::deserialize(): Error! Cannot allocate N bytes.").
  int deserialize(std::stringstream &stream);

 private:
  Sprite *m_p_sprite;
  int m_index;
  int m_slowdown_count;
  std::string m_name;
};

}  // namespace ts

#endif
