// The controlling terminal as a screen and keyboard: raw mode, its size, its
// bytes in and out. Modes switched on with pushTerminalMode() are switched
// off again, newest first, when the terminal is closed, when the process
// exits without closing it, on a signal that ends the process, and while the
// game is stopped (SIGTSTP; SIGCONT takes the terminal again), so the shell
// gets its terminal back exactly as it was.
#ifndef TS_PLATFORM_TERMINAL_H
#define TS_PLATFORM_TERMINAL_H

#include <cstddef>
#include <string>

namespace ts {
namespace platform {

// Opens the controlling terminal and puts it in raw mode (no echo, no line
// editing, no signals from keys, no output processing). False with the
// reason in `error` when there is no terminal or it cannot be set up.
bool openTerminal(std::string &error);
bool terminalIsOpen();
// Writes `on` now and remembers `off` for the restore; false when the
// restore sequences would exceed their fixed buffer or the write fails.
bool pushTerminalMode(const std::string &on, const std::string &off);
// Writes the newest mode's `off` sequence and forgets it.
void popTerminalMode();
// Switches every pushed mode off, restores the saved settings (dropping
// unread input) and closes the terminal. Safe to call when not open.
void closeTerminal();

// The terminal's size in cells; false when it cannot be read.
bool terminalSize(int &columns, int &rows);
// Whether the terminal was resized since the last call.
bool takeTerminalResized();
// Whether the game was continued after a stop since the last call: raw mode
// and the modes are back, and the whole screen must be drawn again.
bool takeTerminalContinued();
// Whether the terminal hung up (its window closed) since the last call.
bool takeTerminalHangUp();

// Reads what the terminal has sent without waiting: the number of bytes,
// 0 when nothing is pending, -1 when the input has ended (hang-up, end of
// file or a read error; the system's text goes to `error`).
long readTerminal(char *buffer, size_t size, std::string &error);
// Writes all bytes; false with the system's text in `error` when the
// terminal is gone.
bool writeTerminal(const char *data, size_t size, std::string &error);

}  // namespace platform
}  // namespace ts

#endif
