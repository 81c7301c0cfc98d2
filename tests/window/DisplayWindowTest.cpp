// The display manager in a real window: start-up from the configuration,
// where cells land on screen, and batched drawing against the literal way.
#include <gtest/gtest.h>

#include <SFML/Graphics.hpp>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "Config.h"
#include "DisplayManager.h"
#include "LogManager.h"
#include "Shape.h"
#include "TestSupport.h"
#include "ViewObject.h"
#include "WindowSupport.h"
#include "WorldManager.h"

using testing_support::LogCapture;
using window_support::capture;
using window_support::Image;

namespace {

class DisplayWindow : public ::testing::Test {
 protected:
  ts::DisplayManager &display = ts::DisplayManager::getInstance();
  LogCapture log;

  void start(const std::string &config = "") {
    ts::Config::getInstance().loadConfig("window_title:tessera-display-test," + config);
    log.start();
    ts::LogManager::getInstance().setLogLevel(5);
    ts::WorldManager::getInstance().setView(ts::Box(ts::Vector(0, 0), 80, 24));
  }
  void TearDown() override {
    if (display.isStarted()) display.shutDown();
  }
};

// The first pixel column (or row) whose centre lies at or after `from`:
// where an axis-aligned quad starting at `from` begins to cover pixels.
int firstCovered(float from) { return static_cast<int>(std::ceil(from - 0.5f)); }

bool sameColor(sf::Color a, sf::Color b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

TEST_F(DisplayWindow, StartsFromTheConfigurationAndStopsCleanly) {
  start();
  ASSERT_EQ(0, display.startUp());
  ASSERT_NE(nullptr, display.getWindow());
  EXPECT_EQ(sf::Vector2u(1024, 768), display.getWindow()->getSize());
  EXPECT_FLOAT_EQ(12.8f, ts::charWidth());
  EXPECT_FLOAT_EQ(32.0f, ts::charHeight());
  EXPECT_EQ(25u, display.getCharacterSize());
  EXPECT_TRUE(log.contains("DisplayManager::startUp(): window resolution (1280, 1024) pixels."));
  EXPECT_TRUE(log.contains("DisplayManager::startUp(): successfully started."));

  EXPECT_EQ(-1, display.startUp());
  EXPECT_TRUE(log.contains("DisplayManager::startup(): Warning! DisplayManager already started."));

  display.shutDown();
  EXPECT_EQ(nullptr, display.getWindow());
  EXPECT_TRUE(log.contains("DisplayManager::shutDown(): successfully stopped."));
  EXPECT_EQ(-1, display.drawCh(ts::Vector(1, 1), 'x', ts::WHITE));
  EXPECT_TRUE(log.contains("DisplayManager not started!"));

  ASSERT_EQ(0, display.startUp());
  EXPECT_EQ(0, display.drawCh(ts::Vector(1, 1), 'x', ts::WHITE));
  EXPECT_EQ(0, display.swapBuffers());
}

TEST_F(DisplayWindow, ZeroPixelsMeansTheDesktopSize) {
  start("window_horizontal_pixels:0,window_vertical_pixels:0,");
  ASSERT_EQ(0, display.startUp());
  EXPECT_EQ(1280, display.getHorizontalPixels());
  EXPECT_EQ(1024, display.getVerticalPixels());
  EXPECT_EQ(sf::Vector2u(1280, 1024), display.getWindow()->getSize());
  EXPECT_FLOAT_EQ(16.0f, ts::charWidth());
}

TEST_F(DisplayWindow, MissingFontFailsTheStart) {
  start("font_file:no-such-font.ttf,");
  EXPECT_EQ(-1, display.startUp());
  EXPECT_FALSE(display.isStarted());
  EXPECT_TRUE(log.contains("DisplayManager::startUp(): Error! Unable to open font from file 'no-such-font.ttf'."));
  EXPECT_NE(nullptr, display.getWindow());  // kept until shutDown
  display.shutDown();
  EXPECT_EQ(nullptr, display.getWindow());
}

// A shape is drawn straight into the window: cells collected before it stay
// under it and cells drawn after it cover it with their background.
TEST_F(DisplayWindow, CellsAndShapesLandWhereTheyShouldInDrawingOrder) {
  start("window_background_color:blue,");
  ASSERT_EQ(0, display.startUp());
  const sf::Color blue(0, 0, 255), red(255, 0, 0), green(0, 255, 0);

  ASSERT_EQ(0, display.drawCh(ts::Vector(18, 6), '#', ts::GREEN));  // will be under the shape
  ts::Shape circle;
  circle.setSize(200);
  circle.setColor(ts::RED);
  circle.draw(ts::Vector(10, 5));  // a 10-gon around pixel (228, 260)
  ASSERT_EQ(0, display.drawCh(ts::Vector(17, 8), ' ', ts::WHITE));
  ASSERT_EQ(0, display.drawCh(ts::Vector(50, 15), '#', ts::GREEN));
  ASSERT_EQ(0, display.swapBuffers());
  Image shot = capture(*display.getWindow());
  ASSERT_EQ(1024, shot.width);

  // The glyph drawn before the shape is hidden by it.
  for (int y = 192; y < 230; ++y)
    for (int x = 228; x < 242; ++x) ASSERT_TRUE(sameColor(red, shot.at(x, y))) << x << "," << y;

  // The space at cell (17, 8): its background rectangle spans
  // [217.6 - 1.28, +12.8) x [256 + 6.4, +32) in pixels.
  const int left = firstCovered(217.6f - 1.28f), right = firstCovered(217.6f - 1.28f + 12.8f);
  const int top = firstCovered(256 + 6.4f), bottom = firstCovered(256 + 6.4f + 32);
  EXPECT_EQ(216, left);
  EXPECT_EQ(229, right);
  EXPECT_EQ(262, top);
  EXPECT_EQ(294, bottom);
  for (int y = top - 1; y <= bottom; ++y) {
    for (int x = left - 1; x <= right; ++x) {
      bool inside = x >= left && x < right && y >= top && y < bottom;
      ASSERT_TRUE(sameColor(inside ? blue : red, shot.at(x, y))) << x << "," << y;
    }
  }

  // The '#' at cell (50, 15): text origin at pixel (640, 480); its ink stays
  // inside the glyph's box, mixes only green over blue, and is solid green
  // where the strokes are.
  const sf::Glyph &glyph = display.getFont().getGlyph('#', 25, true);
  const float ink_left = 640 + glyph.bounds.left - 1, ink_right = 640 + glyph.bounds.left + glyph.bounds.width + 1;
  const float ink_top = 480 + 25 + glyph.bounds.top - 1, ink_bottom = ink_top + glyph.bounds.height + 2;
  int solid = 0, ink = 0;
  for (int y = 460; y < 530; ++y) {
    for (int x = 625; x < 660; ++x) {
      sf::Color c = shot.at(x, y);
      if (sameColor(blue, c)) continue;
      ++ink;
      EXPECT_TRUE(x >= ink_left && x < ink_right && y >= ink_top && y < ink_bottom) << x << "," << y;
      EXPECT_EQ(0, c.r);
      EXPECT_NEAR(255, c.g + c.b, 1);
      solid += sameColor(green, c);
    }
  }
  EXPECT_GT(ink, 40);
  EXPECT_GT(solid, 10);
}

// Every printable glyph fits its cell: nothing of it reaches where the
// next cell's background rectangle starts, so no character is cut off.
TEST_F(DisplayWindow, EveryPrintableGlyphFitsItsCell) {
  start();
  ASSERT_EQ(0, display.startUp());
  for (int c = 33; c < 127; ++c) {
    int i = c - 33;
    display.drawCh(ts::Vector(static_cast<float>((i % 40) * 2), static_cast<float>(i / 40 * 2)),
                   static_cast<char>(c), ts::WHITE);
  }
  ASSERT_EQ(0, display.swapBuffers());
  Image shot = capture(*display.getWindow());
  for (int c = 33; c < 127; ++c) {
    int i = c - 33;
    float px = static_cast<float>((i % 40) * 2) * 12.8f, py = static_cast<float>(i / 40 * 2) * 32;
    int own_left = firstCovered(px - 1.28f), next_left = firstCovered(px + 12.8f - 1.28f);
    int ink_left = 1 << 20, ink_right = -1;
    for (int y = static_cast<int>(py); y < static_cast<int>(py) + 40; ++y) {
      for (int x = std::max(0, own_left - 4); x < next_left + 8; ++x) {
        if (sameColor(sf::Color::Black, shot.at(x, y))) continue;
        ink_left = std::min(ink_left, x);
        ink_right = std::max(ink_right, x);
      }
    }
    EXPECT_GE(ink_left, own_left) << "'" << static_cast<char>(c) << "'";
    EXPECT_LT(ink_right, next_left) << "'" << static_cast<char>(c) << "'";
  }
}

// One frame with every printable character in every colour, strings at
// fractional cells (as centred sprite frames are) and a shape in between.
void drawBusyFrame(ts::DisplayManager &display) {
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 80; ++x) {
      char ch = static_cast<char>(32 + (x + y * 80) % 95);
      display.drawCh(ts::Vector(static_cast<float>(x), static_cast<float>(y)), ch,
                     static_cast<ts::Color>((x + y) % 8));
    }
  }
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
  ASSERT_EQ(0, display.startUp());
  drawBusyFrame(display);
  ASSERT_EQ(0, display.swapBuffers());
  Image batched = capture(*display.getWindow());

