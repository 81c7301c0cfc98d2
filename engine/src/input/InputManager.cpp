#include <tessera/input/InputManager.h>

#include <tessera/core/Config.h>
#include <tessera/core/EventRegistry.h>
#include <tessera/core/LogManager.h>
#include <tessera/graphics/DisplayManager.h>

#include "input/TerminalInputSource.h"
#include "input/WindowInput.h"

namespace ts {

InputManager::InputManager() {
  setType("InputManager");
  EventRegistry::attach(*this);
}

InputManager::~InputManager() { EventRegistry::detach(*this); }

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
  m_p_source.reset();
  if (Config::getInstance().getHeadless()) {
    log.writeLog(LOG_ROUTINE, "InputManager::startUp(): no input in headless mode.");
  } else {
    const DisplayManager &display = DisplayManager::getInstance();
    if (!display.isStarted()) {
      log.writeLog("InputManager::startUp(): Error! DisplayManager must be started first.");
      return -1;
    }
    std::unique_ptr<InputSource> source;
    if (display.isTerminal())
      source = std::make_unique<TerminalInputSource>(heldKeyOrder());
    else
      source = std::make_unique<WindowInput>();
    if (source->start() != 0) return -1;
    m_p_source = std::move(source);
  }
  m_window_closed = false;
  Manager::startUp();
  log.writeLog(LOG_MANAGER, "InputManager::startUp(): successfully started.");
  return 0;
}

void InputManager::shutDown() {
  if (m_p_source) m_p_source->stop();
  m_p_source.reset();
  Manager::shutDown();
  LogManager::getInstance().writeLog(LOG_MANAGER, "InputManager::shutDown(): successfully stopped.");
}

EventKeyboard InputManager::toEventKeyboard(const sf::Event &event) const { return ts::toEventKeyboard(event); }

void InputManager::sampleInput() {
  if (m_p_source) m_p_source->sample();
}

void InputManager::getInput() {
  if (Config::getInstance().getHeadless()) return;
  if (!m_p_source) {
    LogManager::getInstance().writeLog("InputManager::getInput(): DisplayManager unexpectedly returned null window!");
    return;
  }
  if (m_p_source->readFrame(*this) == InputSource::CLOSED) m_window_closed = true;
}

}  // namespace ts
