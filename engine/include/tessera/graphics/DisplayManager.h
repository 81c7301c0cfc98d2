// Owns the window and draws coloured characters in character cells.
//
// Each character is an opaque cell-sized rectangle in the background colour
// with a bold glyph on top. The cells of a frame are collected into one
// vertex array (background quad and glyph quad per cell, in drawing order)
// and submitted at swapBuffers(), or earlier when something is drawn straight
// into the window, so later cells still cover earlier ones. A background
// quad is drawn only over pixels something was drawn on earlier in the frame
// (DrawnArea); elsewhere the cleared window already shows that colour.
//
// Instead of the window the display can draw in the terminal it runs in
// (TESSERA_DISPLAY=terminal, or setBackend() before start-up): the same
// cells, written as text with colour sequences.
#ifndef TS_DISPLAY_MANAGER_H
#define TS_DISPLAY_MANAGER_H

#include <memory>
#include <string>

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/VertexArray.hpp>

#include <tessera/core/Color.h>
#include <tessera/core/Manager.h>
#include <tessera/core/Vector.h>

namespace sf {
class CircleShape;
class RectangleShape;
class RenderWindow;
class Text;
}  // namespace sf

namespace ts {

class Config;
class DrawnArea;
class Shape;
class TerminalDisplay;

// Where the display draws. FROM_ENVIRONMENT reads TESSERA_DISPLAY at
// start-up ("terminal" or "window"; the window when unset).
enum class DisplayBackend {
  FROM_ENVIRONMENT,
  WINDOW,
  TERMINAL,
};

// Pixel size of a cell in the terminal, where cells have no pixels: a fixed
// virtual cell keeps spacesToPixels() and pixelsToSpaces() consistent.
const int TERMINAL_CELL_PIXELS_WIDE = 16;
const int TERMINAL_CELL_PIXELS_HIGH = 32;

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
  // Takes effect at the next startUp().
  void setBackend(DisplayBackend backend) { m_requested_backend = backend; }
  // Whether the started display draws in the terminal.
  bool isTerminal() const { return m_p_terminal != nullptr; }

  // Draws one character at a world position (cells); 0, or -1 when not
  // started, headless or without a window.
  int drawCh(Vector world_pos, char ch, Color color, float rotation = 0) const;
  int drawCh(Vector world_pos, char ch, unsigned char r, unsigned char g, unsigned char b, float rotation = 0) const;
  int drawString(Vector world_pos, std::string str, Justification just, Color color) const;
  // Draws a shape straight into the window at a world position in cells.
  void drawShape(const Shape &shape, Vector world_pos) const;
  // Shows the frame drawn since the last swap and clears the drawing buffer.
  int swapBuffers();

  // The world cell drawn at the window's top-left corner; the world manager
  // keeps it at its view's corner.
  void setViewOrigin(Vector origin) { m_view_origin = origin; }
  Vector getViewOrigin() const { return m_view_origin; }

  int getHorizontal() const { return m_window_horizontal_chars; }
  int getVertical() const { return m_window_vertical_chars; }
  int getHorizontalPixels() const { return m_window_horizontal_pixels; }
  int getVerticalPixels() const { return m_window_vertical_pixels; }
  sf::RenderWindow *getWindow() const { return m_p_window.get(); }
  // The glyph size in pixels (font scale times the smaller cell side).
  unsigned int getCharacterSize() const { return m_character_size; }
  sf::Color getBackgroundColor() const { return m_window_background_color; }
  const sf::Font &getFont() const { return m_font; }

  // Submits the cells collected so far into the window. Anything that draws
  // into the window directly calls this first to keep the drawing order.
  void flushCells() const;
  // With batching off every cell is drawn at once as one rectangle and one
  // text, the slow literal way; tests compare the two.
  void setBatching(bool batching);
  bool getBatching() const { return m_batching; }

 private:
  DisplayManager();
  int openWindow();
  bool terminalRequested() const;
  int openTerminal(const Config &config);
  int prepareText();
  void appendCell(Vector pixel, sf::Uint32 code, sf::Color color) const;
  void drawCellLiteral(Vector pixel, char ch, sf::Color color, float rotation) const;
  void releaseAll();
  void submitCells() const;

  sf::Font m_font;
  std::unique_ptr<sf::RenderWindow> m_p_window;
  int m_window_horizontal_pixels;
  int m_window_vertical_pixels;
  int m_window_horizontal_chars;
  int m_window_vertical_chars;
  std::unique_ptr<sf::RectangleShape> m_p_rectangle;
  sf::Color m_window_background_color;
  std::unique_ptr<sf::Text> m_p_text;
  unsigned int m_character_size;
  bool m_batching;
  Vector m_view_origin;
  mutable sf::VertexArray m_cells;
  std::unique_ptr<DrawnArea> m_drawn;  // changed by const drawing calls
  DisplayBackend m_requested_backend;
  std::unique_ptr<TerminalDisplay> m_p_terminal;  // drawn into by const drawing calls
  mutable bool m_shape_skip_logged;
};

float charWidth();
float charHeight();
Vector spacesToPixels(Vector spaces);
Vector pixelsToSpaces(Vector pixels);

// Where the first character of a string of the given length goes.
Vector justifiedStart(Vector position, int length, Justification justification);

// Sets the point count, radius, rotation and position of the shared circle
// shape for a shape drawn at a pixel position of the window.
void applyShapeGeometry(sf::CircleShape &figure, const Shape &shape, Vector pixel);

}  // namespace ts

#endif
