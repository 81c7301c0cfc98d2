// The input manager with real X events: keys and buttons sent with xdotool
// arrive as engine events, and closing the window ends the game loop.
#include <gtest/gtest.h>

#include <SFML/Graphics.hpp>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "Config.h"
#include "DisplayManager.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "EventStep.h"
#include "GameManager.h"
#include "InputManager.h"
#include "LogManager.h"
#include "Object.h"
#include "TestSupport.h"
#include "WindowSupport.h"
#include "WorldManager.h"

using testing_support::LogCapture;
using window_support::hexId;
using window_support::run;

namespace {

struct Received {
  std::string type;
  int action;
  int key_or_button;
  ts::Vector position;
  bool operator==(const Received &other) const {
    return type == other.type && action == other.action && key_or_button == other.key_or_button;
  }
};

std::ostream &operator<<(std::ostream &out, const Received &r) {
  return out << r.type << "(" << r.action << ", " << r.key_or_button << ")";
}

Received key(int action, int key) { return Received{ts::KEYBOARD_EVENT, action, key, ts::Vector()}; }
Received mouse(int action, int button) { return Received{ts::MOUSE_EVENT, action, button, ts::Vector()}; }

// Records every keyboard and mouse event it is sent.
class Recorder : public ts::Object {
 public:
  std::vector<Received> events;
  bool with_moves = false;

  Recorder() {
    registerInterest(ts::KEYBOARD_EVENT);
    registerInterest(ts::MOUSE_EVENT);
  }
  int eventHandler(const ts::Event *event) override {
    if (auto *k = dynamic_cast<const ts::EventKeyboard *>(event)) {
      events.push_back(key(k->getKeyboardAction(), k->getKey()));
      return 1;
    }
    if (auto *m = dynamic_cast<const ts::EventMouse *>(event)) {
      if (m->getMouseAction() == ts::MOVED && !with_moves) return 1;
      events.push_back(Received{ts::MOUSE_EVENT, m->getMouseAction(), m->getMouseButton(), m->getMousePosition()});
      return 1;
    }
    return 0;
  }
};

class InputWindow : public ::testing::Test {
 protected:
  LogCapture log;
  ts::DisplayManager &display = ts::DisplayManager::getInstance();
  ts::InputManager &input = ts::InputManager::getInstance();

  void SetUp() override {
    ts::Config::getInstance().loadConfig("window_title:tessera-input-test,");
    log.start();
    ts::LogManager::getInstance().setLogLevel(2);
    ts::WorldManager::getInstance().setView(ts::Box(ts::Vector(0, 0), 80, 24));
    ASSERT_EQ(0, display.startUp());
    ASSERT_EQ(0, input.startUp());
    ASSERT_EQ(0, run("xdotool windowfocus --sync " + hexId(display.getWindow()->getSystemHandle())));
  }
  void TearDown() override {
    input.shutDown();
    display.shutDown();
  }

  // One frame's input; returns what the recorder got in it.
  std::vector<Received> frame(Recorder &recorder) {
    recorder.events.clear();
    input.getInput();
    return recorder.events;
  }

