// The input manager without a window: the key table, key names, keyboard
// events from window events, start-up rules.
#include <gtest/gtest.h>

#include <SFML/Window/Event.hpp>
#include <map>
#include <set>

#include <tessera/core/Config.h>
#include <tessera/graphics/DisplayManager.h>
#include <tessera/input/InputManager.h>
#include "TestSupport.h"
#include "input/WindowInput.h"

namespace K = ts::Keyboard;
using Key = sf::Keyboard::Key;

namespace {

// The key table maps library keys one to one onto engine keys, and every
// library key has a name of its own; a few keys the games use, spot-checked.
TEST(InputKeys, LibraryKeysMapOneToOneAndHaveDistinctNames) {
  std::map<K::Key, int> library_key_of;
  std::set<std::string> names;
  for (int code = -1; code <= Key::KeyCount; ++code) {
    const K::Key key = ts::toEngineKey(code);
    if (key != K::UNDEFINED_KEY) {
      EXPECT_TRUE(library_key_of.emplace(key, code).second) << "engine key " << key;
    }
    names.insert(ts::libraryKeyName(code));
  }
  EXPECT_EQ(library_key_of.size(), 75u);        // every engine key but the unused 73
  EXPECT_EQ(names.size(), Key::KeyCount + 1u);  // one each, and "Unknown" for -1 and KeyCount
  EXPECT_EQ(names.count(""), 0u);
  const std::pair<int, K::Key> spots[] = {
      {Key::Escape, K::ESCAPE}, {Key::Up, K::UPARROW},   {Key::A, K::A},      {Key::Num1, K::NUM1},
      {Key::F12, K::F12},       {Key::Enter, K::RETURN}, {Key::Add, K::PLUS}, {Key::Numpad5, K::UNDEFINED_KEY}};
  for (const auto &[code, key] : spots) EXPECT_EQ(ts::toEngineKey(code), key) << ts::libraryKeyName(code);
  EXPECT_EQ("Numpad 5", ts::libraryKeyName(Key::Numpad5));
}

// Mapped keys are checked with real key events in the window tests; here
// the cases X cannot send. Started after a headless display (no window) it
// warns, then reports the missing window each frame.
TEST(InputManagerTest, StartRulesHeadlessWithoutAWindowAndEventsWithoutAKey) {
  testing_support::StartedLog log;
  ts::LogManager::getInstance().setLogLevel(5);
  ts::InputManager &input = ts::InputManager::getInstance();
  sf::Event event;
  event.type = sf::Event::KeyPressed;
  event.key = sf::Event::KeyEvent{Key::Unknown, false, false, false, false};
  EXPECT_EQ(K::UNDEFINED_KEY, input.toEventKeyboard(event).getKey());
  EXPECT_TRUE(log.contains("InputManager::toEventKeyboard(): Warning key 'Unknown' not handled."));
  event.type = sf::Event::MouseMoved;
  EXPECT_EQ(K::UNDEFINED_KEY, input.toEventKeyboard(event).getKey());
  EXPECT_TRUE(log.contains("toEventKeyboard(): Error! Called with non-keyboard event."));
  EXPECT_EQ(-1, input.startUp());
  EXPECT_TRUE(log.contains("InputManager::startUp(): Error! DisplayManager must be started first."));
  ts::Config::getInstance().loadConfig("headless:true,");
  ASSERT_EQ(0, input.startUp());
  EXPECT_TRUE(log.contains("InputManager::startUp(): no input in headless mode."));
  size_t lines = log.messages().size();
  input.getInput();
  EXPECT_EQ(lines, log.messages().size());
  input.shutDown();

  ASSERT_EQ(0, ts::DisplayManager::getInstance().startUp());
  ts::Config::getInstance().loadConfig("headless:false,");
  ASSERT_EQ(0, input.startUp());
  EXPECT_TRUE(log.contains("InputManager::startUp(): Warning! DisplayManager null. Cannot disable keyboard repeat."));
  input.getInput();
  EXPECT_TRUE(log.contains("InputManager::getInput(): DisplayManager unexpectedly returned null window!"));
}

}  // namespace
