/// @file
/// Sprite, a multi-frame character picture.
#ifndef TS_SPRITE_H
#define TS_SPRITE_H

#include <optional>
#include <string>
#include <vector>

#include <tessera/core/Color.h>
#include <tessera/graphics/Frame.h>

namespace ts {

/// A multi-frame character picture with one colour, a slowdown and an
/// optional transparency character. Owned by the resource manager, which
/// makes them from sprite files; objects point to them through Animation.
class Sprite {
 public:
  /// Room for max_frames frames (none for 0 or less); when they cannot be
  /// allocated, logs "Sprite::Sprite(): Error! Unable to allocate N frames."
  /// and holds none.
  explicit Sprite(int max_frames);
  /// Frees the frames.
  ~Sprite();
  Sprite(const Sprite &) = delete;
  Sprite &operator=(const Sprite &) = delete;

  /// Sets the width in characters.
  void setWidth(int width) { m_width = width; }
  /// Width in characters (of every frame).
  int getWidth() const { return m_width; }
  /// Sets the height in characters.
  void setHeight(int height) { m_height = height; }
  /// Height in characters.
  int getHeight() const { return m_height; }
  /// Sets the colour the frames are drawn in.
  void setColor(Color color) { m_color = color; }
  /// The colour (COLOR_DEFAULT unless set).
  Color getColor() const { return m_color; }
  /// Sets how many steps each frame shows (1: a new frame every step).
  void setSlowdown(int slowdown) { m_slowdown = slowdown; }
  /// Steps each frame shows (1 unless set).
  int getSlowdown() const { return m_slowdown; }
  /// Sets the character not drawn; 0 draws every character.
  void setTransparency(char transparency) { m_transparency = transparency; }
  /// The character not drawn, or 0.
  char getTransparency() const { return m_transparency; }
  /// Sets the name the resource manager finds it by.
  void setLabel(std::string label) { m_label = label; }
  /// The name ("[Undefined]" unless set).
  std::string getLabel() const { return m_label; }
  /// Frames added so far.
  int getFrameCount() const { return m_frame_count; }
  /// Frames there is room for.
  int getMaxFrameCount() const { return m_max_frame_count; }

  /// Appends frame; 0, or -1 when the sprite is full.
  int addFrame(Frame frame);
  /// A copy of frame index; an empty frame for an index out of range.
  Frame getFrame(int index) const;
  /// Draws frame index centred on position (world cells) in the sprite's
  /// colour; result as Frame::draw().
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
