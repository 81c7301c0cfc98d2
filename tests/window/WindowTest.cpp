// The display and input managers in a real window: start-up, where cells
// land on screen (screenshots compared pixel by pixel), batched drawing
// against the literal way, and keys and buttons sent with xdotool arriving
// as engine events.
#include <gtest/gtest.h>

#include <SFML/Graphics.hpp>
#include <chrono>
#include <cmath>
#include <thread>

#include "Config.h"
#include "DisplayManager.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "GameManager.h"
#include "InputManager.h"
#include "Shape.h"
#include "TestSupport.h"
#include "ViewObject.h"
#include "WorldManager.h"
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
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      unsigned long p = XGetPixel(shot, x, y);  // 24-bit true colour: 0xRRGGBB
      image.pixels.emplace_back((p >> 16) & 255, (p >> 8) & 255, p & 255);
    }
  XDestroyImage(shot);
  XCloseDisplay(display);
  return image;
}

std::string windowId() { return std::to_string(ts::DisplayManager::getInstance().getWindow()->getSystemHandle()); }

// Sends the close request a window manager sends when the user closes a
// window (WM_DELETE_WINDOW), through a connection of its own.
void requestClose() {
  Display *display = XOpenDisplay(nullptr);
  XEvent event{};
  event.xclient = {ClientMessage, 0, False, display, ts::DisplayManager::getInstance().getWindow()->getSystemHandle(),
                   XInternAtom(display, "WM_PROTOCOLS", False), 32, {}};
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
  EXPECT_TRUE(log.contains("DisplayManager::startUp(): window resolution (1280, 1024) pixels."));
  display.shutDown();
  EXPECT_EQ(nullptr, display.getWindow());
  ts::Config::getInstance().loadConfig("font_file:no-such-font.ttf,");
  EXPECT_EQ(-1, display.startUp());
  EXPECT_FALSE(display.isStarted());
  EXPECT_TRUE(log.contains("DisplayManager::startUp(): Error! Unable to open font from file 'no-such-font.ttf'."));
  ts::Config::getInstance().loadConfig("font_file:ts-font.ttf,window_horizontal_pixels:0,window_vertical_pixels:0,");
  ASSERT_EQ(0, display.startUp());  // 0 pixels: the desktop size
  EXPECT_EQ(sf::Vector2u(1280, 1024), display.getWindow()->getSize());
  EXPECT_FLOAT_EQ(16.0f, ts::charWidth());
  EXPECT_EQ(0, display.drawCh(ts::Vector(1, 1), 'x', ts::WHITE));
  EXPECT_EQ(0, display.swapBuffers());
}

// A cell drawn after a shape covers it with its background rectangle, a
// tenth of a cell left of and a fifth below the cell; its glyph is drawn in
// its colour from the cell's corner.
TEST_F(DisplayWindow, CellsLandWhereTheyShouldInTheirColours) {
  start("window_background_color:blue,");
  const sf::Color blue(0, 0, 255), red(255, 0, 0), green(0, 255, 0);
  ts::Shape circle;
  circle.setSize(200);
  circle.setColor(ts::RED);
  circle.draw(ts::Vector(10, 5));  // a 10-gon around pixel (228, 260)
  ASSERT_EQ(0, display.drawCh(ts::Vector(17, 8), ' ', ts::WHITE));
  ASSERT_EQ(0, display.drawCh(ts::Vector(50, 15), '#', ts::GREEN));
  ASSERT_EQ(0, display.swapBuffers());
  Image shot = capture(*display.getWindow());
  // The space at cell (17, 8) spans [217.6 - 1.28, +12.8) x [256 + 6.4, +32):
  // pixels 216..228 x 262..293.
  for (int y = 261; y <= 294; ++y)
    for (int x = 215; x <= 229; ++x)
      ASSERT_TRUE(sameColor(x >= 216 && x < 229 && y >= 262 && y < 294 ? blue : red, shot.at(x, y))) << x << "," << y;
  // The '#' at cell (50, 15), text origin at pixel (640, 480 + size 25): its
  // ink stays inside the glyph's box, mixes only green over blue, and is
  // solid green where the strokes are.
  const sf::FloatRect box = display.getFont().getGlyph('#', 25, true).bounds;
  int solid = 0, ink = 0;
  for (int y = 460; y < 530; ++y)
    for (int x = 625; x < 660; ++x) {
      sf::Color c = shot.at(x, y);
      if (sameColor(blue, c)) continue;
      ++ink;
      solid += sameColor(green, c);
      EXPECT_TRUE(sf::FloatRect(639 + box.left, 504 + box.top, box.width + 2, box.height + 2).contains(x, y)) << x << "," << y;
      EXPECT_TRUE(c.r == 0 && std::abs(255 - c.g - c.b) <= 1) << x << "," << y;
    }
  EXPECT_GT(ink, 40);
  EXPECT_GT(solid, 10);
}

