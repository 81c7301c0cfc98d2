// The input manager without a window: the key table, key names, keyboard
// events from window events, start-up rules.
#include <gtest/gtest.h>

#include <SFML/Window/Event.hpp>
#include <map>
#include <set>

#include "Config.h"
#include "DisplayManager.h"
#include "InputManager.h"
#include "LogManager.h"
#include "TestSupport.h"

using testing_support::LogCapture;
namespace K = ts::Keyboard;
using Key = sf::Keyboard::Key;

namespace {

TEST(InputKeys, EveryLibraryKeyMapsAsTheTableSays) {
  std::map<int, K::Key> expected = {
      {Key::Escape, K::ESCAPE},       {Key::LControl, K::LEFTCONTROL}, {Key::LShift, K::LEFTSHIFT},
      {Key::RControl, K::RIGHTCONTROL}, {Key::RShift, K::RIGHTSHIFT}, {Key::LBracket, K::LEFTBRACKET},
      {Key::RBracket, K::RIGHTBRACKET}, {Key::Semicolon, K::SEMICOLON}, {Key::Comma, K::COMMA},
      {Key::Period, K::PERIOD},       {Key::Quote, K::QUOTE},         {Key::Slash, K::SLASH},
      {Key::Backslash, K::BACKSLASH}, {Key::Tilde, K::TILDE},         {Key::Equal, K::EQUAL},
      {Key::Space, K::SPACE},         {Key::Enter, K::RETURN},        {Key::Backspace, K::BACKSPACE},
      {Key::Tab, K::TAB},             {Key::Add, K::PLUS},            {Key::Subtract, K::MINUS},
      {Key::Multiply, K::MULTIPLY},   {Key::Left, K::LEFTARROW},      {Key::Right, K::RIGHTARROW},
      {Key::Up, K::UPARROW},          {Key::Down, K::DOWNARROW},      {Key::Pause, K::PAUSE},
      {Key::Num0, K::NUM0},
  };
  for (int i = 0; i < 26; ++i) expected[Key::A + i] = static_cast<K::Key>(K::A + i);
  for (int i = 0; i < 9; ++i) expected[Key::Num1 + i] = static_cast<K::Key>(K::NUM1 + i);
  for (int i = 0; i < 12; ++i) expected[Key::F1 + i] = static_cast<K::Key>(K::F1 + i);
  // The library's numbering is the one the table is written in.
  EXPECT_EQ(51, Key::Quote);
  EXPECT_EQ(54, Key::Tilde);
  EXPECT_EQ(100, Key::Pause);

  std::set<int> engine_keys;
  for (int code = -1; code <= Key::KeyCount; ++code) {
    auto found = expected.find(code);
    K::Key want = found == expected.end() ? K::UNDEFINED_KEY : found->second;
    EXPECT_EQ(want, ts::toEngineKey(code)) << "library key " << code;
    if (want != K::UNDEFINED_KEY) engine_keys.insert(want);
  }
  EXPECT_EQ(75u, engine_keys.size());  // 0..75 except the unused 73
  EXPECT_EQ(0u, engine_keys.count(73));
}

TEST(InputKeys, EveryLibraryKeyHasItsOwnReadableName) {
  std::set<std::string> names;
  for (int code = 0; code < Key::KeyCount; ++code) {
    std::string name = ts::libraryKeyName(code);
    EXPECT_FALSE(name.empty()) << code;
    names.insert(name);
  }
  EXPECT_EQ(static_cast<size_t>(Key::KeyCount), names.size());
  EXPECT_EQ("Delete", ts::libraryKeyName(Key::Delete));
  EXPECT_EQ("Numpad 5", ts::libraryKeyName(Key::Numpad5));
  EXPECT_EQ("Unknown", ts::libraryKeyName(Key::Unknown));
  EXPECT_EQ("Unknown", ts::libraryKeyName(Key::KeyCount));
}

sf::Event keyEvent(sf::Event::EventType type, Key code) {
  sf::Event event;
  event.type = type;
  event.key = sf::Event::KeyEvent{code, false, false, false, false};
  return event;
}

TEST(InputEvents, KeyboardEventsFromWindowEvents) {
  LogCapture log;
  log.start();
  ts::LogManager::getInstance().setLogLevel(15);
  const ts::InputManager &input = ts::InputManager::getInstance();

  ts::EventKeyboard up = input.toEventKeyboard(keyEvent(sf::Event::KeyPressed, Key::Up));
  EXPECT_EQ(K::UPARROW, up.getKey());
  EXPECT_EQ(ts::UNDEFINED_KEYBOARD_ACTION, up.getKeyboardAction());
  EXPECT_EQ(ts::KEYBOARD_EVENT, up.getType());
  EXPECT_EQ(K::Q, input.toEventKeyboard(keyEvent(sf::Event::KeyReleased, Key::Q)).getKey());
  EXPECT_TRUE(log.contains("InputManager::toEventKeyboard(): Keyboard event 'Q' (Q)"));

  EXPECT_EQ(K::UNDEFINED_KEY, input.toEventKeyboard(keyEvent(sf::Event::KeyPressed, Key::Delete)).getKey());
  EXPECT_TRUE(log.contains("InputManager::toEventKeyboard(): Warning key 'Delete' not handled."));
  EXPECT_EQ(K::UNDEFINED_KEY, input.toEventKeyboard(keyEvent(sf::Event::KeyPressed, Key::Unknown)).getKey());
  EXPECT_TRUE(log.contains("InputManager::toEventKeyboard(): Warning key 'Unknown' not handled."));

  sf::Event moved;
  moved.type = sf::Event::MouseMoved;
  moved.mouseMove = sf::Event::MouseMoveEvent{3, 4};
  EXPECT_EQ(K::UNDEFINED_KEY, input.toEventKeyboard(moved).getKey());
  EXPECT_TRUE(log.contains("toEventKeyboard(): Error! Called with non-keyboard event."));
}

TEST(InputManagerTest, NeedsTheDisplayUnlessHeadless) {
  LogCapture log;
  log.start();
  ts::InputManager &input = ts::InputManager::getInstance();
  EXPECT_TRUE(input.isValid(ts::KEYBOARD_EVENT));
  EXPECT_TRUE(input.isValid(ts::MOUSE_EVENT));
  EXPECT_FALSE(input.isValid(ts::STEP_EVENT));
  EXPECT_EQ(-1, input.startUp());
  EXPECT_FALSE(input.isStarted());
  EXPECT_TRUE(log.contains("InputManager::startUp(): Error! DisplayManager must be started first."));
}

TEST(InputManagerTest, HeadlessStartsAloneAndReadsNothing) {
  LogCapture log;
  ts::Config::getInstance().loadConfig("headless:true,");
  log.start();
  ts::LogManager::getInstance().setLogLevel(5);
  ts::InputManager &input = ts::InputManager::getInstance();
  ASSERT_EQ(0, input.startUp());
  EXPECT_TRUE(log.contains("InputManager::startUp(): no input in headless mode."));
  EXPECT_TRUE(log.contains("InputManager::startUp(): successfully started."));
  size_t lines = log.messages().size();
  input.getInput();
  EXPECT_EQ(lines, log.messages().size());
  EXPECT_EQ(-1, input.startUp());
  EXPECT_TRUE(log.contains("InputManager::startup(): Warning! InputManager already started."));
  input.shutDown();
  EXPECT_TRUE(log.contains("InputManager::shutDown(): successfully stopped."));
  EXPECT_FALSE(log.contains("InputManager::shutDown(): Keyboard repeat enabled."));
}

// Started after a headless display that has no window: the warning, then a
// start; a frame without a window reports it.
TEST(InputManagerTest, StartedDisplayWithoutWindow) {
  LogCapture log;
  ts::Config::getInstance().loadConfig("headless:true,");
  log.start();
  ASSERT_EQ(0, ts::DisplayManager::getInstance().startUp());
  ts::Config::getInstance().loadConfig("headless:false,");
  ts::InputManager &input = ts::InputManager::getInstance();
  ASSERT_EQ(0, input.startUp());
  EXPECT_TRUE(log.contains("InputManager::startUp(): Warning! DisplayManager null. Cannot disable keyboard repeat."));
  input.getInput();
  EXPECT_TRUE(log.contains("InputManager::getInput(): DisplayManager unexpectedly returned null window!"));
}

}  // namespace
