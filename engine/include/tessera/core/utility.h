// Free functions and small enumerations shared by the whole engine.
#ifndef TS_UTILITY_H
#define TS_UTILITY_H

#include <cstdint>
#include <sstream>
#include <string>

#include <tessera/system/Box.h>
#include <tessera/system/Vector.h>

namespace sf {
class Color;
}

namespace ts {

class Object;

enum Color : int32_t {
  BLACK = 0,
  RED,
  GREEN,
  YELLOW,
  BLUE,
  MAGENTA,
  CYAN,
  WHITE,
  CUSTOM,
};

const Color COLOR_DEFAULT = WHITE;

// Sets r, g, b from the colour table; CUSTOM and unknown colours leave them.
void colorToRGB(Color color, unsigned char &r, unsigned char &g, unsigned char &b);
sf::Color colorToSFML(Color color);

std::string colorToString(Color color);
std::string solidnessToString(int solidness);
std::string locationToString(int location);
// One printable character for a keyboard key, or empty.
std::string keyToString(int key);
std::string toString(int value);
std::string toString(float value);

// The local time as "hh:mm:ss" in one shared buffer, or "(time error)".
const char *getTimeString();

// Key-value parser: "key:value," entries, whitespace removed, first match wins.
// An empty text searches the items of the previous parse.
std::string match(std::string text, std::string key);

// 0 if the stream is good, else one log line naming the label and -1.
int streamCheck(const std::string &label, const std::stringstream &stream);
// 32 characters '0'/'1', most significant bit first.
std::string maskToString(uint32_t mask);

bool valueInRange(float value, float min, float max);
float distance(Vector p1, Vector p2);
bool boxContainsPosition(Box box, Vector position);
bool boxIntersectsBox(Box a, Box b);
Box getWorldBox(const Object *object);
Box getWorldBox(const Object *object, Vector where);
Vector worldToView(Vector world_pos);
Vector viewToWorld(Vector view_pos);
// Side of the obstacle the mover runs into: components -1, 0 or 1.
Vector getNormal(const Object *mover, const Object *obstacle);

// Platform layer: a monotonic clock in microseconds and a precise sleep.
int64_t monotonicMicroseconds();
// Sleeps until the monotonic clock reaches the deadline (microseconds).
void sleepUntilMicroseconds(int64_t deadline);

// Raw little-endian (native order) stream helpers shared by serialization.
template <typename T>
void writeRaw(std::stringstream &stream, const T &value) {
  stream.write(reinterpret_cast<const char *>(&value), sizeof(T));
}
template <typename T>
void readRaw(std::stringstream &stream, T &value) {
  stream.read(reinterpret_cast<char *>(&value), sizeof(T));
}
void writeString(std::stringstream &stream, const std::string &text);
// Bytes a stream still holds after its read position.
uint64_t bytesRemaining(std::stringstream &stream);

}  // namespace ts

#endif