// Every printable glyph fits its cell: nothing of it reaches where the
// next cell's background rectangle starts, so no character is cut off.
TEST_F(DisplayWindow, EveryPrintableGlyphFitsItsCell) {
  start();
  auto corner = [](int c) { return ts::Vector(static_cast<float>((c - 33) % 40 * 2), static_cast<float>((c - 33) / 40 * 2)); };
  for (int c = 33; c < 127; ++c) display.drawCh(corner(c), static_cast<char>(c), ts::WHITE);
  ASSERT_EQ(0, display.swapBuffers());
  Image shot = capture(*display.getWindow());
  for (int c = 33; c < 127; ++c) {
    ts::Vector pixel = ts::spacesToPixels(corner(c));
    int own_left = firstCovered(pixel.getX() - 1.28f), next_left = firstCovered(pixel.getX() + 11.52f);
    for (int y = static_cast<int>(pixel.getY()); y < static_cast<int>(pixel.getY()) + 40; ++y)
      for (int x = std::max(0, own_left - 4); x < next_left + 8; ++x)
        EXPECT_TRUE(sameColor(sf::Color::Black, shot.at(x, y)) || (x >= own_left && x < next_left))
            << static_cast<char>(c) << " at " << x << "," << y;
  }
}

// One frame with every printable character in every colour, strings at
// fractional cells (as centred sprite frames are) and a shape in between.
void drawBusyFrame(ts::DisplayManager &display) {
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 80; ++x)
      display.drawCh(ts::Vector(static_cast<float>(x), static_cast<float>(y)), static_cast<char>(32 + (x + y * 80) % 95),
                     static_cast<ts::Color>((x + y) % 8));
  ts::Shape triangle;
  triangle.setType(ts::TRIANGLE);
  triangle.setSize(90);
  triangle.setColor(ts::MAGENTA);
  triangle.draw(ts::Vector(40, 12));
  display.drawString(ts::Vector(40.5f, 11.5f), "Perfect! Good! Miss!", ts::CENTER_JUSTIFIED, ts::YELLOW);
  display.drawString(ts::Vector(79, 23), "Score: 1234", ts::RIGHT_JUSTIFIED, ts::CYAN);
  display.drawCh(ts::Vector(3.5f, 2.5f), '@', 10, 200, 30);
}

// The batch puts every vertex exactly where the rectangle and the text
// object put theirs. The driver transforms the literal shapes by their own
// matrices, so its float rounding may differ in the last bit: a smooth
// glyph edge pixel can then come out one step apart. Anything more (a
// shifted glyph, a missing background, a different order) differs by far
// more than that.
TEST_F(DisplayWindow, BatchedFrameMatchesLiteralDrawing) {
  start();
  drawBusyFrame(display);
  ASSERT_EQ(0, display.swapBuffers());
  Image batched = capture(*display.getWindow());
  display.setBatching(false);
  drawBusyFrame(display);
  ASSERT_EQ(0, display.swapBuffers());
  Image literal = capture(*display.getWindow());
  ASSERT_EQ(1024u * 768u, batched.pixels.size());
  ASSERT_EQ(literal.pixels.size(), batched.pixels.size());
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
}

// A bordered view object shows the same pixels as its characters drawn one
// by one where they belong: the text centred on its position, a line of
// '-' above and below, and a '|' one cell outside each end.
TEST_F(DisplayWindow, ViewObjectDrawsItsTextAndBorderInTheRightCells) {
  ASSERT_EQ(0, ts::WorldManager::getInstance().startUp());
  start();
  ts::ViewObject *view = new ts::ViewObject;
  view->setViewString("AB");
  view->setValue(5);
  view->setColor(ts::CYAN);
  view->setLocation(ts::CENTER_CENTER);  // (40, 12); the text " AB 5 " starts at 37
  ASSERT_EQ(0, view->draw());
  ASSERT_EQ(0, display.swapBuffers());
  Image drawn = capture(*display.getWindow());
  display.drawString(ts::Vector(37, 11), "------", ts::LEFT_JUSTIFIED, ts::CYAN);
  display.drawString(ts::Vector(36, 12), "| AB 5 |", ts::LEFT_JUSTIFIED, ts::CYAN);
  display.drawString(ts::Vector(37, 13), "------", ts::LEFT_JUSTIFIED, ts::CYAN);
  ASSERT_EQ(0, display.swapBuffers());
  Image expected = capture(*display.getWindow());
  ASSERT_FALSE(expected.pixels.empty());
  EXPECT_TRUE(drawn.pixels == expected.pixels);
  ts::WorldManager::getInstance().shutDown();
}

