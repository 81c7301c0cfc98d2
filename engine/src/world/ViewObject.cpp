#include <tessera/world/ViewObject.h>

#include <cinttypes>

#include <tessera/core/LogManager.h>
#include <tessera/core/Stream.h>
#include <tessera/graphics/DisplayManager.h>
#include <tessera/system/Text.h>
#include <tessera/world/EventView.h>
#include <tessera/world/WorldManager.h>

namespace ts {

namespace {

const char *boolText(bool value) { return value ? "true" : "false"; }

bool readBool(std::stringstream &stream) {
  unsigned char byte = 0;
  readRaw(stream, byte);
  return byte != 0;
}

// Column factor of a location (its column in the three-by-three layout).
float columnX(int location, float width) {
  switch (location % 3) {
    case 0:
      return width * 1 / 6;
    case 1:
      return location == CENTER_CENTER ? width * 0.5f : width * 3 / 6;
    default:
      return width * 5 / 6;
  }
}

float rowY(int location, float height, bool border) {
  switch (location / 3) {
    case 0:
      return border ? 1.0f : 0.0f;
    case 1:
      return border ? height * 0.5f : height * 0.5f - 1;
    default:
      return border ? height - 2 : height - 1;
  }
}

}  // namespace

ViewObject::ViewObject()
    : m_value(0), m_draw_value(true), m_border(true), m_color(COLOR_DEFAULT), m_location(UNDEFINED_LOCATION) {
  setSolidness(SPECTRAL);
  setAltitude(MAX_ALTITUDE);
  setType("ViewObject");
  Box view = WorldManager::getInstance().getView();
  setPosition(Vector(view.getHorizontal() * 3 / 6, 1));
  m_location = TOP_CENTER;
  markModified(APPEARANCE_ATTR);
  m_draw_value = true;
  registerInterest(VIEW_EVENT);
  markModified(VALUE_ATTR | APPEARANCE_ATTR);
}

ViewObject::~ViewObject() {}

int ViewObject::setPosition(Vector view_pos) {
  if (view_pos == getPosition()) return 0;
  m_location = UNDEFINED_LOCATION;
  int result = Object::setPosition(view_pos);
  markModified(APPEARANCE_ATTR);
  return result;
}

void ViewObject::setLocation(int location) {
  if (location < TOP_LEFT || location > BOTTOM_RIGHT) {
    LogManager::getInstance().writeLog("ViewObject::setLocation(): Warning! Location out of range (%d). Ignored.",
                                       location);
    return;
  }
  Box view = WorldManager::getInstance().getView();
  setPosition(Vector(columnX(location, view.getHorizontal()), rowY(location, view.getVertical(), m_border)));
  m_location = location;
  markModified(APPEARANCE_ATTR);
}

void ViewObject::setDrawValue(bool draw_value) {
  if (draw_value == m_draw_value) return;
  m_draw_value = draw_value;
  markModified(APPEARANCE_ATTR);
}

void ViewObject::setValue(int value) {
  if (value == m_value) return;
  m_value = value;
  markModified(VALUE_ATTR);
}

void ViewObject::setBorder(bool border) {
  if (border == m_border) return;
  m_border = border;
  markModified(APPEARANCE_ATTR);
  if (m_location != UNDEFINED_LOCATION) setLocation(m_location);
}

void ViewObject::setColor(Color color) {
  if (color == m_color) return;
  m_color = color;
  markModified(APPEARANCE_ATTR);
}

void ViewObject::setViewString(std::string view_string) {
  if (view_string == m_view_string) return;
  m_view_string = view_string;
  markModified(APPEARANCE_ATTR);
}

int ViewObject::eventHandler(const Event *p_event) {
  if (p_event->getType() != VIEW_EVENT) return Object::eventHandler(p_event);
  const EventView *p_view_event = dynamic_cast<const EventView *>(p_event);
  if (!p_view_event || p_view_event->getTag() != m_view_string) return 0;
  if (p_view_event->getDelta())
    setValue(
        static_cast<int>(static_cast<unsigned int>(m_value) + static_cast<unsigned int>(p_view_event->getValue())));
  else
    setValue(p_view_event->getValue());
  return 1;
}

std::string ViewObject::composeText() const {
  std::string text = m_view_string;
  if (m_draw_value) text += " " + std::to_string(m_value);
  if (m_border) text = " " + text + " ";
  return text;
}

int ViewObject::draw() {
  const DisplayManager &display = DisplayManager::getInstance();
  std::string text = composeText();
  Vector where = getPosition() + WorldManager::getInstance().getView().getCorner();
  int result = display.drawString(where, text, CENTER_JUSTIFIED, m_color);
  if (!m_border) return result;
  // The border fits the cells drawn: one per character of the UTF-8 text.
  const int n = characterCount(text);
  const std::string line(static_cast<size_t>(n), '-');
  float x = where.getX(), y = where.getY();
  result += display.drawString(Vector(x, y - 1), line, CENTER_JUSTIFIED, m_color);
  result += display.drawString(Vector(x, y + 1), line, CENTER_JUSTIFIED, m_color);
  float left = x - static_cast<float>(n / 2) - 1;
  result += display.drawCh(Vector(left, y), '|', m_color, 0);
  result += display.drawCh(Vector(left + static_cast<float>(n + 1), y), '|', m_color, 0);
  return result;
}

int ViewObject::serialize(std::stringstream &stream, unsigned int mask) {
  const LogManager &log = LogManager::getInstance();
  log.writeLog(LOG_RECORD, "ViewObject::serialize(): serializing attributes");
  log.writeLog(LOG_RECORD, "ViewObject::serialize(): attr is %u, modified is %u (%s)", mask, getModified(),
               boolText(getModified() != 0));
  Object::serialize(stream, mask);
  unsigned int modified = getModified();
  unsigned int select = mask != 0 ? mask : modified;
  if (select & VALUE_ATTR) {
    log.writeLog(LOG_FIELDS, "\tVALUE");
    writeRaw(stream, static_cast<int32_t>(m_value));
    modified &= ~VALUE_ATTR;
  }
  if (select & APPEARANCE_ATTR) {
    serializeAppearance(stream);
    modified &= ~APPEARANCE_ATTR;
  }
  setModified(modified);
  return streamCheck("ViewObject::serialize()", stream);
}

void ViewObject::serializeAppearance(std::stringstream &stream) {
  const LogManager &log = LogManager::getInstance();
  log.writeLog(LOG_FIELDS, "\tAPPEARANCE");
  writeString(stream, m_view_string);
  log.writeLog(LOG_FIELDS, "\tVIEW_STRING: %s", m_view_string.c_str());
  writeRaw(stream, m_border);
  log.writeLog(LOG_FIELDS, "\tBORDER: %s", boolText(m_border));
  writeRaw(stream, static_cast<int32_t>(m_color));
  log.writeLog(LOG_FIELDS, "\tCOLOR: %s", colorToString(m_color).c_str());
  writeRaw(stream, static_cast<int32_t>(m_location));
  log.writeLog(LOG_FIELDS, "\tLOCATION: %s", locationToString(m_location).c_str());
  writeRaw(stream, m_draw_value);
  log.writeLog(LOG_FIELDS, "\tDRAW_VALUE: %s", boolText(m_draw_value));
}

int ViewObject::deserialize(std::stringstream &stream, unsigned int *p_mask) {
  const LogManager &log = LogManager::getInstance();
  unsigned int local_mask = 0;
  unsigned int &mask = p_mask ? *p_mask : local_mask;
  int result = Object::deserialize(stream, &mask);
  if (result != 0) {
    log.writeLog("ViewObject::deserialize(): Error calling Object::deserialize().");
    return result;
  }
  log.writeLog(LOG_RECORD, "ViewObject::deserialize(): attr %u (%s)", mask, maskToString(mask).c_str());
  if (mask & VALUE_ATTR) {
    int32_t value = 0;
    readRaw(stream, value);
    setValue(value);
    log.writeLog(LOG_FIELDS, "\tVALUE: %d", value);
  }
  if ((mask & APPEARANCE_ATTR) && deserializeAppearance(stream) != 0) return -1;
  log.writeLog(LOG_RECORD, "ViewObject::deserialize(): done checking all types.");
  return streamCheck("ViewObject::deserialize()", stream);
}

int ViewObject::deserializeAppearance(std::stringstream &stream) {
  const LogManager &log = LogManager::getInstance();
  uint64_t length = 0;
  readRaw(stream, length);
  if (!stream.good()) return streamCheck("ViewObject::deserialize()", stream);
  // A length beyond what the stream holds cannot be a real label: refuse it
  // instead of allocating whatever a damaged stream claims.
  if (length > bytesRemaining(stream)) {
    log.writeLog("ViewObject::deserialize(): Error! Cannot allocate %" PRIu64 " bytes.", length);
    return -1;
  }
  std::string text(static_cast<size_t>(length), '\0');
  if (length > 0) stream.read(&text[0], static_cast<std::streamsize>(length));
  setViewString(text.c_str());
  log.writeLog(LOG_FIELDS, "\tVIEW_STRING: %s", m_view_string.c_str());
  bool border = readBool(stream);
  setBorder(border);
  log.writeLog(LOG_FIELDS, "\tBORDER: %s", boolText(border));
  int32_t color = 0;
  readRaw(stream, color);
  setColor(static_cast<Color>(color));
  log.writeLog(LOG_FIELDS, "\tCOLOR: %s", colorToString(static_cast<Color>(color)).c_str());
  int32_t location = 0;
  readRaw(stream, location);
  setLocation(location);
  log.writeLog(LOG_FIELDS, "\tLOCATION: %s", locationToString(location).c_str());
  bool draw_value = readBool(stream);
  setDrawValue(draw_value);
  log.writeLog(LOG_FIELDS, "\tDRAW_VALUE: %s", boolText(draw_value));
  return 0;
}

}  // namespace ts
