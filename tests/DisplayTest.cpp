// The display manager without a window: cell geometry and conversions,
// justification, headless and not-started behaviour, shape geometry.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <SFML/Graphics/CircleShape.hpp>

#include "Config.h"
#include "DisplayManager.h"
#include "DrawnArea.h"
#include "LogManager.h"
#include "Shape.h"
#include "TestSupport.h"

using testing_support::LogCapture;

namespace {

TEST(DisplayGeometry, DefaultCellsAndConversionsBothWays) {
  LogCapture log;
  log.start();
  ts::LogManager::getInstance().setLogLevel(30);
  EXPECT_FLOAT_EQ(12.8f, ts::charWidth());
  EXPECT_FLOAT_EQ(32.0f, ts::charHeight());
  EXPECT_EQ(ts::Vector(12.8f, 32.0f), ts::spacesToPixels(ts::Vector(1, 1)));
  EXPECT_EQ(ts::Vector(10, 2), ts::pixelsToSpaces(ts::Vector(128, 64)));
  EXPECT_TRUE(log.contains("spacesToPixels(int): spaces (1.00,1.00) = pixels (12.80,32.00)"));
  EXPECT_TRUE(log.contains("pixelsToSpaces(): pixels (128.00,64.00) = spaces (10.00,2.00)"));
  for (ts::Vector v : {ts::Vector(0, 0), ts::Vector(79, 23), ts::Vector(3.5f, -2.25f), ts::Vector(41.3f, 7.7f)}) {
    ts::Vector back = ts::pixelsToSpaces(ts::spacesToPixels(v));
    EXPECT_NEAR(v.getX(), back.getX(), 1e-4);
    EXPECT_NEAR(v.getY(), back.getY(), 1e-4);
  }
}

TEST(DisplayGeometry, JustifiedStringsStartWhereExpected) {
  const ts::Vector at(10, 5);
  EXPECT_EQ(ts::Vector(9, 5), ts::justifiedStart(at, 3, ts::CENTER_JUSTIFIED));
  EXPECT_EQ(ts::Vector(8, 5), ts::justifiedStart(at, 4, ts::CENTER_JUSTIFIED));
  EXPECT_EQ(ts::Vector(7, 5), ts::justifiedStart(at, 3, ts::RIGHT_JUSTIFIED));
  EXPECT_EQ(at, ts::justifiedStart(at, 3, ts::LEFT_JUSTIFIED));
  EXPECT_EQ(at, ts::justifiedStart(at, 3, static_cast<ts::Justification>(7)));
  EXPECT_EQ(at, ts::justifiedStart(at, 0, ts::CENTER_JUSTIFIED));
}

TEST(DisplayManagerTest, NotStartedRefusesEveryDrawingCall) {
  LogCapture log;
  log.start();
  ts::DisplayManager &display = ts::DisplayManager::getInstance();
  EXPECT_EQ(-1, display.drawCh(ts::Vector(1, 1), 'a', ts::RED));
  EXPECT_EQ(-1, display.drawCh(ts::Vector(1, 1), 'a', 1, 2, 3));
  EXPECT_EQ(-1, display.drawString(ts::Vector(1, 1), "abc", ts::LEFT_JUSTIFIED, ts::RED));
  EXPECT_EQ(-1, display.swapBuffers());
  EXPECT_EQ(4, log.count("DisplayManager not started!"));
}

TEST(DisplayManagerTest, HeadlessStartsWithoutWindowAndDrawsNothingSilently) {
  LogCapture log;
  ts::Config::getInstance().loadConfig("headless:true,window_horizontal_chars:100,");
  log.start();
  ts::LogManager::getInstance().setLogLevel(5);
  ts::DisplayManager &display = ts::DisplayManager::getInstance();
  ASSERT_EQ(0, display.startUp());
  EXPECT_TRUE(log.contains("DisplayManager::startUp(): no graphics in headless mode."));
  EXPECT_TRUE(log.contains("DisplayManager::startUp(): successfully started."));
  EXPECT_EQ(nullptr, display.getWindow());
  EXPECT_EQ(100, display.getHorizontal());
  EXPECT_EQ(24, display.getVertical());

  size_t lines = log.messages().size();
  EXPECT_EQ(-1, display.drawCh(ts::Vector(1, 1), 'a', ts::RED));
  EXPECT_EQ(-1, display.drawCh(ts::Vector(1, 1), 'a', 1, 2, 3));
  EXPECT_EQ(-1, display.drawString(ts::Vector(1, 1), "abc", ts::CENTER_JUSTIFIED, ts::RED));
  EXPECT_EQ(-1, display.drawString(ts::Vector(1, 1), "", ts::CENTER_JUSTIFIED, ts::RED));
  EXPECT_EQ(-1, display.swapBuffers());
  ts::Shape().draw(ts::Vector(2, 2));
  EXPECT_EQ(lines + 1, log.messages().size());
  EXPECT_EQ("Shape::draw(): DisplayManager window not defined.", log.messages().back());

  EXPECT_EQ(-1, display.startUp());
  EXPECT_TRUE(log.contains("DisplayManager::startup(): Warning! DisplayManager already started."));
  display.shutDown();
  EXPECT_FALSE(display.isStarted());
  EXPECT_TRUE(log.contains("DisplayManager::shutDown(): successfully stopped."));
}

// Without an X display the window library would end the process; the
// display manager reports a failed start instead.
TEST(DisplayManagerTest, NoDisplayToConnectToFailsTheStart) {
  LogCapture log;
  log.start();
  unsetenv("DISPLAY");
  ts::DisplayManager &display = ts::DisplayManager::getInstance();
  EXPECT_EQ(-1, display.startUp());
  EXPECT_FALSE(display.isStarted());
  EXPECT_TRUE(log.contains("DisplayManager::startUp(): Unable to allocate window!"));
}

class ShapeGeometry : public ::testing::Test {
 protected:
  sf::CircleShape figure{0, 30};
  const ts::Vector pixel{100, 200};

