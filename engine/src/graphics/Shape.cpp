#include <tessera/graphics/Shape.h>

#include <tessera/core/Stream.h>

#include <cstdio>

#include <tessera/core/Config.h>
#include <tessera/core/LogManager.h>
#include <tessera/graphics/DisplayManager.h>

namespace ts {

Shape::Shape() : m_color(WHITE), m_r(255), m_g(255), m_b(255), m_type(CIRCLE), m_opacity(255) {
  float width = charWidth();
  float height = charHeight();
  float smaller = width < height ? width : height;
  // A window configured with zero cells gives an infinite or undefined cell
  // size, which cannot be truncated to a whole number: count it as 0.
  int whole = (smaller >= 0 && smaller < 2147483520.0f) ? static_cast<int>(smaller) : 0;
  m_size = Config::getInstance().getFontScale() * static_cast<float>(whole);
}

void Shape::setType(int type) {
  if (type < UNDEFINED_SHAPE || type > TRIANGLE) {
    LogManager::getInstance().writeLog("Shape::setType(): Unknown shape type %d. Ignoring.", type);
    return;
  }
  m_type = type;
}

// Without a window the display only logs the refusal, and the shape stays
// as it was.
void Shape::draw(Vector position) {
  const DisplayManager &display = DisplayManager::getInstance();
  if (display.getWindow() && m_color != CUSTOM) colorToRGB(m_color, m_r, m_g, m_b);
  display.drawShape(*this, position);
}

int Shape::serialize(std::stringstream &stream) const {
  writeRaw(stream, m_type);
  writeRaw(stream, m_size);
  int color = m_color;
  writeRaw(stream, color);
  writeRaw(stream, m_opacity);
  return streamCheck("Shape::serialize()", stream);
}

int Shape::deserialize(std::stringstream &stream) {
  readRaw(stream, m_type);
  readRaw(stream, m_size);
  int color = m_color;
  readRaw(stream, color);
  m_color = static_cast<Color>(color);
  readRaw(stream, m_opacity);
  return streamCheck("Shape::deserialize()", stream);
}

std::string Shape::toString() const {
  static const char *const names[] = {"circle", "square", "triangle"};
  const char *name = (m_type >= CIRCLE && m_type <= TRIANGLE) ? names[m_type] : "undefined";
  char size[64];
  std::snprintf(size, sizeof size, "%f", m_size);
  return std::string(name) + ", size " + size + ", " + colorToString(m_color) + ", " +
         std::to_string(static_cast<int>(m_opacity));
}

}  // namespace ts
