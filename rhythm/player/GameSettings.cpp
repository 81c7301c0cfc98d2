#include "player/GameSettings.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include <tessera/core/Config.h>
#include <tessera/core/LogManager.h>
#include <tessera/system/ReadOnlyFile.h>
#include "player/AtomicFile.h"

namespace {

// Control characters other than line ends and tabs mark a file that is not
// text, whatever else it holds.
bool isText(const std::string &text) {
  for (char c : text)
    if ((static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\r' && c != '\t') || c == 0x7f) return false;
  return true;
}

// The file's entries as the engine's configuration reader gathers them:
// lines joined without a separator, empty lines and '#' lines left out.
std::string entriesOf(const std::string &contents) {
  std::istringstream lines(contents);
  std::string line, text;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    text += line;
  }
  return text;
}

bool parseNumber(const std::string &text, double &value) {
  if (text.empty() || text.size() > 16) return false;
  char *end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end == text.c_str() + text.size() && std::isfinite(value);
}

// A song's key as the settings file holds it: the characters that the
// file's reader takes out or splits on, and '%' itself, as %XX.
std::string encodedKey(const std::string &key) {
  static const char HEX[] = "0123456789ABCDEF";
  std::string text;
  for (char c : key) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7f || std::string(",;=:#%").find(c) != std::string::npos) {
      text += '%';
      text += HEX[byte >> 4];
      text += HEX[byte & 0xf];
    } else {
      text += c;
    }
  }
  return text;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A '%' not followed by two hex digits stays as it is.
std::string decodedKey(const std::string &text) {
  std::string key;
  for (size_t i = 0; i < text.size(); ++i) {
    const int high = i + 2 < text.size() && text[i] == '%' ? hexValue(text[i + 1]) : -1;
    const int low = high >= 0 ? hexValue(text[i + 2]) : -1;
    if (low >= 0) {
      key += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      key += text[i];
    }
  }
  return key;
}

}  // namespace

const char *const GameSettings::SCROLL_SPEED_KEY = "scroll_speed";
const char *const GameSettings::LANE_KEYS_KEY = "lane_keys";
const char *const GameSettings::SONG_OFFSETS_KEY = "song_offsets_ms";
const char *const GameSettings::HIT_ERROR_BAR_KEY = "hit_error_bar";
const char *const GameSettings::OFFSET_KEY = "audio_offset_ms";
const char *const GameSettings::RULES_KEY = "rules";

std::string GameSettings::defaultPath() {
  const char *config_home = std::getenv("XDG_CONFIG_HOME");
  std::string folder;
  if (config_home && config_home[0] == '/') {
    folder = config_home;
  } else {
    const char *home = std::getenv("HOME");
    if (!home || !home[0]) return "";
    folder = std::string(home) + "/.config";
  }
  return folder + "/tessera-rhythm/settings.txt";
}

bool GameSettings::parseInteger(const std::string &text, long &value) {
  size_t digits = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
  if (digits == text.size()) return false;
  for (size_t i = digits; i < text.size(); ++i)
    if (text[i] < '0' || text[i] > '9') return false;
  errno = 0;
  value = std::strtol(text.c_str(), nullptr, 10);
  // Too long for a long: far outside any accepted range anyway.
  if (errno == ERANGE) value = text[0] == '-' ? -MAX_OFFSET_MS - 1 : MAX_OFFSET_MS + 1;
  return true;
}