// Keyboard events as (action, key), mouse events as (action, button) with
// their cells, mouse moves only when asked for.
using Events = std::vector<std::pair<int, int>>;
class Recorder : public ts::Object {
 public:
  Events keys, mouse;
  std::vector<ts::Vector> cells;
  Recorder() {
    registerInterest(ts::KEYBOARD_EVENT);
    registerInterest(ts::MOUSE_EVENT);
  }
  int eventHandler(const ts::Event *event) override {
    if (auto *k = dynamic_cast<const ts::EventKeyboard *>(event)) keys.emplace_back(k->getKeyboardAction(), k->getKey());
    if (auto *m = dynamic_cast<const ts::EventMouse *>(event)) {
      mouse.emplace_back(m->getMouseAction(), m->getMouseButton());
      cells.push_back(m->getMousePosition());
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
    recorder.keys.clear();
    recorder.mouse.clear();
    recorder.cells.clear();
    input.getInput();
    return recorder.keys;
  }
  // Runs xdotool, then waits until the server reports the key or button
  // state it should have caused. The server sends the events a request
  // causes before its answer to a later state query, so once the state
  // shows, the events are queued and the next frame reads them.
  template <typename Done>
  void act(const std::string &arguments, Done done) {
    ASSERT_EQ(0, std::system(("xdotool " + arguments).c_str()));
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
      ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "no effect of xdotool " << arguments;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
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

TEST_F(InputWindow, KeyPressHoldAndReleaseArriveAsEngineEvents) {
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
}

TEST_F(InputWindow, ClicksAndHeldButtonsArriveInCells) {
  using namespace ts;
  moveTo(128, 64);
  frame();
  setButton(1, sf::Mouse::Left, true);
  setButton(3, sf::Mouse::Right, true);
  frame();
  EXPECT_EQ((Events{{CLICKED, Mouse::LEFT}, {CLICKED, Mouse::RIGHT}, {PRESSED, Mouse::LEFT}, {PRESSED, Mouse::RIGHT}}),
            recorder.mouse);
  EXPECT_EQ(std::vector<Vector>(4, Vector(10, 2)), recorder.cells);
  frame();
  EXPECT_EQ((Events{{PRESSED, Mouse::LEFT}, {PRESSED, Mouse::RIGHT}}), recorder.mouse);
  setButton(1, sf::Mouse::Left, false);
  setButton(3, sf::Mouse::Right, false);
  frame();
  EXPECT_TRUE(recorder.mouse.empty());
  moveTo(256, 96);
  frame();
  ASSERT_FALSE(recorder.mouse.empty());
  EXPECT_EQ((std::pair<int, int>(MOVED, Mouse::UNDEFINED_MOUSE_BUTTON)), recorder.mouse.back());
  EXPECT_EQ(Vector(20, 3), recorder.cells.back());
}

// Closing stops reading the queue: a key pressed after the close request
// is not delivered in that frame, and the game is over.
TEST_F(InputWindow, CloseRequestSetsGameOverAndLeavesTheRestQueued) {
  ts::LogManager::getInstance().setLogLevel(1);
  requestClose();
  setKey("b", sf::Keyboard::B, true);
  EXPECT_TRUE(frame().empty());
  EXPECT_TRUE(ts::GameManager::getInstance().getGameOver());
  EXPECT_TRUE(log.contains("InputManager::getInput(): Window closed. Setting game over."));
  EXPECT_EQ((Events{{ts::KEY_PRESSED, ts::Keyboard::B}, {ts::KEY_DOWN, ts::Keyboard::B}}), frame());
  setKey("b", sf::Keyboard::B, false);
}

// The close request is sent before the loop starts; a loop that never ends
// is ended by the alarm, failing the test.
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

}  // namespace
