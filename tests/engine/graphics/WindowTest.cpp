// The display and input managers in a real window: screenshots compared pixel
// by pixel, and keys and buttons sent with xdotool arriving as engine events.
#include <gtest/gtest.h>

#include <unistd.h>

#include <SFML/Graphics.hpp>
#include <cmath>
#include <csignal>
#include <tuple>

#include <tessera/core/Config.h>
#include <tessera/core/EventStep.h>
#include <tessera/game/GameManager.h>
#include <tessera/graphics/DisplayManager.h>
#include <tessera/graphics/Shape.h>
#include <tessera/input/EventMouse.h>
#include <tessera/input/InputManager.h>
#include <tessera/system/Clock.h>
#include <tessera/world/TextView.h>
#include <tessera/world/ViewObject.h>
#include <tessera/world/WorldManager.h>
#include "TestSupport.h"
// Last: the X headers define macros that would clash with names above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

// The window's pixels as the X server shows them.
struct Image {
  int width, height;
  std::vector<sf::Color> pixels;
  sf::Color at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

Image capture(const sf::RenderWindow &window) {
  (void)window.getPosition();  // a round trip: the server has handled all the window sent
  Display *display = XOpenDisplay(nullptr);
  sf::Vector2u size = window.getSize();
  XImage *shot = XGetImage(display, window.getSystemHandle(), 0, 0, size.x, size.y, AllPlanes, ZPixmap);
  Image image{static_cast<int>(size.x), static_cast<int>(size.y), {}};
  for (int i = 0; i < image.width * image.height; ++i) {
    unsigned long p = XGetPixel(shot, i % image.width, i / image.width);  // 24-bit true colour: 0xRRGGBB
    image.pixels.emplace_back((p >> 16) & 255, (p >> 8) & 255, p & 255);
  }
  XDestroyImage(shot);
  XCloseDisplay(display);
  return image;
}

std::string windowId() { return std::to_string(ts::DisplayManager::getInstance().getWindow()->getSystemHandle()); }

// Sends what a window manager sends when the user closes the window.
void requestClose() {
  Display *display = XOpenDisplay(nullptr);
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = ts::DisplayManager::getInstance().getWindow()->getSystemHandle();
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
  XCloseDisplay(display);  // flushes
}

bool sameColor(sf::Color a, sf::Color b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

// The first pixel column (or row) whose centre lies at or after `from`:
// where an axis-aligned quad starting at `from` begins to cover pixels.
int firstCovered(float from) { return static_cast<int>(std::ceil(from - 0.5f)); }

class DisplayWindow : public ::testing::Test {
 protected:
  testing_support::LogCapture log;
  ts::DisplayManager &display = ts::DisplayManager::getInstance();
  ts::InputManager &input = ts::InputManager::getInstance();

  void start(const std::string &config = "") {
    ts::Config::getInstance().loadConfig("window_title:tessera-window-test," + config);
    log.start();
    ts::LogManager::getInstance().setLogLevel(5);
    ts::WorldManager::getInstance().setView(ts::Box(ts::Vector(0, 0), 80, 24));
    ASSERT_EQ(0, display.startUp());
  }
  void TearDown() override {
    input.shutDown();
    display.shutDown();
  }
};

// A failed start (no font) leaves nothing behind that stops the next one.
TEST_F(DisplayWindow, StartsFromTheConfigurationAndAgainAfterAFailedStart) {
  start();
  EXPECT_EQ(sf::Vector2u(1024, 768), display.getWindow()->getSize());
  EXPECT_EQ(25u, display.getCharacterSize());
  display.shutDown();
  ts::Config::getInstance().loadConfig("font_file:no-such-font.ttf,");
  EXPECT_EQ(-1, display.startUp());
  EXPECT_FALSE(display.isStarted());
  EXPECT_TRUE(log.contains("DisplayManager::startUp(): Error! Unable to open font from file 'no-such-font.ttf'."));
  ts::Config::getInstance().loadConfig("font_file:ts-font.ttf,window_horizontal_pixels:0,window_vertical_pixels:0,");
  ASSERT_EQ(0, display.startUp());  // 0 pixels: the desktop size
  EXPECT_EQ(sf::Vector2u(1280, 1024), display.getWindow()->getSize());
  EXPECT_EQ(0, display.drawCh(ts::Vector(1, 1), 'x', ts::WHITE));
  EXPECT_EQ(0, display.swapBuffers());
}

// The numbers a command prints, in order (xdotool's geometry).
std::vector<int> numbersOf(const std::string &command) {
  std::vector<int> numbers;
  FILE *out = popen(command.c_str(), "r");
  for (int c = fgetc(out), value = -1; c != EOF; c = fgetc(out)) {
    if (c >= '0' && c <= '9') value = (value < 0 ? 0 : value * 10) + c - '0';
    if ((c < '0' || c > '9') && value >= 0) numbers.push_back(value), value = -1;
  }
  pclose(out);
  return numbers;
}

// Centred on its screen and wholly on it, whatever the screen's shape (the
// tests run this on a 1920 x 1080 screen too).
TEST_F(DisplayWindow, WindowIsCentredAndWhollyOnItsScreen) {
  start();
  (void)display.getWindow()->getPosition();  // a round trip: the move has reached the server
  const std::vector<int> screen = numbersOf("xdotool getdisplaygeometry");
  const std::vector<int> window = numbersOf("xdotool getwindowgeometry --shell " + windowId());
  ASSERT_EQ(2u, screen.size());
  ASSERT_EQ(6u, window.size());  // WINDOW X Y WIDTH HEIGHT SCREEN
  EXPECT_EQ(std::make_tuple((screen[0] - 1024) / 2, (screen[1] - 768) / 2, 1024, 768),
            std::make_tuple(window[1], window[2], window[3], window[4]));
}

// A cell drawn after a shape covers it with its background rectangle, a
// tenth of a cell left of and a fifth below the cell. Every printable glyph
// is drawn in its colour and fits its cell: no ink reaches where the next
// cell's background starts, so no character is cut off.
TEST_F(DisplayWindow, CellsLandWhereTheyShouldInTheirColours) {
  start("window_background_color:blue,");
  const sf::Color blue(0, 0, 255), red(255, 0, 0), green(0, 255, 0);
  ts::Shape circle;  // a red 10-gon in pixels 128..528 x 160..560
  circle.setSize(200);
  circle.setColor(ts::RED);
  circle.draw(ts::Vector(10, 5));
  ASSERT_EQ(0, display.drawCh(ts::Vector(17, 8), ' ', ts::WHITE));
  auto corner = [](int c) { return ts::Vector((c - 33) % 40 * 2.0f, (c - 33) / 40 * 2.0f + 18); };
  for (int c = 33; c < 127; ++c) display.drawCh(corner(c), static_cast<char>(c), ts::GREEN);
  ASSERT_EQ(0, display.swapBuffers());
  Image shot = capture(*display.getWindow());
  // The space at cell (17, 8) spans [217.6 - 1.28, +12.8) x [256 + 6.4, +32):
  // pixels 216..228 x 262..293.
  for (int y = 261; y <= 294; ++y)
    for (int x = 215; x <= 229; ++x)
      ASSERT_TRUE(sameColor(x >= 216 && x < 229 && y >= 262 && y < 294 ? blue : red, shot.at(x, y))) << x << "," << y;
  int solid = 0;
  for (int c = 33; c < 127; ++c) {
    ts::Vector pixel = ts::spacesToPixels(corner(c));
    int own_left = firstCovered(pixel.getX() - 1.28f), next_left = firstCovered(pixel.getX() + 11.52f);
    for (int y = static_cast<int>(pixel.getY()); y < static_cast<int>(pixel.getY()) + 40; ++y)
      for (int x = std::max(0, own_left - 4); x < next_left + 8; ++x) {
        sf::Color ink = shot.at(x, y);
        solid += sameColor(green, ink);
        bool green_over_blue = ink.r == 0 && std::abs(255 - ink.g - ink.b) <= 1;
        EXPECT_TRUE(sameColor(blue, ink) || (x >= own_left && x < next_left && green_over_blue))
            << static_cast<char>(c) << " at " << x << "," << y;
      }
  }
  EXPECT_GT(solid, 1000);
}

// Pixels of the cells [x0, x1] x [y0, y1] (12.8 x 32 pixels each) of a colour.
int inkIn(const Image &shot, int x0, int x1, int y0, int y1, sf::Color color) {
  int count = 0;
  for (int y = y0 * 32; y < (y1 + 1) * 32; ++y)
    for (int x = static_cast<int>(x0 * 12.8f); x < static_cast<int>((x1 + 1) * 12.8f); ++x)
      count += sameColor(color, shot.at(x, y));
  return count;
}

// A text view's lines, right-justified on column 20, in its colour; one
// sprite drawn in an object's own colour and in the sprite's.
TEST_F(DisplayWindow, TextViewLinesAndSpriteColoursLandWhereTheyShould) {
  ASSERT_EQ(0, ts::WorldManager::getInstance().startUp());
  start();
  ts::Sprite block(1);
  block.addFrame(ts::Frame(1, 1, "#"));
  ts::Animation animation;
  animation.setSprite(&block);
  for (float x : {2.0f, 10.0f}) {
    auto *object = new ts::Object;
    object->setAnimation(animation);
    object->setPosition(ts::Vector(x, 2));
    if (x == 2) object->setSpriteColor(ts::GREEN);
  }
  auto *text = new ts::TextView;
  text->setText("ab\ncde");
  text->setPosition(ts::Vector(20, 5));
  text->setColor(ts::RED);
  text->setJustification(ts::RIGHT_JUSTIFIED);
  ts::WorldManager::getInstance().draw();
  ASSERT_EQ(0, display.swapBuffers());
  const Image shot = capture(*display.getWindow());
  const sf::Color red(255, 0, 0), green(0, 255, 0), white(255, 255, 255);
  EXPECT_TRUE(inkIn(shot, 0, 5, 1, 3, green) > 20 && inkIn(shot, 0, 5, 1, 3, white) == 0);
  EXPECT_GT(inkIn(shot, 8, 12, 1, 3, white), 20);
  for (auto [x, y] : {std::pair(18, 5), std::pair(19, 5), std::pair(17, 6), std::pair(18, 6), std::pair(19, 6)})
    EXPECT_GT(inkIn(shot, x, x, y, y, red), 2) << x << "," << y;
  EXPECT_EQ(inkIn(shot, 17, 19, 5, 6, red), inkIn(shot, 0, 79, 0, 23, red));  // and nowhere else
  ts::WorldManager::getInstance().shutDown();
}

// A character the font has no glyph for is drawn as its stand-in ('?' for
// the snowman), one it has as itself ('é', not 'e'); batched or not.
TEST_F(DisplayWindow, MissingGlyphsAreDrawnAsTheirStandIns) {
  start();
  auto shot = [this](const char *text, bool batching) {
    display.setBatching(batching);
    display.drawString(ts::Vector(1, 1), text, ts::LEFT_JUSTIFIED, ts::WHITE);
    EXPECT_EQ(0, display.swapBuffers());
    return capture(*display.getWindow()).pixels;
  };
  const std::vector<sf::Color> stand_in = shot("?é", true);
  EXPECT_TRUE(shot("☃é", true) == stand_in);
  EXPECT_FALSE(shot("?e", true) == stand_in);
  EXPECT_TRUE(shot("☃é", false) == shot("?é", false));
}

// Every printable character in every colour, strings at fractional cells, a
// shape and a bordered view object; drawn literally, the view object is the
// characters it should show.
void drawBusyFrame(ts::DisplayManager &display, ts::ViewObject &view, bool literal) {
  display.setBatching(!literal);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 80; ++x)
      display.drawCh(ts::Vector(x * 1.0f, y * 1.0f), static_cast<char>(32 + (x + y * 80) % 95),
                     static_cast<ts::Color>((x + y) % 8));
  ts::Shape triangle;
  triangle.setType(ts::TRIANGLE);
  triangle.setSize(90);
  triangle.setColor(ts::MAGENTA);
  triangle.draw(ts::Vector(40, 12));
  display.drawString(ts::Vector(40.5f, 11.5f), "Perfect! Good! Miss!", ts::CENTER_JUSTIFIED, ts::YELLOW);
  display.drawCh(ts::Vector(3.5f, 2.5f), '@', 10, 200, 30);
  if (!literal) view.draw();  // at (40, 22): the text " AB 5 " starts at 37
  for (auto [x, y, text] : {std::tuple(37, 21, "------"), std::tuple(36, 22, "| AB 5 |"), std::tuple(37, 23, "------")})
    if (literal) display.drawString(ts::Vector(x * 1.0f, y * 1.0f), text, ts::LEFT_JUSTIFIED, ts::CYAN);
}

// The driver transforms literal shapes by their own matrices, so a smooth
// glyph edge may come out one step apart; any real difference is far larger.
TEST_F(DisplayWindow, BatchedFrameMatchesLiteralDrawing) {
  ASSERT_EQ(0, ts::WorldManager::getInstance().startUp());
  start();
  ts::ViewObject *view = new ts::ViewObject;
  view->setViewString("AB");
  view->setValue(5);
  view->setColor(ts::CYAN);
  view->setLocation(ts::BOTTOM_CENTER);
  drawBusyFrame(display, *view, false);
  ASSERT_EQ(0, display.swapBuffers());
  Image batched = capture(*display.getWindow());
  drawBusyFrame(display, *view, true);
  ASSERT_EQ(0, display.swapBuffers());
  Image literal = capture(*display.getWindow());
  ASSERT_EQ(1024u * 768u, batched.pixels.size());
  int differing = 0, largest = 0;
  for (size_t i = 0; i < batched.pixels.size(); ++i) {
    const sf::Color a = batched.pixels[i], b = literal.pixels[i];
    for (int difference : {std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)}) {
      differing += difference != 0;
      largest = std::max(largest, difference);
    }
  }
  EXPECT_LE(largest, 1);
  EXPECT_LE(differing, 16);
  ts::WorldManager::getInstance().shutDown();
}

