#include <tessera/graphics/DisplayManager.h>

#include "graphics/DrawnArea.h"
#include "graphics/TerminalDisplay.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include <SFML/Graphics.hpp>

#include <tessera/core/Config.h>
#include <tessera/core/LogManager.h>
#include <tessera/graphics/SfmlColor.h>
#include <tessera/graphics/Shape.h>
#include <tessera/graphics/WindowLayout.h>

#include "core/MediaLog.h"

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
int longestWindowSide() {
  const unsigned int largest_texture = sf::Texture::getMaximumSize();
  return static_cast<int>(std::min(largest_texture, 32767u));
}

// Characters a text object lays out without drawing a glyph.
bool drawsNoGlyph(sf::Uint32 code) { return code == ' ' || code == '\n' || code == '\t' || code == '\r'; }

// The code point a text object shows for a character (converted with the
// default locale, as the text object does).
sf::Uint32 codeOf(char ch) {
  if (static_cast<unsigned char>(ch) < 0x80) return static_cast<unsigned char>(ch);
  sf::String converted(ch);
  return converted.isEmpty() ? 0 : converted[0];
}

Rgb rgbOf(Color color) {
  const sf::Color converted = colorToSFML(color);
  return Rgb{converted.r, converted.g, converted.b};
}

}  // namespace

DisplayManager::DisplayManager()
    : m_window_horizontal_pixels(Config::getInstance().getWindowHorizontalPixels()),
      m_window_vertical_pixels(Config::getInstance().getWindowVerticalPixels()),
      m_window_horizontal_chars(Config::getInstance().getWindowHorizontalChars()),
      m_window_vertical_chars(Config::getInstance().getWindowVerticalChars()),
      m_window_background_color(0, 0, 0, 255),
      m_character_size(0),
      m_batching(true),
      m_cells(sf::Triangles),
      m_drawn(std::make_unique<DrawnArea>()),
      m_requested_backend(DisplayBackend::FROM_ENVIRONMENT),
      m_shape_skip_logged(false) {
  setType("DisplayManager");
}

DisplayManager::~DisplayManager() { releaseAll(); }

DisplayManager &DisplayManager::getInstance() {
  static DisplayManager instance;
  return instance;
}

int DisplayManager::startUp() {
  const LogManager &log = LogManager::getInstance();
  if (isStarted()) {
    log.writeLog("%s::startup(): Warning! %s already started.", getType().c_str(), getType().c_str());
    return -1;
  }
  // The display is the engine's first user of the media library: route the
  // library's messages into the log before the window or font can write any.
  routeMediaLibraryMessagesToLog();
  const Config &config = Config::getInstance();
  m_window_horizontal_pixels = config.getWindowHorizontalPixels();
  m_window_vertical_pixels = config.getWindowVerticalPixels();
  m_window_horizontal_chars = config.getWindowHorizontalChars();
  m_window_vertical_chars = config.getWindowVerticalChars();
  if (config.getHeadless()) {
    log.writeLog(LOG_ROUTINE, "DisplayManager::startUp(): no graphics in headless mode.");
  } else if (terminalRequested()) {
    releaseAll();
    if (openTerminal(config) != 0) return -1;
  } else {
    releaseAll();  // whatever a failed earlier start left behind
    if (openWindow() != 0 || prepareText() != 0) return -1;
    m_window_background_color = colorToSFML(config.getWindowBackgroundColor());
    m_p_rectangle->setFillColor(m_window_background_color);
    m_p_window->clear(m_window_background_color);
    m_drawn->reset(m_window_horizontal_pixels, m_window_vertical_pixels);
  }
  m_cells.clear();
  Manager::startUp();
  log.writeLog(LOG_MANAGER, "DisplayManager::startUp(): successfully started.");
  return 0;
}

