// View objects: defaults, the nine locations and the border, manual
// placement, "ts-view" events, drawing results and serialization.
#include <gtest/gtest.h>

#include <sstream>

#include "EventStep.h"
#include "EventView.h"
#include "LogManager.h"
#include "TestSupport.h"
#include "ViewObject.h"
#include "WorldManager.h"

using testing_support::LogCapture;

namespace {

class ViewObjectTest : public ::testing::Test {
 protected:
  LogCapture log;
  void SetUp() override {
    log.start();
    ts::WorldManager &world = ts::WorldManager::getInstance();
    world.startUp();
    world.setBoundary(ts::Box(ts::Vector(0, 0), 80, 24));
    world.setView(ts::Box(ts::Vector(0, 0), 80, 24));
  }
  void TearDown() override { ts::WorldManager::getInstance().shutDown(); }
};

TEST_F(ViewObjectTest, FreshObjectIsABorderedZeroAtTopCenter) {
  ts::ViewObject *view = new ts::ViewObject;
  EXPECT_EQ(ts::Vector(40, 1), view->getPosition());
  EXPECT_EQ(ts::TOP_CENTER, view->getLocation());
  EXPECT_EQ("  0 ", view->composeText());  // space, empty label, space, 0, space
  EXPECT_EQ(ts::WHITE, view->getColor());
  EXPECT_TRUE(view->getBorder());
  EXPECT_TRUE(view->getDrawValue());
  EXPECT_EQ("ViewObject", view->getType());
  EXPECT_EQ(ts::SPECTRAL, view->getSolidness());
  EXPECT_EQ(ts::MAX_ALTITUDE, view->getAltitude());
  ASSERT_EQ(1, view->getEventCount());
  EXPECT_EQ(ts::VIEW_EVENT, view->getEventName(0));
  EXPECT_EQ(ts::VALUE_ATTR | ts::APPEARANCE_ATTR, view->getModified() & (ts::VALUE_ATTR | ts::APPEARANCE_ATTR));
}

TEST_F(ViewObjectTest, TextWithAndWithoutBorderAndValue) {
  ts::ViewObject *view = new ts::ViewObject;
  view->setViewString("Score");
  view->setValue(12);
  EXPECT_EQ(" Score 12 ", view->composeText());
  view->setBorder(false);
  EXPECT_EQ("Score 12", view->composeText());
  view->setDrawValue(false);
  EXPECT_EQ("Score", view->composeText());
  view->setBorder(true);
  EXPECT_EQ(" Score ", view->composeText());
  view->setValue(-7);
  view->setDrawValue(true);
  EXPECT_EQ(" Score -7 ", view->composeText());
}

TEST_F(ViewObjectTest, NineLocationsWithAndWithoutBorder) {
  ts::ViewObject *view = new ts::ViewObject;
  const float xs[3] = {80.0f / 6, 40, 80.0f * 5 / 6};
  const float bordered[3] = {1, 12, 22}, plain[3] = {0, 11, 23};
  for (int location = 0; location < 9; ++location) {
    for (bool border : {true, false}) {
      view->setBorder(border);
      view->setLocation(location);
      ts::Vector at = view->getPosition();
      EXPECT_FLOAT_EQ(xs[location % 3], at.getX()) << location;
      EXPECT_FLOAT_EQ((border ? bordered : plain)[location / 3], at.getY()) << location << border;
      EXPECT_EQ(location, view->getLocation());
    }
  }
  // Turning the border off follows the location down or up one row.
  view->setBorder(true);
  view->setLocation(ts::BOTTOM_RIGHT);
  view->setBorder(false);
  EXPECT_FLOAT_EQ(23, view->getPosition().getY());
  view->setBorder(true);
  view->setLocation(ts::CENTER_LEFT);
  view->setBorder(false);
  EXPECT_FLOAT_EQ(11, view->getPosition().getY());
}

TEST_F(ViewObjectTest, ManualPlacementForgetsTheLocationAndBadLocationsAreRefused) {
  ts::ViewObject *view = new ts::ViewObject;
  view->setLocation(ts::BOTTOM_LEFT);
  ts::Vector where = view->getPosition();
  EXPECT_EQ(0, view->setPosition(where));
  EXPECT_EQ(ts::BOTTOM_LEFT, view->getLocation());
  EXPECT_EQ(0, view->setPosition(ts::Vector(5, 5)));
  EXPECT_EQ(ts::UNDEFINED_LOCATION, view->getLocation());
  view->setBorder(false);  // no location to follow: stays put
  EXPECT_EQ(ts::Vector(5, 5), view->getPosition());

  view->setLocation(9);
  view->setLocation(-1);
  EXPECT_TRUE(log.contains("ViewObject::setLocation(): Warning! Location out of range (9). Ignored."));
  EXPECT_TRUE(log.contains("ViewObject::setLocation(): Warning! Location out of range (-1). Ignored."));
  EXPECT_EQ(ts::Vector(5, 5), view->getPosition());
  EXPECT_EQ(ts::UNDEFINED_LOCATION, view->getLocation());
}

TEST_F(ViewObjectTest, ViewEventsReachTheObjectWithTheExactLabel) {
  ts::ViewObject *view = new ts::ViewObject;
  view->setViewString("Combo");
  view->setValue(10);
  ts::EventView other_case("combo", 99, false);
  EXPECT_EQ(0, view->eventHandler(&other_case));
  EXPECT_EQ(10, view->getValue());
  ts::EventView lower("Combo", -3, true);
  EXPECT_EQ(1, view->eventHandler(&lower));
  EXPECT_EQ(7, view->getValue());
  ts::EventView set("Combo", 42, false);
  EXPECT_EQ(ts::VIEW_EVENT, set.getType());
  EXPECT_EQ(1, ts::WorldManager::getInstance().onEvent(&set));  // delivered through the world's interest list
  EXPECT_EQ(42, view->getValue());
  ts::EventStep step(1);
  EXPECT_EQ(0, view->eventHandler(&step));
}

TEST_F(ViewObjectTest, DrawingAddsUpTheFailedCalls) {
  ts::ViewObject *view = new ts::ViewObject;  // the display is not started
  EXPECT_EQ(-5, view->draw());                // text, two lines and two bars
  view->setBorder(false);
  EXPECT_EQ(-1, view->draw());
}

TEST_F(ViewObjectTest, ValueAndAppearanceRoundTrip) {
  ts::ViewObject *original = new ts::ViewObject;
  original->setViewString("Score");
  original->setValue(1234);
  original->setBorder(false);
  original->setColor(ts::YELLOW);
  original->setLocation(ts::BOTTOM_LEFT);
  original->setDrawValue(false);
  std::stringstream stream;
  ASSERT_EQ(0, original->serialize(stream));
  EXPECT_EQ(0u, original->getModified() & (ts::VALUE_ATTR | ts::APPEARANCE_ATTR));

  ts::ViewObject *copy = new ts::ViewObject;
  unsigned int mask = 0;
  ASSERT_EQ(0, copy->deserialize(stream, &mask));
  EXPECT_TRUE(mask & ts::VALUE_ATTR);
  EXPECT_TRUE(mask & ts::APPEARANCE_ATTR);
  EXPECT_EQ("Score", copy->getViewString());
  EXPECT_EQ(1234, copy->getValue());
  EXPECT_FALSE(copy->getBorder());
  EXPECT_EQ(ts::YELLOW, copy->getColor());
  EXPECT_EQ(ts::BOTTOM_LEFT, copy->getLocation());
  EXPECT_EQ(original->getPosition(), copy->getPosition());
  EXPECT_FALSE(copy->getDrawValue());
}

TEST_F(ViewObjectTest, SelectedAttributesOnlyAndTheirRecordSize) {
  ts::ViewObject *view = new ts::ViewObject;
  view->setViewString("Hi");
  std::stringstream value_only;
  ASSERT_EQ(0, view->serialize(value_only, ts::VALUE_ATTR));
  EXPECT_EQ(4u + 4u, value_only.str().size());  // mask, value
  std::stringstream appearance_only;
  ASSERT_EQ(0, view->serialize(appearance_only, ts::APPEARANCE_ATTR));
  EXPECT_EQ(4u + 8u + 2u + 1u + 4u + 4u + 1u, appearance_only.str().size());
}

// A label placed by hand is stored with location -1: reading it back warns
// and keeps the position the object part read.
TEST_F(ViewObjectTest, StoredManualPlacementKeepsItsPosition) {
  ts::ViewObject *original = new ts::ViewObject;
  original->setPosition(ts::Vector(7, 9));
  std::stringstream stream;
  ASSERT_EQ(0, original->serialize(stream, ts::POSITION_ATTR | ts::APPEARANCE_ATTR));
  ts::ViewObject *copy = new ts::ViewObject;
  ASSERT_EQ(0, copy->deserialize(stream));
  EXPECT_TRUE(log.contains("ViewObject::setLocation(): Warning! Location out of range (-1). Ignored."));
  EXPECT_EQ(ts::Vector(7, 9), copy->getPosition());
}

TEST_F(ViewObjectTest, DamagedLabelLengthIsRefused) {
  ts::ViewObject *view = new ts::ViewObject;
  view->setViewString("Lives");
  std::stringstream stream;
  uint32_t mask = ts::APPEARANCE_ATTR;
  uint64_t length = 1u << 30;
  ts::writeRaw(stream, mask);
  ts::writeRaw(stream, length);
  stream << "abc";
  EXPECT_EQ(-1, view->deserialize(stream));
  EXPECT_TRUE(log.contains("ViewObject::deserialize(): Error! Cannot allocate 1073741824 bytes."));
  EXPECT_EQ("Lives", view->getViewString());
}

}  // namespace
