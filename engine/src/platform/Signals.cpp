#include "platform/Signals.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace ts {
namespace platform {

namespace {

// Requests from another process, a timer or a limit: the process is sound,
// so the game may end through its shut-down.
const int STOP_REQUESTS[] = {SIGINT,    SIGTERM, SIGHUP,  SIGUSR1, SIGUSR2, SIGALRM,
                             SIGVTALRM, SIGPROF, SIGXCPU, SIGIO,   SIGPWR};
// The rest whose default ends the process: faults, abort and quit (which
// want their core), the file size limit (the log could not be written out
// anyway), a broken pipe, and the real-time signals below.
const int FATAL_SIGNALS[] = {SIGQUIT, SIGABRT, SIGSEGV, SIGBUS,  SIGFPE,   SIGILL,
                             SIGSYS,  SIGTRAP, SIGXFSZ, SIGPIPE, SIGSTKFLT};

// Written by the handlers, which may run on any of the process's threads.
volatile sig_atomic_t g_noted = 0;   // the stop request waiting to be taken
volatile sig_atomic_t g_caught = 0;  // stop requests seen since catching began

bool g_catching = false;
int g_holds = 0;
// What each signal had before this module first set it, and whether it has.
struct sigaction g_original[NSIG];
bool g_installed[NSIG];

const int MOST_LAST_WORDS = 8;
void (*volatile g_last_words[MOST_LAST_WORDS])() = {};
volatile sig_atomic_t g_last_word_count = 0;

bool isStopRequest(int signal_number) {
  for (int each : STOP_REQUESTS)
    if (each == signal_number) return true;
  return false;
}

bool isFatal(int signal_number) {
  for (int each : FATAL_SIGNALS)
    if (each == signal_number) return true;
  return false;
}

bool isEnding(int signal_number) {
  return isStopRequest(signal_number) || isFatal(signal_number) ||
         (signal_number >= SIGRTMIN && signal_number <= SIGRTMAX);
}

void runLastWordsNow() {
  for (int i = g_last_word_count - 1; i >= 0; --i)
    if (void (*last_words)() = g_last_words[i]) last_words();
}

// Async-signal-safe: the last words, then the signal again with the action
// it had before (by default, the end of the process), or with the default
// for a second stop request, which always ends the process. A fault comes
// again from the returning instruction, the others once this handler returns.
void endWith(int signal_number, bool by_default) {
  const int saved_errno = errno;
  runLastWordsNow();
  struct sigaction before = g_original[signal_number];
  if (by_default || (before.sa_handler == SIG_IGN && !(before.sa_flags & SA_SIGINFO))) {
    before.sa_flags &= ~SA_SIGINFO;
    before.sa_handler = SIG_DFL;
  }
  sigaction(signal_number, &before, nullptr);
  raise(signal_number);
  errno = saved_errno;
}

void onStopSignal(int signal_number) {
  if (g_caught++ > 0) {
    endWith(signal_number, true);
    return;
  }
  g_noted = signal_number;
}

void onEndingSignal(int signal_number) { endWith(signal_number, false); }

// Blocks every signal while the shared state changes.
class SignalBlock {
 public:
  SignalBlock() {
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &m_previous);
  }
  ~SignalBlock() { pthread_sigmask(SIG_SETMASK, &m_previous, nullptr); }

