// View objects: text, locations, "ts-view" events and serialization.
#include <sstream>
#include <tuple>

#include <tessera/world/EventView.h>
#include <tessera/world/ViewObject.h>
#include <tessera/world/WorldManager.h>
#include "TestSupport.h"

namespace {

class ViewObjectTest : public testing_support::WorldFixture {
 protected:
  ts::ViewObject *view = nullptr;  // owned by the world
  void SetUp() override {
    WorldFixture::SetUp();
    world.setView(ts::Box(ts::Vector(0, 0), 80, 24));
    view = new ts::ViewObject;
  }
};

TEST_F(ViewObjectTest, TextWithAndWithoutBorderAndValue) {
  EXPECT_EQ("  0 ", view->composeText());                    // fresh: space, empty label, space, 0, space
  const std::tuple<int, bool, bool, const char *> cases[] = {// value, border, draw value, text
                                                             {12, true, true, " Score 12 "},
                                                             {12, false, true, "Score 12"},
                                                             {12, false, false, "Score"},
                                                             {12, true, false, " Score "},
                                                             {-7, true, true, " Score -7 "}};
  view->setViewString("Score");
  for (auto [value, border, draw_value, text] : cases) {
    view->setValue(value);
    view->setBorder(border);
    view->setDrawValue(draw_value);
    EXPECT_EQ(text, view->composeText());
  }
}

// Each location puts the object at its column and row; turning the border
// off moves it one row towards the edge.
TEST_F(ViewObjectTest, NineLocationsWithAndWithoutBorder) {
  EXPECT_EQ(ts::Vector(40, 1), view->getPosition());
  EXPECT_EQ(ts::TOP_CENTER, view->getLocation());
  const float xs[3] = {80.0f / 6, 40, 80.0f * 5 / 6};
  const float bordered[3] = {1, 12, 22}, plain[3] = {0, 11, 23};
  for (int location = 0; location < 9; ++location) {
    view->setBorder(true);
    view->setLocation(location);
    EXPECT_EQ(ts::Vector(xs[location % 3], bordered[location / 3]), view->getPosition()) << location;
    view->setBorder(false);
    EXPECT_EQ(ts::Vector(xs[location % 3], plain[location / 3]), view->getPosition()) << location;
    EXPECT_EQ(location, view->getLocation());
  }
}

// Placing by hand forgets the location, which is then stored as -1:
// reading it back warns and keeps the position the object part read.
TEST_F(ViewObjectTest, ManualPlacementForgetsTheLocationAndBadLocationsAreRefused) {
  view->setLocation(ts::BOTTOM_LEFT);
  EXPECT_EQ(0, view->setPosition(view->getPosition()));  // no move: keeps the location
  EXPECT_EQ(ts::BOTTOM_LEFT, view->getLocation());
  EXPECT_EQ(0, view->setPosition(ts::Vector(5, 5)));
  EXPECT_EQ(ts::UNDEFINED_LOCATION, view->getLocation());
  view->setBorder(false);  // no location to follow: stays put
  view->setLocation(9);
  EXPECT_TRUE(log.contains("ViewObject::setLocation(): Warning! Location out of range (9). Ignored."));
  EXPECT_EQ(ts::Vector(5, 5), view->getPosition());
  std::stringstream stream;
  ASSERT_EQ(0, view->serialize(stream, ts::POSITION_ATTR | ts::APPEARANCE_ATTR));
  ts::ViewObject *copy = new ts::ViewObject;
  ASSERT_EQ(0, copy->deserialize(stream));
  EXPECT_TRUE(log.contains("ViewObject::setLocation(): Warning! Location out of range (-1). Ignored."));
  EXPECT_EQ(ts::Vector(5, 5), copy->getPosition());
}

TEST_F(ViewObjectTest, ViewEventsReachTheObjectWithTheExactLabel) {
  view->setViewString("Combo");
  view->setValue(10);
  ts::EventView other_case("combo", 99, false), lower("Combo", -3, true), set("Combo", 42, false);
  EXPECT_EQ(0, view->eventHandler(&other_case));
  EXPECT_EQ(10, view->getValue());
  EXPECT_EQ(1, view->eventHandler(&lower));
  EXPECT_EQ(7, view->getValue());
  EXPECT_EQ(1, ts::WorldManager::getInstance().onEvent(&set));  // through the world's interest list
  EXPECT_EQ(42, view->getValue());
}

TEST_F(ViewObjectTest, ValueAndAppearanceRoundTripAndRecordSize) {
  view->setViewString("Score");
  view->setValue(1234);
  view->setBorder(false);
  view->setColor(ts::YELLOW);
  view->setLocation(ts::BOTTOM_LEFT);
  view->setDrawValue(false);
  std::stringstream stream, selected;
  ASSERT_EQ(0, view->serialize(stream));
  EXPECT_EQ(0u, view->getModified() & (ts::VALUE_ATTR | ts::APPEARANCE_ATTR));
  ts::ViewObject *copy = new ts::ViewObject;
  unsigned int mask = 0;
  ASSERT_EQ(0, copy->deserialize(stream, &mask));
  EXPECT_EQ(ts::VALUE_ATTR | ts::APPEARANCE_ATTR, mask & (ts::VALUE_ATTR | ts::APPEARANCE_ATTR));
  EXPECT_EQ("Score", copy->composeText());  // label, no border, no value
  EXPECT_EQ(1234, copy->getValue());
  EXPECT_EQ(ts::YELLOW, copy->getColor());
  EXPECT_EQ(ts::BOTTOM_LEFT, copy->getLocation());
  ASSERT_EQ(0, view->serialize(selected, ts::VALUE_ATTR | ts::APPEARANCE_ATTR));
  // mask, value, label length and text, border, colour, location, draw value
  EXPECT_EQ(4u + 4u + 8u + 5u + 1u + 4u + 4u + 1u, selected.str().size());
}

TEST_F(ViewObjectTest, DamagedLabelLengthIsRefused) {
  view->setViewString("Lives");
  std::stringstream stream = testing_support::streamOf(uint32_t{ts::APPEARANCE_ATTR}, uint64_t{1u << 30});
  stream << "abc";
  EXPECT_EQ(-1, view->deserialize(stream));
  EXPECT_TRUE(log.contains("ViewObject::deserialize(): Error! Cannot allocate 1073741824 bytes."));
  EXPECT_EQ("Lives", view->getViewString());
}

}  // namespace
