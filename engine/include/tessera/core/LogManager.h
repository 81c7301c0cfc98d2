// Writes the engine's and the game's diagnostic lines to one log file, or to
// the standard error stream while no file is open.
#ifndef TS_LOG_MANAGER_H
#define TS_LOG_MANAGER_H

#include <cstdarg>
#include <cstdio>

#include <tessera/core/Manager.h>

namespace ts {

// The local time as "hh:mm:ss" in one shared buffer, or "(time error)".
const char *getTimeString();

class LogManager : public Manager {
 public:
  static LogManager &getInstance();
  ~LogManager() override;

  int startUp() override;
  void shutDown() override;

  // Written only when level is not above the log level. Result: 0 when
  // filtered out, -1 on a write error, else the length of the message.
  int writeLog(int level, const char *format, ...) const __attribute__((format(printf, 3, 4)));
  // Always written.
  int writeLog(const char *format, ...) const __attribute__((format(printf, 2, 3)));

  int getLogLevel() const { return m_log_level; }
  // The engine never changes the level; tests and fuzzing raise it to
  // exercise the detailed lines.
  void setLogLevel(int level) { m_log_level = level; }

 private:
  LogManager();
  int writeLine(const char *format, va_list args) const;

  bool m_do_flush;
  int m_log_level;
  bool m_log_time;
  bool m_log_step_count;
  FILE *m_p_f;
};

}  // namespace ts

#endif
