#include "platform/Terminal.h"

#include "platform/Signals.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace ts {
namespace platform {

namespace {

// Signals the terminal handles itself; every signal that ends the process
// runs restoreTerminalNow() as a last word (platform/Signals).
const int OWN_SIGNALS[] = {SIGWINCH, SIGHUP, SIGTSTP, SIGCONT};

int g_fd = -1;
struct termios g_saved_settings;
struct termios g_raw_settings;
// What switches every pushed mode off, newest first, and on again, oldest
// first; fixed in size so the signal handlers can write them without
// allocating.
char g_restore[1024];
volatile sig_atomic_t g_restore_length = 0;
char g_resume[1024];
volatile sig_atomic_t g_resume_length = 0;
volatile sig_atomic_t g_continued = 0;
std::vector<std::pair<std::string, std::string>> g_modes;
volatile sig_atomic_t g_resized = 0;
volatile sig_atomic_t g_hung_up = 0;
struct sigaction g_previous[NSIG];
bool g_installed[NSIG];

// Async-signal-safe: only write() and tcsetattr().
void restoreTerminalNow() {
  if (g_fd < 0) return;
  writeFromSignal(g_fd, g_restore, static_cast<size_t>(g_restore_length));
  tcsetattr(g_fd, TCSAFLUSH, &g_saved_settings);
}

// Async-signal-safe: raw mode and every pushed mode again, and a note for
// the display to draw the whole screen anew.
void resumeTerminalNow() {
  if (g_fd < 0) return;
  tcsetattr(g_fd, TCSANOW, &g_raw_settings);
  writeFromSignal(g_fd, g_resume, static_cast<size_t>(g_resume_length));
  g_continued = 1;
}

void onOwnSignal(int signal_number);

struct sigaction ownAction() {
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = onOwnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  return action;
}

void install(int signal_number) {
  const struct sigaction action = ownAction();
  struct sigaction previous;
  if (sigaction(signal_number, &action, &previous) != 0) return;
  // A suspension the process was told to ignore stays ignored.
  if (signal_number == SIGTSTP && previous.sa_handler == SIG_IGN && !(previous.sa_flags & SA_SIGINFO)) {
    sigaction(signal_number, &previous, nullptr);
    return;
  }
  g_previous[signal_number] = previous;
  g_installed[signal_number] = true;
}

// The shell gets its terminal back while the game is stopped (Ctrl-Z in the
// shell's job control, kill -TSTP); the stop itself is the default action,
// taken here with the signal unblocked. SIGCONT takes the terminal again,
// also after a stop that could not be caught.
void suspend() {
  restoreTerminalNow();
  struct sigaction stop_now;
  std::memset(&stop_now, 0, sizeof stop_now);
  stop_now.sa_handler = SIG_DFL;
  sigemptyset(&stop_now.sa_mask);
  sigaction(SIGTSTP, &stop_now, nullptr);
  sigset_t tstp;
  sigemptyset(&tstp);
  sigaddset(&tstp, SIGTSTP);
  raise(SIGTSTP);
  pthread_sigmask(SIG_UNBLOCK, &tstp, nullptr);  // stops here until SIGCONT
  const struct sigaction own = ownAction();
  sigaction(SIGTSTP, &own, nullptr);
}

void onOwnSignal(int signal_number) {
  const int saved_errno = errno;
  if (signal_number == SIGWINCH) g_resized = 1;
  if (signal_number == SIGHUP) g_hung_up = 1;
  if (signal_number == SIGTSTP) suspend();
  if (signal_number == SIGCONT) resumeTerminalNow();
  errno = saved_errno;
}

void uninstallAll() {
  for (int signal_number = 1; signal_number < NSIG; ++signal_number) {
    if (!g_installed[signal_number]) continue;
    sigaction(signal_number, &g_previous[signal_number], nullptr);
    g_installed[signal_number] = false;
  }
}

// Blocks the signals whose handlers read the shared state while it changes.
class SignalBlock {
 public:
  SignalBlock() {
    sigset_t all;
    sigfillset(&all);
    sigprocmask(SIG_BLOCK, &all, &m_previous);
  }
  ~SignalBlock() { sigprocmask(SIG_SETMASK, &m_previous, nullptr); }