  display.setBatching(false);
  drawBusyFrame(display);
  ASSERT_EQ(0, display.swapBuffers());
  Image literal = capture(*display.getWindow());

  ASSERT_EQ(1024, batched.width);
  ASSERT_EQ(768, batched.height);
  ASSERT_EQ(literal.rgb.size(), batched.rgb.size());
  int differing = 0, largest = 0;
  for (size_t i = 0; i < batched.rgb.size(); ++i) {
    int difference = std::abs(batched.rgb[i] - literal.rgb[i]);
    differing += difference != 0;
    largest = std::max(largest, difference);
  }
  EXPECT_LE(largest, 1);
  EXPECT_LE(differing, 16);
}

// A bordered view object shows the same pixels as its characters drawn one
// by one where they belong: the text centred on its position, a line of
// '-' above and below, and a '|' one cell outside each end.
TEST_F(DisplayWindow, ViewObjectDrawsItsTextAndBorderInTheRightCells) {
  start();
  ts::WorldManager &world = ts::WorldManager::getInstance();
  ASSERT_EQ(0, world.startUp());
  world.setView(ts::Box(ts::Vector(0, 0), 80, 24));
  ASSERT_EQ(0, display.startUp());
  ts::ViewObject *view = new ts::ViewObject;
  view->setViewString("AB");
  view->setValue(5);
  view->setColor(ts::CYAN);
  view->setLocation(ts::CENTER_CENTER);  // (40, 12); the text " AB 5 " starts at 37
  ASSERT_EQ(0, view->draw());
  ASSERT_EQ(0, display.swapBuffers());
  Image drawn = capture(*display.getWindow());

  const std::string text = " AB 5 ";
  for (int i = 0; i < 6; ++i) {
    display.drawCh(ts::Vector(static_cast<float>(37 + i), 11), '-', ts::CYAN);
    display.drawCh(ts::Vector(static_cast<float>(37 + i), 12), text[static_cast<size_t>(i)], ts::CYAN);
    display.drawCh(ts::Vector(static_cast<float>(37 + i), 13), '-', ts::CYAN);
  }
  display.drawCh(ts::Vector(36, 12), '|', ts::CYAN);
  display.drawCh(ts::Vector(43, 12), '|', ts::CYAN);
  ASSERT_EQ(0, display.swapBuffers());
  Image expected = capture(*display.getWindow());
  ASSERT_FALSE(expected.rgb.empty());
  EXPECT_TRUE(drawn.rgb == expected.rgb);
  world.shutDown();
}

}  // namespace
