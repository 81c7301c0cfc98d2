#include <tessera/input/InputManager.h>

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Event.hpp>
#include <SFML/Window/Keyboard.hpp>
#include <SFML/Window/Mouse.hpp>

#include <tessera/core/Config.h>
#include <tessera/core/EventRegistry.h>
#include <tessera/core/GameLoop.h>
#include <tessera/core/LogManager.h>
#include <tessera/graphics/DisplayManager.h>
#include <tessera/input/EventMouse.h>
#include <tessera/system/Text.h>

#include "input/TerminalReader.h"
#include "platform/Terminal.h"

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

void sendMouse(EventMouseAction action, Mouse::Button button, Vector position) {
  EventMouse event;
  event.setMouseAction(action);
  event.setMouseButton(button);
  event.setMousePosition(position);
  InputManager::getInstance().onEvent(&event);
}

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

// The held-key list in engine keys, for the terminal.
std::vector<Keyboard::Key> heldKeyOrder() {
  std::vector<Keyboard::Key> keys;
  for (Key key : HELD_KEYS) keys.push_back(toEngineKey(key));
  return keys;
}

// Mouse reports on, every motion, in the SGR form; the keyboard protocol
// with key release and all keys as sequences, then the question whether the
// terminal speaks it (its answer switches the reader to real releases).
const char *const TERMINAL_INPUT_ON = "\x1b[?1000h\x1b[?1002h\x1b[?1003h\x1b[?1006h\x1b[>11u\x1b[?u";
const char *const TERMINAL_INPUT_OFF = "\x1b[<u\x1b[?1006l\x1b[?1003l\x1b[?1002l\x1b[?1000l";
// Lines about ignored input per frame at most; a flood is summed up.
const int IGNORED_LINES_PER_FRAME = 5;

Vector cellsOf(int x, int y) { return pixelsToSpaces(Vector(static_cast<float>(x), static_cast<float>(y))); }

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

namespace {
Manager &inputManager() { return InputManager::getInstance(); }
[[maybe_unused]] const bool claimed = EventRegistry::claim({KEYBOARD_EVENT, MOUSE_EVENT}, inputManager);
}  // namespace

InputManager::InputManager() { setType("InputManager"); }

InputManager::~InputManager() = default;

InputManager &InputManager::getInstance() {
  static InputManager instance;
  return instance;
}

bool InputManager::isValid(std::string event_type) const {
  return event_type == KEYBOARD_EVENT || event_type == MOUSE_EVENT;
}

int InputManager::startUp() {
  const LogManager &log = LogManager::getInstance();
  if (isStarted()) {
    log.writeLog("%s::startup(): Warning! %s already started.", getType().c_str(), getType().c_str());
    return -1;
  }
  if (Config::getInstance().getHeadless()) {
    log.writeLog(LOG_ROUTINE, "InputManager::startUp(): no input in headless mode.");
  } else {
    DisplayManager &display = DisplayManager::getInstance();
    if (!display.isStarted()) {
      log.writeLog("InputManager::startUp(): Error! DisplayManager must be started first.");
      return -1;
    }
    if (display.isTerminal()) {
      if (startTerminal() != 0) return -1;
    } else if (sf::RenderWindow *window = display.getWindow()) {
      window->setKeyRepeatEnabled(false);
      log.writeLog(LOG_SETTINGS, "InputManager::startUp(): Keyboard repeated disabled.");
    } else {
      log.writeLog("InputManager::startUp(): Warning! DisplayManager null. Cannot disable keyboard repeat.");
    }
  }
  m_window_closed = false;
  Manager::startUp();
  log.writeLog(LOG_MANAGER, "InputManager::startUp(): successfully started.");
  return 0;
}

int InputManager::startTerminal() {
  if (!platform::pushTerminalMode(TERMINAL_INPUT_ON, TERMINAL_INPUT_OFF)) {
    LogManager::getInstance().writeLog(
        "InputManager::startUp(): Error! Unable to switch on the terminal's input modes.");
    return -1;
  }
  m_p_terminal = std::make_unique<TerminalReader>(heldKeyOrder());
  LogManager::getInstance().writeLog(LOG_SETTINGS,
                                     "InputManager::startUp(): reading keys and mouse from the terminal.");
  return 0;
}

void InputManager::shutDown() {
  const LogManager &log = LogManager::getInstance();
  if (m_p_terminal) {
    platform::popTerminalMode();
    m_p_terminal.reset();
  }
  if (sf::RenderWindow *window = DisplayManager::getInstance().getWindow()) {
    window->setKeyRepeatEnabled(true);
    log.writeLog(LOG_SETTINGS, "InputManager::shutDown(): Keyboard repeat enabled.");
  }
  Manager::shutDown();
  log.writeLog(LOG_MANAGER, "InputManager::shutDown(): successfully stopped.");
}

