// One picture of a sprite: width x height characters, row-major.
#ifndef TS_FRAME_H
#define TS_FRAME_H

#include <string>

#include <tessera/core/Color.h>
#include <tessera/core/Vector.h>

namespace ts {

class Frame {
 public:
  Frame();
  Frame(int width, int height, std::string frame_str);
  int getWidth() const { return m_width; }
  int getHeight() const { return m_height; }
  std::string getString() const { return m_frame_str; }
  // Draws the frame centred on the position; cells equal to a non-zero
  // transparency character are skipped.
  int draw(Vector position, Color color, char transparency) const;

 private:
  int m_width;
  int m_height;
  std::string m_frame_str;
};

}  // namespace ts

#endif
