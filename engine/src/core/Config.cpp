#include <tessera/core/Config.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <vector>

#include <tessera/core/LogManager.h>
#include <tessera/system/Text.h>

namespace ts {

namespace {
const char *boolText(bool value) { return value ? "true" : "false"; }

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
  log.writeLog(LOG_FIELDS, "match(): number of elements allocated is %d", capacity);
  int n = 0;
  for (const std::string &piece : splitSkippingEmpty(compact, ',')) {
    log.writeLog(LOG_FIELDS, "\titem number %d", n);
    log.writeLog(LOG_PARSER, "\tp_element is '%s' (%p)", piece.c_str(), static_cast<const void *>(piece.c_str()));
    std::vector<std::string> fields = splitSkippingEmpty(piece, ':');
    if (fields.empty()) break;  // only colons: parsing stops here
    log.writeLog(LOG_PARSER, "\ttoken is '%s' (%p)", fields[0].c_str(), static_cast<const void *>(fields[0].c_str()));
    s_keys.push_back(fields[0]);
    s_values.push_back(fields.size() > 1 ? fields[1] : "");
    log.writeLog(LOG_FIELDS, "\tkey %s", s_keys.back().c_str());
    log.writeLog(LOG_FIELDS, "\tval %s", s_values.back().c_str());
    ++n;
  }
  log.writeLog(LOG_FIELDS, "match(): parsed.");
  for (size_t i = 0; i < s_keys.size(); ++i)
    log.writeLog(LOG_PARSER, "\t%zu  %s : %s", i, s_keys[i].c_str(), s_values[i].c_str());
}

}  // namespace

std::string match(std::string text, std::string key) {
  const LogManager &log = LogManager::getInstance();
  log.writeLog(LOG_FIELDS, "match(\"%s\", \"%s\")", text.c_str(), key.c_str());
  if (!text.empty()) parseItems(text);
  log.writeLog(LOG_FIELDS, "match(): Looking for match '%s' among %zu items.", key.c_str(), s_keys.size());
  for (size_t i = 0; i < s_keys.size(); ++i) {
    log.writeLog(LOG_PARSER, "match(): %zu: %s == %s?", i, s_keys[i].c_str(), key.c_str());
    if (s_keys[i] == key) return s_values[i];
  }
  return "";
}

Config::Config()
    : m_window_horizontal_pixels(1024),
      m_window_vertical_pixels(768),
      m_window_horizontal_chars(80),
      m_window_vertical_chars(24),
      m_window_style(5),
      m_window_state(0),
      m_window_background_color(BLACK),
      m_window_title("Tessera"),
      m_frame_time(33),
      m_font_scale(2.0f),
      m_font_file("ts-font.ttf"),
      m_show_mouse(false),
      m_headless(false),
      m_logfile("tessera.log"),
      m_random_seed(0),
      m_networking(true),
      m_grid_width(20),
      m_grid_height(8),
      m_quadtree_depth(10),
      m_quadtree_threshold(1),
      m_signals(true) {}

Config &Config::getInstance() {
  static Config instance;
  return instance;
}

std::string Config::readConfig() const {
  const char *env_name = std::getenv("TESSERA_CONFIG");
  std::string file_name = env_name ? env_name : "ts-config.txt";
  std::ifstream file(file_name);
  if (!file.is_open()) {
    LogManager::getInstance().writeLog(
        LOG_ROUTINE, "Config::readConfig(): Cannot open Tessera configuration file '%s'.", file_name.c_str());
    return "";
  }
  std::string text;
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    text += line;
  }
  return text;
}

std::string Config::match(std::string key) const { return ts::match(m_config, key); }

void Config::loadInt(const std::string &key, int &field) const {
  std::string value = match(key);
  if (!value.empty()) field = toInt(value);
}

void Config::loadBool(const std::string &key, bool &field) const {
  std::string value = match(key);
  if (!value.empty()) field = (value == "true");
}

void Config::loadString(const std::string &key, std::string &field) const {
  std::string value = match(key);
  if (!value.empty()) field = value;
}

void Config::loadBackgroundColor() {
  std::string value = match("window_background_color");
  if (value.empty()) return;
  int color = colorFromName(value);
  if (color >= 0) {
    m_window_background_color = static_cast<Color>(color);
    return;
  }
  LogManager::getInstance().writeLog("loadConfig(): Unsupported window color '%s'", value.c_str());
}

