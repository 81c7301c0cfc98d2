// The game's own settings, kept apart from the engine's configuration in
// the user's configuration folder ($XDG_CONFIG_HOME/tessera-rhythm/
// settings.txt, else ~/.config/tessera-rhythm/settings.txt), in the same
// "key:value," syntax: the audio offset, and the rules ("rules:classic" to
// judge presses by row as the first rules did; "rules:fair", the default).
#ifndef RHYTHM_GAME_SETTINGS_H
#define RHYTHM_GAME_SETTINGS_H

#include <cstdint>
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

  int getOffsetMs() const { return m_offset_ms; }
  // Clamped to the accepted range.
  void setOffsetMs(int offset_ms);

 private:
  int m_offset_ms = 0;  // positive: the player hears the music later
  Rules m_rules = Rules::FAIR;
};

#endif
