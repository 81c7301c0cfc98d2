#include "graphics/WindowSurface.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <tessera/core/Config.h>
#include <tessera/core/LogManager.h>
#include <tessera/graphics/DisplayManager.h>
#include <tessera/graphics/Shape.h>
#include <tessera/graphics/WindowLayout.h>

#include "graphics/CellCharacter.h"
#include "graphics/SfmlColor.h"
#include "platform/Platform.h"

namespace ts {

namespace {

// The literal text object starts at this size before the cell size is known.
const unsigned int INITIAL_CHARACTER_SIZE = 30;
// Glyph quads reach one pixel beyond the glyph's bitmap on every side, as the
// text object's own quads do, so smooth edges are not cut.
const float GLYPH_PADDING = 1.0f;
// The font texture keeps a white square at its top-left corner; sampling
// there gives plain coloured quads from the same texture as the glyphs.
const sf::Vector2f WHITE_TEXEL(1.f, 1.f);

void appendQuad(sf::VertexArray &vertices, sf::Vector2f top_left, sf::Vector2f bottom_right, sf::Color color,
                sf::Vector2f uv_top_left, sf::Vector2f uv_bottom_right) {
  const sf::Vector2f top_right(bottom_right.x, top_left.y), bottom_left(top_left.x, bottom_right.y);
  const sf::Vector2f uv_top_right(uv_bottom_right.x, uv_top_left.y), uv_bottom_left(uv_top_left.x, uv_bottom_right.y);
  vertices.append(sf::Vertex(top_left, color, uv_top_left));
  vertices.append(sf::Vertex(top_right, color, uv_top_right));
  vertices.append(sf::Vertex(bottom_left, color, uv_bottom_left));
  vertices.append(sf::Vertex(bottom_left, color, uv_bottom_left));
  vertices.append(sf::Vertex(top_right, color, uv_top_right));
  vertices.append(sf::Vertex(bottom_right, color, uv_bottom_right));
}

// The longest window side the display can make: the graphics driver's
// largest texture, and at most what a window system keeps in a signed
// 16-bit coordinate.
// The game's own font when it has one; otherwise the font installed with the
// engine: in the data folder beside the program (<prefix>/bin/../share/tessera)
// or in the one the engine was built to be installed into. Empty when none.
std::string findFont(const std::string &own) {
  if (platform::isRegularFile(own)) return own;
  std::vector<std::string> installed;
  const std::string folder = platform::executableFolder();
  if (!folder.empty()) installed.push_back(folder + "/../share/tessera/ts-font.ttf");
  installed.push_back(TESSERA_INSTALLED_FONT);
  for (const std::string &font : installed)
    if (platform::isRegularFile(font)) return font;
  return "";
}

int longestWindowSide() {
  const unsigned int largest_texture = sf::Texture::getMaximumSize();
  return static_cast<int>(std::min(largest_texture, 32767u));
}

// A character no font has (a noncharacter): the font gives the glyph it
// shows for missing ones.
const sf::Uint32 NO_SUCH_CHARACTER = 0x10FFFF;

// Characters a text object lays out without drawing a glyph.
bool drawsNoGlyph(sf::Uint32 code) { return code == ' ' || code == '\n' || code == '\t' || code == '\r'; }

bool sameGlyph(const sf::Glyph &a, const sf::Glyph &b) {
  return a.textureRect == b.textureRect && a.bounds == b.bounds && a.advance == b.advance;
}

}  // namespace

WindowSurface::WindowSurface()
    : m_figure(0, 30),
      m_background(0, 0, 0, 255),
      m_cells(sf::Triangles),
      m_horizontal_pixels(0),
      m_vertical_pixels(0),
      m_character_size(0),
      m_batching(true) {}

WindowSurface::~WindowSurface() {
  if (m_p_window) m_p_window->close();
}

int WindowSurface::open(const Config &config) {
  if (openWindow(config) != 0 || prepareText() != 0) return -1;
  m_background = colorToSFML(config.getWindowBackgroundColor());
  m_p_rectangle->setFillColor(m_background);
  m_p_window->clear(m_background);
  m_drawn.reset(m_horizontal_pixels, m_vertical_pixels);
  return 0;
}

// Opens the window and the font and makes the cell rectangle.
int WindowSurface::openWindow(const Config &config) {
  const LogManager &log = LogManager::getInstance();
  // Without a display to connect to, the window library ends the whole
  // process; report a failed start instead.
  const char *display = std::getenv("DISPLAY");
  if (!display || !*display) {
    log.writeLog("DisplayManager::startUp(): Unable to allocate window: DISPLAY is not set.");
    return -1;
  }
  if (!platform::displayAcceptsConnections(display)) {
    log.writeLog("DisplayManager::startUp(): Unable to allocate window: cannot open display '%s'.", display);
    return -1;
  }
  sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
  log.writeLog(LOG_MANAGER, "DisplayManager::startUp(): window resolution (%d, %d) pixels.",
               static_cast<int>(desktop.width), static_cast<int>(desktop.height));
  const WindowLayout layout(
      config, DisplayLimits{static_cast<int>(desktop.width), static_cast<int>(desktop.height), longestWindowSide()});
  if (!layout.isValid()) {
    log.writeLog("DisplayManager::startUp(): Error! %s", layout.getProblem().c_str());
    return -1;
  }
  m_horizontal_pixels = layout.getHorizontalPixels();
  m_vertical_pixels = layout.getVerticalPixels();
  m_character_size = layout.getCharacterSize();
  sf::Uint32 style = static_cast<sf::Uint32>(config.getWindowStyle());
  if (config.getWindowState() == 1) style |= sf::Style::Fullscreen;
  m_p_window.reset(new (std::nothrow) sf::RenderWindow(
      sf::VideoMode(static_cast<unsigned int>(m_horizontal_pixels), static_cast<unsigned int>(m_vertical_pixels), 32),
      sf::String(config.getWindowTitle()), style, sf::ContextSettings()));
  if (!m_p_window) {
    log.writeLog("DisplayManager::startUp(): Unable to allocate window!");
    return -1;
  }
  // The window library places a new window by its own reckoning, which can
  // leave the bottom rows off a wide screen.
  m_p_window->setPosition(sf::Vector2i(layout.getLeft(), layout.getTop()));
  m_p_window->setMouseCursorVisible(config.getShowMouse());
  m_p_window->setVerticalSyncEnabled(true);
  const std::string own_font = config.getFontFile();
  const std::string font = findFont(own_font);
  if (font == own_font)
    log.writeLog("DisplayManager::startUp(): Font '%s'.", font.c_str());
  else if (!font.empty())
    log.writeLog("DisplayManager::startUp(): No font '%s' here; using the installed font '%s'.", own_font.c_str(),
                 font.c_str());
  if (!m_font.loadFromFile(font.empty() ? own_font : font)) {
    log.writeLog("DisplayManager::startUp(): Error! Unable to open font from file '%s'.",
                 (font.empty() ? own_font : font).c_str());
    return -1;
  }
  m_p_rectangle.reset(new (std::nothrow)
                          sf::RectangleShape(sf::Vector2f(layout.getCellWidth(), layout.getCellHeight())));
  if (!m_p_rectangle) {
    log.writeLog("DisplayManager::startUp(): Error! Unable to allocate rectangle.");
    return -1;
  }
  return 0;
}

// Makes the text object every literal character goes through, sets the
// glyph size the layout worked out and loads the printable glyphs once.
int WindowSurface::prepareText() {
  m_p_text.reset(new (std::nothrow) sf::Text("", m_font, INITIAL_CHARACTER_SIZE));
  if (!m_p_text) {
    LogManager::getInstance().writeLog("DisplayManager::startUp(): Error! Unable to allocate text.");
    return -1;
  }
  m_p_text->setFont(m_font);
  m_p_text->setStyle(sf::Text::Bold);
  m_p_text->setCharacterSize(m_character_size);
  // Loading a glyph can reallocate the font's texture page; doing it for
  // every printable character now keeps the page stable while drawing.
  for (sf::Uint32 code = 32; code < 127; ++code) m_font.getGlyph(code, m_character_size, true);
  return 0;
}

void WindowSurface::setBatching(bool batching) {
  if (!batching) submitCells();
  m_batching = batching;
}

void WindowSurface::drawCell(Vector view_pos, char32_t ch, Rgb rgb, float rotation) {
  const Vector pixel = spacesToPixels(view_pos);
  const sf::Color color(rgb.r, rgb.g, rgb.b, 255);
  const sf::Uint32 code = shownCode(ch);
  if (m_batching && rotation == 0) {
    appendCell(pixel, code, color);
  } else {
    flush();
    drawCellLiteral(pixel, code, color, rotation);
  }
}

sf::Uint32 WindowSurface::shownCode(char32_t ch) const {
  if (ch < 0x80 || hasGlyph(ch)) return ch;
  return static_cast<unsigned char>(asciiStandIn(ch));
}

// The font cannot be asked; a character it lacks gets the same glyph as one
// no font has (the font's "missing" glyph), or an empty one. Empty glyphs
// other than the space are not drawn either: their quad would show the
// font texture's white corner.
bool WindowSurface::hasGlyph(sf::Uint32 code) const {
  const sf::Glyph glyph = m_font.getGlyph(code, m_character_size, true);
  if (glyph.bounds.width <= 0 || glyph.bounds.height <= 0) return false;
  return !sameGlyph(glyph, m_font.getGlyph(NO_SUCH_CHARACTER, m_character_size, true));
}

// Adds one cell to the frame's vertex array: the background quad where the
// cell rectangle goes (only the part over something drawn earlier in the
// frame; the rest already shows the background), then the glyph quad
// exactly where a text object at the pixel position would put it.
void WindowSurface::appendCell(Vector pixel, sf::Uint32 code, sf::Color color) {
  const float width = charWidth(), height = charHeight();
  const sf::Vector2f corner(pixel.getX() - width / 10, pixel.getY() + height / 5);
  PixelBox background{corner.x, corner.y, corner.x + width, corner.y + height};
  if (m_drawn.clip(background))
    appendQuad(m_cells, sf::Vector2f(background.left, background.top),
               sf::Vector2f(background.right, background.bottom), m_background, WHITE_TEXEL, WHITE_TEXEL);
  if (drawsNoGlyph(code)) return;
  const sf::Glyph &glyph = m_font.getGlyph(code, m_character_size, true);
  const float baseline = static_cast<float>(m_character_size);
  const float left = glyph.bounds.left - GLYPH_PADDING;
  const float top = glyph.bounds.top - GLYPH_PADDING;
  const float right = glyph.bounds.left + glyph.bounds.width + GLYPH_PADDING;
  const float bottom = glyph.bounds.top + glyph.bounds.height + GLYPH_PADDING;
  const sf::IntRect &rect = glyph.textureRect;
  const sf::Vector2f uv_top_left(static_cast<float>(rect.left) - GLYPH_PADDING,
                                 static_cast<float>(rect.top) - GLYPH_PADDING);
  const sf::Vector2f uv_bottom_right(static_cast<float>(rect.left + rect.width) + GLYPH_PADDING,
                                     static_cast<float>(rect.top + rect.height) + GLYPH_PADDING);
  const float x = pixel.getX(), y = pixel.getY();
  const sf::Vector2f top_left((0.f + left) + x, (baseline + top) + y);
  const sf::Vector2f bottom_right((0.f + right) + x, (baseline + bottom) + y);
  appendQuad(m_cells, top_left, bottom_right, color, uv_top_left, uv_bottom_right);
  m_drawn.mark(PixelBox{top_left.x, top_left.y, bottom_right.x, bottom_right.y});
}

void WindowSurface::drawCellLiteral(Vector pixel, sf::Uint32 code, sf::Color color, float rotation) {
  m_drawn.markAll();
  const float width = charWidth(), height = charHeight();
  m_p_rectangle->setPosition(pixel.getX() - width / 10, pixel.getY() + height / 5);
  m_p_rectangle->setRotation(rotation);
  m_p_window->draw(*m_p_rectangle, sf::RenderStates::Default);
  m_p_text->setString(sf::String(code));
  m_p_text->setPosition(pixel.getX(), pixel.getY());
  m_p_text->setFillColor(color);
  m_p_text->setRotation(rotation);
  m_p_window->draw(*m_p_text, sf::RenderStates::Default);
}

void WindowSurface::submitCells() {
  if (m_cells.getVertexCount() == 0) return;
  m_p_window->draw(m_cells, sf::RenderStates(&m_font.getTexture(m_character_size)));
  m_cells.clear();
}

void WindowSurface::flush() {
  submitCells();
  m_drawn.markAll();
}

int WindowSurface::present() {
  submitCells();
  m_p_window->display();
  m_p_window->clear(m_background);
  m_drawn.reset(m_horizontal_pixels, m_vertical_pixels);
  return 0;
}

void applyShapeGeometry(sf::CircleShape &figure, const Shape &shape, Vector pixel) {
  const float size = shape.getSize();
  switch (shape.getType()) {
    case CIRCLE: {
      int points = static_cast<int>(size);
      if (points < 3) points = 3;
      if (points > 10) points = 10;
      figure.setPointCount(static_cast<size_t>(points));
      figure.setRadius(size);
      figure.setRotation(0);
      figure.setPosition(pixel.getX() - size * 0.5f, pixel.getY() - size * 0.5f);
      break;
    }
    case SQUARE:
      figure.setPointCount(4);
      figure.setRotation(45);
      figure.setRadius(size / Config::getInstance().getFontScale());
      figure.setPosition(pixel.getX() + size * 0.5f, pixel.getY() - size / 1.75f);
      break;
    case TRIANGLE:
      figure.setPointCount(3);
      figure.setRadius(size * 0.5f);
      figure.setRotation(0);
      figure.setPosition(pixel.getX() - size * 0.5f, pixel.getY() - size * 0.5f);
      break;
    default:
      break;
  }
}

void WindowSurface::drawShape(const Shape &shape, Vector view_pos) {
  // Undefined shapes have no geometry; objects never draw them.
  if (shape.getType() < CIRCLE || shape.getType() > TRIANGLE) return;
  const Vector pixel = spacesToPixels(view_pos);
  m_figure.setFillColor(sf::Color(shape.getR(), shape.getG(), shape.getB(), shape.getOpacity()));
  applyShapeGeometry(m_figure, shape, pixel);
  LogManager::getInstance().writeLog(LOG_FIELDS, "Shape::draw(): Drawing at (%.2f, %.2f)", pixel.getX(), pixel.getY());
  submitCells();
  m_p_window->draw(m_figure, sf::RenderStates::Default);
  const sf::FloatRect bounds = m_figure.getGlobalBounds();
  m_drawn.mark(PixelBox{bounds.left, bounds.top, bounds.left + bounds.width, bounds.top + bounds.height});
}

}  // namespace ts