// Keyboard events as (action, key), mouse events as (action, button).
using Events = std::vector<std::pair<int, int>>;
class Recorder : public ts::Object {
 public:
  struct {
    Events keys, mouse;
    std::vector<ts::Vector> cells;
    std::vector<int64_t> key_times;
  } got;
  Recorder() {
    registerInterest(ts::KEYBOARD_EVENT);
    registerInterest(ts::MOUSE_EVENT);
  }
  int eventHandler(const ts::Event *event) override {
    if (auto *k = dynamic_cast<const ts::EventKeyboard *>(event)) {
      got.keys.emplace_back(k->getKeyboardAction(), k->getKey());
      got.key_times.push_back(k->getTime());
    }
    if (auto *m = dynamic_cast<const ts::EventMouse *>(event)) {
      got.mouse.emplace_back(m->getMouseAction(), m->getMouseButton());
      got.cells.push_back(m->getMousePosition());
    }
    return 1;
  }
};

class InputWindow : public DisplayWindow {
 protected:
  Recorder recorder;

  void SetUp() override {
    start();
    ts::LogManager::getInstance().setLogLevel(2);
    ASSERT_EQ(0, input.startUp());
    ASSERT_EQ(0, std::system(("xdotool windowfocus --sync " + windowId()).c_str()));
  }
  // Reads one frame's input; returns the keyboard events it sent.
  Events frame() {
    recorder.got = {};
    input.getInput();
    return recorder.got.keys;
  }
  // Runs xdotool, then waits until the server reports the state it caused:
  // the events it caused are queued by then, so the next frame reads them.
  template <typename Done>
  void act(const std::string &arguments, Done done) {
    ASSERT_EQ(0, std::system(("xdotool " + arguments).c_str()));
    for (int waited = 0; !done(); waited += 5) {
      ASSERT_LT(waited, 10000) << "no effect of xdotool " << arguments;
      usleep(5000);
    }
  }
  void setKey(const char *name, sf::Keyboard::Key code, bool down) {
    act(std::string(down ? "keydown " : "keyup ") + name, [=] { return sf::Keyboard::isKeyPressed(code) == down; });
  }
  void setButton(int xdotool_button, sf::Mouse::Button button, bool down) {
    act((down ? "mousedown " : "mouseup ") + std::to_string(xdotool_button),
        [=] { return sf::Mouse::isButtonPressed(button) == down; });
  }
  void moveTo(int x, int y) {
    act("mousemove --window " + windowId() + " " + std::to_string(x) + " " + std::to_string(y),
        [=] { return sf::Mouse::getPosition(*display.getWindow()) == sf::Vector2i(x, y); });
  }
};