 private:
  sigset_t m_previous;
};

bool rebuildRestore() {
  std::string off, on;
  for (auto mode = g_modes.rbegin(); mode != g_modes.rend(); ++mode) off += mode->second;
  for (const auto &mode : g_modes) on += mode.first;
  if (off.size() > sizeof g_restore || on.size() > sizeof g_resume) return false;
  SignalBlock block;
  std::memcpy(g_restore, off.data(), off.size());
  g_restore_length = static_cast<sig_atomic_t>(off.size());
  std::memcpy(g_resume, on.data(), on.size());
  g_resume_length = static_cast<sig_atomic_t>(on.size());
  return true;
}

void restoreAtExit() { closeTerminal(); }

}  // namespace

bool openTerminal(std::string &error) {
  if (g_fd >= 0) return true;
  const int fd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    error = std::string("cannot open the terminal: ") + std::strerror(errno);
    return false;
  }
  if (tcgetattr(fd, &g_saved_settings) != 0) {
    error = std::string("cannot read the terminal's settings: ") + std::strerror(errno);
    ::close(fd);
    return false;
  }
  struct termios raw = g_saved_settings;
  raw.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON);
  raw.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  raw.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB);
  raw.c_cflag |= CS8;
  raw.c_cc[VMIN] = 1;  // reads happen only after poll() saw input
  raw.c_cc[VTIME] = 0;
  {
    SignalBlock block;
    g_fd = fd;
    g_raw_settings = raw;
    g_restore_length = 0;
    g_resume_length = 0;
    g_modes.clear();
    g_resized = 0;
    g_hung_up = 0;
    g_continued = 0;
    holdEndingSignals();
    addLastWords(restoreTerminalNow);
    for (int signal_number : OWN_SIGNALS) install(signal_number);
  }
  if (tcsetattr(fd, TCSAFLUSH, &raw) != 0) {
    error = std::string("cannot switch the terminal to raw mode: ") + std::strerror(errno);
    closeTerminal();
    return false;
  }
  static bool exit_hook = false;
  if (!exit_hook) exit_hook = std::atexit(restoreAtExit) == 0;
  return true;
}

bool terminalIsOpen() { return g_fd >= 0; }

bool pushTerminalMode(const std::string &on, const std::string &off) {
  if (g_fd < 0) return false;
  g_modes.emplace_back(on, off);
  if (!rebuildRestore()) {
    g_modes.pop_back();
    return false;
  }
  std::string error;
  return writeTerminal(on.data(), on.size(), error);
}

void popTerminalMode() {
  if (g_fd < 0 || g_modes.empty()) return;
  const std::string off = g_modes.back().second;
  g_modes.pop_back();
  rebuildRestore();
  std::string error;
  writeTerminal(off.data(), off.size(), error);
}

void closeTerminal() {
  if (g_fd < 0) return;
  SignalBlock block;
  restoreTerminalNow();
  uninstallAll();
  removeLastWords(restoreTerminalNow);
  releaseEndingSignals();
  ::close(g_fd);
  g_fd = -1;
  g_restore_length = 0;
  g_modes.clear();
}

bool terminalSize(int &columns, int &rows) {
  struct winsize size;
  if (g_fd < 0 || ioctl(g_fd, TIOCGWINSZ, &size) != 0 || size.ws_col == 0 || size.ws_row == 0) return false;
  columns = size.ws_col;
  rows = size.ws_row;
  return true;
}

bool takeTerminalResized() {
  if (!g_resized) return false;
  g_resized = 0;
  return true;
}

bool takeTerminalContinued() {
  if (!g_continued) return false;
  g_continued = 0;
  return true;
}

bool takeTerminalHangUp() {
  if (!g_hung_up) return false;
  g_hung_up = 0;
  return true;
}

long readTerminal(char *buffer, size_t size, std::string &error) {
  if (g_fd < 0) {
    error = "the terminal is not open";
    return -1;
  }
  struct pollfd watched = {g_fd, POLLIN, 0};
  int ready;
  do {
    ready = poll(&watched, 1, 0);
  } while (ready < 0 && errno == EINTR);
  if (ready < 0) {
    error = std::strerror(errno);
    return -1;
  }
  if (ready == 0) return 0;
  if (!(watched.revents & POLLIN)) {
    error = "the terminal hung up";
    return -1;
  }
  ssize_t count;
  do {
    count = ::read(g_fd, buffer, size);
  } while (count < 0 && errno == EINTR);
  if (count < 0) {
    error = std::strerror(errno);
    return -1;
  }
  if (count == 0) {
    error = "end of input";
    return -1;
  }
  return static_cast<long>(count);
}

bool writeTerminal(const char *data, size_t size, std::string &error) {
  if (g_fd < 0) {
    error = "the terminal is not open";
    return false;
  }
  size_t done = 0;
  while (done < size) {
    ssize_t written = ::write(g_fd, data + done, size - done);
    if (written > 0) {
      done += static_cast<size_t>(written);
      continue;
    }
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      struct pollfd watched = {g_fd, POLLOUT, 0};
      if (poll(&watched, 1, 1000) > 0) continue;
    }
    error = written < 0 ? std::strerror(errno) : "the terminal took no bytes";
    return false;
  }
  return true;
}

}  // namespace platform
}  // namespace ts
