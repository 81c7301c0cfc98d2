// What the terminal sent during one frame, as the window would report it:
// key presses and releases, held keys, mouse clicks, moves and held buttons.
//
// Terminals that speak the keyboard protocol report releases; the others
// send only presses (and the terminal's own repeats of a held key). There a
// key counts as held for the frame it was pressed in and is released on the
// next frame, unless the terminal repeated it meanwhile: a repeat arriving in
// the next frame keeps the key held instead of pressing it again.
#ifndef TS_TERMINAL_READER_H
#define TS_TERMINAL_READER_H

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "input/KeyDecoder.h"

namespace ts {

class TerminalReader {
 public:
  // Reads pending bytes without waiting: a count, 0 for none, -1 when the
  // input has ended (the reason in the string).
  using ByteSource = std::function<long(char *, size_t, std::string &)>;

  // `held_order`: the keys reported as held (KEY_DOWN), in reporting order.
  explicit TerminalReader(std::vector<Keyboard::Key> held_order);

  // This frame's input in delivery order: queued keys and mouse reports
  // (with the releases of last frame's keys first where the terminal sends
  // none), then held buttons, then held keys. Ends at an interrupt key or a
  // closed terminal, which come last.
  std::vector<TerminalInput> readFrame(const ByteSource &source);
  bool reportsReleases() const { return m_reports_releases; }

 private:
  bool readBytes(const ByteSource &source, std::vector<TerminalInput> &decoded, std::string &closed);
  void releaseUnrepeated(const std::vector<TerminalInput> &decoded, std::vector<TerminalInput> &out);
  // False when the frame ends here (interrupt).
  bool deliver(const TerminalInput &input, std::vector<TerminalInput> &out);
  void deliverKey(const TerminalInput &input, std::vector<TerminalInput> &out);
  void deliverMouse(const TerminalInput &input, std::vector<TerminalInput> &out);
  void addHeld(std::vector<TerminalInput> &out) const;

  std::vector<Keyboard::Key> m_held_order;
  KeyDecoder m_decoder;
  bool m_reports_releases;
  std::set<Keyboard::Key> m_held;
  std::set<Keyboard::Key> m_pressed_last_frame;  // without releases: to release now
  bool m_buttons[3];
  int m_mouse_column;
  int m_mouse_row;
};

}  // namespace ts

#endif
