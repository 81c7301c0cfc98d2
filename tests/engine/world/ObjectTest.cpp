// Object: ids, setters and the modified mask, event interest, paths.
#include <tessera/core/EventStep.h>
#include <tessera/game/GameManager.h>
#include <tessera/input/EventKeyboard.h>
#include <tessera/input/InputManager.h>
#include <tessera/network/EventNetwork.h>
#include <tessera/network/NetworkManager.h>
#include <tessera/world/EventPath.h>
#include <tessera/world/WorldManager.h>
#include "TestSupport.h"

using namespace testing_support;

namespace {

// Starts the world before the object is made, so that the object is in it.
class ObjectTest : public testing::Test {
 protected:
  StartedLog log;
  int world_started = ts::WorldManager::getInstance().startUp();
  ts::Object object;
};

ts::Path pathThrough(std::vector<ts::Vector> waypoints) {
  ts::Path path;
  path.setWaypoints(waypoints);
  return path;
}

}  // namespace

TEST(ObjectIds, CounterStartsAtOneWithOrWithoutAWorld) {
  ts::Object first;  // the world is not started: it is in no set
  ts::WorldManager::getInstance().startUp();
  EXPECT_EQ(first.getId(), 1);
  EXPECT_EQ(ts::Object().getId(), 2);
}

TEST_F(ObjectTest, SettersMarkTheirBitsAndCheckRanges) {
  const std::pair<std::function<void()>, uint32_t> cases[] = {
      {[&] { object.setPosition(ts::Vector(4, 5)); }, ts::POSITION_ATTR},
      {[&] { object.setPosition(ts::Vector(4, 5)); }, 0},  // unchanged: no bit
      {[&] { EXPECT_EQ(object.setSolidness(ts::SOFT), 0); }, ts::SOLIDNESS_ATTR},
      {[&] { EXPECT_EQ(object.setSolidness(static_cast<ts::Solidness>(3)), -1); }, 0},
      {[&] { EXPECT_EQ(object.setAltitude(4), 0); }, ts::ALTITUDE_ATTR},
      {[&] { EXPECT_EQ(object.setAltitude(5) + object.setAltitude(-1), -2); }, 0},  // both refused
      {[&] { object.setDirection(ts::Vector(1, 0)); }, 0},
      {[&] { object.setVelocity(ts::Vector(1, 1)); }, ts::SPEED_ATTR | ts::DIRECTION_ATTR},
      {[&] { object.setActive(false); }, ts::ACTIVE_ATTR},
      {[&] { object.setActive(false); }, 0},
      {[&] { object.setBox(ts::Box(ts::Vector(0, 0), 2, 2)); }, ts::BOX_ATTR},
      {[&] { object.setBox(ts::Box(ts::Vector(0, 0), 2, 2)); }, 0},
      {[&] { object.setType("Thing"), object.setVisible(false); }, ts::TYPE_ATTR | ts::VISIBLE_ATTR},
      {[&] { object.setSpeed(2), object.setShape(ts::Shape()); }, ts::SPEED_ATTR | ts::SHAPE_ATTR},
      {[&] { object.setAnimation(ts::Animation(), false), object.setPath(ts::Path()); },
       ts::ANIMATION_ATTR | ts::PATH_ATTR},
      {[&] { object.setFollowPath(), object.setNoSoft(); }, ts::FOLLOW_PATH_ATTR | ts::NO_SOFT_ATTR},
      {[&] { object.setAvoidCollisions(), object.setAcceleration(ts::Vector(0, 1)); },
       ts::AVOID_COLLISIONS_ATTR | ts::ACCELERATION_ATTR},
      {[&] { object.registerInterest("thing-event"); }, ts::EVENTS_ATTR},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    object.setModified(0);
    cases[i].first();
    EXPECT_EQ(object.getModified(), cases[i].second) << "case " << i;
  }
  EXPECT_EQ(object.getAltitude(), 4);  // the refused values left no trace
  EXPECT_EQ(object.getSolidness(), ts::SOFT);
  object.setAnimation(ts::Animation(), true);  // the box follows the animation's
  EXPECT_EQ(object.getBox(), ts::Box(ts::Vector(-0.5f, -0.5f), 0.99f, 0.99f));
  object.setBox(ts::Box(ts::Vector(0, 0), 3, 3));
  EXPECT_EQ(object.setSprite("nope"), -1);  // a missing sprite keeps the box
  EXPECT_EQ(object.getBox(), ts::Box(ts::Vector(0, 0), 3, 3));
}

