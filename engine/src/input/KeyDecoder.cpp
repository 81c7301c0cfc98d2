#include "input/KeyDecoder.h"

#include <cstdio>

#include <tessera/system/Text.h>

namespace ts {

TerminalInput keyInput(Keyboard::Key key, EventKeyboardAction action, const std::string &name) {
  TerminalInput input;
  input.kind = TerminalInput::KEY;
  input.key = key;
  input.key_action = action;
  input.text = name;
  return input;
}

namespace {

const char ESC = 0x1b;
// Numbers in sequences larger than this are nonsense; they read as 0.
const int MAX_NUMBER = 0x10ffff;
const int MAX_FIELDS = 4;
const int MAX_SUBFIELDS = 3;

TerminalInput pressOf(Keyboard::Key key) { return keyInput(key, KEY_PRESSED, keyToString(key)); }

TerminalInput ignoredInput(const std::string &bytes) {
  TerminalInput input;
  input.kind = TerminalInput::IGNORED;
  input.text = printableBytes(bytes);
  return input;
}

// The key that types a character on a US keyboard, shifted or not, as the
// window reports the key rather than the character.
Keyboard::Key keyOfCharacter(int ch) {
  if (ch >= 'a' && ch <= 'z') return static_cast<Keyboard::Key>(Keyboard::A + (ch - 'a'));
  if (ch >= 'A' && ch <= 'Z') return static_cast<Keyboard::Key>(Keyboard::A + (ch - 'A'));
  if (ch >= '1' && ch <= '9') return static_cast<Keyboard::Key>(Keyboard::NUM1 + (ch - '1'));
  switch (ch) {
    case '0':
    case ')':
      return Keyboard::NUM0;
    case '!':
      return Keyboard::NUM1;
    case '@':
      return Keyboard::NUM2;
    case '#':
      return Keyboard::NUM3;
    case '$':
      return Keyboard::NUM4;
    case '%':
      return Keyboard::NUM5;
    case '^':
      return Keyboard::NUM6;
    case '&':
      return Keyboard::NUM7;
    case '*':
      return Keyboard::NUM8;
    case '(':
      return Keyboard::NUM9;
    case ' ':
      return Keyboard::SPACE;
    case '\r':
    case '\n':
      return Keyboard::RETURN;
    case '\t':
      return Keyboard::TAB;
    case 0x7f:
    case 0x08:
      return Keyboard::BACKSPACE;
    case 0x1b:
      return Keyboard::ESCAPE;
    case '`':
    case '~':
      return Keyboard::TILDE;
    case '=':
    case '+':
      return Keyboard::EQUAL;
    case '[':
    case '{':
      return Keyboard::LEFTBRACKET;
    case ']':
    case '}':
      return Keyboard::RIGHTBRACKET;
    case ';':
    case ':':
      return Keyboard::SEMICOLON;
    case '\'':
    case '"':
      return Keyboard::QUOTE;
    case ',':
    case '<':
      return Keyboard::COMMA;
    case '.':
    case '>':
      return Keyboard::PERIOD;
    case '/':
    case '?':
      return Keyboard::SLASH;
    case '\\':
    case '|':
      return Keyboard::BACKSLASH;
    default:
      return Keyboard::UNDEFINED_KEY;
  }
}

std::string nameOfCharacter(int ch) {
  Keyboard::Key key = keyOfCharacter(ch);
  if (key != Keyboard::UNDEFINED_KEY) return keyToString(key);
  if (ch == '-' || ch == '_') return "-";
  char text[16];
  std::snprintf(text, sizeof text, "character %d", ch);
  return text;
}

TerminalInput characterInput(int ch, EventKeyboardAction action) {
  return keyInput(keyOfCharacter(ch), action, nameOfCharacter(ch));
}

// A key a sequence names by a number or a letter: the key the window would
// report for it (none for keys it has no code for) and its name.
struct NamedKey {
  int code;
  Keyboard::Key key;
  const char *name;
};

// The key codes of the keyboard protocol beyond the characters.
const NamedKey PROTOCOL_KEYS[] = {
    {13, Keyboard::RETURN, "Enter"},
    {57414, Keyboard::RETURN, "Enter"},
    {57362, Keyboard::PAUSE, "Pause"},
    {57411, Keyboard::MULTIPLY, "Numpad *"},
    {57412, Keyboard::MINUS, "Numpad -"},
    {57413, Keyboard::PLUS, "Numpad +"},
    {57441, Keyboard::LEFTSHIFT, "Left Shift"},
    {57442, Keyboard::LEFTCONTROL, "Left Control"},
    {57447, Keyboard::RIGHTSHIFT, "Right Shift"},
    {57448, Keyboard::RIGHTCONTROL, "Right Control"},
};

// The final letters of sequences: cursor keys, F1 to F4, Home, End and
// back-tab.
const NamedKey LETTER_KEYS[] = {
    {'A', Keyboard::UPARROW, "Up"},
    {'B', Keyboard::DOWNARROW, "Down"},
    {'C', Keyboard::RIGHTARROW, "Right"},
    {'D', Keyboard::LEFTARROW, "Left"},
    {'P', Keyboard::F1, "F1"},
    {'Q', Keyboard::F2, "F2"},
    {'R', Keyboard::F3, "F3"},
    {'S', Keyboard::F4, "F4"},
    {'Z', Keyboard::TAB, "Tab"},
    {'H', Keyboard::UNDEFINED_KEY, "Home"},
    {'F', Keyboard::UNDEFINED_KEY, "End"},
    {'E', Keyboard::UNDEFINED_KEY, "Numpad 5"},
};

template <size_t N>
const NamedKey *findNamedKey(const NamedKey (&table)[N], int code) {
  for (const NamedKey &named : table)
    if (named.code == code) return &named;
  return nullptr;
}

TerminalInput protocolKeyInput(int code, EventKeyboardAction action) {
  if (const NamedKey *named = findNamedKey(PROTOCOL_KEYS, code)) return keyInput(named->key, action, named->name);
  if (code < 128) return characterInput(code, action);
  char name[24];
  std::snprintf(name, sizeof name, "key code %d", code);
  return keyInput(Keyboard::UNDEFINED_KEY, action, name);
}

TerminalInput letterKeyInput(char final, EventKeyboardAction action) {
  if (const NamedKey *named = findNamedKey(LETTER_KEYS, final)) return keyInput(named->key, action, named->name);
  return ignoredInput(std::string(1, final));
}

// The key of a sequence ending in '~'.
TerminalInput tildeKeyInput(int number, EventKeyboardAction action) {
  static const char *const EDITING[] = {"", "Home", "Insert", "Delete", "End", "Page Up", "Page Down", "Home", "End"};
  if (number >= 1 && number <= 8) return keyInput(Keyboard::UNDEFINED_KEY, action, EDITING[number]);
  if (number >= 11 && number <= 14) return letterKeyInput("PQRS"[number - 11], action);
  if (number == 15) return keyInput(Keyboard::F5, action, "F5");
  if (number >= 17 && number <= 21)
    return keyInput(static_cast<Keyboard::Key>(Keyboard::F6 + (number - 17)), action,
                    keyToString(static_cast<Keyboard::Key>(Keyboard::F6 + (number - 17))));
  if (number == 23) return keyInput(Keyboard::F11, action, "F11");
  if (number == 24) return keyInput(Keyboard::F12, action, "F12");
  if (number == 29) return keyInput(Keyboard::UNDEFINED_KEY, action, "Menu");
  char name[24];
  std::snprintf(name, sizeof name, "key %d~", number);
  return keyInput(Keyboard::UNDEFINED_KEY, action, name);
}

// Parameters "1;2:3;4" as numbers; missing ones read as 0.
struct Parameters {
  int value[MAX_FIELDS][MAX_SUBFIELDS] = {};
  int count = 0;    // fields seen
  char prefix = 0;  // a leading private marker: '<', '=', '>' or '?'

