#include <tessera/core/LogManager.h>

#include <cstdarg>
#include <cstdlib>
#include <mutex>
#include <string>

#include <tessera/core/Config.h>
#include <tessera/core/GameLoop.h>

#include "platform/Platform.h"

namespace ts {

namespace {

// The time of day into the caller's buffer, so that every thread has its own.
void formatTimeOfDay(char *buffer, size_t size) {
  platform::LocalTime now;
  if (!platform::localTimeOfDay(now))
    std::snprintf(buffer, size, "(time error)");
  else
    std::snprintf(buffer, size, "%02d:%02d:%02d", now.hour, now.minute, now.second);
}

}  // namespace

const char *getTimeString() {
  static thread_local char buffer[32];
  formatTimeOfDay(buffer, sizeof buffer);
  return buffer;
}

LogManager::LogManager() : m_do_flush(false), m_log_level(0), m_log_time(true), m_log_step_count(true), m_p_f(nullptr) {
  setType("LogManager");
}

LogManager::~LogManager() {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_p_f) std::fclose(m_p_f);
  m_p_f = nullptr;
}

LogManager &LogManager::getInstance() {
  static LogManager instance;
  return instance;
}

int LogManager::startUp() {
  if (isStarted()) {
    writeLog("%s::startup(): Warning! %s already started.", "LogManager", "LogManager");
    return -1;
  }
  const char *env_name = std::getenv("TESSERA_LOG");
  std::string file_name = env_name ? env_name : Config::getInstance().getLogfile();
  FILE *file = std::fopen(file_name.c_str(), "w");
  if (!file) {
    writeLog("LogManager::startup(): Warning! Unable to open file '%s'.", file_name.c_str());
    return -1;
  }
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_p_f = file;
  }
  Manager::startUp();
  writeLog(LOG_MANAGER, "LogManager::startUp(): successfully started.");
  return 0;
}

void LogManager::shutDown() {
  Manager::shutDown();
  writeLog(LOG_MANAGER, "LogManager::shutDown(): successfully stopped.");
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_p_f) std::fclose(m_p_f);
  m_p_f = nullptr;
}

void LogManager::flush() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  std::fflush(m_p_f ? m_p_f : stderr);
}

// One line at a time, whichever thread writes it: the media library's
// messages come from its own threads.
int LogManager::writeLine(const char *format, va_list args) const {
  char time_text[32] = "";
  if (m_log_time) formatTimeOfDay(time_text, sizeof time_text);
  std::lock_guard<std::mutex> lock(m_mutex);
  FILE *out = m_p_f ? m_p_f : stderr;
  if (m_log_time && std::fprintf(out, "%s ", time_text) < 0) return -1;
  if (m_log_step_count && std::fprintf(out, "%4d ", GameLoop::stepCount()) < 0) return -1;
  int written = std::vfprintf(out, format, args);
  if (written < 0) return -1;
  if (std::fputc('\n', out) == EOF) return -1;
  if (m_do_flush && std::fflush(out) != 0) return -1;
  return written;
}

int LogManager::writeLog(int level, const char *format, ...) const {
  if (level > m_log_level) return 0;
  va_list args;
  va_start(args, format);
  int result = writeLine(format, args);
  va_end(args);
  return result;
}

int LogManager::writeLog(const char *format, ...) const {
  va_list args;
  va_start(args, format);
  int result = writeLine(format, args);
  va_end(args);
  return result;
}

}  // namespace ts