void Config::loadWindowStyle() {
  std::string value = match("window_style");
  if (value.empty()) return;
  if (value == "none") {
    m_window_style = 0;
    return;
  }
  int style = toInt(value);
  if (style != 0)
    m_window_style = style;
  else
    LogManager::getInstance().writeLog("loadConfig(): Unsupported window style '%s'", value.c_str());
}

void Config::loadWindowState() {
  std::string value = match("window_state");
  if (value.empty()) return;
  if (value == "fullscreen")
    m_window_state = 1;
  else if (value == "default")
    m_window_state = 0;
  else
    LogManager::getInstance().writeLog("loadConfig(): Unsupported window state '%s'", value.c_str());
}

void Config::loadConfig(std::string config) {
  if (config.empty()) config = readConfig();
  m_config = config;
  loadInt("frame_time", m_frame_time);
  std::string scale = match("font_scale");
  // strtof reads what atof reads, but a number beyond the float range
  // becomes infinity instead of an undefined narrowing of the double.
  if (!scale.empty()) m_font_scale = std::strtof(scale.c_str(), nullptr);
  loadInt("window_horizontal_pixels", m_window_horizontal_pixels);
  loadInt("window_vertical_pixels", m_window_vertical_pixels);
  loadInt("window_horizontal_chars", m_window_horizontal_chars);
  loadInt("window_vertical_chars", m_window_vertical_chars);
  loadBackgroundColor();
  loadWindowStyle();
  loadWindowState();
  loadString("window_title", m_window_title);
  loadBool("show_mouse", m_show_mouse);
  loadBool("headless", m_headless);
  loadString("font_file", m_font_file);
  loadString("logfile", m_logfile);
  loadInt("random_seed", m_random_seed);
  loadBool("networking", m_networking);
  loadInt("grid_width", m_grid_width);
  loadInt("grid_height", m_grid_height);
  loadInt("quadtree_depth", m_quadtree_depth);
  loadInt("quadtree_threshold", m_quadtree_threshold);
  loadBool("signals", m_signals);
}

void Config::writeDump() const {
  const LogManager &log = LogManager::getInstance();
  log.writeLog(LOG_ROUTINE, "-----------------------------------");
  log.writeLog(LOG_ROUTINE, "Tessera configuration:");
  log.writeLog(LOG_ROUTINE, "  Window horizontal pixels: %d", m_window_horizontal_pixels);
  log.writeLog(LOG_ROUTINE, "  Window vertical pixels: %d", m_window_vertical_pixels);
  log.writeLog(LOG_ROUTINE, "  Window horizontal characters: %d", m_window_horizontal_chars);
  log.writeLog(LOG_ROUTINE, "  Window vertical characters: %d", m_window_vertical_chars);
  log.writeLog(LOG_ROUTINE, "  Window background color: %d", static_cast<int>(m_window_background_color));
  log.writeLog(LOG_ROUTINE, "  Frame time: %d", m_frame_time);
  log.writeLog(LOG_ROUTINE, "  Window style: %d", m_window_style);
  log.writeLog(LOG_ROUTINE, "  Window state: %s", m_window_state != 0 ? "fullscreen" : "default");
  log.writeLog(LOG_ROUTINE, "  Window title: %s", m_window_title.c_str());
  log.writeLog(LOG_ROUTINE, "  Show mouse: %s", boolText(m_show_mouse));
  log.writeLog(LOG_ROUTINE, "  Headless: %s", boolText(m_headless));
  log.writeLog(LOG_ROUTINE, "  Font file: %s", m_font_file.c_str());
  log.writeLog(LOG_ROUTINE, "  Log file: %s", m_logfile.c_str());
  log.writeLog(LOG_ROUTINE, "  Random seed: %d", m_random_seed);
  log.writeLog(LOG_ROUTINE, "  Networking: %s", boolText(m_networking));
  log.writeLog(LOG_ROUTINE, "  Scene graph: grid");
  log.writeLog(LOG_ROUTINE, "  Grid width: %d", m_grid_width);
  log.writeLog(LOG_ROUTINE, "  Grid height: %d", m_grid_height);
  log.writeLog(LOG_ROUTINE, "-----------------------------------");
}

}  // namespace ts
