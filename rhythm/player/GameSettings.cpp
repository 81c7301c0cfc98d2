#include "player/GameSettings.h"

#include <algorithm>
#include <cerrno>
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

}  // namespace

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
  text << "# Settings of the Tessera rhythm game, written by its calibration.\n"
       << "# audio_offset_ms: how much later you hear the music, -" << MAX_OFFSET_MS << " to " << MAX_OFFSET_MS << ".\n"
       << OFFSET_KEY << ":" << m_offset_ms << ",\n";
  // Kept only when chosen, so that the default can change with the game.
  if (m_rules == Rules::CLASSIC)
    text << "# rules: classic judges presses by row, as the first rules did.\n" << RULES_KEY << ":classic,\n";
  std::string problem;
  if (AtomicFile::write(path, text.str(), problem)) {
    log.writeLog("GameSettings::save(): Audio offset %d ms saved in '%s'.", m_offset_ms, path.c_str());
    return 0;
  }
  log.writeLog("GameSettings::save(): Error! Cannot write '%s' (%s); the settings file is left as it was.",
               path.c_str(), problem.c_str());
  return -1;
}
