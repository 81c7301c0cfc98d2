#include "input/WindowInput.h"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Event.hpp>
#include <SFML/Window/Keyboard.hpp>
#include <SFML/Window/Mouse.hpp>

#include <tessera/core/GameLoop.h>
#include <tessera/core/LogManager.h>
#include <tessera/core/Manager.h>
#include <tessera/graphics/DisplayManager.h>
#include <tessera/system/Clock.h>
#include <tessera/system/Text.h>

namespace ts {

namespace {

using Key = sf::Keyboard::Key;

// Library key codes that have no engine key of their own letter or digit run.
struct KeyPair {
  Key library;
  Keyboard::Key engine;
};
// Two pairs a row.
// clang-format off
const KeyPair OTHER_KEYS[] = {
    {Key::Escape, Keyboard::ESCAPE},        {Key::LControl, Keyboard::LEFTCONTROL},
    {Key::LShift, Keyboard::LEFTSHIFT},     {Key::RControl, Keyboard::RIGHTCONTROL},
    {Key::RShift, Keyboard::RIGHTSHIFT},    {Key::LBracket, Keyboard::LEFTBRACKET},
    {Key::RBracket, Keyboard::RIGHTBRACKET}, {Key::Semicolon, Keyboard::SEMICOLON},
    {Key::Comma, Keyboard::COMMA},          {Key::Period, Keyboard::PERIOD},
    {Key::Quote, Keyboard::QUOTE},          {Key::Slash, Keyboard::SLASH},
    {Key::Backslash, Keyboard::BACKSLASH},  {Key::Tilde, Keyboard::TILDE},
    {Key::Equal, Keyboard::EQUAL},          {Key::Space, Keyboard::SPACE},
    {Key::Enter, Keyboard::RETURN},         {Key::Backspace, Keyboard::BACKSPACE},
    {Key::Tab, Keyboard::TAB},              {Key::Add, Keyboard::PLUS},
    {Key::Subtract, Keyboard::MINUS},       {Key::Multiply, Keyboard::MULTIPLY},
    {Key::Left, Keyboard::LEFTARROW},       {Key::Right, Keyboard::RIGHTARROW},
    {Key::Up, Keyboard::UPARROW},           {Key::Down, Keyboard::DOWNARROW},
    {Key::Pause, Keyboard::PAUSE},
};
// clang-format on

// The keys polled every frame for KEY_DOWN events, in polling order.
const Key HELD_KEYS[] = {
    Key::Up,        Key::Down,     Key::Left,      Key::Right,    Key::Space,  Key::Enter,    Key::Tab,
    Key::Escape,    Key::Pause,    Key::Subtract,  Key::Add,      Key::Tilde,  Key::Period,   Key::Comma,
    Key::Slash,     Key::Equal,    Key::Backslash, Key::Multiply, Key::Quote,  Key::LBracket, Key::RBracket,
    Key::Semicolon, Key::LControl, Key::RControl,  Key::LShift,   Key::RShift, Key::F1,       Key::F2,
    Key::F3,        Key::F4,       Key::F5,        Key::F6,       Key::F7,     Key::F8,       Key::F9,
    Key::F10,       Key::A,        Key::B,         Key::C,        Key::D,      Key::E,        Key::F,
    Key::G,         Key::H,        Key::I,         Key::J,        Key::K,      Key::L,        Key::M,
    Key::N,         Key::O,        Key::P,         Key::Q,        Key::R,      Key::S,        Key::T,
    Key::U,         Key::V,        Key::W,         Key::X,        Key::Y,      Key::Z,        Key::Num1,
    Key::Num2,      Key::Num3,     Key::Num4,      Key::Num5,     Key::Num6,   Key::Num7,     Key::Num8,
    Key::Num9,      Key::Num0,     Key::Backspace,
};
static_assert(sizeof HELD_KEYS / sizeof HELD_KEYS[0] == 73, "the held-key list has 73 keys");

// Names of the library's key codes 0 to 100, in code order.
const char *const KEY_NAMES[Key::KeyCount] = {
    "A",
    "B",
    "C",
    "D",
    "E",
    "F",
    "G",
    "H",
    "I",
    "J",
    "K",
    "L",
    "M",
    "N",
    "O",
    "P",
    "Q",
    "R",
    "S",
    "T",
    "U",
    "V",
    "W",
    "X",
    "Y",
    "Z",
    "0",
    "1",
    "2",
    "3",
    "4",
    "5",
    "6",
    "7",
    "8",
    "9",
    "Escape",
    "Left Control",
    "Left Shift",
    "Left Alt",
    "Left System",
    "Right Control",
    "Right Shift",
    "Right Alt",
    "Right System",
    "Menu",
    "[",
    "]",
    ";",
    ",",
    ".",
    "'",
    "/",
    "\\",
    "`",
    "=",
    "-",
    "Space",
    "Enter",
    "Backspace",
    "Tab",
    "Page Up",
    "Page Down",
    "End",
    "Home",
    "Insert",
    "Delete",
    "Numpad +",
    "Numpad -",
    "Numpad *",
    "Numpad /",
    "Left",
    "Right",
    "Up",
    "Down",
    "Numpad 0",
    "Numpad 1",
    "Numpad 2",
    "Numpad 3",
    "Numpad 4",
    "Numpad 5",
    "Numpad 6",
    "Numpad 7",
    "Numpad 8",
    "Numpad 9",
    "F1",
    "F2",
    "F3",
    "F4",
    "F5",
    "F6",
    "F7",
    "F8",
    "F9",
    "F10",
    "F11",
    "F12",
    "F13",
    "F14",
    "F15",
    "Pause",
};

Mouse::Button engineButton(sf::Mouse::Button button) {
  switch (button) {
    case sf::Mouse::Left:
      return Mouse::LEFT;
    case sf::Mouse::Right:
      return Mouse::RIGHT;
    case sf::Mouse::Middle:
      return Mouse::MIDDLE;
    default:
      return Mouse::UNDEFINED_MOUSE_BUTTON;
  }
}

Vector cellsOf(int x, int y) { return pixelsToSpaces(Vector(static_cast<float>(x), static_cast<float>(y))); }

sf::RenderWindow *displayWindow() { return DisplayManager::getInstance().getWindow(); }

}  // namespace

Keyboard::Key toEngineKey(int library_key) {
  if (library_key >= Key::A && library_key <= Key::Z)
    return static_cast<Keyboard::Key>(Keyboard::A + (library_key - Key::A));
  if (library_key == Key::Num0) return Keyboard::NUM0;
  if (library_key >= Key::Num1 && library_key <= Key::Num9)
    return static_cast<Keyboard::Key>(Keyboard::NUM1 + (library_key - Key::Num1));
  if (library_key >= Key::F1 && library_key <= Key::F12)
    return static_cast<Keyboard::Key>(Keyboard::F1 + (library_key - Key::F1));
  for (const KeyPair &pair : OTHER_KEYS)
    if (pair.library == library_key) return pair.engine;
  return Keyboard::UNDEFINED_KEY;
}

std::string libraryKeyName(int library_key) {
  if (library_key < 0 || library_key >= Key::KeyCount) return "Unknown";
  return KEY_NAMES[library_key];
}

std::vector<Keyboard::Key> heldKeyOrder() {
  std::vector<Keyboard::Key> keys;
  for (Key key : HELD_KEYS) keys.push_back(toEngineKey(key));
  return keys;
}

EventKeyboard toEventKeyboard(const sf::Event &event) {
  const LogManager &log = LogManager::getInstance();
  EventKeyboard keyboard;
  if (event.type != sf::Event::KeyPressed && event.type != sf::Event::KeyReleased) {
    log.writeLog("toEventKeyboard(): Error! Called with non-keyboard event.");
    keyboard.setKey(Keyboard::UNDEFINED_KEY);
    return keyboard;
  }
  const int code = event.key.code;
  const std::string name = libraryKeyName(code);
  Keyboard::Key key = toEngineKey(code);
  if (key == Keyboard::UNDEFINED_KEY)
    log.writeLog(LOG_ROUTINE, "InputManager::toEventKeyboard(): Warning key '%s' not handled.", name.c_str());
  keyboard.setKey(key);
  log.writeLog(LOG_FRAME, "InputManager::toEventKeyboard(): Keyboard event '%s' (%s)", keyToString(key).c_str(),
               name.c_str());
  return keyboard;
}

// A window event as sampled, with the time it was taken from the queue.
struct WindowInput::StampedEvent {
  sf::Event event;
  int64_t time;
};

WindowInput::WindowInput() = default;
WindowInput::~WindowInput() = default;

int WindowInput::start() {
  const LogManager &log = LogManager::getInstance();
  if (sf::RenderWindow *window = displayWindow()) {
    window->setKeyRepeatEnabled(false);
    log.writeLog(LOG_SETTINGS, "InputManager::startUp(): Keyboard repeated disabled.");
  } else {
    log.writeLog("InputManager::startUp(): Warning! DisplayManager null. Cannot disable keyboard repeat.");
  }
  return 0;
}

void WindowInput::stop() {
  if (sf::RenderWindow *window = displayWindow()) {
    window->setKeyRepeatEnabled(true);
    LogManager::getInstance().writeLog(LOG_SETTINGS, "InputManager::shutDown(): Keyboard repeat enabled.");
  }
}

void WindowInput::sample() {
  sf::RenderWindow *window = displayWindow();
  if (!window) return;
  if (!m_sampled.empty() && m_sampled.back().event.type == sf::Event::Closed) return;
  sf::Event event;
  while (window->pollEvent(event)) {
    m_sampled.push_back({event, monotonicMicroseconds()});
    if (event.type == sf::Event::Closed) return;
  }
}

InputSource::Outcome WindowInput::readFrame(const Manager &manager) {
  sf::RenderWindow *window = displayWindow();
  if (!window) {
    m_sampled.clear();
    LogManager::getInstance().writeLog("InputManager::getInput(): DisplayManager unexpectedly returned null window!");
    return READ;
  }
  if (deliverSampled(manager) == CLOSED) return CLOSED;
  if (readQueue(manager, *window) == CLOSED) return CLOSED;
  const int64_t poll_time = monotonicMicroseconds();
  sendHeldButtons(manager, *window, poll_time);
  sendHeldKeys(manager, poll_time);
  return READ;
}

// Sampling stops at a close request, so a close can only be the last
// sampled event.
InputSource::Outcome WindowInput::deliverSampled(const Manager &manager) {
  std::vector<StampedEvent> sampled;
  sampled.swap(m_sampled);  // a handler may end the input (and this object) meanwhile
  for (const StampedEvent &stamped : sampled)
    if (deliver(manager, stamped.event, stamped.time) == CLOSED) return CLOSED;
  return READ;
}

// Sends the queued window events; stops at the close request.
InputSource::Outcome WindowInput::readQueue(const Manager &manager, sf::RenderWindow &window) {
  sf::Event event;
  while (window.pollEvent(event))
    if (deliver(manager, event, monotonicMicroseconds()) == CLOSED) return CLOSED;
  return READ;
}

InputSource::Outcome WindowInput::deliver(const Manager &manager, const sf::Event &event, int64_t time) {
  switch (event.type) {
    case sf::Event::Closed:
      LogManager::getInstance().writeLog(LOG_ROUTINE, "InputManager::getInput(): Window closed. Setting game over.");
      GameLoop::endGame();
      return CLOSED;
    case sf::Event::KeyPressed:
    case sf::Event::KeyReleased: {
      EventKeyboard keyboard = toEventKeyboard(event);
      keyboard.setKeyboardAction(event.type == sf::Event::KeyPressed ? KEY_PRESSED : KEY_RELEASED);
      keyboard.setTime(time);
      manager.onEvent(&keyboard);
      break;
    }
    case sf::Event::MouseMoved:
      sendMouse(manager, MOVED, Mouse::UNDEFINED_MOUSE_BUTTON, cellsOf(event.mouseMove.x, event.mouseMove.y), time);
      break;
    case sf::Event::MouseButtonPressed:
      sendMouse(manager, CLICKED, engineButton(event.mouseButton.button),
                cellsOf(event.mouseButton.x, event.mouseButton.y), time);
      break;
    default:
      break;
  }
  return READ;
}

void WindowInput::sendHeldButtons(const Manager &manager, const sf::RenderWindow &window, int64_t time) {
  sf::Vector2i where = sf::Mouse::getPosition(window);
  EventMouse event;
  event.setMouseAction(PRESSED);
  event.setMousePosition(cellsOf(where.x, where.y));
  event.setTime(time);
  for (sf::Mouse::Button button : {sf::Mouse::Left, sf::Mouse::Right, sf::Mouse::Middle}) {
    if (!sf::Mouse::isButtonPressed(button)) continue;
    event.setMouseButton(engineButton(button));
    manager.onEvent(&event);
  }
}

void WindowInput::sendHeldKeys(const Manager &manager, int64_t time) {
  for (Key key : HELD_KEYS) {
    if (!sf::Keyboard::isKeyPressed(key)) continue;
    EventKeyboard event;
    event.setKeyboardAction(KEY_DOWN);
    event.setKey(toEngineKey(key));
    event.setTime(time);
    manager.onEvent(&event);
  }
}

}  // namespace ts
