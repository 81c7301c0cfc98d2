#include "input/TerminalReader.h"

#include <utility>

#include <tessera/system/Clock.h>
#include <tessera/system/Text.h>

namespace ts {

namespace {
// Bytes read per frame at most: a flood of input cannot stall the frame.
const size_t MAX_BYTES_PER_FRAME = 64 * 1024;
const size_t CHUNK = 4096;

TerminalInput keyAt(Keyboard::Key key, EventKeyboardAction action, const std::string &name, int64_t time) {
  TerminalInput input = keyInput(key, action, name);
  input.time = time;
  return input;
}

void stampFrom(std::vector<TerminalInput> &inputs, size_t first, int64_t time) {
  for (size_t i = first; i < inputs.size(); ++i) inputs[i].time = time;
}
}  // namespace

TerminalReader::TerminalReader(std::vector<Keyboard::Key> held_order)
    : m_held_order(std::move(held_order)),
      m_frame_bytes(0),
      m_last_byte_time(0),
      m_open(true),
      m_reports_releases(false),
      m_buttons{false, false, false},
      m_mouse_column(0),
      m_mouse_row(0) {}

void TerminalReader::readBytes(const ByteSource &source) {
  char buffer[CHUNK];
  while (m_open && m_frame_bytes < MAX_BYTES_PER_FRAME) {
    std::string error;
    const long count = source(buffer, sizeof buffer, error);
    if (count < 0) {
      m_open = false;
      m_closed = error;
      return;
    }
    if (count == 0) return;
    m_last_byte_time = monotonicMicroseconds();
    const size_t first = m_decoded.size();
    m_decoder.feed(buffer, static_cast<size_t>(count), m_decoded);
    stampFrom(m_decoded, first, m_last_byte_time);
    m_frame_bytes += static_cast<size_t>(count);
  }
}

void TerminalReader::sample(const ByteSource &source) { readBytes(source); }

std::vector<TerminalInput> TerminalReader::readFrame(const ByteSource &source) {
  readBytes(source);
  // A sequence still unfinished after a frame without bytes will not be
  // finished; a lone Escape is then the Escape key, from when it came.
  if (m_open && m_frame_bytes == 0) {
    const size_t first = m_decoded.size();
    m_decoder.expire(m_decoded);
    stampFrom(m_decoded, first, m_last_byte_time);
  }
  std::vector<TerminalInput> decoded, out;
  decoded.swap(m_decoded);
  m_frame_bytes = 0;
  const int64_t now = monotonicMicroseconds();
  releaseUnrepeated(decoded, out, now);
  for (const TerminalInput &input : decoded)
    if (!deliver(input, out)) return out;
  if (!m_open) {
    m_open = true;  // the next frame asks again, as it did before sampling
    TerminalInput end;
    end.kind = TerminalInput::CLOSED;
    end.text = m_closed;
    end.time = now;
    out.push_back(end);
    return out;
  }
  addHeld(out, now);
  return out;
}

// Without releases from the terminal, last frame's keys go up now unless
// this frame repeats them.
void TerminalReader::releaseUnrepeated(const std::vector<TerminalInput> &decoded, std::vector<TerminalInput> &out,
                                       int64_t now) {
  if (m_reports_releases) return;
  std::set<Keyboard::Key> repeated;
  for (const TerminalInput &input : decoded)
    if (input.kind == TerminalInput::KEY && m_pressed_last_frame.count(input.key)) repeated.insert(input.key);
  for (Keyboard::Key key : m_pressed_last_frame)
    if (!repeated.count(key)) out.push_back(keyAt(key, KEY_RELEASED, keyToString(key), now));
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
        for (Keyboard::Key key : m_held) out.push_back(keyAt(key, KEY_RELEASED, keyToString(key), input.time));
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
      out.push_back(keyAt(key, KEY_PRESSED, input.text, input.time));  // a repeat of a held key is no new press
    }
    return;
  }
  if (!defined) {
    out.push_back(keyAt(key, KEY_PRESSED, input.text, input.time));
    return;
  }
  m_pressed_last_frame.insert(key);
  if (m_held.insert(key).second) out.push_back(keyAt(key, KEY_PRESSED, input.text, input.time));
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

void TerminalReader::addHeld(std::vector<TerminalInput> &out, int64_t now) const {
  for (Mouse::Button button : {Mouse::LEFT, Mouse::RIGHT, Mouse::MIDDLE}) {
    if (!m_buttons[button]) continue;
    TerminalInput held;
    held.kind = TerminalInput::MOUSE;
    held.mouse_action = PRESSED;
    held.button = button;
    held.column = m_mouse_column;
    held.row = m_mouse_row;
    held.time = now;
    out.push_back(held);
  }
  for (Keyboard::Key key : m_held_order)
    if (m_held.count(key)) out.push_back(keyAt(key, KEY_DOWN, keyToString(key), now));
}

}  // namespace ts