TEST_F(InputWindow, KeyPressHoldReleaseAndCloseArriveAsEngineEvents) {
  using namespace ts;
  EXPECT_TRUE(log.contains("InputManager::startUp(): Keyboard repeated disabled."));
  setKey("Up", sf::Keyboard::Up, true);
  EXPECT_EQ((Events{{KEY_PRESSED, Keyboard::UPARROW}, {KEY_DOWN, Keyboard::UPARROW}}), frame());
  EXPECT_EQ((Events{{KEY_DOWN, Keyboard::UPARROW}}), frame());
  setKey("Up", sf::Keyboard::Up, false);
  EXPECT_EQ((Events{{KEY_RELEASED, Keyboard::UPARROW}}), frame());
  EXPECT_TRUE(frame().empty());
  setKey("F12", sf::Keyboard::F12, true);  // not in the held list: pressed and released, never held
  EXPECT_EQ((Events{{KEY_PRESSED, Keyboard::F12}}), frame());
  setKey("F12", sf::Keyboard::F12, false);
  EXPECT_EQ((Events{{KEY_RELEASED, Keyboard::F12}}), frame());
  setKey("a", sf::Keyboard::A, true);  // held together: both every frame, in the polling order
  setKey("space", sf::Keyboard::Space, true);
  frame();
  EXPECT_EQ((Events{{KEY_DOWN, Keyboard::SPACE}, {KEY_DOWN, Keyboard::A}}), frame());
  setKey("a", sf::Keyboard::A, false);
  setKey("space", sf::Keyboard::Space, false);
  frame();
  setKey("Delete", sf::Keyboard::Delete, true);  // unmapped: sent undefined, logged by name
  setKey("Delete", sf::Keyboard::Delete, false);
  EXPECT_EQ((Events{{KEY_PRESSED, Keyboard::UNDEFINED_KEY}, {KEY_RELEASED, Keyboard::UNDEFINED_KEY}}), frame());
  EXPECT_EQ(2, log.count("InputManager::toEventKeyboard(): Warning key 'Delete' not handled."));
  // Closing stops reading the queue: a key pressed after the close request
  // is not delivered in that frame, and the game is over.
  EXPECT_FALSE(InputManager::getInstance().isWindowClosed());
  requestClose();
  setKey("b", sf::Keyboard::B, true);
  EXPECT_TRUE(frame().empty());
  EXPECT_TRUE(GameManager::getInstance().getGameOver());
  EXPECT_TRUE(InputManager::getInstance().isWindowClosed());  // the game can tell it from other ends
  EXPECT_TRUE(log.contains("InputManager::getInput(): Window closed. Setting game over."));
  EXPECT_EQ((Events{{KEY_PRESSED, Keyboard::B}, {KEY_DOWN, Keyboard::B}}), frame());
  setKey("b", sf::Keyboard::B, false);
}

