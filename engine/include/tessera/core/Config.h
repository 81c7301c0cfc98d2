// The engine's settings: built-in defaults, optionally overridden by the
// configuration file ("ts-config.txt" or the file named by TESSERA_CONFIG).
#ifndef TS_CONFIG_H
#define TS_CONFIG_H

#include <string>

#include <tessera/core/Color.h>

namespace ts {

// Key-value parser: "key:value," entries, whitespace removed, first match wins.
// An empty text searches the items of the previous parse.
std::string match(std::string text, std::string key);

class Config {
 public:
  static Config &getInstance();

  // An empty text is first read from the configuration file.
  void loadConfig(std::string config);
  std::string readConfig() const;
  std::string match(std::string key) const;
  // Writes every value to the log (level 1).
  void writeDump() const;

  int getWindowHorizontalPixels() const { return m_window_horizontal_pixels; }
  int getWindowVerticalPixels() const { return m_window_vertical_pixels; }
  int getWindowHorizontalChars() const { return m_window_horizontal_chars; }
  int getWindowVerticalChars() const { return m_window_vertical_chars; }
  int getWindowStyle() const { return m_window_style; }
  int getWindowState() const { return m_window_state; }
  Color getWindowBackgroundColor() const { return m_window_background_color; }
  std::string getWindowTitle() const { return m_window_title; }
  int getFrameTime() const { return m_frame_time; }
  float getFontScale() const { return m_font_scale; }
  std::string getFontFile() const { return m_font_file; }
  bool getShowMouse() const { return m_show_mouse; }
  bool getHeadless() const { return m_headless; }
  std::string getLogfile() const { return m_logfile; }
  int getRandomSeed() const { return m_random_seed; }
  bool getNetworking() const { return m_networking; }
  int getGridWidth() const { return m_grid_width; }
  int getGridHeight() const { return m_grid_height; }
  int getQuadtreeDepth() const { return m_quadtree_depth; }
  int getQuadtreeThreshold() const { return m_quadtree_threshold; }
  bool getSignals() const { return m_signals; }
  std::string getConfig() const { return m_config; }

  Config(const Config &) = delete;
  Config &operator=(const Config &) = delete;

 private:
  Config();
  void loadInt(const std::string &key, int &field) const;
  void loadBool(const std::string &key, bool &field) const;
  void loadString(const std::string &key, std::string &field) const;
  void loadBackgroundColor();
  void loadWindowStyle();
  void loadWindowState();

  std::string m_config;
  int m_window_horizontal_pixels;
  int m_window_vertical_pixels;
  int m_window_horizontal_chars;
  int m_window_vertical_chars;
  int m_window_style;
  int m_window_state;
  Color m_window_background_color;
  std::string m_window_title;
  int m_frame_time;
  float m_font_scale;
  std::string m_font_file;
  bool m_show_mouse;
  bool m_headless;
  std::string m_logfile;
  int m_random_seed;
  bool m_networking;
  int m_grid_width;
  int m_grid_height;
  int m_quadtree_depth;
  int m_quadtree_threshold;
  bool m_signals;
};

}  // namespace ts

#endif