TEST_F(ObjectTest, FollowsAPathAndSnapsOntoWaypoints) {
  object.setPosition(ts::Vector(0, 0));
  object.setVelocity(ts::Vector(1, 0));
  object.setPath(pathThrough({ts::Vector(0, 2), ts::Vector(0, 3)}));
  object.setFollowPath(true);
  EXPECT_EQ(object.getDirection(), ts::Vector(0, 1));  // turns at once
  object.setPosition(ts::Vector(0, 1.24f));            // 0.76 away: not yet
  object.stepAlongPath();
  EXPECT_EQ(object.getPosition(), ts::Vector(0, 1.24f));
  object.setPosition(ts::Vector(0.1f, 1.3f));  // within 0.75: snaps on
  object.setModified(0);
  object.stepAlongPath();
  EXPECT_EQ(object.getPosition(), ts::Vector(0, 2));
  EXPECT_EQ(object.getModified() & (ts::PATH_ATTR | ts::POSITION_ATTR), ts::PATH_ATTR | ts::POSITION_ATTR);
  object.setPosition(ts::Vector(0, 2.9f));
  object.stepAlongPath();
  EXPECT_EQ(object.getPosition(), ts::Vector(0, 3));
  EXPECT_EQ(object.getDirection(), ts::Vector(0, 0));
  EXPECT_FALSE(object.getFollowPath());
  EXPECT_FLOAT_EQ(object.getSpeed(), 1);  // the speed stays
  object.setPosition(ts::Vector(9, 9));
  object.stepAlongPath();  // not following any more
  EXPECT_EQ(object.getPosition(), ts::Vector(9, 9));
}

TEST_F(ObjectTest, PathEventStartsFollowing) {
  ts::EventPath event;
  event.setStatus(0);  // not found
  event.setPath(pathThrough({ts::Vector(5, 5)}));
  EXPECT_EQ(object.eventHandler(&event), 1);
  EXPECT_FALSE(object.getFollowPath());
  event.setStatus(2);
  event.setPath(pathThrough({ts::Vector(1, 5), ts::Vector(3, 5)}));
  EXPECT_EQ(object.eventHandler(&event), 1);
  EXPECT_TRUE(object.getFollowPath());
  EXPECT_EQ(object.getDirection(), ts::Vector(0, 1));
  ts::Event fake;
  fake.setType(ts::PATH_EVENT);  // the right name on the wrong class
  EXPECT_EQ(object.eventHandler(&fake), 0);
}

TEST_F(ObjectTest, InterestGoesToTheResponsibleManagerUpToTheLimit) {
  ts::GameManager &game = ts::GameManager::getInstance();
  for (const char *name : {"ts-step", "ts-keyboard", "ts-mouse", "ts-network-sync", "game-event"})
    EXPECT_EQ(object.registerInterest(name), 0) << name;
  EXPECT_EQ(object.registerInterest("ts-collision"), -1);        // refused by the world
  EXPECT_EQ(game.registerInterest(&object, "ts-keyboard"), -1);  // not the game manager's
  EXPECT_EQ(game.registerInterest(&object, ts::STEP_EVENT), 0);  // twice: still one entry
  ts::EventKeyboard keyboard;
  ts::EventNetwork network(0);
  network.setType("ts-network-sync");
  ts::Event custom;
  custom.setType("game-event");
  EXPECT_EQ(ts::NetworkManager::getInstance().onEvent(&network), 1);
  EXPECT_EQ(ts::WorldManager::getInstance().onEvent(&custom), 1);
  EXPECT_EQ(ts::InputManager::getInstance().onEvent(&keyboard), 1);
  EXPECT_EQ(object.unregisterInterest("ts-keyboard"), 0);
  EXPECT_EQ(object.unregisterInterest("ts-keyboard"), -1);
  EXPECT_EQ(ts::InputManager::getInstance().onEvent(&keyboard), 0);
  ts::EventStep step(0);
  {
    ts::Object other;
    other.registerInterest("ts-step");
    EXPECT_EQ(game.onEvent(&step), 2);
  }
  EXPECT_EQ(game.onEvent(&step), 1);  // the destroyed object withdrew
  object.setActive(false);
  EXPECT_EQ(game.onEvent(&step), 0);  // inactive objects are skipped
  for (int i = object.getEventCount(); i < ts::MAX_OBJ_EVENTS; ++i)
    ASSERT_EQ(object.registerInterest("e" + std::to_string(i)), 0);
  EXPECT_EQ(object.registerInterest("one-more"), -1);
  EXPECT_EQ(object.unregisterInterest("ts-mouse"), 0);
  EXPECT_EQ(object.getEventName(1), "ts-network-sync");  // order kept
  EXPECT_EQ(object.registerInterest("one-more"), 0);
  EXPECT_EQ(object.getEventName(99), "one-more");
}
