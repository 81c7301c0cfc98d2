#include <tessera/graphics/DisplayManager.h>

#include <cstdlib>
#include <cstring>

#include <tessera/core/Config.h>
#include <tessera/core/GameLoop.h>
#include <tessera/core/LogManager.h>
#include <tessera/system/Clock.h>

#include "core/MediaLog.h"
#include "graphics/CellCharacter.h"
#include "graphics/PresentHistory.h"
#include "graphics/SfmlColor.h"
#include "graphics/TerminalDisplay.h"
#include "graphics/WindowSurface.h"
#include "platform/Platform.h"

namespace ts {

DisplayManager::DisplayManager()
    : m_window_horizontal_pixels(Config::getInstance().getWindowHorizontalPixels()),
      m_window_vertical_pixels(Config::getInstance().getWindowVerticalPixels()),
      m_window_horizontal_chars(Config::getInstance().getWindowHorizontalChars()),
      m_window_vertical_chars(Config::getInstance().getWindowVerticalChars()),
      m_character_size(0),
      m_batching(true),
      m_requested_backend(DisplayBackend::FROM_ENVIRONMENT),
      m_p_presents(std::make_unique<PresentHistory>()),
      m_last_present_time(0) {
  setType("DisplayManager");
}

DisplayManager::~DisplayManager() = default;

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
  m_p_surface.reset();  // whatever an earlier start left behind
  m_p_presents->clear();
  m_last_present_time = 0;
  if (config.getHeadless()) {
    log.writeLog(LOG_ROUTINE, "DisplayManager::startUp(): no graphics in headless mode.");
  } else if (terminalRequested() ? openTerminal(config) != 0 : openWindow(config) != 0) {
    return -1;
  }
  Manager::startUp();
  log.writeLog(LOG_MANAGER, "DisplayManager::startUp(): successfully started.");
  return 0;
}

bool DisplayManager::terminalRequested() const {
  if (m_requested_backend != DisplayBackend::FROM_ENVIRONMENT) return m_requested_backend == DisplayBackend::TERMINAL;
  const char *choice = std::getenv("TESSERA_DISPLAY");
  if (!choice || !*choice) return noDisplayButATerminal();
  if (std::strcmp(choice, "window") == 0) return false;
  if (std::strcmp(choice, "terminal") == 0) return true;
  LogManager::getInstance().writeLog(
      "DisplayManager::startUp(): Warning! Unknown TESSERA_DISPLAY '%s' (terminal or window); using the window.",
      choice);
  return false;
}

// Unasked, a game without an X display that was started from a terminal plays
// in that terminal rather than failing for want of a window.
bool DisplayManager::noDisplayButATerminal() const {
  const char *display = std::getenv("DISPLAY");
  if ((display && *display) || !platform::standardStreamsAreTerminals()) return false;
  LogManager::getInstance().writeLog(
      "DisplayManager::startUp(): DISPLAY is not set; playing in the terminal (TESSERA_DISPLAY=window or terminal "
      "chooses).");
  return true;
}

// Takes over the terminal. A configured size of 0 pixels (as large as the
// desktop) makes the world as large as the terminal along that axis.
int DisplayManager::openTerminal(const Config &config) {
  auto terminal = std::make_unique<TerminalDisplay>();
  unsigned char r = 0, g = 0, b = 0;
  colorToDisplayRGB(config.getWindowBackgroundColor(), r, g, b);
  if (terminal->open(m_window_horizontal_chars, m_window_vertical_chars, config.getWindowHorizontalPixels() == 0,
                     config.getWindowVerticalPixels() == 0, Rgb{r, g, b}) != 0)
    return -1;
  m_window_horizontal_pixels = m_window_horizontal_chars * TERMINAL_CELL_PIXELS_WIDE;
  m_window_vertical_pixels = m_window_vertical_chars * TERMINAL_CELL_PIXELS_HIGH;
  m_p_surface = std::move(terminal);
  return 0;
}

// Opens the window; the cells keep the configured counts, their pixels are
// what the window could be given.
int DisplayManager::openWindow(const Config &config) {
  auto window = std::make_unique<WindowSurface>();
  if (window->open(config) != 0) return -1;
  m_window_horizontal_pixels = window->getHorizontalPixels();
  m_window_vertical_pixels = window->getVerticalPixels();
  m_character_size = window->getCharacterSize();
  window->setBatching(m_batching);
  m_p_surface = std::move(window);
  return 0;
}

bool DisplayManager::isTerminal() const { return m_p_surface && m_p_surface->isTerminal(); }

sf::RenderWindow *DisplayManager::getWindow() const {
  auto *window = dynamic_cast<WindowSurface *>(m_p_surface.get());
  return window ? &window->getWindow() : nullptr;
}

void DisplayManager::shutDown() {
  m_p_surface.reset();
  Manager::shutDown();
  LogManager::getInstance().writeLog(LOG_MANAGER, "DisplayManager::shutDown(): successfully stopped.");
}

void DisplayManager::setBatching(bool batching) {
  if (m_p_surface) m_p_surface->setBatching(batching);
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
  if (!m_p_surface) return -1;
  // A byte from 0x80 up is its Latin-1 character, as it always was here.
  m_p_surface->drawCell(world_pos - m_view_origin, static_cast<unsigned char>(ch), Rgb{r, g, b}, rotation);
  return 0;
}

void DisplayManager::flushCells() const {
  if (m_p_surface) m_p_surface->flush();
}

int DisplayManager::drawString(Vector world_pos, std::string str, Justification just, Color color) const {
  if (!isStarted()) {
    LogManager::getInstance().writeLog("%s not started!", getType().c_str());
    return -1;
  }
  if (!m_p_surface) return -1;
  const std::u32string cells = cellCharacters(str);
  const Vector start = justifiedStart(world_pos, static_cast<int>(cells.size()), just);
  unsigned char r = 255, g = 255, b = 255;
  colorToRGB(color, r, g, b);
  for (size_t i = 0; i < cells.size(); ++i)
    m_p_surface->drawCell(Vector(start.getX() + static_cast<float>(i), start.getY()) - m_view_origin, cells[i],
                          Rgb{r, g, b}, 0);
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
  const int result = m_p_surface ? m_p_surface->present() : -1;
  recordPresent(monotonicMicroseconds());
  return result;
}

// The loop shows the drawing of the previous step; a swap in the first step
// shows nothing drawn by the game and is not kept.
void DisplayManager::recordPresent(int64_t time) {
  m_last_present_time = time;
  const int step = GameLoop::stepCount() - 1;
  if (step >= 0) m_p_presents->record(step, time);
}

int64_t DisplayManager::getPresentTime(int step) const { return m_p_presents->presentTime(step); }

int DisplayManager::getShownStep(int64_t time) const { return m_p_presents->shownStep(time); }

void DisplayManager::drawShape(const Shape &shape, Vector world_pos) const {
  if (!m_p_surface) {
    LogManager::getInstance().writeLog(LOG_MANAGER, "Shape::draw(): DisplayManager window not defined.");
    return;
  }
  m_p_surface->drawShape(shape, world_pos - m_view_origin);
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