  // Runs xdotool, then waits until the server reports the key or button
  // state it should have caused. The server sends the events a request
  // causes before its answer to a later state query, so once the state
  // shows, the events are queued and the next frame reads them.
  template <typename Done>
  void act(const std::string &arguments, Done done) {
    ASSERT_EQ(0, run("xdotool " + arguments));
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
      ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "no effect of xdotool " << arguments;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  void keyDown(const char *name, sf::Keyboard::Key code) {
    act(std::string("keydown ") + name, [code] { return sf::Keyboard::isKeyPressed(code); });
  }
  void keyUp(const char *name, sf::Keyboard::Key code) {
    act(std::string("keyup ") + name, [code] { return !sf::Keyboard::isKeyPressed(code); });
  }
};

TEST_F(InputWindow, KeyPressHoldAndReleaseArriveAsEngineEvents) {
  Recorder recorder;
  EXPECT_TRUE(log.contains("InputManager::startUp(): Keyboard repeated disabled."));
  keyDown("Up", sf::Keyboard::Up);
  EXPECT_EQ((std::vector<Received>{key(ts::KEY_PRESSED, ts::Keyboard::UPARROW), key(ts::KEY_DOWN, ts::Keyboard::UPARROW)}),
            frame(recorder));
  EXPECT_EQ((std::vector<Received>{key(ts::KEY_DOWN, ts::Keyboard::UPARROW)}), frame(recorder));
  EXPECT_EQ((std::vector<Received>{key(ts::KEY_DOWN, ts::Keyboard::UPARROW)}), frame(recorder));
  keyUp("Up", sf::Keyboard::Up);
  EXPECT_EQ((std::vector<Received>{key(ts::KEY_RELEASED, ts::Keyboard::UPARROW)}), frame(recorder));
  EXPECT_TRUE(frame(recorder).empty());

  // F12 is not polled: pressed and released, never held.
  keyDown("F12", sf::Keyboard::F12);
  EXPECT_EQ((std::vector<Received>{key(ts::KEY_PRESSED, ts::Keyboard::F12)}), frame(recorder));
  EXPECT_TRUE(frame(recorder).empty());
  keyUp("F12", sf::Keyboard::F12);
  EXPECT_EQ((std::vector<Received>{key(ts::KEY_RELEASED, ts::Keyboard::F12)}), frame(recorder));

  // Two keys held together: both polled every frame, in the polling order.
  keyDown("a", sf::Keyboard::A);
  keyDown("space", sf::Keyboard::Space);
  frame(recorder);
  EXPECT_EQ((std::vector<Received>{key(ts::KEY_DOWN, ts::Keyboard::SPACE), key(ts::KEY_DOWN, ts::Keyboard::A)}),
            frame(recorder));
  keyUp("a", sf::Keyboard::A);
  keyUp("space", sf::Keyboard::Space);
}

TEST_F(InputWindow, UnmappedKeyIsSentUndefinedAndLoggedByName) {
  Recorder recorder;
  keyDown("Delete", sf::Keyboard::Delete);
  keyUp("Delete", sf::Keyboard::Delete);
  EXPECT_EQ((std::vector<Received>{key(ts::KEY_PRESSED, ts::Keyboard::UNDEFINED_KEY),
                                   key(ts::KEY_RELEASED, ts::Keyboard::UNDEFINED_KEY)}),
            frame(recorder));
  EXPECT_EQ(2, log.count("InputManager::toEventKeyboard(): Warning key 'Delete' not handled."));
}

TEST_F(InputWindow, ClicksAndHeldButtonsArriveInCells) {
  Recorder recorder;
  const std::string window = hexId(display.getWindow()->getSystemHandle());
  act("mousemove --window " + window + " 128 64",
      [this] { return sf::Mouse::getPosition(*display.getWindow()) == sf::Vector2i(128, 64); });
  frame(recorder);
  act("mousedown 1", [] { return sf::Mouse::isButtonPressed(sf::Mouse::Left); });
  act("mousedown 3", [] { return sf::Mouse::isButtonPressed(sf::Mouse::Right); });
  std::vector<Received> got = frame(recorder);
  ASSERT_EQ((std::vector<Received>{mouse(ts::CLICKED, ts::Mouse::LEFT), mouse(ts::CLICKED, ts::Mouse::RIGHT),
                                   mouse(ts::PRESSED, ts::Mouse::LEFT), mouse(ts::PRESSED, ts::Mouse::RIGHT)}),
            got);
  for (const Received &r : got) EXPECT_EQ(ts::Vector(10, 2), r.position);
  EXPECT_EQ((std::vector<Received>{mouse(ts::PRESSED, ts::Mouse::LEFT), mouse(ts::PRESSED, ts::Mouse::RIGHT)}),
            frame(recorder));
  act("mouseup 1", [] { return !sf::Mouse::isButtonPressed(sf::Mouse::Left); });
  act("mouseup 3", [] { return !sf::Mouse::isButtonPressed(sf::Mouse::Right); });
  EXPECT_TRUE(frame(recorder).empty());

  recorder.with_moves = true;
  act("mousemove --window " + window + " 256 96",
      [this] { return sf::Mouse::getPosition(*display.getWindow()) == sf::Vector2i(256, 96); });
  got = frame(recorder);
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(mouse(ts::MOVED, ts::Mouse::UNDEFINED_MOUSE_BUTTON), got.back());
  EXPECT_EQ(ts::Vector(20, 3), got.back().position);
}

// Closing stops reading the queue: a key pressed after the close request
// is not delivered in that frame, and the game is over.
TEST_F(InputWindow, CloseRequestSetsGameOverAndLeavesTheRestQueued) {
  Recorder recorder;
  ts::LogManager::getInstance().setLogLevel(1);
  ts::GameManager::getInstance().setGameOver(false);
  window_support::requestClose(display.getWindow()->getSystemHandle());
  keyDown("b", sf::Keyboard::B);
  EXPECT_TRUE(frame(recorder).empty());
  EXPECT_TRUE(ts::GameManager::getInstance().getGameOver());
  EXPECT_TRUE(log.contains("InputManager::getInput(): Window closed. Setting game over."));
  EXPECT_EQ((std::vector<Received>{key(ts::KEY_PRESSED, ts::Keyboard::B), key(ts::KEY_DOWN, ts::Keyboard::B)}),
            frame(recorder));
  keyUp("b", sf::Keyboard::B);
}

// Asks for the window to close at one step; gives up after many more.
class Closer : public ts::Object {
 public:
  int closed_at = -1;
  Closer() { registerInterest(ts::STEP_EVENT); }
  int eventHandler(const ts::Event *event) override {
    auto *step = dynamic_cast<const ts::EventStep *>(event);
    if (!step) return 0;
    if (step->getStepCount() == 3) {
      window_support::requestClose(ts::DisplayManager::getInstance().getWindow()->getSystemHandle());
      closed_at = step->getStepCount();
    }
    if (step->getStepCount() == 300) ts::GameManager::getInstance().setGameOver(true);
    return 1;
  }
};

TEST(GameLoopWindow, ClosingTheWindowEndsTheLoop) {
  LogCapture log;
  char path[] = "/tmp/tessera-config-XXXXXX";
  int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  ::close(fd);
  std::ofstream(path) << "window_title:tessera-loop-test,\nnetworking:false,\nframe_time:5,\n";
  setenv("TESSERA_CONFIG", path, 1);
  ts::GameManager &game = ts::GameManager::getInstance();
  ASSERT_EQ(0, game.startUp());
  std::remove(path);
  ts::LogManager::getInstance().setLogLevel(1);
  Closer *closer = new Closer;
  game.run();
  EXPECT_EQ(3, closer->closed_at);
  EXPECT_LT(game.getStepCount(), 300);
  EXPECT_TRUE(log.contains("InputManager::getInput(): Window closed. Setting game over."));
  game.shutDown();
}

}  // namespace
