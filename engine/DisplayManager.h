// Owns the window and draws coloured characters in character cells.
#ifndef TS_DISPLAY_MANAGER_H
#define TS_DISPLAY_MANAGER_H

#include <string>

#include "Manager.h"
#include "Vector.h"
#include "utility.h"

namespace sf {
class RenderWindow;
}

namespace ts {

class Shape;

enum Justification {
  LEFT_JUSTIFIED,
  CENTER_JUSTIFIED,
  RIGHT_JUSTIFIED,
};

class DisplayManager : public Manager {
 public:
  static DisplayManager &getInstance();
  ~DisplayManager() override;

  int startUp() override;
  void shutDown() override;

  int drawCh(Vector world_pos, char ch, Color color, float rotation = 0) const;
  int drawCh(Vector world_pos, char ch, unsigned char r, unsigned char g, unsigned char b, float rotation = 0) const;
  int drawString(Vector world_pos, std::string str, Justification just, Color color) const;
  // Draws a shape straight into the window at a world position in cells.
  void drawShape(const Shape &shape, Vector world_pos) const;
  int getHorizontal() const { return m_window_horizontal_chars; }
  int getVertical() const { return m_window_vertical_chars; }
  int getHorizontalPixels() const { return m_window_horizontal_pixels; }
  int getVerticalPixels() const { return m_window_vertical_pixels; }
  sf::RenderWindow *getWindow() const { return m_p_window; }
  int swapBuffers();

 private:
  DisplayManager();

  sf::RenderWindow *m_p_window;
  int m_window_horizontal_pixels;
  int m_window_vertical_pixels;
  int m_window_horizontal_chars;
  int m_window_vertical_chars;
};

float charWidth();
float charHeight();
Vector spacesToPixels(Vector spaces);
Vector pixelsToSpaces(Vector pixels);

}  // namespace ts

#endif