bool DisplayManager::terminalRequested() const {
  if (m_requested_backend != DisplayBackend::FROM_ENVIRONMENT) return m_requested_backend == DisplayBackend::TERMINAL;
  const char *choice = std::getenv("TESSERA_DISPLAY");
  if (!choice || !*choice || std::strcmp(choice, "window") == 0) return false;
  if (std::strcmp(choice, "terminal") == 0) return true;
  LogManager::getInstance().writeLog(
      "DisplayManager::startUp(): Warning! Unknown TESSERA_DISPLAY '%s' (terminal or window); using the window.",
      choice);
  return false;
}

// Takes over the terminal. A configured size of 0 pixels (as large as the
// desktop) makes the world as large as the terminal along that axis.
int DisplayManager::openTerminal(const Config &config) {
  m_p_terminal = std::make_unique<TerminalDisplay>();
  const Rgb background = rgbOf(config.getWindowBackgroundColor());
  if (m_p_terminal->open(m_window_horizontal_chars, m_window_vertical_chars, config.getWindowHorizontalPixels() == 0,
                         config.getWindowVerticalPixels() == 0, background) != 0) {
    m_p_terminal.reset();
    return -1;
  }
  m_window_horizontal_pixels = m_window_horizontal_chars * TERMINAL_CELL_PIXELS_WIDE;
  m_window_vertical_pixels = m_window_vertical_chars * TERMINAL_CELL_PIXELS_HIGH;
  m_window_background_color = sf::Color(background.r, background.g, background.b, 255);
  m_shape_skip_logged = false;
  return 0;
}

