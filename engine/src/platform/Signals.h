// The two signals that ask a program to stop, interrupt (Ctrl-C) and
// terminate (kill's default). While they are caught, the first one is only
// noted, so that the game loop can end the game through its normal shut-down
// and the log is closed; a second one ends the process at once.
#ifndef TS_PLATFORM_SIGNALS_H
#define TS_PLATFORM_SIGNALS_H

#include <string>

namespace ts {
namespace platform {

// Catches both signals from now on; a signal noted before stays noted.
void catchStopSignals();
// Gives both signals back the handling they had before catchStopSignals().
void releaseStopSignals();
// Whether a stop signal has been noted and not yet taken.
bool stopSignalPending();
// The noted signal's number, once (0 when none is noted); a second signal
// still ends the process at once.
int takeStopSignal();
// Work that must happen before a second stop signal ends the process at
// once (putting the terminal back); async-signal-safe, or null for none.
void setLastWords(void (*last_words)());
// "SIGINT", "SIGTERM", or "signal <number>".
std::string signalName(int signal);

}  // namespace platform
}  // namespace ts

#endif
