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

using testing_support::LogCapture;
namespace K = ts::Keyboard;
using Key = sf::Keyboard::Key;

namespace {

TEST(InputKeys, EveryLibraryKeyMapsAsTheTableSaysAndHasItsOwnName) {
  std::map<int, K::Key> expected = {{Key::Escape, K::ESCAPE},
                                    {Key::LControl, K::LEFTCONTROL},
                                    {Key::LShift, K::LEFTSHIFT},
                                    {Key::RControl, K::RIGHTCONTROL},
                                    {Key::RShift, K::RIGHTSHIFT},
                                    {Key::LBracket, K::LEFTBRACKET},
                                    {Key::RBracket, K::RIGHTBRACKET},
                                    {Key::Semicolon, K::SEMICOLON},
                                    {Key::Comma, K::COMMA},
                                    {Key::Period, K::PERIOD},
                                    {Key::Quote, K::QUOTE},
                                    {Key::Slash, K::SLASH},
                                    {Key::Backslash, K::BACKSLASH},
                                    {Key::Tilde, K::TILDE},
                                    {Key::Equal, K::EQUAL},
                                    {Key::Space, K::SPACE},
                                    {Key::Enter, K::RETURN},
                                    {Key::Backspace, K::BACKSPACE},
                                    {Key::Tab, K::TAB},
                                    {Key::Add, K::PLUS},
                                    {Key::Subtract, K::MINUS},
                                    {Key::Multiply, K::MULTIPLY},
                                    {Key::Left, K::LEFTARROW},
                                    {Key::Right, K::RIGHTARROW},
                                    {Key::Up, K::UPARROW},
                                    {Key::Down, K::DOWNARROW},
                                    {Key::Pause, K::PAUSE},
                                    {Key::Num0, K::NUM0}};
  for (int i = 0; i < 26; ++i) expected[Key::A + i] = static_cast<K::Key>(K::A + i);
  for (int i = 0; i < 9; ++i) expected[Key::Num1 + i] = static_cast<K::Key>(K::NUM1 + i);
  for (int i = 0; i < 12; ++i) expected[Key::F1 + i] = static_cast<K::Key>(K::F1 + i);

  std::set<int> engine_keys;
  std::set<std::string> names;
  for (int code = -1; code <= Key::KeyCount; ++code) {
    auto found = expected.find(code);
    K::Key want = found == expected.end() ? K::UNDEFINED_KEY : found->second;
    EXPECT_EQ(want, ts::toEngineKey(code)) << "library key " << code;
    engine_keys.insert(want);
    names.insert(ts::libraryKeyName(code));
  }
  EXPECT_EQ(76u, engine_keys.size());  // 0..75 but the unused 73, and UNDEFINED_KEY
  EXPECT_EQ(0u, engine_keys.count(73));
  EXPECT_EQ(Key::KeyCount + 1u, names.size());  // one each, and "Unknown" for -1 and KeyCount
  EXPECT_EQ(0u, names.count(""));
  EXPECT_EQ("Numpad 5", ts::libraryKeyName(Key::Numpad5));
  EXPECT_EQ("Unknown", ts::libraryKeyName(Key::KeyCount));
}

// Mapped keys and the "not handled" line are checked with real key events
// in the window tests; here the cases X cannot send.
TEST(InputEvents, UnknownKeysAndOtherEventsGiveNoKey) {
  LogCapture log;
  log.start();
  ts::LogManager::getInstance().setLogLevel(1);
  const ts::InputManager &input = ts::InputManager::getInstance();
  sf::Event event;
  event.type = sf::Event::KeyPressed;
  event.key = sf::Event::KeyEvent{Key::Unknown, false, false, false, false};
  EXPECT_EQ(K::UNDEFINED_KEY, input.toEventKeyboard(event).getKey());
  EXPECT_TRUE(log.contains("InputManager::toEventKeyboard(): Warning key 'Unknown' not handled."));
  event.type = sf::Event::MouseMoved;
  EXPECT_EQ(K::UNDEFINED_KEY, input.toEventKeyboard(event).getKey());
  EXPECT_TRUE(log.contains("toEventKeyboard(): Error! Called with non-keyboard event."));
}

// Needs a started display unless headless; headless it reads nothing.
// Started after a headless display (no window) it warns, then reports the
// missing window each frame.
TEST(InputManagerTest, StartRulesHeadlessAndWithoutAWindow) {
  LogCapture log;
  log.start();
  ts::LogManager::getInstance().setLogLevel(5);
  ts::InputManager &input = ts::InputManager::getInstance();
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