  ts::Shape shape(int type, float size) {
    ts::Shape s;
    s.setType(type);
    s.setSize(size);
    return s;
  }
};

TEST_F(ShapeGeometry, CirclePointsFollowTheSizeWithinThreeToTen) {
  EXPECT_FLOAT_EQ(24, ts::Shape().getSize());
  const std::pair<float, size_t> cases[] = {{2, 3}, {7.9f, 7}, {24, 10}, {50, 10}};
  for (auto [size, points] : cases) {
    ts::applyShapeGeometry(figure, shape(ts::CIRCLE, size), pixel);
    EXPECT_EQ(points, figure.getPointCount()) << size;
    EXPECT_FLOAT_EQ(size, figure.getRadius());
    EXPECT_EQ(sf::Vector2f(100 - size * 0.5f, 200 - size * 0.5f), figure.getPosition());
    EXPECT_FLOAT_EQ(0, figure.getRotation());
  }
}

TEST_F(ShapeGeometry, SquareIsATurnedFourGonAndTriangleIsNotTurned) {
  ts::applyShapeGeometry(figure, shape(ts::SQUARE, 24), pixel);
  EXPECT_EQ(4u, figure.getPointCount());
  EXPECT_FLOAT_EQ(45, figure.getRotation());
  EXPECT_FLOAT_EQ(12, figure.getRadius());  // size / font scale 2
  EXPECT_EQ(sf::Vector2f(100 + 12, 200 - 24 / 1.75f), figure.getPosition());
  // Turned by 45 degrees about its corner, the 4-gon's edges are axis-aligned.
  sf::FloatRect bounds = figure.getGlobalBounds();
  EXPECT_NEAR(bounds.width, bounds.height, 1e-3);

  ts::applyShapeGeometry(figure, shape(ts::TRIANGLE, 24), pixel);
  EXPECT_EQ(3u, figure.getPointCount());
  EXPECT_FLOAT_EQ(0, figure.getRotation());
  EXPECT_FLOAT_EQ(12, figure.getRadius());
  EXPECT_EQ(sf::Vector2f(88, 188), figure.getPosition());
}

}  // namespace

namespace {

// The record of drawn pixels behind skipped cell backgrounds: a background
// box is kept only where something was drawn, narrowed on whole pixels.
TEST(DrawnAreaTest, BackgroundsAreNarrowedToWhatWasDrawnOn) {
  ts::DrawnArea area;
  area.reset(100, 50);
  ts::PixelBox cell{11.52f, 38.4f, 24.32f, 70.4f};
  ts::PixelBox box = cell;
  EXPECT_FALSE(area.clip(box));  // nothing drawn yet

  area.mark(ts::PixelBox{5.3f, 40.2f, 13.1f, 45.9f});  // touches pixels 5..13, 40..45
  box = cell;
  ASSERT_TRUE(area.clip(box));
  EXPECT_FLOAT_EQ(11.52f, box.left);  // the original edge where it is inside the drawn part
  EXPECT_FLOAT_EQ(40, box.top);       // whole-pixel edges elsewhere, covering the drawn pixels
  EXPECT_FLOAT_EQ(14, box.right);
  EXPECT_FLOAT_EQ(46, box.bottom);

  ts::PixelBox outside{200, 10, 220, 20};
  EXPECT_FALSE(area.clip(outside));
  area.markAll();
  box = cell;
  ASSERT_TRUE(area.clip(box));
  EXPECT_FLOAT_EQ(24.32f, box.right);
  area.reset(100, 50);
  box = cell;
  EXPECT_FALSE(area.clip(box));
}

}  // namespace
