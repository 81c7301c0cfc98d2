// The display manager without a window: cell geometry, justification,
// refused drawing when not started or headless, shape geometry.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <SFML/Graphics/CircleShape.hpp>
#include <tuple>

#include <tessera/core/Config.h>
#include <tessera/graphics/DisplayManager.h>
#include <tessera/graphics/Shape.h>
#include "TestSupport.h"
#include "graphics/WindowSurface.h"

namespace {

TEST(DisplayGeometry, CellsConversionsAndJustification) {
  EXPECT_EQ(ts::Vector(12.8f, 32.0f), ts::spacesToPixels(ts::Vector(1, 1)));
  EXPECT_EQ(ts::Vector(10, 2), ts::pixelsToSpaces(ts::Vector(128, 64)));
  ts::Vector back = ts::pixelsToSpaces(ts::spacesToPixels(ts::Vector(41.3f, -7.7f)));
  EXPECT_NEAR(41.3f, back.getX(), 1e-4);
  EXPECT_NEAR(-7.7f, back.getY(), 1e-4);

  const ts::Vector at(10, 5);
  const std::tuple<int, int, float> cases[] = {// justification, length, first column
                                               {ts::CENTER_JUSTIFIED, 3, 9},  {ts::CENTER_JUSTIFIED, 4, 8},
                                               {ts::CENTER_JUSTIFIED, 0, 10}, {ts::RIGHT_JUSTIFIED, 3, 7},
                                               {ts::LEFT_JUSTIFIED, 3, 10},   {7, 3, 10}};
  for (auto [justification, length, column] : cases)
    EXPECT_EQ(ts::Vector(column, 5), ts::justifiedStart(at, length, static_cast<ts::Justification>(justification)))
        << justification << " " << length;
}

// All four drawing calls; -4 when every one is refused.
int drawEverything(ts::DisplayManager &display) {
  return display.drawCh(ts::Vector(1, 1), 'a', ts::RED) + display.drawCh(ts::Vector(1, 1), 'a', 1, 2, 3) +
         display.drawString(ts::Vector(1, 1), "abc", ts::CENTER_JUSTIFIED, ts::RED) + display.swapBuffers();
}

// Without an X display the window library would end the process; the
// display manager reports a failed start instead.
TEST(DisplayManagerTest, NotStartedWithoutDisplayAndHeadlessRefuseEveryDrawingCall) {
  testing_support::StartedLog log;
  ts::DisplayManager &display = ts::DisplayManager::getInstance();
  setenv("TESSERA_DISPLAY", "window", 1);  // not the terminal, whatever runs the test
  unsetenv("DISPLAY");
  EXPECT_EQ(-1, display.startUp());
  EXPECT_TRUE(log.contains("DisplayManager::startUp(): Unable to allocate window: DISPLAY is not set."));
  EXPECT_EQ(-4, drawEverything(display));
  EXPECT_EQ(4, log.count("DisplayManager not started!"));
  // A local display nobody serves: refused by name, before the window
  // library would end the process over it.
  int n = 99;
  while (access(("/tmp/.X11-unix/X" + std::to_string(n)).c_str(), F_OK) == 0) ++n;
  const std::string name = ":" + std::to_string(n) + ".0";
  setenv("DISPLAY", name.c_str(), 1);
  EXPECT_EQ(-1, display.startUp());
  EXPECT_TRUE(
      log.contains("DisplayManager::startUp(): Unable to allocate window: cannot open display '" + name + "'."));
  unsetenv("DISPLAY");

  ts::Config::getInstance().loadConfig("headless:true,window_horizontal_chars:100,");
  ts::LogManager::getInstance().setLogLevel(5);
  ASSERT_EQ(0, display.startUp());
  EXPECT_TRUE(log.contains("DisplayManager::startUp(): no graphics in headless mode."));
  EXPECT_EQ(nullptr, display.getWindow());
  EXPECT_EQ(100, display.getHorizontal());
  size_t lines = log.messages().size();
  EXPECT_EQ(-4, drawEverything(display));
  ts::Shape shape;
  shape.setColor(ts::RED);
  shape.setRGB(1, 2, 3);
  shape.draw(ts::Vector(2, 2));
  EXPECT_EQ(lines + 1, log.messages().size());  // silent but for the shape
  EXPECT_EQ("Shape::draw(): DisplayManager window not defined.", log.messages().back());
  EXPECT_EQ(std::make_tuple(1, 2, 3), std::make_tuple(shape.getR(), shape.getG(), shape.getB()));  // untouched
  EXPECT_EQ(-1, display.startUp());
  EXPECT_TRUE(log.contains("DisplayManager::startup(): Warning! DisplayManager already started."));
}

// Circles get more points as they grow, from 3 to at most 10; triangles and
// squares keep theirs, squares stand on a corner. Spot-checked corners.
TEST(ShapeGeometry, PointsRotationAndCornerPerType) {
  sf::CircleShape figure(0, 30);
  auto shaped = [&figure](int type, float size) {
    ts::Shape shape;
    shape.setType(type);
    shape.setSize(size);
    ts::applyShapeGeometry(figure, shape, ts::Vector(100, 200));
    return figure.getPointCount();
  };
  size_t previous = 3;
  for (float size = 0; size <= 60; size += 0.5f) {
    const size_t points = shaped(ts::CIRCLE, size);
    EXPECT_TRUE(points >= previous && points <= 10) << size;
    previous = points;
    EXPECT_EQ(shaped(ts::TRIANGLE, size), 3u);
    EXPECT_EQ(shaped(ts::SQUARE, size), 4u);
    EXPECT_EQ(figure.getRotation(), 45);
  }
  EXPECT_EQ(previous, 10u);
  shaped(ts::CIRCLE, 24);
  EXPECT_EQ(figure.getPosition(), sf::Vector2f(88, 188));
  shaped(ts::SQUARE, 24);
  EXPECT_EQ(figure.getPosition(), sf::Vector2f(112, 200 - 24 / 1.75f));
}

}  // namespace
