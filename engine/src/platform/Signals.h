// Signals that end the process.
//
// Requests to stop (interrupt, terminate, hang-up, the user signals, the
// timers, the soft CPU limit, asynchronous input): while they are caught the
// first one is only noted, so that the game loop can end the game through
// its normal shut-down and the log is closed; a second one ends the process
// at once, after the last words.
//
// Every other signal whose default ends the process (faults, abort, quit, the
// file size limit, a broken pipe, the real-time signals): while held, the
// last words run and the signal is then handed to the action it had before
// (by default: the process ends with it, as it would have).
//
// The last words are async-signal-safe functions registered by whoever has
// something to put right before the process goes: the terminal's modes, the
// log's buffered lines.
#ifndef TS_PLATFORM_SIGNALS_H
#define TS_PLATFORM_SIGNALS_H

#include <cstddef>
#include <cstdio>
#include <string>

namespace ts {
namespace platform {

// Catches the stop requests from now on; a signal noted before stays noted.
void catchStopSignals();
// Gives them back the handling they had before catchStopSignals().
void releaseStopSignals();
// Whether a stop signal has been noted and not yet taken.
bool stopSignalPending();
// The noted signal's number, once (0 when none is noted); a second signal
// still ends the process at once.
int takeStopSignal();

// Catches every ending signal that can be caught (counted: the handlers stay
// until as many releases as holds); signals the process ignores stay ignored.
void holdEndingSignals();
void releaseEndingSignals();
// Adds or removes a last word (async-signal-safe; at most eight at once,
// each once). They run newest first.
void addLastWords(void (*last_words)());
void removeLastWords(void (*last_words)());
// Runs the last words now (for an ending that is not a signal).
void runLastWords();

// Writes all bytes to the descriptor with write(2) alone; for last words.
void writeFromSignal(int fd, const char *data, size_t size);
// The descriptor under a stream, taken ahead for the last words; -1 for none.
int descriptorOf(std::FILE *stream);
// "SIGINT", "SIGTERM", "SIGHUP", ... or "signal <number>".
std::string signalName(int signal);

}  // namespace platform
}  // namespace ts

#endif