EventKeyboard InputManager::toEventKeyboard(const sf::Event &event) const {
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

// Sends the queued window events; false when the window was closed.
bool InputManager::readQueue() {
  sf::RenderWindow *window = DisplayManager::getInstance().getWindow();
  sf::Event event;
  while (window->pollEvent(event)) {
    switch (event.type) {
      case sf::Event::Closed:
        LogManager::getInstance().writeLog(LOG_ROUTINE, "InputManager::getInput(): Window closed. Setting game over.");
        m_window_closed = true;
        GameLoop::endGame();
        return false;
      case sf::Event::KeyPressed:
      case sf::Event::KeyReleased: {
        EventKeyboard keyboard = toEventKeyboard(event);
        keyboard.setKeyboardAction(event.type == sf::Event::KeyPressed ? KEY_PRESSED : KEY_RELEASED);
        onEvent(&keyboard);
        break;
      }
      case sf::Event::MouseMoved:
        sendMouse(MOVED, Mouse::UNDEFINED_MOUSE_BUTTON, cellsOf(event.mouseMove.x, event.mouseMove.y));
        break;
      case sf::Event::MouseButtonPressed:
        sendMouse(CLICKED, engineButton(event.mouseButton.button), cellsOf(event.mouseButton.x, event.mouseButton.y));
        break;
      default:
        break;
    }
  }
  return true;
}

void InputManager::sendHeldButtons() const {
  sf::Vector2i where = sf::Mouse::getPosition(*DisplayManager::getInstance().getWindow());
  EventMouse event;
  event.setMouseAction(PRESSED);
  event.setMousePosition(cellsOf(where.x, where.y));
  for (sf::Mouse::Button button : {sf::Mouse::Left, sf::Mouse::Right, sf::Mouse::Middle}) {
    if (!sf::Mouse::isButtonPressed(button)) continue;
    event.setMouseButton(engineButton(button));
    onEvent(&event);
  }
}

void InputManager::sendHeldKeys() const {
  for (Key key : HELD_KEYS) {
    if (!sf::Keyboard::isKeyPressed(key)) continue;
    EventKeyboard event;
    event.setKeyboardAction(KEY_DOWN);
    event.setKey(toEngineKey(key));
    onEvent(&event);
  }
}

// Delivers what the terminal sent; a closed terminal or the interrupt key
// ends the game as a closed window does. Those two are always logged: unlike
// a closed window they may come from outside the game.
void InputManager::readTerminal() {
  const LogManager &log = LogManager::getInstance();
  if (platform::takeTerminalHangUp()) {
    log.writeLog("InputManager::getInput(): Terminal closed (hang-up). Setting game over.");
    GameLoop::endGame();
    return;
  }
  const TerminalReader::ByteSource source = [](char *buffer, size_t size, std::string &error) {
    return platform::readTerminal(buffer, size, error);
  };
  int ignored = 0;
  for (const TerminalInput &input : m_p_terminal->readFrame(source)) {
    switch (input.kind) {
      case TerminalInput::KEY: {
        EventKeyboard keyboard;
        keyboard.setKey(input.key);
        keyboard.setKeyboardAction(input.key_action);
        if (input.key_action != KEY_DOWN) {
          if (input.key == Keyboard::UNDEFINED_KEY)
            log.writeLog(LOG_ROUTINE, "InputManager::toEventKeyboard(): Warning key '%s' not handled.",
                         input.text.c_str());
          log.writeLog(LOG_FRAME, "InputManager::toEventKeyboard(): Keyboard event '%s' (%s)",
                       keyToString(input.key).c_str(), input.text.c_str());
        }
        onEvent(&keyboard);
        break;
      }
      case TerminalInput::MOUSE:
        sendMouse(input.mouse_action, input.button,
                  Vector(static_cast<float>(input.column), static_cast<float>(input.row)));
        break;
      case TerminalInput::INTERRUPT:
        log.writeLog("InputManager::getInput(): Interrupt key (%s). Setting game over.", input.text.c_str());
        GameLoop::endGame();
        return;
      case TerminalInput::CLOSED:
        log.writeLog("InputManager::getInput(): Terminal closed (%s). Setting game over.", input.text.c_str());
        GameLoop::endGame();
        return;
      default:
        if (++ignored <= IGNORED_LINES_PER_FRAME)
          log.writeLog("InputManager::getInput(): Warning! Ignored terminal input '%s'.", input.text.c_str());
        break;
    }
  }
  if (ignored > IGNORED_LINES_PER_FRAME)
    log.writeLog("InputManager::getInput(): Warning! Ignored %d more pieces of terminal input.",
                 ignored - IGNORED_LINES_PER_FRAME);
}

void InputManager::getInput() {
  if (Config::getInstance().getHeadless()) return;
  if (m_p_terminal) {
    readTerminal();
    return;
  }
  if (!DisplayManager::getInstance().getWindow()) {
    LogManager::getInstance().writeLog("InputManager::getInput(): DisplayManager unexpectedly returned null window!");
    return;
  }
  if (!readQueue()) return;
  sendHeldButtons();
  sendHeldKeys();
}

}  // namespace ts
