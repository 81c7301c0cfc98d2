// The game's own settings, kept apart from the engine's configuration in
// the user's configuration folder ($XDG_CONFIG_HOME/tessera-rhythm/
// settings.txt, else ~/.config/tessera-rhythm/settings.txt), in the same
// "key:value," syntax: the audio offset, and the rules ("rules:classic" to
// judge presses by row as the first rules did; "rules:fair", the default),
// and the player's choices from the settings screen: the scroll speed, the
// lane keys, an offset for each song added to the audio offset, and whether
// the hit-error bar shows.
#ifndef RHYTHM_GAME_SETTINGS_H
#define RHYTHM_GAME_SETTINGS_H

#include <cstdint>
#include <map>
#include <string>

#include "play/Rules.h"

class GameSettings {
 public:
  // Offsets beyond this many milliseconds either way are refused.
  static constexpr int MAX_OFFSET_MS = 500;
  // A larger settings file is not read (a few lines are all it holds).
  static constexpr int64_t MAX_FILE_BYTES = 64 * 1024;
  static const char *const OFFSET_KEY;
  static const char *const RULES_KEY;
  static const char *const SCROLL_SPEED_KEY;
  static const char *const LANE_KEYS_KEY;
  static const char *const SONG_OFFSETS_KEY;
  static const char *const HIT_ERROR_BAR_KEY;
  // Rows the notes fall per step.
  static constexpr double MIN_SCROLL_SPEED = 0.5;
  static constexpr double MAX_SCROLL_SPEED = 2.0;
  enum class LaneKeys { ARROWS, DFJK };

  // The settings file's path, or empty when neither XDG_CONFIG_HOME (an
  // absolute path) nor HOME is set.
  static std::string defaultPath();
  // The integer a text holds (an optional sign and digits only), or false.
  static bool parseInteger(const std::string &text, long &value);

  // Reads the settings file. A missing file keeps the defaults silently; one
  // that is not a regular text file of at most MAX_FILE_BYTES (a FIFO is
  // never waited on) keeps them with a log line; a malformed or refused
  // value keeps the current one, with a log line.
  void load(const std::string &path);
  // Takes an offset given as text; where it came from is named in the log
  // line that refuses it. 0 if taken, -1 if refused.
  int setOffsetText(const std::string &text, const std::string &source);
  // Writes the file through a temporary file renamed over it, so a failed
  // write leaves the old file as it was. 0 on success, -1 with a log line.
  int save(const std::string &path) const;

  // Takes "classic" or "fair"; anything else is refused with a log line.
  int setRulesText(const std::string &text, const std::string &source);
  Rules getRules() const { return m_rules; }

  // "0.5" to "2"; anything else is refused with a log line.
  int setScrollSpeedText(const std::string &text, const std::string &source);
  double getScrollSpeed() const { return m_scroll_speed; }
  // Clamped to the accepted range.
  void setScrollSpeed(double rows_per_step);

  // "arrows" or "dfjk"; anything else is refused with a log line.
  int setLaneKeysText(const std::string &text, const std::string &source);
  LaneKeys getLaneKeys() const { return m_lane_keys; }
  void setLaneKeys(LaneKeys keys) { m_lane_keys = keys; }

  // "on" or "off"; anything else is refused with a log line.
  int setHitErrorBarText(const std::string &text, const std::string &source);
  bool getHitErrorBar() const { return m_hit_error_bar; }
  void setHitErrorBar(bool shown) { m_hit_error_bar = shown; }

  // "KEY=MS;KEY=MS": each song's offset by its best score's key. Entries
  // that are malformed or out of range are refused with a log line, the
  // others kept.
  void setSongOffsetsText(const std::string &text, const std::string &source);
  // The song's offset, 0 when none is set.
  int getSongOffsetMs(const std::string &song_key) const;
  // Clamped to the accepted range; 0 removes it. An empty key is refused:
  // false. The file holds any key, its special characters as %XX.
  bool setSongOffsetMs(const std::string &song_key, int offset_ms);

  int getOffsetMs() const { return m_offset_ms; }
  // Clamped to the accepted range.
  void setOffsetMs(int offset_ms);

 private:
  int m_offset_ms = 0;  // positive: the player hears the music later
  Rules m_rules = Rules::FAIR;
  double m_scroll_speed = 1.0;
  LaneKeys m_lane_keys = LaneKeys::ARROWS;
  bool m_hit_error_bar = true;
  std::map<std::string, int> m_song_offsets_ms;  // by the song's key
};

#endif
