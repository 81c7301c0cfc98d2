// A multi-frame character picture with one colour, a slowdown and an
// optional transparency character. Owned by the resource manager.
#ifndef TS_SPRITE_H
#define TS_SPRITE_H

#include <optional>
#include <string>
#include <vector>

#include <tessera/core/Color.h>
#include <tessera/graphics/Frame.h>

namespace ts {

class Sprite {
 public:
  explicit Sprite(int max_frames);
  ~Sprite();
  Sprite(const Sprite &) = delete;
  Sprite &operator=(const Sprite &) = delete;

  void setWidth(int width) { m_width = width; }
  int getWidth() const { return m_width; }
  void setHeight(int height) { m_height = height; }
  int getHeight() const { return m_height; }
  void setColor(Color color) { m_color = color; }
  Color getColor() const { return m_color; }
  void setSlowdown(int slowdown) { m_slowdown = slowdown; }
  int getSlowdown() const { return m_slowdown; }
  void setTransparency(char transparency) { m_transparency = transparency; }
  char getTransparency() const { return m_transparency; }
  void setLabel(std::string label) { m_label = label; }
  std::string getLabel() const { return m_label; }
  int getFrameCount() const { return m_frame_count; }
  int getMaxFrameCount() const { return m_max_frame_count; }

  // -1 when the sprite is full.
  int addFrame(Frame frame);
  // An empty frame for an index out of range.
  Frame getFrame(int index) const;
  int draw(int index, Vector position, char transparency) const;
  /// Draws the frame in the colour given, or the sprite's own without one.
  int draw(int index, Vector position, char transparency, std::optional<Color> color) const;

 private:
  int m_width;
  int m_height;
  int m_max_frame_count;
  int m_frame_count;
  Color m_color;
  int m_slowdown;
  char m_transparency;
  std::vector<Frame> m_frame;  // room for the maximum, the first m_frame_count used
  std::string m_label;
};

}  // namespace ts

#endif
