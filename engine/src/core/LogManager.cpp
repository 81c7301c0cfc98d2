#include <tessera/core/LogManager.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include <tessera/core/Config.h>
#include <tessera/core/GameLoop.h>

#include "platform/Platform.h"
#include "platform/Signals.h"

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

// Lines wait here, not in the stream's own buffer, so that a signal that
// ends the process can still write them out (write(2) of a buffer whose
// filled length is known). Filled under the log's lock; the length grows
// only after the bytes are in place.
char g_pending[64 * 1024];
volatile sig_atomic_t g_pending_length = 0;
volatile sig_atomic_t g_file_descriptor = -1;
// A line for the standard error stream should a signal end the process.
char g_last_line[1024];
volatile sig_atomic_t g_last_line_length = 0;

// A last word: what the log holds, then the last line.
void writeOutNow() {
  if (g_file_descriptor >= 0)
    platform::writeFromSignal(g_file_descriptor, g_pending, static_cast<size_t>(g_pending_length));
  platform::writeFromSignal(2, g_last_line, static_cast<size_t>(g_last_line_length));
}

// The message with its prefix and newline; long messages get the room they need.
std::string formatLine(const char *prefix, const char *format, va_list args) {
  char fixed[512];
  va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(fixed, sizeof fixed, format, args);
  std::string line = prefix;
  if (length < 0) {
    va_end(again);
    return "";
  }
  if (static_cast<size_t>(length) < sizeof fixed) {
    line.append(fixed, static_cast<size_t>(length));
  } else {
    std::string message(static_cast<size_t>(length) + 1, '\0');
    std::vsnprintf(&message[0], message.size(), format, again);
    line.append(message.data(), static_cast<size_t>(length));
  }
  va_end(again);
  line += '\n';
  return line;
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
  closeFile();
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
  // Unbuffered: the log's own buffer is written out in one call at a time.
  std::setvbuf(file, nullptr, _IONBF, 0);
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_p_f = file;
    m_file_name = file_name;
    g_pending_length = 0;
    g_file_descriptor = platform::descriptorOf(file);
    setLastLine();
  }
  platform::holdEndingSignals();
  platform::addLastWords(writeOutNow);
  Manager::startUp();
  writeLog(LOG_MANAGER, "LogManager::startUp(): successfully started.");
  return 0;
}

void LogManager::shutDown() {
  Manager::shutDown();
  writeLog(LOG_MANAGER, "LogManager::shutDown(): successfully stopped.");
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    closeFile();
  }
  platform::removeLastWords(writeOutNow);
  platform::releaseEndingSignals();
}

void LogManager::closeFile() {
  if (!m_p_f) return;
  writePending();
  g_file_descriptor = -1;
  std::fclose(m_p_f);
  m_p_f = nullptr;
}

bool LogManager::writePending() const {
  const size_t length = static_cast<size_t>(g_pending_length);
  if (!m_p_f || length == 0) return true;
  const bool written = std::fwrite(g_pending, 1, length, m_p_f) == length;
  g_pending_length = 0;
  return written;
}

void LogManager::flush() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_p_f)
    writePending();
  else
    std::fflush(stderr);
}

void LogManager::nameLogOnFatalSignal(const std::string &lead) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_fatal_lead = lead;
  setLastLine();
}

// The lead and the log's path, composed ahead for the last words.
void LogManager::setLastLine() {
  std::string line;
  if (!m_fatal_lead.empty() && !m_file_name.empty()) {
    const std::string directory = m_file_name[0] == '/' ? "" : platform::workingDirectory();
    line = m_fatal_lead + (directory.empty() ? "" : directory + "/") + m_file_name;
  }
  const size_t length = std::min(line.size(), sizeof g_last_line - 1);
  g_last_line_length = 0;
  std::atomic_signal_fence(std::memory_order_seq_cst);
  std::memcpy(g_last_line, line.data(), length);
  if (length > 0) g_last_line[length] = '\n';
  std::atomic_signal_fence(std::memory_order_seq_cst);
  g_last_line_length = static_cast<sig_atomic_t>(length > 0 ? length + 1 : 0);
}

// One line at a time, whichever thread writes it: the media library's
// messages come from its own threads.
int LogManager::writeLine(const char *format, va_list args) const {
  char prefix[64] = "";
  char time_text[32] = "";
  if (m_log_time) formatTimeOfDay(time_text, sizeof time_text);
  std::snprintf(prefix, sizeof prefix, "%s%s", time_text, m_log_time ? " " : "");
  if (m_log_step_count)
    std::snprintf(prefix + std::strlen(prefix), sizeof prefix - std::strlen(prefix), "%4d ", GameLoop::stepCount());
  const std::string line = formatLine(prefix, format, args);
  if (line.empty()) return -1;
  const int written = static_cast<int>(line.size() - std::strlen(prefix) - 1);
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_p_f) return std::fwrite(line.data(), 1, line.size(), stderr) == line.size() ? written : -1;
  if (static_cast<size_t>(g_pending_length) + line.size() > sizeof g_pending && !writePending()) return -1;
  if (line.size() > sizeof g_pending)
    return std::fwrite(line.data(), 1, line.size(), m_p_f) == line.size() ? written : -1;
  std::memcpy(g_pending + g_pending_length, line.data(), line.size());
  std::atomic_signal_fence(std::memory_order_seq_cst);  // the bytes before the length that covers them
  g_pending_length = static_cast<sig_atomic_t>(g_pending_length + line.size());
  if (m_do_flush && !writePending()) return -1;
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
