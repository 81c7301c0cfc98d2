/// @file
/// Config, the engine's settings, and the key-value parser match().
#ifndef TS_CONFIG_H
#define TS_CONFIG_H

#include <string>

#include <tessera/core/Color.h>

namespace ts {

/// Key-value parser: the value of key among the "key:value," entries of
/// text, whitespace removed, first match wins; empty when absent. An empty
/// text searches the items of the previous parse.
std::string match(std::string text, std::string key);

/// The engine's settings: built-in defaults, optionally overridden by the
/// configuration file ("ts-config.txt" or the file named by TESSERA_CONFIG).
/// The game manager loads it first thing in startUp(); sizes are in pixels
/// or character cells as named.
class Config {
 public:
  /// The one configuration.
  static Config &getInstance();

  /// Replaces the settings named in config ("key:value," entries); an empty
  /// text is first read from the configuration file. Settings not named keep
  /// their value. An unknown window_background_color, window_style or
  /// window_state value is logged ("loadConfig(): Unsupported window color
  /// '<value>'") and ignored; numbers are read like toInt().
  void loadConfig(std::string config);
  /// The configuration file's text without '#' lines, joined; empty when the
  /// file cannot be opened (logged at level 1).
  std::string readConfig() const;
  /// The value of key in the loaded configuration text; empty when absent.
  std::string match(std::string key) const;
  /// Writes every value to the log (level 1).
  void writeDump() const;

  /// Window width in pixels (window_horizontal_pixels, 1024).
  int getWindowHorizontalPixels() const { return m_window_horizontal_pixels; }
  /// Window height in pixels (window_vertical_pixels, 768).
  int getWindowVerticalPixels() const { return m_window_vertical_pixels; }
  /// Width of the world and screen in cells (window_horizontal_chars, 80).
  int getWindowHorizontalChars() const { return m_window_horizontal_chars; }
  /// Height in cells (window_vertical_chars, 24).
  int getWindowVerticalChars() const { return m_window_vertical_chars; }
  /// The window style bits of the media library (window_style, 5; "none" is 0).
  int getWindowStyle() const { return m_window_style; }
  /// 1 for fullscreen, 0 for a window (window_state: "fullscreen" or "default").
  int getWindowState() const { return m_window_state; }
  /// Background colour of the screen (window_background_color by name, BLACK).
  Color getWindowBackgroundColor() const { return m_window_background_color; }
  /// Window title (window_title, "Tessera").
  std::string getWindowTitle() const { return m_window_title; }
  /// Target frame time in milliseconds (frame_time, 33).
  int getFrameTime() const { return m_frame_time; }
  /// Glyph size as a multiple of the smaller cell side (font_scale, 2.0).
  float getFontScale() const { return m_font_scale; }
  /// TrueType font file the display reads (font_file, "ts-font.ttf").
  std::string getFontFile() const { return m_font_file; }
  /// Whether the mouse cursor shows over the window (show_mouse, false).
  bool getShowMouse() const { return m_show_mouse; }
  /// No window and no input at all (headless, false); for tests.
  bool getHeadless() const { return m_headless; }
  /// Log file name when TESSERA_LOG is not set (logfile, "tessera.log").
  std::string getLogfile() const { return m_logfile; }
  /// Seed for rand() (random_seed): 0, the default, seeds from the clock; -1 leaves rand() unseeded.
  int getRandomSeed() const { return m_random_seed; }
  /// Whether the network manager starts and runs each frame (networking, true).
  bool getNetworking() const { return m_networking; }
  /// Width of a collision-grid cell in world cells (grid_width, 20).
  int getGridWidth() const { return m_grid_width; }
  /// Height of a collision-grid cell in world cells (grid_height, 8).
  int getGridHeight() const { return m_grid_height; }
  /// quadtree_depth (10): read and dumped, not used by the grid scene graph.
  int getQuadtreeDepth() const { return m_quadtree_depth; }
  /// quadtree_threshold (1): read and dumped, not used by the grid scene graph.
  int getQuadtreeThreshold() const { return m_quadtree_threshold; }
  /// Whether stop signals end the game through its normal shut-down (signals, true).
  bool getSignals() const { return m_signals; }
  /// The configuration text as loaded.
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
