#include "platform/Signals.h"

#include <signal.h>

namespace ts {
namespace platform {

namespace {

const int STOP_SIGNALS[] = {SIGINT, SIGTERM};

// Written by the handler, which may run on any of the process's threads.
volatile sig_atomic_t g_noted = 0;   // the signal waiting to be taken
volatile sig_atomic_t g_caught = 0;  // stop signals seen since catching began

bool g_catching = false;
void (*volatile g_last_words)() = nullptr;
struct sigaction g_previous[2];

// Only async-signal-safe calls here: the second signal gets the default
// action (ending the process) and is raised again.
void onStopSignal(int signal) {
  if (g_caught++ > 0) {
    if (void (*last_words)() = g_last_words) last_words();
    struct sigaction default_action = {};
    default_action.sa_handler = SIG_DFL;
    sigemptyset(&default_action.sa_mask);
    sigaction(signal, &default_action, nullptr);
    raise(signal);
    return;
  }
  g_noted = signal;
}

}  // namespace

void catchStopSignals() {
  if (g_catching) return;
  struct sigaction action = {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  for (int signal : STOP_SIGNALS) sigaddset(&action.sa_mask, signal);
  // Other calls carry on after the handler; only the frame sleep wants to
  // know, and it looks at the note itself.
  action.sa_flags = SA_RESTART;
  for (int i = 0; i < 2; ++i) sigaction(STOP_SIGNALS[i], &action, &g_previous[i]);
  g_catching = true;
}

void releaseStopSignals() {
  if (!g_catching) return;
  for (int i = 0; i < 2; ++i) sigaction(STOP_SIGNALS[i], &g_previous[i], nullptr);
  g_catching = false;
  g_caught = 0;
}

void setLastWords(void (*last_words)()) { g_last_words = last_words; }

bool stopSignalPending() { return g_noted != 0; }

int takeStopSignal() {
  const int signal = g_noted;
  g_noted = 0;
  return signal;
}

std::string signalName(int signal) {
  if (signal == SIGINT) return "SIGINT";
  if (signal == SIGTERM) return "SIGTERM";
  return "signal " + std::to_string(signal);
}

}  // namespace platform
}  // namespace ts
