/// @file
/// DisplayManager, where the display draws, justification and cell conversions.
#ifndef TS_DISPLAY_MANAGER_H
#define TS_DISPLAY_MANAGER_H

#include <cstdint>
#include <memory>
#include <string>

#include <tessera/core/Color.h>
#include <tessera/core/Manager.h>
#include <tessera/core/Vector.h>

namespace sf {
class RenderWindow;
}

namespace ts {

class Config;
class DrawingSurface;
class PresentHistory;
class Shape;

/// Where the display draws. FROM_ENVIRONMENT reads TESSERA_DISPLAY at
/// start-up ("terminal" or "window", with a warning in the log for anything
/// else). Unset, it is the window, except with no DISPLAY but a terminal on
/// standard input and output: the terminal (with one log line saying so).
enum class DisplayBackend {
  FROM_ENVIRONMENT,
  WINDOW,
  TERMINAL,
};

/// Pixel size of a cell in the terminal, where cells have no pixels: a fixed
/// virtual cell keeps spacesToPixels() and pixelsToSpaces() consistent.
/// This is the width.
const int TERMINAL_CELL_PIXELS_WIDE = 16;
const int TERMINAL_CELL_PIXELS_HIGH = 32;  ///< the height of that virtual cell

/// Where drawString() puts a string against its position: starting at it,
/// centred on it, or ending just before it.
enum Justification {
  LEFT_JUSTIFIED,
  CENTER_JUSTIFIED,
  RIGHT_JUSTIFIED,
};

/// Draws coloured characters in character cells: in a window, or in the
/// terminal the game runs in (TESSERA_DISPLAY=terminal, or setBackend()
/// before start-up), where the same cells are written as text with colour
/// sequences. Where it draws is chosen once, at start-up; headless it draws
/// nothing. Positions are world cells; the view origin is taken off.
class DisplayManager : public Manager {
 public:
  /// The one display manager.
  static DisplayManager &getInstance();
  /// Closes the window or gives the terminal back.
  ~DisplayManager() override;

  /// Opens the window (size, title, style, font from the configuration) or
  /// takes over the terminal; headless (configuration "headless") opens
  /// nothing. 0 on success; -1 when already started, or when the window,
  /// font or terminal cannot be had or a size cannot be made, each with a
  /// log line "DisplayManager::startUp(): Error! ...".
  int startUp() override;
  /// Closes the window or gives the terminal back.
  void shutDown() override;
  /// Chooses where to draw; takes effect at the next startUp().
  void setBackend(DisplayBackend backend) { m_requested_backend = backend; }
  /// Whether the started display draws in the terminal.
  bool isTerminal() const;

  /// Draws one character at a world position (cells) in a colour, turned by
  /// rotation degrees (window only); a byte from 0x80 up is its Latin-1
  /// character. 0, or -1 when not started (logged "<type> not started!"),
  /// headless or without a surface.
  int drawCh(Vector world_pos, char ch, Color color, float rotation = 0) const;
  /// The same in an RGB colour; -1 also when headless.
  int drawCh(Vector world_pos, char ch, unsigned char r, unsigned char g, unsigned char b, float rotation = 0) const;
  /// Draws UTF-8 text str one character (code point) per cell from the
  /// position given by just, which counts characters, not bytes. A byte
  /// that starts no well-formed character is drawn as one '?'; so is a
  /// character a terminal would show two cells wide (East Asian scripts,
  /// most emoji) or none (combining marks), so the grid stays aligned. The
  /// window draws a character its font has no glyph for as its ASCII
  /// stand-in (the letter without its accent) or '?'. 0, or -1 when not
  /// started (logged) or without a surface.
  int drawString(Vector world_pos, std::string str, Justification just, Color color) const;
  /// Draws a shape straight into the window at a world position in cells
  /// (logged at level 5 and skipped without a window; the terminal logs a
  /// warning and skips shapes).
  void drawShape(const Shape &shape, Vector world_pos) const;
  /// Shows the frame drawn since the last swap and clears the drawing
  /// buffer; 0, or -1 when not started or headless. It also records when
  /// the picture went on screen (the time taken right after the window or
  /// terminal took it) for getPresentTime(). Headless it draws nothing but
  /// still records the time, the moment the frame would have been shown, so
  /// that a game's timing works the same without a display.
  int swapBuffers();

