// Object: defaults, id counter, setters and the modified mask, event
// interest routing and limits, the default event handler, path following
// and acceleration.
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "EventNetwork.h"
#include "EventPath.h"
#include "EventStep.h"
#include "GameManager.h"
#include "InputManager.h"
#include "NetworkManager.h"
#include "Object.h"
#include "TestSupport.h"
#include "WorldManager.h"

using testing_support::LogCapture;

namespace {

class ObjectTest : public testing::Test {
 protected:
  void SetUp() override {
    ts::WorldManager::getInstance().startUp();
    log.start();
  }
  LogCapture log;
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
  ts::Object second;
  EXPECT_EQ(first.getId(), 1);
  EXPECT_EQ(second.getId(), 2);
}

TEST_F(ObjectTest, Defaults) {
  ts::Object object;
  EXPECT_EQ(object.getType(), "(Undefined)");
  EXPECT_EQ(object.getPosition(), ts::Vector(1, 1));
  EXPECT_EQ(object.getBox(), ts::Box(ts::Vector(-0.5f, -0.5f), 0.99f, 0.99f));
  EXPECT_EQ(object.getAltitude(), 2);
  EXPECT_EQ(object.getSolidness(), ts::HARD);
  EXPECT_TRUE(object.isSolid());
  EXPECT_TRUE(object.isActive());
  EXPECT_TRUE(object.isVisible());
  EXPECT_EQ(object.getModified(), 0x3FFFFu);
  EXPECT_TRUE(object.isModified());
  EXPECT_EQ(object.getSpeed(), 0);
  EXPECT_EQ(object.getDirection(), ts::Vector(0, 0));
  EXPECT_EQ(object.getAcceleration(), ts::Vector(0, 0));
  EXPECT_EQ(object.getShape().getType(), ts::UNDEFINED_SHAPE);
  EXPECT_FALSE(object.getNoSoft());
  EXPECT_FALSE(object.getAvoidCollisions());
  EXPECT_FALSE(object.getFollowPath());
  EXPECT_EQ(object.getEventCount(), 0);
  EXPECT_EQ(object.getAnimation().getSprite(), nullptr);
}

TEST_F(ObjectTest, SettersMarkTheirBits) {
  ts::Object object;
  struct Case {
    std::function<void()> change;
    uint32_t bits;
  };
  const Case cases[] = {
      {[&] { object.setType("Thing"); }, ts::TYPE_ATTR},
      {[&] { object.setPosition(ts::Vector(4, 5)); }, ts::POSITION_ATTR},
      {[&] { object.setPosition(ts::Vector(4, 5)); }, 0},  // unchanged
      {[&] { object.setSolidness(ts::SOFT); }, ts::SOLIDNESS_ATTR},
      {[&] { object.setAvoidCollisions(true); }, ts::AVOID_COLLISIONS_ATTR},
      {[&] { object.setAltitude(4); }, ts::ALTITUDE_ATTR},
      {[&] { object.setDirection(ts::Vector(1, 0)); }, 0},
      {[&] { object.setVelocity(ts::Vector(1, 1)); }, ts::SPEED_ATTR | ts::DIRECTION_ATTR},
      {[&] { object.setAcceleration(ts::Vector(0, 1)); }, ts::ACCELERATION_ATTR},
      {[&] { object.setActive(false); }, ts::ACTIVE_ATTR},
      {[&] { object.setActive(false); }, 0},
      {[&] { object.setVisible(false); }, ts::VISIBLE_ATTR},
      {[&] { object.setBox(ts::Box(ts::Vector(0, 0), 2, 2)); }, ts::BOX_ATTR},
      {[&] { object.setBox(ts::Box(ts::Vector(0, 0), 2, 2)); }, 0},
      {[&] { object.setAnimation(ts::Animation(), false); }, ts::ANIMATION_ATTR},
      {[&] { object.setShape(ts::Shape()); }, ts::SHAPE_ATTR},
      {[&] { object.setPath(ts::Path()); }, ts::PATH_ATTR},
      {[&] { object.setFollowPath(true); }, ts::FOLLOW_PATH_ATTR},
      {[&] { object.setSpeed(2); }, ts::SPEED_ATTR},
      {[&] { object.setNoSoft(true); }, ts::NO_SOFT_ATTR},
      {[&] { object.registerInterest("thing-event"); }, ts::EVENTS_ATTR},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    object.setModified(0);
    cases[i].change();
    EXPECT_EQ(object.getModified(), cases[i].bits) << "case " << i;
  }
  EXPECT_EQ(object.getType(), "Thing");
  EXPECT_EQ(object.getAltitude(), 4);
  EXPECT_FALSE(object.isActive());
  EXPECT_FALSE(object.isVisible());
  object.setAnimation(ts::Animation(), true);  // the box follows the animation's
  EXPECT_EQ(object.getBox(), ts::Box(ts::Vector(-0.5f, -0.5f), 0.99f, 0.99f));
}

TEST_F(ObjectTest, RangeChecks) {
  ts::Object object;
  object.setModified(0);
  EXPECT_EQ(object.setAltitude(5), -1);
  EXPECT_EQ(object.setAltitude(-1), -1);
  EXPECT_EQ(object.getAltitude(), 2);
  EXPECT_EQ(object.setAltitude(0), 0);
  EXPECT_EQ(object.setSolidness(static_cast<ts::Solidness>(3)), -1);
  EXPECT_EQ(object.getSolidness(), ts::HARD);
  EXPECT_EQ(object.setSolidness(ts::SPECTRAL), 0);
  EXPECT_FALSE(object.isSolid());
  EXPECT_EQ(object.getModified(), ts::ALTITUDE_ATTR | ts::SOLIDNESS_ATTR);
  EXPECT_EQ(log.messages(), (std::vector<std::string>{
                                "Object::setAltitude(): Altitude 5 not in range [0,4].  Ignored.",
                                "Object::setAltitude(): Altitude -1 not in range [0,4].  Ignored.",
                                "Object::setSolidness(): Solidness 3 not one of HARD, SOFT or SPECTRAL."}));
}

TEST_F(ObjectTest, VelocityDirectionAndAcceleration) {
  ts::Object object;
  object.setVelocity(ts::Vector(3, 4));
  EXPECT_FLOAT_EQ(object.getSpeed(), 5);
  EXPECT_FLOAT_EQ(object.getDirection().getX(), 0.6f);
  EXPECT_FLOAT_EQ(object.getDirection().getY(), 0.8f);
  EXPECT_FLOAT_EQ(object.getVelocity().getX(), 3);
  EXPECT_FLOAT_EQ(object.getVelocity().getY(), 4);
  EXPECT_FLOAT_EQ(object.predictPosition().getY(), 5);
  object.setVelocity(ts::Vector(0, 0));
  EXPECT_EQ(object.getSpeed(), 0);
  EXPECT_EQ(object.getDirection(), ts::Vector(0, 0));
  object.setDirection(ts::Vector(0, 2));
  EXPECT_EQ(object.getDirection(), ts::Vector(0, 1));

  ts::Object falling;
  falling.applyAcceleration();  // no acceleration: nothing changes
  EXPECT_EQ(falling.getSpeed(), 0);
  falling.setAcceleration(ts::Vector(0, 0.5f));
  falling.applyAcceleration();
  EXPECT_FLOAT_EQ(falling.getSpeed(), 0.5f);
  EXPECT_EQ(falling.getDirection(), ts::Vector(0, 1));
  falling.applyAcceleration();
  EXPECT_FLOAT_EQ(falling.getSpeed(), 1);
}

TEST_F(ObjectTest, FollowsAPathAndSnapsOntoWaypoints) {
  ts::Object walker;
  walker.setPosition(ts::Vector(0, 0));
  walker.setVelocity(ts::Vector(1, 0));
  walker.setPath(pathThrough({ts::Vector(0, 2), ts::Vector(0, 3)}));
  walker.setFollowPath(true);
  EXPECT_EQ(walker.getDirection(), ts::Vector(0, 1));  // turns at once
  walker.stepAlongPath();
  EXPECT_EQ(walker.getPosition(), ts::Vector(0, 0));
  walker.setPosition(ts::Vector(0, 1.24f));  // 0.76 away: not yet
  walker.stepAlongPath();
  EXPECT_EQ(walker.getPosition(), ts::Vector(0, 1.24f));
  walker.setPosition(ts::Vector(0.1f, 1.3f));  // within 0.75: snaps on
  walker.setModified(0);
  walker.stepAlongPath();
  EXPECT_EQ(walker.getPosition(), ts::Vector(0, 2));
  EXPECT_EQ(walker.getPath().getIndex(), 1);
  EXPECT_EQ(walker.getDirection(), ts::Vector(0, 1));
  EXPECT_EQ(walker.getModified() & (ts::PATH_ATTR | ts::POSITION_ATTR), ts::PATH_ATTR | ts::POSITION_ATTR);
  walker.setPosition(ts::Vector(0, 2.9f));
  walker.stepAlongPath();
  EXPECT_EQ(walker.getPosition(), ts::Vector(0, 3));
  EXPECT_EQ(walker.getDirection(), ts::Vector(0, 0));
  EXPECT_FALSE(walker.getFollowPath());
  EXPECT_FLOAT_EQ(walker.getSpeed(), 1);  // the speed stays
  walker.setPosition(ts::Vector(9, 9));
  walker.stepAlongPath();  // not following any more
  EXPECT_EQ(walker.getPosition(), ts::Vector(9, 9));
}

TEST_F(ObjectTest, PathEventStartsFollowing) {
  ts::Object object;
  ts::EventStep step(0);
  EXPECT_EQ(object.eventHandler(&step), 0);
  ts::EventPath failed;
  failed.setStatus(0);
  failed.setPath(pathThrough({ts::Vector(5, 5)}));
  EXPECT_EQ(object.eventHandler(&failed), 1);
  EXPECT_TRUE(object.getPath().isDone());
  EXPECT_FALSE(object.getFollowPath());
  ts::EventPath found;
  found.setStatus(2);
  found.setPath(pathThrough({ts::Vector(1, 5), ts::Vector(3, 5)}));
  EXPECT_EQ(object.eventHandler(&found), 1);
  EXPECT_TRUE(object.getFollowPath());
  EXPECT_EQ(object.getPath().toString(), "(1,5)|(3,5)|");
  EXPECT_EQ(object.getDirection(), ts::Vector(0, 1));
  ts::Event fake;
  fake.setType(ts::PATH_EVENT);  // the right name on the wrong class
  EXPECT_EQ(object.eventHandler(&fake), 0);
  EXPECT_TRUE(log.contains("Object::eventHandler(): Error! Dynamic cast to EventPath failed."));
}

TEST_F(ObjectTest, InterestGoesToTheResponsibleManager) {
  ts::Object object;
  for (const char *name : {"ts-step", "ts-keyboard", "ts-mouse", "ts-network-sync", "game-event"})
    EXPECT_EQ(object.registerInterest(name), 0) << name;
  ts::EventStep step(0);
  EXPECT_EQ(ts::GameManager::getInstance().onEvent(&step), 1);
  ts::EventKeyboard keyboard;
  EXPECT_EQ(ts::InputManager::getInstance().onEvent(&keyboard), 1);
  ts::EventMouse mouse;
  EXPECT_EQ(ts::InputManager::getInstance().onEvent(&mouse), 1);
  ts::EventNetwork network(0);
  network.setType("ts-network-sync");
  EXPECT_EQ(ts::NetworkManager::getInstance().onEvent(&network), 1);
  ts::Event game;
  game.setType("game-event");
  EXPECT_EQ(ts::WorldManager::getInstance().onEvent(&game), 1);
  EXPECT_EQ(object.registerInterest("ts-collision"), -1);  // refused by the world
  EXPECT_EQ(object.getEventCount(), 5);
  {
    ts::Object other;
    other.registerInterest("ts-step");
    EXPECT_EQ(ts::GameManager::getInstance().onEvent(&step), 2);
  }
  // The destroyed object withdrew its interest.
  EXPECT_EQ(ts::GameManager::getInstance().onEvent(&step), 1);
  EXPECT_EQ(object.unregisterInterest("ts-keyboard"), 0);
  EXPECT_EQ(ts::InputManager::getInstance().onEvent(&keyboard), 0);
}

TEST_F(ObjectTest, RegistrationLimitAndOrder) {
  ts::Object object;
  for (int i = 0; i < ts::MAX_OBJ_EVENTS; ++i) ASSERT_EQ(object.registerInterest("e" + std::to_string(i)), 0);
  EXPECT_EQ(object.registerInterest("one-more"), -1);
  EXPECT_TRUE(log.contains("Object::registerInterest(): maximum (100) reached, cannot register for event 'one-more'"));
  EXPECT_EQ(object.unregisterInterest("e1"), 0);
  EXPECT_EQ(object.getEventName(0), "e0");
  EXPECT_EQ(object.getEventName(1), "e2");
  EXPECT_EQ(object.getEventName(98), "e99");
  EXPECT_EQ(object.getEventCount(), 99);
  EXPECT_EQ(object.registerInterest("one-more"), 0);  // room again on both sides
  EXPECT_EQ(object.getEventName(99), "one-more");
  EXPECT_EQ(object.unregisterInterest("never"), -1);
  EXPECT_TRUE(log.contains("Object::unregisterInterest(): event 'never' not previously registered"));
}

TEST_F(ObjectTest, MissingSpriteKeepsAnimationAndBox) {
  ts::Object object;
  object.setBox(ts::Box(ts::Vector(0, 0), 3, 3));
  EXPECT_EQ(object.setSprite("nope"), -1);
  EXPECT_EQ(object.getBox(), ts::Box(ts::Vector(0, 0), 3, 3));
  EXPECT_EQ(object.getAnimation().getName(), "");
  EXPECT_TRUE(log.contains("Object::setSprite(): Warning! Sprite 'nope' not found"));
}
