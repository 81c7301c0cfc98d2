/// @file
/// LogManager, the log levels and the time text of log lines.
#ifndef TS_LOG_MANAGER_H
#define TS_LOG_MANAGER_H

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <string>

#include <tessera/core/Manager.h>

namespace ts {

/// Verbosity levels: a line with a level is written only when the level is
/// not above the log manager's level (0 unless changed, so by default only
/// lines without a level: errors, warnings and the game's own lines).
const int LOG_ROUTINE = 1;   ///< what a normal run does: start-up, loads, stops
const int LOG_SETTINGS = 2;  ///< settings applied or refused on the way
const int LOG_MANAGER = 5;   ///< a manager's own start and stop, rare conditions
const int LOG_DETAIL = 10;   ///< one-off details (the random seed, a send kept)
const int LOG_FRAME = 15;    ///< what happens every frame (keys, polls, sends)
const int LOG_RECORD = 20;   ///< serialization of records, attribute masks
const int LOG_FIELDS = 25;   ///< every field of a record or a parse
const int LOG_PARSER = 28;   ///< the configuration parser's tokens
const int LOG_PIXELS = 30;   ///< every cell-to-pixel conversion

/// The local time as "hh:mm:ss" in a buffer of the calling thread (valid
/// until its next call there), or "(time error)".
const char *getTimeString();

/// Writes the engine's and the game's diagnostic lines to one log file, or to
/// the standard error stream while no file is open. Lines wait in the log's
/// own buffer until a flush (every frame), a full buffer or the close.
/// Lines may be written from any thread: each is written whole, under one
/// lock, with its own time text and the step count.
class LogManager : public Manager {
 public:
  /// The one log manager.
  static LogManager &getInstance();
  /// Writes out and closes the file if still open.
  ~LogManager() override;

  /// Opens (truncates) the file named by TESSERA_LOG, else the configuration's
  /// "logfile" ("tessera.log"), and holds the ending signals so that the
  /// waiting lines are written out before one ends the process. 0 on success;
  /// -1 when already started (logged) or when the file cannot be opened (a
  /// warning naming it goes to the standard error stream).
  int startUp() override;
  /// Writes out and closes the file; later lines go to the standard error stream.
  void shutDown() override;

  /// Writes a printf-style line when level is not above the log level.
  /// Result: 0 when filtered out, -1 on a write error, else the length of the
  /// message.
  int writeLog(int level, const char *format, ...) const __attribute__((format(printf, 3, 4)));
  /// Writes a printf-style line whatever the level; result as above.
  int writeLog(const char *format, ...) const __attribute__((format(printf, 2, 3)));

  /// Hands what is written so far to the file now. The game manager does so
  /// at the end of every frame; a signal that ends the process writes out
  /// whatever is still waiting.
  void flush() const;
  /// Should a signal end the process while the log is started, a line on the
  /// standard error stream after the log's waiting lines: the lead followed
  /// by the log file's full path (a game names its log this way while the
  /// window opens, which the media library may abort); empty lead: none.
  void nameLogOnFatalSignal(const std::string &lead);

  /// The level above which lines with a level are dropped (0 by default).
  int getLogLevel() const { return m_log_level; }
  /// Sets the log level. The engine never changes it; tests and fuzzing raise
  /// it to exercise the detailed lines.
  void setLogLevel(int level) { m_log_level = level; }

 private:
  LogManager();
  int writeLine(const char *format, va_list args) const;
  // With the lock held: the waiting lines to the file; false on an error.
  bool writePending() const;
  void closeFile();
  void setLastLine();

  bool m_do_flush;
  int m_log_level;
  bool m_log_time;
  bool m_log_step_count;
  FILE *m_p_f;
  std::string m_file_name;     // as opened
  std::string m_fatal_lead;    // see nameLogOnFatalSignal()
  mutable std::mutex m_mutex;  // guards m_p_f and the writing of a line
};

}  // namespace ts

#endif