  /// When the picture drawn during game step `step` went on screen, in
  /// microseconds on the clock of ts::monotonicMicroseconds(). The game loop
  /// shows the drawing of step s in the swapBuffers() of step s + 1. -1 when
  /// not known: not shown yet, or older than the last 64 frames.
  int64_t getPresentTime(int step) const;
  /// When the last picture went on screen; 0 before any.
  int64_t getLastPresentTime() const { return m_last_present_time; }
  /// The step whose picture was on screen at `time` (microseconds, the
  /// clock of getPresentTime()), or -1 when not known: before the first
  /// picture or older than the kept history. Together with an input event's
  /// getTime() it tells what the player was looking at when a key went down.
  int getShownStep(int64_t time) const;

  /// The world cell drawn at the window's top-left corner; the world manager
  /// keeps it at its view's corner.
  void setViewOrigin(Vector origin) { m_view_origin = origin; }
  /// The world cell drawn at the top-left corner.
  Vector getViewOrigin() const { return m_view_origin; }

  /// Width of the screen in cells.
  int getHorizontal() const { return m_window_horizontal_chars; }
  /// Height of the screen in cells.
  int getVertical() const { return m_window_vertical_chars; }
  /// Width in pixels (terminal: cells times TERMINAL_CELL_PIXELS_WIDE).
  int getHorizontalPixels() const { return m_window_horizontal_pixels; }
  /// Height in pixels (terminal: cells times TERMINAL_CELL_PIXELS_HIGH).
  int getVerticalPixels() const { return m_window_vertical_pixels; }
  /// The window drawn in (owned by the display manager; valid until
  /// shutDown()); null headless, in the terminal or when not started.
  sf::RenderWindow *getWindow() const;
  /// The glyph size in pixels (font scale times the smaller cell side).
  unsigned int getCharacterSize() const { return m_character_size; }

  /// Submits the cells collected so far into the window. Anything that draws
  /// into the window directly calls this first to keep the drawing order.
  void flushCells() const;
  /// With batching off every cell is drawn at once as one rectangle and one
  /// text, the slow literal way; tests compare the two. On by default.
  void setBatching(bool batching);
  /// Whether cells are batched.
  bool getBatching() const { return m_batching; }

 private:
  DisplayManager();
  bool terminalRequested() const;
  bool noDisplayButATerminal() const;
  int openWindow(const Config &config);
  void recordPresent(int64_t time);
  int openTerminal(const Config &config);

  int m_window_horizontal_pixels;
  int m_window_vertical_pixels;
  int m_window_horizontal_chars;
  int m_window_vertical_chars;
  unsigned int m_character_size;
  bool m_batching;
  Vector m_view_origin;
  DisplayBackend m_requested_backend;
  std::unique_ptr<DrawingSurface> m_p_surface;  // drawn into by const drawing calls
  std::unique_ptr<PresentHistory> m_p_presents;
  int64_t m_last_present_time;
};

/// Width of a cell in pixels.
float charWidth();
/// Height of a cell in pixels.
float charHeight();
/// Cells to pixels (logged at level 30).
Vector spacesToPixels(Vector spaces);
/// Pixels to cells (logged at level 30).
Vector pixelsToSpaces(Vector pixels);

/// Where the first character of a string of the given length goes: position
/// itself, length / 2 (rounded down) cells left of it, or length cells left.
Vector justifiedStart(Vector position, int length, Justification justification);

}  // namespace ts

#endif
