#include "graphics/TerminalDisplay.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <tessera/core/GameLoop.h>
#include <tessera/core/LogManager.h>

#include "platform/Terminal.h"

namespace ts {

namespace {
// The alternate screen keeps the shell's screen and cursor for the return;
// the cursor is hidden while the game draws.
const char *const SCREEN_ON = "\x1b[?1049h\x1b[?25l";
const char *const SCREEN_OFF = "\x1b[0m\x1b[?25h\x1b[?1049l";
}  // namespace

TerminalDisplay::TerminalDisplay()
    : m_open(false),
      m_gone(false),
      m_full(true),
      m_shape_skip_logged(false),
      m_world_columns(0),
      m_world_rows(0),
      m_background{0, 0, 0} {}

TerminalDisplay::~TerminalDisplay() { close(); }

int TerminalDisplay::open(int &columns, int &rows, bool fit_columns, bool fit_rows, Rgb background) {
  const LogManager &log = LogManager::getInstance();
  std::string error;
  if (!platform::openTerminal(error)) {
    log.writeLog("DisplayManager::startUp(): Error! Unable to use the terminal: %s.", error.c_str());
    return -1;
  }
  m_open = true;
  if (!platform::pushTerminalMode(SCREEN_ON, SCREEN_OFF)) {
    log.writeLog("DisplayManager::startUp(): Error! Unable to switch the terminal's screen.");
    close();
    return -1;
  }
  int terminal_columns = 0, terminal_rows = 0;
  if (platform::terminalSize(terminal_columns, terminal_rows)) {
    if (fit_columns) columns = terminal_columns;
    if (fit_rows) rows = terminal_rows;
  } else if (fit_columns || fit_rows) {
    log.writeLog("DisplayManager::startUp(): Warning! Terminal size unknown; using %d x %d cells.", columns, rows);
  }
  std::string why;
  m_writer.setColorDepth(TerminalWriter::depthFor(std::getenv("TERM"), std::getenv("COLORTERM"), why));
  if (!why.empty()) log.writeLog("DisplayManager::startUp(): Warning! %s.", why.c_str());
  m_world_columns = columns;
  m_world_rows = rows;
  m_background = background;
  m_gone = false;
  m_shape_skip_logged = false;
  fitToTerminal("startUp");
  log.writeLog(LOG_MANAGER, "DisplayManager::startUp(): drawing in the terminal, %d x %d cells.", columns, rows);
  return 0;
}

// Sizes the buffers to the part of the world the terminal can show.
void TerminalDisplay::fitToTerminal(const char *operation) {
  int terminal_columns = m_world_columns, terminal_rows = m_world_rows;
  if (!platform::terminalSize(terminal_columns, terminal_rows)) {
    terminal_columns = m_world_columns;
    terminal_rows = m_world_rows;
  }
  m_terminal_columns = terminal_columns;
  m_terminal_rows = terminal_rows;
  m_too_small = terminal_columns < m_world_columns || terminal_rows < m_world_rows;
  if (m_too_small)
    LogManager::getInstance().writeLog(
        "DisplayManager::%s(): Warning! The terminal (%d x %d cells) is smaller than the world (%d x %d cells); "
        "drawing what fits.",
        operation, terminal_columns, terminal_rows, m_world_columns, m_world_rows);
  const int width = std::min(terminal_columns, m_world_columns), height = std::min(terminal_rows, m_world_rows);
  m_next.resize(width, height, m_background);
  m_shown.resize(width, height, m_background);
  m_full = true;
}

void TerminalDisplay::drawSizeNotice() {
  char size[64], needed[64];
  std::snprintf(size, sizeof size, "%d x %d cells;", m_terminal_columns, m_terminal_rows);
  std::snprintf(needed, sizeof needed, "needs %d x %d.", m_world_columns, m_world_rows);
  const std::string lines[] = {"Terminal too small:", size, needed};
  const int count = 3, width = m_next.getWidth(), height = m_next.getHeight();
  const Rgb yellow{255, 255, 0};
  m_next.clear();
  const int top = std::max(0, (height - count) / 2);
  for (int i = 0; i < count && top + i < height; ++i) {
    const int length = static_cast<int>(lines[i].size());
    const int left = std::max(0, (width - length) / 2);
    for (int x = 0; x < length && left + x < width; ++x)
      m_next.set(left + x, top + i, Cell{static_cast<unsigned char>(lines[i][x]), yellow, m_background});
  }
}

void TerminalDisplay::close() {
  if (!m_open) return;
  m_open = false;
  platform::popTerminalMode();
  platform::closeTerminal();
}

void TerminalDisplay::draw(int x, int y, char32_t ch, Rgb color) { m_next.set(x, y, Cell{ch, color, m_background}); }

void TerminalDisplay::drawCell(Vector view_pos, char32_t ch, Rgb color, float) {
  draw(static_cast<int>(std::floor(view_pos.getX())), static_cast<int>(std::floor(view_pos.getY())), ch, color);
}

void TerminalDisplay::drawShape(const Shape &, Vector) {
  if (!m_shape_skip_logged)
    LogManager::getInstance().writeLog("Shape::draw(): Warning! Shapes are not drawn in the terminal; skipping them.");
  m_shape_skip_logged = true;
}

int TerminalDisplay::present() {
  if (!m_open || m_gone) return -1;
  if (platform::takeTerminalResized()) {
    LogManager::getInstance().writeLog(LOG_ROUTINE, "DisplayManager::swapBuffers(): the terminal was resized.");
    // What was drawn for the old size is dropped; the next frame fills the new one.
    fitToTerminal("swapBuffers");
    return 0;
  }
  // Back from a stop: the shell has drawn on the screen meanwhile.
  if (platform::takeTerminalContinued()) m_full = true;
  if (m_too_small) drawSizeNotice();
  m_output.clear();
  m_writer.writeFrame(m_shown, m_next, m_full, m_output);
  m_full = false;
  std::string error;
  if (!m_output.empty() && !platform::writeTerminal(m_output.data(), m_output.size(), error)) {
    m_gone = true;
    LogManager::getInstance().writeLog(
        "DisplayManager::swapBuffers(): Error! Cannot write to the terminal (%s). Setting game over.", error.c_str());
    GameLoop::endGame();
    return -1;
  }
  std::swap(m_shown, m_next);
  m_next.clear();
  return 0;
}

}  // namespace ts