void GameSettings::load(const std::string &path) {
  if (path.empty()) return;
  ts::ReadOnlyFile file;
  const ts::ReadOnlyFile::Status status = file.open(path, MAX_FILE_BYTES);
  if (status == ts::ReadOnlyFile::MISSING) return;
  std::string contents;
  std::string problem = status != ts::ReadOnlyFile::OPENED ? file.getProblem()
                        : !file.readAll(contents)          ? "unreadable"
                        : !isText(contents)                ? "not a text file"
                                                           : "";
  if (!problem.empty()) {
    ts::LogManager::getInstance().writeLog(
        "GameSettings::load(): Warning! Cannot read '%s' (%s); keeping the defaults.", path.c_str(), problem.c_str());
    return;
  }
  const std::string entries = entriesOf(contents);
  // An empty text would make the parser search the entries of its last
  // text, which are the engine's.
  if (entries.empty()) return;
  const std::string offset = ts::match(entries, OFFSET_KEY);
  if (!offset.empty()) setOffsetText(offset, "'" + path + "'");
  const std::string rules = ts::match(entries, RULES_KEY);
  if (!rules.empty()) setRulesText(rules, "'" + path + "'");
  const std::string source = "'" + path + "'";
  if (const std::string speed = ts::match(entries, SCROLL_SPEED_KEY); !speed.empty())
    setScrollSpeedText(speed, source);
  if (const std::string keys = ts::match(entries, LANE_KEYS_KEY); !keys.empty()) setLaneKeysText(keys, source);
  if (const std::string bar = ts::match(entries, HIT_ERROR_BAR_KEY); !bar.empty()) setHitErrorBarText(bar, source);
  if (const std::string offsets = ts::match(entries, SONG_OFFSETS_KEY); !offsets.empty())
    setSongOffsetsText(offsets, source);
}

int GameSettings::setScrollSpeedText(const std::string &text, const std::string &source) {
  double value = 0;
  if (parseNumber(text, value) && value >= MIN_SCROLL_SPEED && value <= MAX_SCROLL_SPEED) {
    m_scroll_speed = value;
    return 0;
  }
  ts::LogManager::getInstance().writeLog(
      "GameSettings: Warning! Scroll speed '%s' in %s is not a number from %.1f to %.1f; keeping %.2f.", text.c_str(),
      source.c_str(), MIN_SCROLL_SPEED, MAX_SCROLL_SPEED, m_scroll_speed);
  return -1;
}

void GameSettings::setScrollSpeed(double rows_per_step) {
  m_scroll_speed = std::clamp(rows_per_step, MIN_SCROLL_SPEED, MAX_SCROLL_SPEED);
}

int GameSettings::setLaneKeysText(const std::string &text, const std::string &source) {
  if (text == "arrows" || text == "dfjk") {
    m_lane_keys = text == "arrows" ? LaneKeys::ARROWS : LaneKeys::DFJK;
    return 0;
  }
  ts::LogManager::getInstance().writeLog(
      "GameSettings: Warning! Unknown lane keys '%s' in %s (arrows or dfjk); keeping %s.", text.c_str(),
      source.c_str(), m_lane_keys == LaneKeys::ARROWS ? "arrows" : "dfjk");
  return -1;
}

int GameSettings::setHitErrorBarText(const std::string &text, const std::string &source) {
  if (text == "on" || text == "off") {
    m_hit_error_bar = text == "on";
    return 0;
  }
  ts::LogManager::getInstance().writeLog("GameSettings: Warning! Hit-error bar '%s' in %s (on or off); keeping %s.",
                                         text.c_str(), source.c_str(), m_hit_error_bar ? "on" : "off");
  return -1;
}

void GameSettings::setSongOffsetsText(const std::string &text, const std::string &source) {
  std::istringstream entries(text);
  std::string entry;
  while (std::getline(entries, entry, ';')) {
    const size_t equals = entry.rfind('=');
    long value = 0;
    if (equals == std::string::npos || equals == 0 || !parseInteger(entry.substr(equals + 1), value) ||
        value < -MAX_OFFSET_MS || value > MAX_OFFSET_MS) {
      ts::LogManager::getInstance().writeLog(
          "GameSettings: Warning! Song offset '%s' in %s is not KEY=MS within -%d..%d ms; left out.", entry.c_str(),
          source.c_str(), MAX_OFFSET_MS, MAX_OFFSET_MS);
      continue;
    }
    m_song_offsets_ms[decodedKey(entry.substr(0, equals))] = static_cast<int>(value);
  }
}

int GameSettings::getSongOffsetMs(const std::string &song_key) const {
  auto found = m_song_offsets_ms.find(song_key);
  return found == m_song_offsets_ms.end() ? 0 : found->second;
}