// Events sampled between frames come first, in the order they came, each
// stamped when it was sampled; then what is still queued, then held keys,
// stamped at the frame. A close found while sampling ends the game only when
// the frame delivers it, and what came behind it waits for the next frame.
TEST_F(InputWindow, SampledEventsComeFirstStampedWhenTheyWereRead) {
  using namespace ts;
  const int64_t t0 = monotonicMicroseconds();
  setKey("Up", sf::Keyboard::Up, true);
  input.sampleInput();
  const int64_t t1 = monotonicMicroseconds();
  setKey("Up", sf::Keyboard::Up, false);
  setKey("a", sf::Keyboard::A, true);
  input.sampleInput();
  input.sampleInput();  // nothing new: nothing kept twice
  const int64_t t2 = monotonicMicroseconds();
  setKey("b", sf::Keyboard::B, true);  // still queued at the frame
  const int64_t t3 = monotonicMicroseconds();
  EXPECT_EQ((Events{{KEY_PRESSED, Keyboard::UPARROW},
                    {KEY_RELEASED, Keyboard::UPARROW},
                    {KEY_PRESSED, Keyboard::A},
                    {KEY_PRESSED, Keyboard::B},
                    {KEY_DOWN, Keyboard::A},
                    {KEY_DOWN, Keyboard::B}}),
            frame());
  const int64_t t4 = monotonicMicroseconds();
  const std::vector<std::pair<int64_t, int64_t>> between = {{t0, t1}, {t1, t2}, {t1, t2}, {t3, t4}, {t3, t4}, {t3, t4}};
  ASSERT_EQ(between.size(), recorder.got.key_times.size());
  for (size_t i = 0; i < between.size(); ++i) {
    EXPECT_GE(recorder.got.key_times[i], between[i].first) << "event " << i;
    EXPECT_LE(recorder.got.key_times[i], between[i].second) << "event " << i;
  }
  setKey("a", sf::Keyboard::A, false);
  setKey("b", sf::Keyboard::B, false);
  frame();

  requestClose();
  setKey("c", sf::Keyboard::C, true);
  (void)display.getWindow()->getPosition();  // a round trip: the close request has arrived
  input.sampleInput();
  input.sampleInput();
  EXPECT_FALSE(GameManager::getInstance().getGameOver());
  EXPECT_TRUE(frame().empty());
  EXPECT_TRUE(GameManager::getInstance().getGameOver());
  EXPECT_EQ(1, log.count("InputManager::getInput(): Window closed. Setting game over."));
  EXPECT_EQ((Events{{KEY_PRESSED, Keyboard::C}, {KEY_DOWN, Keyboard::C}}), frame());
  setKey("c", sf::Keyboard::C, false);
}