  int at(int field, int sub = 0) const { return field < MAX_FIELDS ? value[field][sub] : 0; }
  // The keyboard protocol's event type: 1 press, 2 repeat, 3 release.
  EventKeyboardAction action() const {
    switch (at(1, 1)) {
      case 2:
        return KEY_DOWN;
      case 3:
        return KEY_RELEASED;
      default:
        return KEY_PRESSED;
    }
  }
};

Parameters parseParameters(const std::string &text) {
  Parameters parameters;
  size_t i = 0;
  if (!text.empty() && (text[0] == '<' || text[0] == '=' || text[0] == '>' || text[0] == '?'))
    parameters.prefix = text[i++];
  int field = 0, sub = 0;
  parameters.count = 1;
  for (; i < text.size(); ++i) {
    const char ch = text[i];
    if (ch == ';') {
      ++field;
      sub = 0;
      parameters.count = field + 1;
    } else if (ch == ':') {
      ++sub;
    } else if (ch >= '0' && ch <= '9' && field < MAX_FIELDS && sub < MAX_SUBFIELDS) {
      int &value = parameters.value[field][sub];
      value = value > MAX_NUMBER / 10 ? MAX_NUMBER + 1 : value * 10 + (ch - '0');
    }
  }
  for (auto &fields : parameters.value)
    for (int &value : fields)
      if (value > MAX_NUMBER) value = 0;
  return parameters;
}

// An SGR mouse report: button bits, then column and row counted from 1.
bool mouseInput(const Parameters &parameters, char final, TerminalInput &input) {
  const int bits = parameters.at(0);
  if (parameters.count < 3 || parameters.at(1) < 1 || parameters.at(2) < 1) return false;
  input.kind = TerminalInput::MOUSE;
  input.column = parameters.at(1) - 1;
  input.row = parameters.at(2) - 1;
  if (bits & (64 | 128)) return false;  // wheel and extra buttons: nothing the engine reports
  static const Mouse::Button BUTTONS[] = {Mouse::LEFT, Mouse::MIDDLE, Mouse::RIGHT, Mouse::UNDEFINED_MOUSE_BUTTON};
  input.button = BUTTONS[bits & 3];
  if (bits & 32)
    input.mouse_action = MOVED;
  else if (final == 'M')
    input.mouse_action = CLICKED;
  else
    input.mouse_action = UNDEFINED_MOUSE_ACTION;  // released
  if (input.mouse_action != MOVED && input.button == Mouse::UNDEFINED_MOUSE_BUTTON) return false;
  return true;
}

}  // namespace

std::string printableBytes(const std::string &bytes) {
  std::string text;
  const size_t shown = bytes.size() < 40 ? bytes.size() : 40;
  for (size_t i = 0; i < shown; ++i) {
    const unsigned char byte = static_cast<unsigned char>(bytes[i]);
    if (byte == 0x1b) {
      text += "ESC";
    } else if (byte < 0x20 || byte >= 0x7f) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", byte);
      text += hex;
    } else {
      text += static_cast<char>(byte);
    }
  }
  if (shown < bytes.size()) text += "...";
  return text;
}