bool GameSettings::setSongOffsetMs(const std::string &song_key, int offset_ms) {
  const std::string &key = song_key;
  if (key.empty()) return false;
  const int clamped = std::clamp(offset_ms, -MAX_OFFSET_MS, MAX_OFFSET_MS);
  if (clamped == 0)
    m_song_offsets_ms.erase(key);
  else
    m_song_offsets_ms[key] = clamped;
  return true;
}

int GameSettings::setRulesText(const std::string &text, const std::string &source) {
  if (text == "classic" || text == "fair") {
    m_rules = text == "classic" ? Rules::CLASSIC : Rules::FAIR;
    return 0;
  }
  ts::LogManager::getInstance().writeLog(
      "GameSettings: Warning! Unknown rules '%s' in %s (classic or fair); keeping %s.", text.c_str(), source.c_str(),
      m_rules == Rules::CLASSIC ? "classic" : "fair");
  return -1;
}

int GameSettings::setOffsetText(const std::string &text, const std::string &source) {
  ts::LogManager &log = ts::LogManager::getInstance();
  long value = 0;
  if (!parseInteger(text, value)) {
    log.writeLog("GameSettings: Warning! Malformed audio offset '%s' in %s; keeping %d ms.", text.c_str(),
                 source.c_str(), m_offset_ms);
    return -1;
  }
  if (value < -MAX_OFFSET_MS || value > MAX_OFFSET_MS) {
    log.writeLog("GameSettings: Warning! Audio offset %s ms in %s is outside -%d..%d ms; keeping %d ms.", text.c_str(),
                 source.c_str(), MAX_OFFSET_MS, MAX_OFFSET_MS, m_offset_ms);
    return -1;
  }
  m_offset_ms = static_cast<int>(value);
  return 0;
}

void GameSettings::setOffsetMs(int offset_ms) { m_offset_ms = std::clamp(offset_ms, -MAX_OFFSET_MS, MAX_OFFSET_MS); }

int GameSettings::save(const std::string &path) const {
  ts::LogManager &log = ts::LogManager::getInstance();
  if (path.empty()) {
    log.writeLog("GameSettings::save(): Error! No configuration folder (neither XDG_CONFIG_HOME nor HOME is set).");
    return -1;
  }
  std::ostringstream text;
  text << "# Settings of the Tessera rhythm game, written by the game.\n"
       << "# audio_offset_ms: how much later you hear the music, -" << MAX_OFFSET_MS << " to " << MAX_OFFSET_MS << ".\n"
       << OFFSET_KEY << ":" << m_offset_ms << ",\n";
  // Kept only when chosen, so that the default can change with the game.
  if (m_rules == Rules::CLASSIC)
    text << "# rules: classic judges presses by row, as the first rules did.\n" << RULES_KEY << ":classic,\n";
  if (m_scroll_speed != 1.0) text << "# scroll_speed: rows the notes fall per step, 0.5 to 2.\n" << SCROLL_SPEED_KEY << ":" << m_scroll_speed << ",\n";
  if (m_lane_keys == LaneKeys::DFJK) text << LANE_KEYS_KEY << ":dfjk,\n";
  if (!m_hit_error_bar) text << HIT_ERROR_BAR_KEY << ":off,\n";
  if (!m_song_offsets_ms.empty()) {
    text << "# song_offsets_ms: each song's offset, added to audio_offset_ms.\n" << SONG_OFFSETS_KEY << ":";
    const char *separator = "";
    for (const auto &[key, offset] : m_song_offsets_ms) {
      text << separator << encodedKey(key) << "=" << offset;
      separator = ";";
    }
    text << ",\n";
  }
  std::string problem;
  if (AtomicFile::write(path, text.str(), problem)) {
    log.writeLog("GameSettings::save(): Audio offset %d ms saved in '%s'.", m_offset_ms, path.c_str());
    return 0;
  }
  log.writeLog("GameSettings::save(): Error! Cannot write '%s' (%s); the settings file is left as it was.",
               path.c_str(), problem.c_str());
  return -1;
}