 private:
  sigset_t m_previous;
};

// Sets the signal's handler from what is asked now: a stop request caught,
// an ending held, or the signal's own action back.
void apply(int signal_number) {
  if (!g_installed[signal_number] && sigaction(signal_number, nullptr, &g_original[signal_number]) != 0) return;
  // A signal the process was told to ignore (nohup) stays ignored, and one
  // that a library handles (a profiler's SIGPROF, a timer) is left to it;
  // only interrupt and terminate are always the game's, as they always were.
  // A fault is wrapped, so that the last words come before the sanitizer's
  // report or the core.
  const struct sigaction &original = g_original[signal_number];
  const bool ignored = !(original.sa_flags & SA_SIGINFO) && original.sa_handler == SIG_IGN;
  const bool handled = (original.sa_flags & SA_SIGINFO) || original.sa_handler != SIG_DFL;
  const bool always_caught = signal_number == SIGINT || signal_number == SIGTERM;
  const bool stop = g_catching && isStopRequest(signal_number) && (always_caught || !handled);
  const bool ending = g_holds > 0 && !ignored && (!handled || isFatal(signal_number));
  if (!stop && !ending) {
    if (g_installed[signal_number]) sigaction(signal_number, &original, nullptr);
    g_installed[signal_number] = false;
    return;
  }
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = stop ? onStopSignal : onEndingSignal;
  sigemptyset(&action.sa_mask);
  if (stop)
    for (int each : STOP_REQUESTS) sigaddset(&action.sa_mask, each);
  // Other calls carry on after a noted request; only the frame sleep wants
  // to know, and it looks at the note itself.
  action.sa_flags = SA_RESTART;
  if (sigaction(signal_number, &action, nullptr) == 0) g_installed[signal_number] = true;
}

void applyAll() {
  SignalBlock block;
  for (int signal_number = 1; signal_number < NSIG; ++signal_number)
    if (isEnding(signal_number)) apply(signal_number);
}

}  // namespace

void catchStopSignals() {
  if (g_catching) return;
  g_catching = true;
  applyAll();
}

void releaseStopSignals() {
  if (!g_catching) return;
  g_catching = false;
  applyAll();
  g_caught = 0;
}

void holdEndingSignals() {
  ++g_holds;
  if (g_holds == 1) applyAll();
}

void releaseEndingSignals() {
  if (g_holds == 0) return;
  --g_holds;
  if (g_holds == 0) applyAll();
}

void addLastWords(void (*last_words)()) {
  SignalBlock block;
  for (int i = 0; i < g_last_word_count; ++i)
    if (g_last_words[i] == last_words) return;
  if (g_last_word_count < MOST_LAST_WORDS) g_last_words[g_last_word_count++] = last_words;
}

void removeLastWords(void (*last_words)()) {
  SignalBlock block;
  int kept = 0;
  for (int i = 0; i < g_last_word_count; ++i)
    if (g_last_words[i] != last_words) g_last_words[kept++] = g_last_words[i];
  for (int i = kept; i < g_last_word_count; ++i) g_last_words[i] = nullptr;
  g_last_word_count = kept;
}

void runLastWords() { runLastWordsNow(); }

bool stopSignalPending() { return g_noted != 0; }

int takeStopSignal() {
  const int signal = g_noted;
  g_noted = 0;
  return signal;
}

void writeFromSignal(int fd, const char *data, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t written = ::write(fd, data + done, size - done);
    if (written > 0)
      done += static_cast<size_t>(written);
    else if (!(written < 0 && errno == EINTR))
      return;
  }
}

int descriptorOf(std::FILE *stream) { return stream ? fileno(stream) : -1; }

std::string signalName(int signal) {
  if (signal >= SIGRTMIN && signal <= SIGRTMAX) return "SIGRTMIN+" + std::to_string(signal - SIGRTMIN);
  switch (signal) {
    case SIGINT:
      return "SIGINT";
    case SIGTERM:
      return "SIGTERM";
    case SIGHUP:
      return "SIGHUP";
    case SIGUSR1:
      return "SIGUSR1";
    case SIGUSR2:
      return "SIGUSR2";
    case SIGALRM:
      return "SIGALRM";
    case SIGVTALRM:
      return "SIGVTALRM";
    case SIGPROF:
      return "SIGPROF";
    case SIGXCPU:
      return "SIGXCPU";
    case SIGIO:
      return "SIGIO";
    case SIGPWR:
      return "SIGPWR";
    default:
      return "signal " + std::to_string(signal);
  }
}

}  // namespace platform
}  // namespace ts