void KeyDecoder::feed(const char *bytes, size_t size, std::vector<TerminalInput> &out) {
  // Decoded piece by piece, so the pending text stays small however much
  // arrives at once.
  const size_t piece = 256;
  for (size_t start = 0; start < size; start += piece) {
    m_pending.append(bytes + start, size - start < piece ? size - start : piece);
    size_t at = skipDroppedSequence(0);
    while (at < m_pending.size()) {
      const size_t used = decodeOne(at, false, out);
      if (used == 0) break;
      at += used;
    }
    m_pending.erase(0, at);
    if (m_pending.size() > MAX_PENDING) {
      out.push_back(ignoredInput(m_pending));
      m_pending.clear();
    }
  }
}

size_t KeyDecoder::skipDroppedSequence(size_t at) {
  while (m_skipping && at < m_pending.size()) {
    const unsigned char byte = static_cast<unsigned char>(m_pending[at]);
    if (byte >= 0x20 && byte <= 0x3f) {
      ++at;
      continue;
    }
    if (byte >= 0x40 && byte <= 0x7e) ++at;  // its final byte
    m_skipping = false;
  }
  return at;
}

void KeyDecoder::expire(std::vector<TerminalInput> &out) {
  m_skipping = false;
  size_t at = 0;
  while (at < m_pending.size()) at += decodeOne(at, true, out);
  m_pending.clear();
}

size_t KeyDecoder::decodeOne(size_t at, bool final, std::vector<TerminalInput> &out) {
  const unsigned char byte = static_cast<unsigned char>(m_pending[at]);
  if (byte == ESC) return decodeEscape(at, final, out);
  if (byte >= 0x80) return decodeUtf8(at, final, out);
  if (byte == 0x03) {
    TerminalInput input;
    input.kind = TerminalInput::INTERRUPT;
    input.text = "Control-C";
    out.push_back(input);
    return 1;
  }
  if (byte == '\r' || byte == '\n' || byte == '\t' || byte == 0x08 || byte == 0x7f || (byte >= 0x20 && byte < 0x7f)) {
    out.push_back(characterInput(byte, KEY_PRESSED));
    return 1;
  }
  if (byte >= 0x01 && byte <= 0x1a) {  // control and a letter
    out.push_back(characterInput('a' + byte - 1, KEY_PRESSED));
    return 1;
  }
  out.push_back(ignoredInput(std::string(1, static_cast<char>(byte))));
  return 1;
}

size_t KeyDecoder::decodeEscape(size_t at, bool final, std::vector<TerminalInput> &out) {
  if (at + 1 >= m_pending.size()) {
    if (!final) return 0;
    out.push_back(pressOf(Keyboard::ESCAPE));
    return 1;
  }
  const char next = m_pending[at + 1];
  if (next == '[' && (at + 2 < m_pending.size() || !final)) return decodeCsi(at, final, out);
  if (next == 'O' && at + 2 < m_pending.size()) {
    const char key = m_pending[at + 2];
    if (key == 'M')
      out.push_back(pressOf(Keyboard::RETURN));
    else if ((key >= 'A' && key <= 'D') || (key >= 'P' && key <= 'S'))
      out.push_back(letterKeyInput(key, KEY_PRESSED));
    else
      out.push_back(ignoredInput(m_pending.substr(at, 3)));
    return 3;
  }
  if (next == 'O' && !final) return 0;
  if (next == ESC) {
    out.push_back(pressOf(Keyboard::ESCAPE));
    return 1;
  }
  // Escape and a character arriving together: the character with Alt.
  const unsigned char byte = static_cast<unsigned char>(next);
  if (byte >= 0x20 && byte < 0x7f) {
    out.push_back(characterInput(byte, KEY_PRESSED));
    return 2;
  }
  out.push_back(pressOf(Keyboard::ESCAPE));
  return 1;
}

