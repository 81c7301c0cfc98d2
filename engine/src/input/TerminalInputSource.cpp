#include "input/TerminalInputSource.h"

#include <utility>

#include <tessera/core/GameLoop.h>
#include <tessera/core/LogManager.h>
#include <tessera/core/Manager.h>
#include <tessera/system/Text.h>

#include "platform/Terminal.h"

namespace ts {

namespace {

// Mouse reports on, every motion, in the SGR form; the keyboard protocol
// with key release and all keys as sequences, then the question whether the
// terminal speaks it (its answer switches the reader to real releases).
const char *const TERMINAL_INPUT_ON = "\x1b[?1000h\x1b[?1002h\x1b[?1003h\x1b[?1006h\x1b[>11u\x1b[?u";
const char *const TERMINAL_INPUT_OFF = "\x1b[<u\x1b[?1006l\x1b[?1003l\x1b[?1002l\x1b[?1000l";
// Lines about ignored input per frame at most; a flood is summed up.
const int IGNORED_LINES_PER_FRAME = 5;

}  // namespace

TerminalInputSource::TerminalInputSource(std::vector<Keyboard::Key> held_order)
    : m_reader(std::move(held_order)), m_started(false) {}

int TerminalInputSource::start() {
  const LogManager &log = LogManager::getInstance();
  if (!platform::pushTerminalMode(TERMINAL_INPUT_ON, TERMINAL_INPUT_OFF)) {
    log.writeLog("InputManager::startUp(): Error! Unable to switch on the terminal's input modes.");
    return -1;
  }
  m_started = true;
  log.writeLog(LOG_SETTINGS, "InputManager::startUp(): reading keys and mouse from the terminal.");
  return 0;
}

void TerminalInputSource::stop() {
  if (m_started) platform::popTerminalMode();
  m_started = false;
}

namespace {
long readTerminalBytes(char *buffer, size_t size, std::string &error) {
  return platform::readTerminal(buffer, size, error);
}
}  // namespace

void TerminalInputSource::sample() { m_reader.sample(readTerminalBytes); }

InputSource::Outcome TerminalInputSource::readFrame(const Manager &manager) {
  const LogManager &log = LogManager::getInstance();
  if (platform::takeTerminalHangUp()) {
    log.writeLog("InputManager::getInput(): Terminal closed (hang-up). Setting game over.");
    GameLoop::endGame();
    return READ;
  }
  int ignored = 0;
  for (const TerminalInput &input : m_reader.readFrame(readTerminalBytes)) {
    switch (input.kind) {
      case TerminalInput::KEY:
        deliverKey(manager, input);
        break;
      case TerminalInput::MOUSE:
        sendMouse(manager, input.mouse_action, input.button,
                  Vector(static_cast<float>(input.column), static_cast<float>(input.row)), input.time);
        break;
      case TerminalInput::INTERRUPT:
        log.writeLog("InputManager::getInput(): Interrupt key (%s). Setting game over.", input.text.c_str());
        GameLoop::endGame();
        return READ;
      case TerminalInput::CLOSED:
        log.writeLog("InputManager::getInput(): Terminal closed (%s). Setting game over.", input.text.c_str());
        GameLoop::endGame();
        return READ;
      default:
        if (++ignored <= IGNORED_LINES_PER_FRAME)
          log.writeLog("InputManager::getInput(): Warning! Ignored terminal input '%s'.", input.text.c_str());
        break;
    }
  }
  if (ignored > IGNORED_LINES_PER_FRAME)
    log.writeLog("InputManager::getInput(): Warning! Ignored %d more pieces of terminal input.",
                 ignored - IGNORED_LINES_PER_FRAME);
  return READ;
}

// Held keys (KEY_DOWN) are sent without a log line, as the window's are.
void TerminalInputSource::deliverKey(const Manager &manager, const TerminalInput &input) const {
  const LogManager &log = LogManager::getInstance();
  EventKeyboard keyboard;
  keyboard.setKey(input.key);
  keyboard.setKeyboardAction(input.key_action);
  keyboard.setTime(input.time);
  if (input.key_action != KEY_DOWN) {
    if (input.key == Keyboard::UNDEFINED_KEY)
      log.writeLog(LOG_ROUTINE, "InputManager::toEventKeyboard(): Warning key '%s' not handled.", input.text.c_str());
    log.writeLog(LOG_FRAME, "InputManager::toEventKeyboard(): Keyboard event '%s' (%s)", keyToString(input.key).c_str(),
                 input.text.c_str());
  }
  manager.onEvent(&keyboard);
}

}  // namespace ts
