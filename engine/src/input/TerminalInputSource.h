// The terminal's input: mouse reports and the keyboard protocol switched on
// while the input manager runs, the bytes read once a frame and turned by
// TerminalReader into the same keyboard and mouse events as the window's.
// A closed terminal or the interrupt key ends the game as a closed window
// does; those two are always logged, since unlike a closed window they may
// come from outside the game.
#ifndef TS_TERMINAL_INPUT_SOURCE_H
#define TS_TERMINAL_INPUT_SOURCE_H

#include <vector>

#include "input/InputSource.h"
#include "input/TerminalReader.h"

namespace ts {

class TerminalInputSource : public InputSource {
 public:
  // `held_order`: the keys reported as held, in reporting order.
  explicit TerminalInputSource(std::vector<Keyboard::Key> held_order);

  int start() override;
  void stop() override;
  void sample() override;
  Outcome readFrame(const Manager &manager) override;

 private:
  void deliverKey(const Manager &manager, const TerminalInput &input) const;

  TerminalReader m_reader;
  bool m_started;
};

}  // namespace ts

#endif
