#include "input/TerminalReader.h"

#include <utility>

#include <tessera/system/Text.h>

namespace ts {

namespace {
// Bytes read per frame at most: a flood of input cannot stall the frame.
const size_t MAX_BYTES_PER_FRAME = 64 * 1024;
const size_t CHUNK = 4096;
}  // namespace

TerminalReader::TerminalReader(std::vector<Keyboard::Key> held_order)
    : m_held_order(std::move(held_order)),
      m_reports_releases(false),
      m_buttons{false, false, false},
      m_mouse_column(0),
      m_mouse_row(0) {}

bool TerminalReader::readBytes(const ByteSource &source, std::vector<TerminalInput> &decoded, std::string &closed) {
  char buffer[CHUNK];
  size_t total = 0;
  while (total < MAX_BYTES_PER_FRAME) {
    std::string error;
    const long count = source(buffer, sizeof buffer, error);
    if (count < 0) {
      closed = error;
      return false;
    }
    if (count == 0) break;
    m_decoder.feed(buffer, static_cast<size_t>(count), decoded);
    total += static_cast<size_t>(count);
  }
  // A sequence still unfinished after a frame without bytes will not be
  // finished; a lone Escape is then the Escape key.
  if (total == 0) m_decoder.expire(decoded);
  return true;
}

std::vector<TerminalInput> TerminalReader::readFrame(const ByteSource &source) {
  std::vector<TerminalInput> decoded, out;
  std::string closed;
  const bool open = readBytes(source, decoded, closed);
  releaseUnrepeated(decoded, out);
  for (const TerminalInput &input : decoded)
    if (!deliver(input, out)) return out;
  if (!open) {
    TerminalInput end;
    end.kind = TerminalInput::CLOSED;
    end.text = closed;
    out.push_back(end);
    return out;
  }
  addHeld(out);
  return out;
}

// Without releases from the terminal, last frame's keys go up now unless
// this frame repeats them.
void TerminalReader::releaseUnrepeated(const std::vector<TerminalInput> &decoded, std::vector<TerminalInput> &out) {
  if (m_reports_releases) return;
  std::set<Keyboard::Key> repeated;
  for (const TerminalInput &input : decoded)
    if (input.kind == TerminalInput::KEY && m_pressed_last_frame.count(input.key)) repeated.insert(input.key);
  for (Keyboard::Key key : m_pressed_last_frame)
    if (!repeated.count(key)) out.push_back(keyInput(key, KEY_RELEASED, keyToString(key)));
  m_held = repeated;
  m_pressed_last_frame.clear();
}

bool TerminalReader::deliver(const TerminalInput &input, std::vector<TerminalInput> &out) {
  switch (input.kind) {
    case TerminalInput::KEY:
      deliverKey(input, out);
      return true;
    case TerminalInput::MOUSE:
      deliverMouse(input, out);
      return true;
    case TerminalInput::KEYBOARD_PROTOCOL:
      // Flag 2: the terminal reports repeats and releases from now on.
      if ((input.flags & 2) && !m_reports_releases) {
        m_reports_releases = true;
        for (Keyboard::Key key : m_held) out.push_back(keyInput(key, KEY_RELEASED, keyToString(key)));
        m_held.clear();
      }
      return true;
    case TerminalInput::INTERRUPT:
      out.push_back(input);
      return false;
    default:
      out.push_back(input);
      return true;
  }
}

void TerminalReader::deliverKey(const TerminalInput &input, std::vector<TerminalInput> &out) {
  const Keyboard::Key key = input.key;
  const bool defined = key != Keyboard::UNDEFINED_KEY;
  if (m_reports_releases) {
    if (input.key_action == KEY_RELEASED) {
      if (defined) m_held.erase(key);
      out.push_back(input);
    } else if (!defined || m_held.insert(key).second) {
      out.push_back(keyInput(key, KEY_PRESSED, input.text));  // a repeat of a held key is no new press
    }
    return;
  }
  if (!defined) {
    out.push_back(keyInput(key, KEY_PRESSED, input.text));
    return;
  }
  m_pressed_last_frame.insert(key);
  if (m_held.insert(key).second) out.push_back(keyInput(key, KEY_PRESSED, input.text));
}

void TerminalReader::deliverMouse(const TerminalInput &input, std::vector<TerminalInput> &out) {
  m_mouse_column = input.column;
  m_mouse_row = input.row;
  const int index = input.button;
  if (input.mouse_action == UNDEFINED_MOUSE_ACTION) {  // released: nothing to report
    if (index >= 0 && index < 3) m_buttons[index] = false;
    return;
  }
  if (input.mouse_action == CLICKED && index >= 0 && index < 3) m_buttons[index] = true;
  TerminalInput output = input;
  if (output.mouse_action == MOVED) output.button = Mouse::UNDEFINED_MOUSE_BUTTON;
  out.push_back(output);
}

void TerminalReader::addHeld(std::vector<TerminalInput> &out) const {
  for (Mouse::Button button : {Mouse::LEFT, Mouse::RIGHT, Mouse::MIDDLE}) {
    if (!m_buttons[button]) continue;
    TerminalInput held;
    held.kind = TerminalInput::MOUSE;
    held.mouse_action = PRESSED;
    held.button = button;
    held.column = m_mouse_column;
    held.row = m_mouse_row;
    out.push_back(held);
  }
  for (Keyboard::Key key : m_held_order)
    if (m_held.count(key)) out.push_back(keyInput(key, KEY_DOWN, keyToString(key)));
}

}  // namespace ts
