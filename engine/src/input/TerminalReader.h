// What the terminal sent during one frame, as the window would report it:
// key presses and releases, held keys, mouse clicks, moves and held buttons.
// Bytes may be read early, while the game loop sleeps (sample()); each input
// is stamped with the time of the read that brought its last byte, and the
// next frame delivers it. Frames are counted by readFrame() alone.
//
// Terminals that speak the keyboard protocol report releases; the others
// send only presses (and the terminal's own repeats of a held key). There a
// key counts as held for the frame it was pressed in and is released on the
// next frame, unless the terminal repeated it meanwhile: a repeat arriving in
// the next frame keeps the key held instead of pressing it again.
#ifndef TS_TERMINAL_READER_H
#define TS_TERMINAL_READER_H

#include <cstdint>
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

  // Reads and decodes the pending bytes now and keeps them for the next
  // readFrame(); a sequence split across reads is stamped when its last byte
  // comes.
  void sample(const ByteSource &source);
  // This frame's input in delivery order: the inputs sampled since the last
  // frame and those pending now, in the order they came (with the releases
  // of last frame's keys first where the terminal sends none), then held
  // buttons, then held keys. Ends at an interrupt key or a closed terminal,
  // which come last. Made-up releases and held state carry the time of this
  // call.
  std::vector<TerminalInput> readFrame(const ByteSource &source);
  bool reportsReleases() const { return m_reports_releases; }

 private:
  // Reads until nothing is pending or the frame's byte limit is reached.
  void readBytes(const ByteSource &source);
  void releaseUnrepeated(const std::vector<TerminalInput> &decoded, std::vector<TerminalInput> &out, int64_t now);
  // False when the frame ends here (interrupt).
  bool deliver(const TerminalInput &input, std::vector<TerminalInput> &out);
  void deliverKey(const TerminalInput &input, std::vector<TerminalInput> &out);
  void deliverMouse(const TerminalInput &input, std::vector<TerminalInput> &out);
  void addHeld(std::vector<TerminalInput> &out, int64_t now) const;

  std::vector<Keyboard::Key> m_held_order;
  KeyDecoder m_decoder;
  std::vector<TerminalInput> m_decoded;  // read since the last frame, not yet delivered
  size_t m_frame_bytes;                  // bytes read since the last frame
  int64_t m_last_byte_time;              // when the latest bytes were read
  bool m_open;                           // false once a read found the input ended
  std::string m_closed;                  // why it ended
  bool m_reports_releases;
  std::set<Keyboard::Key> m_held;
  std::set<Keyboard::Key> m_pressed_last_frame;  // without releases: to release now
  bool m_buttons[3];
  int m_mouse_column;
  int m_mouse_row;
};

}  // namespace ts

#endif
