#include "resources/SpriteFile.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <iterator>

#include <tessera/core/LogManager.h>
#include <tessera/system/Text.h>

namespace ts {

namespace {

int g_line_number = 0;

LogManager &log() { return LogManager::getInstance(); }

bool beginsWith(const std::string &line, const char *key, size_t key_length) {
  return line.size() >= key_length && line.compare(0, key_length, key) == 0;
}

// Everything after the key and one separator character.
std::string valueAfterKey(const std::string &line, size_t key_length) {
  return line.size() > key_length ? line.substr(key_length + 1) : std::string();
}

}  // namespace

std::string getLine(std::ifstream &file, bool count) {
  std::string line;
  std::getline(file, line);
  if (!file.good()) {
    log().writeLog("getLine(): Error! Unexpected end of file.");
    return "";
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (count) ++g_line_number;
  return line;
}

Lines readData(std::ifstream &file, std::string tag) {
  const std::string begin = "<" + tag + ">";
  const std::string end = "</" + tag + ">";
  std::string line = getLine(file, true);
  if (line != begin) {
    log().writeLog("readData(): Error line %d! Expected '%s', have '%s'.", g_line_number, begin.c_str(), line.c_str());
    return {};
  }
  Lines data;
  line = getLine(file, false);
  while (line != end) {
    if (line.empty()) {
      log().writeLog("readData(): Error! Stop at line %d, never encountered '%s'.", g_line_number, end.c_str());
      return {};
    }
    data.push_back(line);
    line = getLine(file, true);
  }
  ++g_line_number;
  return data;
}

namespace {

// Calls take(line) for every line that begins with key, in order, and
// removes those lines in one pass, keeping the others in their order.
template <typename Take>
void takeMatchingLines(Lines &lines, const char *key, Take take) {
  const size_t key_length = std::strlen(key);
  auto kept = lines.begin();
  for (auto it = lines.begin(); it != lines.end(); ++it) {
    if (beginsWith(*it, key, key_length)) {
      take(*it, valueAfterKey(*it, key_length));
    } else {
      if (kept != it) *kept = std::move(*it);
      ++kept;
    }
  }
  lines.erase(kept, lines.end());
}

}  // namespace

int matchLineInt(Lines &lines, const char *key) {
  int value = -1;
  takeMatchingLines(lines, key, [&value](const std::string &line, const std::string &text) {
    if (value != -1) log().writeLog(LOG_ROUTINE, "matchLineInt(): Warning! '%s' matches multiple lines.", line.c_str());
    value = toInt(text);
  });
  return value;
}

std::string matchLineStr(Lines &lines, const char *key) {
  std::string value;
  takeMatchingLines(lines, key, [&value](const std::string &line, const std::string &text) {
    if (!value.empty())
      log().writeLog(LOG_ROUTINE, "matchLineStr(): Warning! '%s' matches multiple lines.", line.c_str());
    value = text;
  });
  return value;
}

Frame readFrame(Lines &lines, int width, int height, int line_number) {
  // Line numbers in 64 bits: a header may claim any height.
  const long long first = static_cast<long long>(line_number) + 1;
  std::string frame_str;
  size_t next = 0;
  for (int row = 0; row < height; ++row, ++next) {
    const int number = clampToInt(first + row);
    if (next == lines.size()) {
      log().writeLog("\tError! Line %d: No more frame data before 'end'.", number);
      return Frame();
    }
    const std::string &line = lines[next];
    log().writeLog(LOG_RECORD, "\tLine %2d: '%s'", number, line.c_str());
    if (width < 0 || line.size() != static_cast<size_t>(width)) {
      log().writeLog("\tError! Line %d: Line length is %zu (frame width is %d).", number, line.size(), width);
      log().writeLog("\tLine %d: '%s'", number, line.c_str());
      return Frame();
    }
    frame_str += line;
  }
  const int end_number = clampToInt(first + std::max(height, 0));
  if (next == lines.size()) {
    log().writeLog("\tError! Line %d: No more frame data before 'end'.", end_number);
    return Frame();
  }
  if (lines[next] != "end") {
    log().writeLog("\tError! Line %d: Expected '%s'.", end_number, "end");
    log().writeLog("\tLine %d: '%s'", end_number, lines[next].c_str());
    return Frame();
  }
  lines.erase(lines.begin(), lines.begin() + static_cast<long>(next) + 1);
  return Frame(width, height, frame_str);
}

void warnUnknownHeaderKeys(const Lines &header, int first_line, const std::string &filename) {
  static const char *const known[] = {"frames", "width", "height", "color", "transparency", "slowdown"};
  for (size_t i = 0; i < header.size(); ++i) {
    const std::string &line = header[i];
    const bool is_known = std::any_of(std::begin(known), std::end(known),
                                      [&](const char *key) { return beginsWith(line, key, std::strlen(key)); });
    if (is_known) continue;
    const std::string key = line.substr(0, line.find(' '));
    log().writeLog("RM::loadRobustSprite(): Warning! Unknown key '%s' in the header of '%s', line %d; ignored.",
                   key.c_str(), filename.c_str(),
                   clampToInt(static_cast<long long>(first_line) + static_cast<long long>(i)));
  }
}

int &spriteFileLine() { return g_line_number; }

}  // namespace ts