TEST_F(InputWindow, ClicksAndHeldButtonsArriveInCells) {
  using namespace ts;
  moveTo(128, 64);
  frame();
  setButton(1, sf::Mouse::Left, true);
  setButton(3, sf::Mouse::Right, true);
  frame();
  EXPECT_EQ((Events{{CLICKED, Mouse::LEFT}, {CLICKED, Mouse::RIGHT}, {PRESSED, Mouse::LEFT}, {PRESSED, Mouse::RIGHT}}),
            recorder.got.mouse);
  EXPECT_EQ(std::vector<Vector>(4, Vector(10, 2)), recorder.got.cells);
  frame();
  EXPECT_EQ((Events{{PRESSED, Mouse::LEFT}, {PRESSED, Mouse::RIGHT}}), recorder.got.mouse);
  setButton(1, sf::Mouse::Left, false);
  setButton(3, sf::Mouse::Right, false);
  frame();
  EXPECT_TRUE(recorder.got.mouse.empty());
  moveTo(256, 96);
  frame();
  ASSERT_FALSE(recorder.got.mouse.empty());
  EXPECT_EQ((std::pair<int, int>(MOVED, Mouse::UNDEFINED_MOUSE_BUTTON)), recorder.got.mouse.back());
  EXPECT_EQ(Vector(20, 3), recorder.got.cells.back());
}