// Opens the window and the font and makes the cell rectangle.
int DisplayManager::openWindow() {
  const LogManager &log = LogManager::getInstance();
  const Config &config = Config::getInstance();
  // Without a display to connect to, the window library ends the whole
  // process; report a failed start instead.
  const char *display = std::getenv("DISPLAY");
  if (!display || !*display) {
    log.writeLog("DisplayManager::startUp(): Unable to allocate window!");
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
  m_window_horizontal_pixels = layout.getHorizontalPixels();
  m_window_vertical_pixels = layout.getVerticalPixels();
  m_character_size = layout.getCharacterSize();
  sf::Uint32 style = static_cast<sf::Uint32>(config.getWindowStyle());
  if (config.getWindowState() == 1) style |= sf::Style::Fullscreen;
  m_p_window.reset(new (std::nothrow)
                       sf::RenderWindow(sf::VideoMode(static_cast<unsigned int>(m_window_horizontal_pixels),
                                                      static_cast<unsigned int>(m_window_vertical_pixels), 32),
                                        sf::String(config.getWindowTitle()), style, sf::ContextSettings()));
  if (!m_p_window) {
    log.writeLog("DisplayManager::startUp(): Unable to allocate window!");
    return -1;
  }
  m_p_window->setMouseCursorVisible(config.getShowMouse());
  m_p_window->setVerticalSyncEnabled(true);
  if (!m_font.loadFromFile(config.getFontFile())) {
    log.writeLog("DisplayManager::startUp(): Error! Unable to open font from file '%s'.", config.getFontFile().c_str());
    return -1;
  }
  m_p_rectangle.reset(new (std::nothrow) sf::RectangleShape(sf::Vector2f(charWidth(), charHeight())));
  if (!m_p_rectangle) {
    log.writeLog("DisplayManager::startUp(): Error! Unable to allocate rectangle.");
    return -1;
  }
  return 0;
}

// Makes the text object every literal character goes through, sets the
// glyph size the layout worked out and loads the printable glyphs once.
int DisplayManager::prepareText() {
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

void DisplayManager::releaseAll() {
  if (m_p_window) {
    m_p_window->close();
    m_p_window.reset();
  }
  m_p_text.reset();
  m_p_rectangle.reset();
  m_cells.clear();
  m_p_terminal.reset();
}

void DisplayManager::shutDown() {
  releaseAll();
  Manager::shutDown();
  LogManager::getInstance().writeLog(LOG_MANAGER, "DisplayManager::shutDown(): successfully stopped.");
}

void DisplayManager::setBatching(bool batching) {
  if (!batching) submitCells();
  m_batching = batching;
}

int DisplayManager::drawCh(Vector world_pos, char ch, Color color, float rotation) const {
  if (Config::getInstance().getHeadless()) return -1;
  unsigned char r = 255, g = 255, b = 255;
  colorToRGB(color, r, g, b);
  return drawCh(world_pos, ch, r, g, b, rotation);
}

int DisplayManager::drawCh(Vector world_pos, char ch, unsigned char r, unsigned char g, unsigned char b,
                           float rotation) const {
  if (!isStarted()) {
    LogManager::getInstance().writeLog("%s not started!", getType().c_str());
    return -1;
  }
  if (m_p_terminal) {
    const Vector view = world_pos - m_view_origin;
    m_p_terminal->draw(static_cast<int>(std::floor(view.getX())), static_cast<int>(std::floor(view.getY())),
                       static_cast<unsigned char>(ch), Rgb{r, g, b});
    return 0;
  }
  if (!m_p_window) return -1;
  Vector pixel = spacesToPixels(world_pos - m_view_origin);
  sf::Color color(r, g, b, 255);
  if (m_batching && rotation == 0) {
    appendCell(pixel, codeOf(ch), color);
  } else {
    flushCells();
    drawCellLiteral(pixel, ch, color, rotation);
  }
  return 0;
}

// Adds one cell to the frame's vertex array: the background quad where the
// cell rectangle goes (only the part over something drawn earlier in the
// frame; the rest already shows the background), then the glyph quad
// exactly where a text object at the pixel position would put it.
void DisplayManager::appendCell(Vector pixel, sf::Uint32 code, sf::Color color) const {
  const float width = charWidth(), height = charHeight();
  const sf::Vector2f corner(pixel.getX() - width / 10, pixel.getY() + height / 5);
  PixelBox background{corner.x, corner.y, corner.x + width, corner.y + height};
  if (m_drawn->clip(background))
    appendQuad(m_cells, sf::Vector2f(background.left, background.top),
               sf::Vector2f(background.right, background.bottom), m_window_background_color, WHITE_TEXEL, WHITE_TEXEL);
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
  m_drawn->mark(PixelBox{top_left.x, top_left.y, bottom_right.x, bottom_right.y});
}

void DisplayManager::drawCellLiteral(Vector pixel, char ch, sf::Color color, float rotation) const {
  m_drawn->markAll();
  const float width = charWidth(), height = charHeight();
  m_p_rectangle->setPosition(pixel.getX() - width / 10, pixel.getY() + height / 5);
  m_p_rectangle->setRotation(rotation);
  m_p_window->draw(*m_p_rectangle, sf::RenderStates::Default);
  m_p_text->setString(sf::String(ch));
  m_p_text->setPosition(pixel.getX(), pixel.getY());
  m_p_text->setFillColor(color);
  m_p_text->setRotation(rotation);
  m_p_window->draw(*m_p_text, sf::RenderStates::Default);
}

void DisplayManager::submitCells() const {
  if (m_cells.getVertexCount() == 0) return;
  if (m_p_window) m_p_window->draw(m_cells, sf::RenderStates(&m_font.getTexture(m_character_size)));
  m_cells.clear();
}

// What the caller draws next is unknown, so from now on every cell's whole
// background rectangle is drawn again.
void DisplayManager::flushCells() const {
  submitCells();
  m_drawn->markAll();
}

int DisplayManager::drawString(Vector world_pos, std::string str, Justification just, Color color) const {
  if (!isStarted()) {
    LogManager::getInstance().writeLog("%s not started!", getType().c_str());
    return -1;
  }
  if (!m_p_window && !m_p_terminal) return -1;
  Vector start = justifiedStart(world_pos, static_cast<int>(str.size()), just);
  unsigned char r = 255, g = 255, b = 255;
  colorToRGB(color, r, g, b);
  for (size_t i = 0; i < str.size(); ++i)
    drawCh(Vector(start.getX() + static_cast<float>(i), start.getY()), str[i], r, g, b, 0);
  return 0;
}

Vector justifiedStart(Vector position, int length, Justification justification) {
  switch (justification) {
    case CENTER_JUSTIFIED:
      return Vector(position.getX() - static_cast<float>(length / 2), position.getY());
    case RIGHT_JUSTIFIED:
      return Vector(position.getX() - static_cast<float>(length), position.getY());
    default:
      return position;
  }
}

int DisplayManager::swapBuffers() {
  if (!isStarted()) {
    LogManager::getInstance().writeLog("%s not started!", getType().c_str());
    return -1;
  }
  if (m_p_terminal) return m_p_terminal->present();
  if (!m_p_window) return -1;
  submitCells();
  m_p_window->display();
  m_p_window->clear(m_window_background_color);
  m_drawn->reset(m_window_horizontal_pixels, m_window_vertical_pixels);
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

void DisplayManager::drawShape(const Shape &shape, Vector world_pos) const {
  const LogManager &log = LogManager::getInstance();
  if (m_p_terminal) {
    // Shapes are filled figures in pixels; a terminal has only cells.
    if (!m_shape_skip_logged)
      log.writeLog("Shape::draw(): Warning! Shapes are not drawn in the terminal; skipping them.");
    m_shape_skip_logged = true;
    return;
  }
  if (!m_p_window) {
    log.writeLog(LOG_MANAGER, "Shape::draw(): DisplayManager window not defined.");
    return;
  }
  // Undefined shapes have no geometry; objects never draw them.
  if (shape.getType() < CIRCLE || shape.getType() > TRIANGLE) return;
  Vector pixel = spacesToPixels(world_pos - m_view_origin);
  static sf::CircleShape figure(0, 30);
  figure.setFillColor(sf::Color(shape.getR(), shape.getG(), shape.getB(), shape.getOpacity()));
  applyShapeGeometry(figure, shape, pixel);
  log.writeLog(LOG_FIELDS, "Shape::draw(): Drawing at (%.2f, %.2f)", pixel.getX(), pixel.getY());
  submitCells();
  m_p_window->draw(figure, sf::RenderStates::Default);
  const sf::FloatRect bounds = figure.getGlobalBounds();
  m_drawn->mark(PixelBox{bounds.left, bounds.top, bounds.left + bounds.width, bounds.top + bounds.height});
}

float charWidth() {
  const DisplayManager &display = DisplayManager::getInstance();
  return static_cast<float>(display.getHorizontalPixels()) / static_cast<float>(display.getHorizontal());
}

float charHeight() {
  const DisplayManager &display = DisplayManager::getInstance();
  return static_cast<float>(display.getVerticalPixels()) / static_cast<float>(display.getVertical());
}

Vector spacesToPixels(Vector spaces) {
  Vector pixels(spaces.getX() * charWidth(), spaces.getY() * charHeight());
  LogManager::getInstance().writeLog(LOG_PIXELS, "spacesToPixels(int): spaces (%.2f,%.2f) = pixels (%.2f,%.2f)",
                                     spaces.getX(), spaces.getY(), pixels.getX(), pixels.getY());
  return pixels;
}

Vector pixelsToSpaces(Vector pixels) {
  Vector spaces(pixels.getX() / charWidth(), pixels.getY() / charHeight());
  LogManager::getInstance().writeLog(LOG_PIXELS, "pixelsToSpaces(): pixels (%.2f,%.2f) = spaces (%.2f,%.2f)",
                                     pixels.getX(), pixels.getY(), spaces.getX(), spaces.getY());
  return spaces;
}

}  // namespace ts
