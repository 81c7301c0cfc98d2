#include "DisplayManager.h"

#include "Config.h"
#include "LogManager.h"
#include "Shape.h"

namespace ts {

// Until the window lands the display runs headless: it knows its sizes from
// the configuration and every drawing call reports failure.
DisplayManager::DisplayManager()
    : m_p_window(nullptr),
      m_window_horizontal_pixels(Config::getInstance().getWindowHorizontalPixels()),
      m_window_vertical_pixels(Config::getInstance().getWindowVerticalPixels()),
      m_window_horizontal_chars(Config::getInstance().getWindowHorizontalChars()),
      m_window_vertical_chars(Config::getInstance().getWindowVerticalChars()) {
  setType("DisplayManager");
}

DisplayManager::~DisplayManager() {}

DisplayManager &DisplayManager::getInstance() {
  static DisplayManager instance;
  return instance;
}

int DisplayManager::startUp() {
  if (isStarted()) {
    LogManager::getInstance().writeLog("%s::startup(): Warning! %s already started.", "DisplayManager",
                                       "DisplayManager");
    return -1;
  }
  const Config &config = Config::getInstance();
  m_window_horizontal_pixels = config.getWindowHorizontalPixels();
  m_window_vertical_pixels = config.getWindowVerticalPixels();
  m_window_horizontal_chars = config.getWindowHorizontalChars();
  m_window_vertical_chars = config.getWindowVerticalChars();
  return Manager::startUp();
}

void DisplayManager::shutDown() { Manager::shutDown(); }

int DisplayManager::drawCh(Vector, char, Color, float) const { return -1; }
int DisplayManager::drawCh(Vector, char, unsigned char, unsigned char, unsigned char, float) const { return -1; }
int DisplayManager::drawString(Vector, std::string, Justification, Color) const { return -1; }

void DisplayManager::drawShape(const Shape &, Vector) const {
  LogManager::getInstance().writeLog(5, "Shape::draw(): DisplayManager window not defined.");
}

int DisplayManager::swapBuffers() { return -1; }

float charWidth() {
  const DisplayManager &display = DisplayManager::getInstance();
  return static_cast<float>(display.getHorizontalPixels()) / static_cast<float>(display.getHorizontal());
}

float charHeight() {
  const DisplayManager &display = DisplayManager::getInstance();
  return static_cast<float>(display.getVerticalPixels()) / static_cast<float>(display.getVertical());
}

Vector spacesToPixels(Vector spaces) { return Vector(spaces.getX() * charWidth(), spaces.getY() * charHeight()); }

Vector pixelsToSpaces(Vector pixels) { return Vector(pixels.getX() / charWidth(), pixels.getY() / charHeight()); }

}  // namespace ts
