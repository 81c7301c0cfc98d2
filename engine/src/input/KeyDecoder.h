// Turns the bytes a terminal sends into keys and mouse reports: plain
// characters, control keys, the cursor and function key sequences, SGR mouse
// reports and the progressive enhancement keyboard protocol (which also
// reports key repeat and release). A sequence split over several reads is
// completed by the next read; anything it cannot read is skipped and
// reported, and it never holds more than a bounded number of bytes.
#ifndef TS_KEY_DECODER_H
#define TS_KEY_DECODER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <tessera/input/EventKeyboard.h>
#include <tessera/input/EventMouse.h>

namespace ts {

struct TerminalInput {
  enum Kind {
    KEY,                // key and key_action; KEY_DOWN from the decoder is a repeat
    MOUSE,              // mouse_action (UNDEFINED_MOUSE_ACTION from the decoder: released), button, cell
    KEYBOARD_PROTOCOL,  // the terminal's answer about the keyboard protocol: flags
    INTERRUPT,          // the interrupt key (control-C)
    CLOSED,             // the terminal is gone; text says why
    IGNORED,            // bytes that mean nothing known; text shows them
  };
  Kind kind = IGNORED;
  Keyboard::Key key = Keyboard::UNDEFINED_KEY;
  EventKeyboardAction key_action = UNDEFINED_KEYBOARD_ACTION;
  EventMouseAction mouse_action = UNDEFINED_MOUSE_ACTION;
  Mouse::Button button = Mouse::UNDEFINED_MOUSE_BUTTON;
  int column = 0;
  int row = 0;
  int flags = 0;
  std::string text;  // a key's name, or what was ignored or why it closed
  int64_t time = 0;  // when its last byte was read (monotonic microseconds); 0 from the decoder
};

// A KEY input: the key, what happened to it and its name.
TerminalInput keyInput(Keyboard::Key key, EventKeyboardAction action, const std::string &name);

class KeyDecoder {
 public:
  // Longest sequence kept while waiting for its end.
  static const size_t MAX_PENDING = 64;

  // Decodes the bytes; an unfinished sequence at the end waits for more.
  void feed(const char *bytes, size_t size, std::vector<TerminalInput> &out);
  // Called when a frame brought no bytes: what still waits is complete as it
  // is (a lone Escape is the Escape key) or is dropped.
  void expire(std::vector<TerminalInput> &out);
  bool hasPending() const { return !m_pending.empty(); }

 private:
  size_t decodeOne(size_t at, bool final, std::vector<TerminalInput> &out);
  size_t decodeEscape(size_t at, bool final, std::vector<TerminalInput> &out);
  size_t decodeCsi(size_t at, bool final, std::vector<TerminalInput> &out);
  size_t decodeUtf8(size_t at, bool final, std::vector<TerminalInput> &out);

  // Skips the rest of a sequence dropped for its length.
  size_t skipDroppedSequence(size_t at);

  std::string m_pending;
  bool m_skipping = false;  // inside a sequence dropped for its length
};

// Bytes shown readably for the log: escape as "ESC", other control bytes
// and bytes from 0x80 up as hexadecimal, at most 40 bytes.
std::string printableBytes(const std::string &bytes);

}  // namespace ts

#endif
