#include <tessera/core/utility.h>

#include <time.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include <SFML/Graphics/Color.hpp>

#include <tessera/core/LogManager.h>
#include <tessera/world/Object.h>
#include <tessera/world/WorldManager.h>

namespace ts {

namespace {

struct Rgb {
  unsigned char r, g, b;
};
const Rgb COLOR_TABLE[] = {{0, 0, 0},   {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                           {0, 0, 255}, {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

// The parser's item table, replaced by every parse.
std::vector<std::string> s_keys;
std::vector<std::string> s_values;

bool isWhitespace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

std::vector<std::string> splitSkippingEmpty(const std::string &text, char separator) {
  std::vector<std::string> pieces;
  std::string piece;
  for (char c : text) {
    if (c == separator) {
      if (!piece.empty()) pieces.push_back(piece);
      piece.clear();
    } else {
      piece += c;
    }
  }
  if (!piece.empty()) pieces.push_back(piece);
  return pieces;
}

// Fills the item table from text.
void parseItems(std::string text) {
  const LogManager &log = LogManager::getInstance();
  std::string compact;
  for (char c : text) {
    if (!isWhitespace(c)) compact += c;
  }
  s_keys.clear();
  s_values.clear();
  int capacity = 1;
  for (char c : compact) capacity += (c == ',');
  log.writeLog(25, "match(): number of elements allocated is %d", capacity);
  int n = 0;
  for (const std::string &piece : splitSkippingEmpty(compact, ',')) {
    log.writeLog(25, "\titem number %d", n);
    log.writeLog(28, "\tp_element is '%s' (%p)", piece.c_str(), static_cast<const void *>(piece.c_str()));
    std::vector<std::string> fields = splitSkippingEmpty(piece, ':');
    if (fields.empty()) break;  // only colons: parsing stops here
    log.writeLog(28, "\ttoken is '%s' (%p)", fields[0].c_str(), static_cast<const void *>(fields[0].c_str()));
    s_keys.push_back(fields[0]);
    s_values.push_back(fields.size() > 1 ? fields[1] : "");
    log.writeLog(25, "\tkey %s", s_keys.back().c_str());
    log.writeLog(25, "\tval %s", s_values.back().c_str());
    ++n;
  }
  log.writeLog(25, "match(): parsed.");
  for (size_t i = 0; i < s_keys.size(); ++i)
    log.writeLog(28, "\t%d  %s : %s", static_cast<int>(i), s_keys[i].c_str(), s_values[i].c_str());
}

}  // namespace

void colorToRGB(Color color, unsigned char &r, unsigned char &g, unsigned char &b) {
  if (color == CUSTOM) return;
  if (color < BLACK || color > CUSTOM) {
    LogManager::getInstance().writeLog(5, "colorToRGB(): Color %d not supported.", static_cast<int>(color));
    return;
  }
  r = COLOR_TABLE[color].r;
  g = COLOR_TABLE[color].g;
  b = COLOR_TABLE[color].b;
}

sf::Color colorToSFML(Color color) {
  if (color == CUSTOM) {
    LogManager::getInstance().writeLog(5, "colorToSFML(): Color is CUSTOM.");
    return sf::Color::White;
  }
  if (color < BLACK || color > CUSTOM) {
    LogManager::getInstance().writeLog(5, "colorToSFML(): Color %d not supported.", static_cast<int>(color));
    return sf::Color::White;
  }
  return sf::Color(COLOR_TABLE[color].r, COLOR_TABLE[color].g, COLOR_TABLE[color].b, 255);
}

std::string colorToString(Color color) {
  static const char *const names[] = {"Black", "Red", "Green", "Yellow", "Blue", "Magenta", "Cyan", "White"};
  if (color < BLACK || color > WHITE) return "Unknown color";
  return names[color];
}

std::string solidnessToString(int solidness) {
  static const char *const names[] = {"hard", "soft", "spectral"};
  if (solidness < 0 || solidness > 2) return "undefined";
  return names[solidness];
}

std::string locationToString(int location) {
  static const char *const names[] = {"top-left", "top-center", "top-right",  "center-left", "center-center",
                                      "center-right", "bot-left", "bot-center", "bot-right"};
  if (location < 0 || location > 8) return "unknown";
  return names[location];
}

std::string keyToString(int key) {
  static const char punctuation[] = "-+~.,/=\\*';";
  if (key == 0) return " ";
  if (key >= 9 && key <= 19) return std::string(1, punctuation[key - 9]);
  if (key >= 36 && key <= 61) return std::string(1, static_cast<char>('A' + key - 36));
  if (key >= 62 && key <= 70) return std::string(1, static_cast<char>('1' + key - 62));
  if (key == 71) return "0";
  if (key == 74) return "[";
  if (key == 75) return "]";
  if (key == 76) return "`";
  return "";
}

std::string toString(int value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

std::string toString(float value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

const char *getTimeString() {
  static char buffer[32];
  time_t now = time(nullptr);
  struct tm local;
  if (now == static_cast<time_t>(-1) || !localtime_r(&now, &local)) {
    std::snprintf(buffer, sizeof buffer, "(time error)");
    return buffer;
  }
  std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
  return buffer;
}

std::string match(std::string text, std::string key) {
  const LogManager &log = LogManager::getInstance();
  log.writeLog(25, "match(\"%s\", \"%s\")", text.c_str(), key.c_str());
  if (!text.empty()) parseItems(text);
  log.writeLog(25, "match(): Looking for match '%s' among %d items.", key.c_str(), static_cast<int>(s_keys.size()));
  for (size_t i = 0; i < s_keys.size(); ++i) {
    log.writeLog(28, "match(): %d: %s == %s?", static_cast<int>(i), s_keys[i].c_str(), key.c_str());
    if (s_keys[i] == key) return s_values[i];
  }
  return "";
}

int streamCheck(const std::string &label, const std::stringstream &stream) {
  if (stream.good()) return 0;
  const LogManager &log = LogManager::getInstance();
  if (stream.eof())
    log.writeLog("%s: Error! Stream eof.", label.c_str());
  else if (stream.fail())
    log.writeLog("%s: Error! Stream fail.", label.c_str());
  else if (stream.bad())
    log.writeLog("%s: Error! Stream bad.", label.c_str());
  else
    log.writeLog("%s: Error! Stream error.", label.c_str());
  return -1;
}

std::string maskToString(uint32_t mask) {
  std::string text;
  for (int bit = 31; bit >= 0; --bit) text += ((mask >> bit) & 1u) ? '1' : '0';
  return text;
}

void writeString(std::stringstream &stream, const std::string &text) {
  uint64_t length = text.size();
  writeRaw(stream, length);
  stream.write(text.data(), static_cast<std::streamsize>(text.size()));
}

uint64_t bytesRemaining(std::stringstream &stream) {
  if (!stream.good()) return 0;
  std::streampos here = stream.tellg();
  stream.seekg(0, std::ios::end);
  std::streampos end = stream.tellg();
  stream.seekg(here);
  if (here < 0 || end < here) return 0;
  return static_cast<uint64_t>(end - here);
}

bool valueInRange(float value, float min, float max) { return min <= value && value <= max; }

float distance(Vector p1, Vector p2) {
  float dx = p1.getX() - p2.getX();
  float dy = p1.getY() - p2.getY();
  return std::sqrt(dx * dx + dy * dy);
}

bool boxContainsPosition(Box box, Vector position) {
  Vector corner = box.getCorner();
  return valueInRange(position.getX(), corner.getX(), corner.getX() + box.getHorizontal()) &&
         valueInRange(position.getY(), corner.getY(), corner.getY() + box.getVertical());
}

bool boxIntersectsBox(Box a, Box b) {
  float ax = a.getCorner().getX(), ay = a.getCorner().getY();
  float bx = b.getCorner().getX(), by = b.getCorner().getY();
  bool x_overlap = valueInRange(ax, bx, bx + b.getHorizontal()) || valueInRange(bx, ax, ax + a.getHorizontal());
  bool y_overlap = valueInRange(ay, by, by + b.getVertical()) || valueInRange(by, ay, ay + a.getVertical());
  return x_overlap && y_overlap;
}

Box getWorldBox(const Object *object) { return getWorldBox(object, object->getPosition()); }

Box getWorldBox(const Object *object, Vector where) {
  Box box = object->getBox();
  box.setCorner(box.getCorner() + where);
  return box;
}

Vector worldToView(Vector world_pos) { return world_pos - WorldManager::getInstance().getView().getCorner(); }

Vector viewToWorld(Vector view_pos) { return view_pos + WorldManager::getInstance().getView().getCorner(); }

Vector getNormal(const Object *mover, const Object *obstacle) {
  Box o = getWorldBox(obstacle);
  Vector v = mover->getVelocity();
  Vector p = mover->getPosition();
  float t = 0.5f;
  Vector last = p;
  float step = 1.0f;
  for (int k = 1; k <= 7; ++k) {
    Vector scaled = v;
    scaled.scale(t);
    Vector c = p + scaled;
    step *= 0.5f;
    if (boxIntersectsBox(getWorldBox(mover, c), o)) {
      t -= step;
    } else {
      t += step;
      last = c;
    }
  }
  Box m = getWorldBox(mover, last);
  float h = o.getHorizontal(), vv = o.getVertical();
  const float offsets[8][2] = {{0, -vv}, {0, vv}, {-h, 0}, {h, 0}, {-h, -vv}, {h, -vv}, {-h, vv}, {h, vv}};
  const float normals[8][2] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
  for (int i = 0; i < 8; ++i) {
    Box moved(o.getCorner() + Vector(offsets[i][0], offsets[i][1]), h, vv);
    if (boxIntersectsBox(m, moved)) return Vector(normals[i][0], normals[i][1]);
  }
  LogManager::getInstance().writeLog(1, "getNormal(): No collision detected. Returning (0,0).");
  return Vector(0, 0);
}

int64_t monotonicMicroseconds() {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

void sleepUntilMicroseconds(int64_t deadline) {
  struct timespec when;
  when.tv_sec = static_cast<time_t>(deadline / 1000000);
  when.tv_nsec = static_cast<long>((deadline % 1000000) * 1000);
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &when, nullptr) == EINTR) {
  }
}

}  // namespace ts