size_t KeyDecoder::decodeCsi(size_t at, bool final, std::vector<TerminalInput> &out) {
  size_t end = at + 2;
  while (end < m_pending.size()) {
    const unsigned char byte = static_cast<unsigned char>(m_pending[end]);
    if (byte >= 0x40 && byte <= 0x7e) break;  // the final byte
    if (byte < 0x20 || byte > 0x3f) {         // not a parameter: a broken sequence
      out.push_back(ignoredInput(m_pending.substr(at, end - at)));
      return end - at;
    }
    ++end;
  }
  if (end >= m_pending.size()) {
    if (!final && end - at <= MAX_PENDING) return 0;
    out.push_back(ignoredInput(m_pending.substr(at)));
    m_skipping = !final;
    return m_pending.size() - at;
  }
  const std::string body = m_pending.substr(at + 2, end - at - 2);
  const char last = m_pending[end];
  size_t used = end - at + 1;
  const Parameters parameters = parseParameters(body);
  TerminalInput input;
  if (parameters.prefix == '<' && (last == 'M' || last == 'm')) {
    if (mouseInput(parameters, last, input)) out.push_back(input);
  } else if (parameters.prefix == '?' && last == 'u') {
    input.kind = TerminalInput::KEYBOARD_PROTOCOL;
    input.flags = parameters.at(0);
    out.push_back(input);
  } else if (parameters.prefix == 0 && last == 'u') {
    out.push_back(protocolKeyInput(parameters.at(0), parameters.action()));
  } else if (parameters.prefix == 0 && last == '~' && parameters.at(0) == 27 && parameters.count >= 3) {
    out.push_back(protocolKeyInput(parameters.at(2), KEY_PRESSED));  // a key with modifiers: CSI 27;mods;code ~
  } else if (parameters.prefix == 0 && last == '~' && (parameters.at(0) == 200 || parameters.at(0) == 201)) {
    // start and end of pasted text: the text itself arrives as keys
  } else if (parameters.prefix == 0 && last == '~') {
    out.push_back(tildeKeyInput(parameters.at(0), parameters.action()));
  } else if (parameters.prefix == 0 && body.empty() && last == 'M') {
    // an old-style mouse report: three raw bytes follow
    if (m_pending.size() - at < used + 3) {
      if (!final) return 0;
      return m_pending.size() - at;
    }
    used += 3;
  } else if (parameters.prefix == 0 && std::string("ABCDPQRSZHFE").find(last) != std::string::npos &&
             !(last == 'R' && parameters.count >= 2 && parameters.at(0) != 1)) {
    out.push_back(letterKeyInput(last, parameters.action()));
  } else if (last == 'R' || last == 'c' || last == 'n' || last == 'I' || last == 'O' || last == 'y') {
    // answers to questions the terminal was asked, and focus reports
  } else {
    out.push_back(ignoredInput(m_pending.substr(at, used)));
  }
  return used;
}

size_t KeyDecoder::decodeUtf8(size_t at, bool final, std::vector<TerminalInput> &out) {
  const unsigned char lead = static_cast<unsigned char>(m_pending[at]);
  size_t length = 0;
  if (lead >= 0xc2 && lead <= 0xdf) length = 2;
  if (lead >= 0xe0 && lead <= 0xef) length = 3;
  if (lead >= 0xf0 && lead <= 0xf4) length = 4;
  if (length == 0) {
    out.push_back(ignoredInput(m_pending.substr(at, 1)));
    return 1;
  }
  size_t have = 1;
  while (have < length && at + have < m_pending.size() &&
         (static_cast<unsigned char>(m_pending[at + have]) & 0xc0) == 0x80)
    ++have;
  if (have < length && at + have >= m_pending.size() && !final) return 0;
  if (have < length) {
    out.push_back(ignoredInput(m_pending.substr(at, have)));
    return have;
  }
  // A character of another alphabet: a key the engine has no value for.
  out.push_back(keyInput(Keyboard::UNDEFINED_KEY, KEY_PRESSED, m_pending.substr(at, length)));
  return length;
}

}  // namespace ts
