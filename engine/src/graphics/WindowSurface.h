// The display in a window: each character is an opaque cell-sized rectangle
// in the background colour with a bold glyph on top.
//
// The cells of a frame are collected into one vertex array (background quad
// and glyph quad per cell, in drawing order) and submitted at present(), or
// earlier when something is drawn straight into the window, so later cells
// still cover earlier ones. A background quad is drawn only over pixels
// something was drawn on earlier in the frame (DrawnArea); elsewhere the
// cleared window already shows that colour. With batching off, or rotated,
// a cell is drawn at once as one rectangle and one text, the slow literal
// way the batch reproduces.
#ifndef TS_WINDOW_SURFACE_H
#define TS_WINDOW_SURFACE_H

#include <memory>

#include <SFML/Graphics/CircleShape.hpp>
#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/VertexArray.hpp>

#include "graphics/DrawingSurface.h"
#include "graphics/DrawnArea.h"

namespace sf {
class RectangleShape;
class RenderWindow;
class Text;
}  // namespace sf

namespace ts {

class Config;

class WindowSurface : public DrawingSurface {
 public:
  WindowSurface();
  ~WindowSurface() override;
  WindowSurface(const WindowSurface &) = delete;
  WindowSurface &operator=(const WindowSurface &) = delete;

  // Opens the window the configuration describes, its font and what cells
  // are drawn with; 0, or -1 (logged).
  int open(const Config &config);
  int getHorizontalPixels() const { return m_horizontal_pixels; }
  int getVerticalPixels() const { return m_vertical_pixels; }
  unsigned int getCharacterSize() const { return m_character_size; }
  sf::RenderWindow &getWindow() const { return *m_p_window; }

  bool isTerminal() const override { return false; }
  // ASCII is drawn as it is; any other character as itself where the font
  // has its glyph, else as its ASCII stand-in.
  void drawCell(Vector view_pos, char32_t ch, Rgb color, float rotation) override;
  void drawShape(const Shape &shape, Vector view_pos) override;
  int present() override;
  // From now on every cell's whole background rectangle is drawn again:
  // what the caller draws next is unknown.
  void flush() override;
  void setBatching(bool batching) override;

 private:
  int openWindow(const Config &config);
  int prepareText();
  void appendCell(Vector pixel, sf::Uint32 code, sf::Color color);
  void drawCellLiteral(Vector pixel, sf::Uint32 code, sf::Color color, float rotation);
  sf::Uint32 shownCode(char32_t ch) const;
  bool hasGlyph(sf::Uint32 code) const;
  void submitCells();

  sf::Font m_font;
  std::unique_ptr<sf::RenderWindow> m_p_window;
  std::unique_ptr<sf::RectangleShape> m_p_rectangle;
  std::unique_ptr<sf::Text> m_p_text;
  sf::CircleShape m_figure;  // every shape is drawn through it
  sf::Color m_background;
  sf::VertexArray m_cells;
  DrawnArea m_drawn;
  int m_horizontal_pixels;
  int m_vertical_pixels;
  unsigned int m_character_size;
  bool m_batching;
};

// Sets the point count, radius, rotation and position of the circle shape
// for a shape drawn at a pixel position of the window.
void applyShapeGeometry(sf::CircleShape &figure, const Shape &shape, Vector pixel);

}  // namespace ts

#endif
