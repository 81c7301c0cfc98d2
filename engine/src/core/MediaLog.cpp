#include "core/MediaLog.h"

#include <SFML/System/Err.hpp>
#include <cstdlib>
#include <mutex>
#include <streambuf>
#include <string>

#include <tessera/core/LogManager.h>

namespace ts {

namespace {

// Collects the library's characters into lines and writes each complete
// line to the engine log. The library writes from its streaming threads too,
// hence the lock. After MAX_LINES lines the rest is dropped, so a library
// that reports an error per buffer cannot flood the log.
class LogLineBuffer : public std::streambuf {
 public:
  static const int MAX_LINES = 200;
  bool isActive() const { return m_active; }
  void setActive(bool active) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_active = active;
  }

 protected:
  int overflow(int ch) override {
    if (ch == traits_type::eof()) return traits_type::not_eof(ch);
    char c = static_cast<char>(ch);
    xsputn(&c, 1);
    return ch;
  }
  std::streamsize xsputn(const char *text, std::streamsize count) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (std::streamsize i = 0; i < count; ++i) {
      if (text[i] == '\n') {
        flushLine();
      } else if (m_line.size() < 1000) {
        m_line += text[i];
      }
    }
    return count;
  }

 private:
  void flushLine() {
    std::string line;
    line.swap(m_line);
    if (!m_active || m_lines > MAX_LINES) return;
    if (++m_lines > MAX_LINES) {
      LogManager::getInstance().writeLog("SFML: Warning! Too many messages; the rest are not logged.");
      return;
    }
    LogManager::getInstance().writeLog("SFML: %s", line.c_str());
  }

  std::mutex m_mutex;
  std::string m_line;
  bool m_active = false;
  int m_lines = 0;
};

// Never destroyed: the library may still write while static objects die.
LogLineBuffer *g_line_buffer = nullptr;
std::streambuf *g_previous_buffer = nullptr;

// Runs before the log manager is destroyed (it was registered after the log
// manager was built), and hands the error stream back to its own buffer.
void restoreLibraryStream() {
  if (!g_line_buffer) return;
  g_line_buffer->setActive(false);
  sf::err().rdbuf(g_previous_buffer);
}

}  // namespace

void routeMediaLibraryMessagesToLog() {
  if (g_line_buffer) return;
  LogManager::getInstance();  // built first, so it outlives the routing
  g_line_buffer = new LogLineBuffer;
  g_line_buffer->setActive(true);
  g_previous_buffer = sf::err().rdbuf(g_line_buffer);
  std::atexit(restoreLibraryStream);
}

}  // namespace ts