// A loop that never ends is ended by the alarm, failing the test.
TEST(GameLoopWindow, ClosingTheWindowEndsTheLoop) {
  testing_support::LogCapture log;
  ts::Config::getInstance().loadConfig("window_title:tessera-loop-test,networking:false,frame_time:5,");
  setenv("TESSERA_CONFIG", "/dev/null", 1);  // the start adds nothing to that
  ts::GameManager &game = ts::GameManager::getInstance();
  ASSERT_EQ(0, game.startUp());
  ts::LogManager::getInstance().setLogLevel(1);
  requestClose();
  alarm(60);
  game.run();
  EXPECT_TRUE(log.contains("InputManager::getInput(): Window closed. Setting game over."));
  game.shutDown();
}

// A key sent while the loop sleeps away a long frame is stamped during that
// sleep: before the frame that delivers it has begun.
TEST(GameLoopWindow, AKeySentDuringTheSleepIsStampedThen) {
  testing_support::LogCapture log;
  ts::Config::getInstance().loadConfig("window_title:tessera-loop-test,networking:false,frame_time:300,");
  setenv("TESSERA_CONFIG", "/dev/null", 1);
  ts::GameManager &game = ts::GameManager::getInstance();
  ASSERT_EQ(0, game.startUp());
  ASSERT_EQ(0, std::system(("xdotool windowfocus --sync " + windowId()).c_str()));
  struct KeyWatcher : ts::Object {
    std::vector<int64_t> step_started;
    int64_t sent = 0, stamp = 0;
    int delivered_in = -1;
    KeyWatcher() {
      registerInterest(ts::STEP_EVENT);
      registerInterest(ts::KEYBOARD_EVENT);
    }
    int eventHandler(const ts::Event *event) override {
      if (auto *step = dynamic_cast<const ts::EventStep *>(event)) {
        step_started.push_back(ts::monotonicMicroseconds());
        if (step->getStepCount() == 40) ts::GameManager::getInstance().setGameOver();
      }
      auto *key = dynamic_cast<const ts::EventKeyboard *>(event);
      if (key && key->getKeyboardAction() == ts::KEY_PRESSED && delivered_in < 0) {
        delivered_in = ts::GameManager::getInstance().getStepCount();
        stamp = key->getTime();
        ts::GameManager::getInstance().setGameOver();
      }
      return 1;
    }
    // Drawn after the frame's input was read: the key, sent from outside,
    // arrives some time into the sleep.
    int draw() override {
      if (ts::GameManager::getInstance().getStepCount() == 1 && sent == 0) {
        sent = ts::monotonicMicroseconds();
        EXPECT_EQ(0, std::system("xdotool key x &"));
      }
      return 0;
    }
  };
  auto *watcher = new KeyWatcher;
  alarm(60);
  game.run();
  ASSERT_GT(watcher->delivered_in, 1) << "the key never came";
  EXPECT_GT(watcher->stamp, watcher->sent);
  EXPECT_LT(watcher->stamp, watcher->step_started[static_cast<size_t>(watcher->delivered_in)]);
  game.shutDown();
}

// The sleep that reads input still ends at once on a caught stop signal:
// here a frame of ten minutes ends the game long before the alarm.
TEST(GameLoopWindow, AStopSignalEndsTheSamplingSleepAtOnce) {
  testing_support::LogCapture log;
  ts::Config::getInstance().loadConfig("window_title:tessera-loop-test,networking:false,frame_time:600000,");
  setenv("TESSERA_CONFIG", "/dev/null", 1);
  ts::GameManager &game = ts::GameManager::getInstance();
  ASSERT_EQ(0, game.startUp());
  struct Interrupter : ts::Object {
    Interrupter() { registerInterest(ts::STEP_EVENT); }
    int eventHandler(const ts::Event *) override {
      std::raise(SIGINT);
      return 1;
    }
  };
  new Interrupter;
  alarm(60);
  game.run();
  EXPECT_TRUE(log.contains("GameManager::run(): Caught SIGINT; ending the game."));
  EXPECT_EQ(1, game.getStepCount());
  game.shutDown();
}

}  // namespace
