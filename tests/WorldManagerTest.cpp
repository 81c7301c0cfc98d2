// The world manager: start and stop, moving with collisions (blocking,
// sliding, soft and spectral objects), leaving the world, deletions and
// objects created or destroyed by handlers during a walk, drawing by
// altitude within the view, and the view itself.
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "EventCollision.h"
#include "LogManager.h"
#include "Object.h"
#include "TestSupport.h"
#include "ViewObject.h"
#include "WorldManager.h"

using testing_support::LogCapture;

namespace {

std::vector<std::string> journal;
int destroyed = 0;

std::string nameOf(const ts::Object *object);

// Writes every event and draw into the journal as "name: what", then runs
// the test's action for it.
class Probe : public ts::Object {
 public:
  explicit Probe(std::string probe_name) : name(std::move(probe_name)) {}
  ~Probe() override { ++destroyed; }

  int eventHandler(const ts::Event *event) override {
    std::string entry = name + ": " + event->getType();
    if (auto *collision = dynamic_cast<const ts::EventCollision *>(event)) {
      entry += " " + nameOf(collision->getObject1()) + " into " + nameOf(collision->getObject2());
      last_where = collision->getPosition();
    }
    journal.push_back(entry);
    // A copy, because the action may destroy this object and with it the member.
    std::function<void()> action = on_event;
    if (action) action();
    return 1;
  }
  int draw() override {
    journal.push_back(name + ": draw");
    std::function<void()> action = on_draw;
    if (action) action();
    return 0;
  }

  std::string name;
  ts::Vector last_where;
  std::function<void()> on_event;
  std::function<void()> on_draw;
};

std::string nameOf(const ts::Object *object) {
  auto *probe = dynamic_cast<const Probe *>(object);
  return probe ? probe->name : "?";
}

class Banner : public ts::ViewObject {
 public:
  int draw() override {
    journal.push_back("banner: draw");
    return 0;
  }
};

ts::Box box(float x, float y, float h, float v) { return ts::Box(ts::Vector(x, y), h, v); }

class WorldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    journal.clear();
    destroyed = 0;
    log.start();
    ASSERT_EQ(world.startUp(), 0);
    world.setBoundary(box(0, 0, 80, 24));
    world.setView(box(0, 0, 80, 24));
  }
  void TearDown() override {
    if (world.isStarted()) world.shutDown();
    ts::LogManager::getInstance().setLogLevel(0);
  }

  static Probe *probe(const std::string &name, float x, float y, ts::Solidness solidness = ts::HARD) {
    auto *object = new Probe(name);
    object->setPosition(ts::Vector(x, y));
    object->setSolidness(solidness);
    return object;
  }

  LogCapture log;
  ts::WorldManager &world = ts::WorldManager::getInstance();
};

std::vector<std::string> lines(std::initializer_list<const char *> items) {
  return std::vector<std::string>(items.begin(), items.end());
}

}  // namespace

TEST(WorldManager, StartsOnceAndDestroysEveryObjectWhenStopped) {
  LogCapture log;
  log.start();
  ts::LogManager::getInstance().setLogLevel(5);
  ts::WorldManager &world = ts::WorldManager::getInstance();
  EXPECT_EQ(world.getType(), "WorldManager");
  auto *early = new Probe("early");  // the world is not started yet: refused
  EXPECT_EQ(world.insertObject(early), -1);
  EXPECT_TRUE(log.contains("WorldManager::insertObject(): Warning! Not adding Object " +
                           std::to_string(early->getId())));
  EXPECT_TRUE(log.contains("                              because WorldManager not started."));
  delete early;
  destroyed = 0;
  ASSERT_EQ(world.startUp(), 0);
  EXPECT_TRUE(log.contains("WorldManager::startUp(): successfully started."));
  EXPECT_EQ(world.startUp(), -1);
  EXPECT_TRUE(log.contains("WorldManager::startup(): Warning! WorldManager already started."));
  new Probe("a");
  (new Probe("b"))->setActive(false);
  world.markForDelete(new Probe("c"));
  world.shutDown();
  EXPECT_EQ(destroyed, 3);
  EXPECT_TRUE(world.getSceneGraph().activeObjects().isEmpty());
  EXPECT_TRUE(world.getSceneGraph().inactiveObjects().isEmpty());
  EXPECT_TRUE(log.contains("WorldManager::shutDown(): Successfully stopped."));
  // Started again, the world is empty and usable; the stale mark is gone.
  ASSERT_EQ(world.startUp(), 0);
  world.update();
  EXPECT_EQ(destroyed, 3);
  world.shutDown();
  ts::LogManager::getInstance().setLogLevel(0);
}

TEST(WorldManager, EventTypesItHandles) {
  LogCapture log;
  log.start();
  ts::WorldManager &world = ts::WorldManager::getInstance();
  EXPECT_FALSE(world.isValid("ts-step"));
  EXPECT_FALSE(world.isValid("ts-keyboard"));
  EXPECT_FALSE(world.isValid("ts-mouse"));
  EXPECT_TRUE(log.contains("WorldManager::isValid(): WorldManager does not handle ts-step"));
  EXPECT_FALSE(world.isValid("ts-collision"));
  EXPECT_FALSE(world.isValid("ts-out"));
  EXPECT_TRUE(log.contains("WorldManager::isValid(): Event ts-collision handled automatically."));
  EXPECT_TRUE(world.isValid("ts-view"));
  EXPECT_TRUE(world.isValid("my-own-event"));
}

TEST_F(WorldTest, HardBlocksHardAndBothHearOfIt) {
  Probe *mover = probe("mover", 10, 5);
  probe("wall", 11, 5);
  mover->setVelocity(ts::Vector(1, 0));
  world.update();
  EXPECT_EQ(journal, lines({"mover: ts-collision mover into wall", "wall: ts-collision mover into wall"}));
  EXPECT_EQ(mover->getPosition(), ts::Vector(10, 5));
  // The event carries the position the mover tried to reach.
  EXPECT_EQ(mover->last_where, ts::Vector(11, 5));
  EXPECT_EQ(world.moveObject(mover, ts::Vector(10.2f, 5.5f)), -1);
  EXPECT_EQ(mover->last_where, ts::Vector(10.2f, 5.5f));
}

TEST_F(WorldTest, SoftObjectsCollideWithoutBlockingUnlessNoSoft) {
  Probe *hard = probe("hard", 10, 5);
  probe("soft", 11, 5, ts::SOFT);
  hard->setVelocity(ts::Vector(1, 0));
  world.update();
  EXPECT_EQ(journal, lines({"hard: ts-collision hard into soft", "soft: ts-collision hard into soft"}));
  EXPECT_EQ(hard->getPosition(), ts::Vector(11, 5));

  journal.clear();
  Probe *picky = probe("picky", 10, 10);
  probe("cloud", 11, 10, ts::SOFT);
  picky->setNoSoft(true);
  EXPECT_EQ(world.moveObject(picky, ts::Vector(11, 10)), -1);
  EXPECT_EQ(journal.size(), 2u);
  EXPECT_EQ(picky->getPosition(), ts::Vector(10, 10));

  journal.clear();
  Probe *soft_mover = probe("gentle", 10, 15, ts::SOFT);
  probe("rock", 11, 15);
  EXPECT_EQ(world.moveObject(soft_mover, ts::Vector(11, 15)), 0);
  EXPECT_EQ(journal, lines({"gentle: ts-collision gentle into rock", "rock: ts-collision gentle into rock"}));
}

TEST_F(WorldTest, SpectralObjectsNeverCollide) {
  Probe *ghost = probe("ghost", 10, 5, ts::SPECTRAL);
  probe("wall", 11, 5);
  EXPECT_EQ(world.moveObject(ghost, ts::Vector(11, 5)), 0);
  EXPECT_EQ(ghost->getPosition(), ts::Vector(11, 5));
  Probe *runner = probe("runner", 10, 8);
  probe("mist", 11, 8, ts::SPECTRAL);
  EXPECT_EQ(world.moveObject(runner, ts::Vector(11, 8)), 0);
  EXPECT_TRUE(journal.empty());
}

// A HARD mover with avoid_collisions that comes down diagonally onto the top
// of a wall slides along it at full speed; if the slide is blocked too it
// stays put and nobody hears of a collision.
TEST_F(WorldTest, AvoidingMoverSlidesAlongAWallOrStaysWhenCornered) {
  ts::LogManager::getInstance().setLogLevel(5);
  Probe *slider = probe("slider", 12.5f, 5);
  for (int x = 8; x <= 16; ++x) probe("floor", static_cast<float>(x), 6);
  slider->setAvoidCollisions(true);
  slider->setVelocity(ts::Vector(1, 1));
  world.update();
  EXPECT_NEAR(slider->getPosition().getX(), 12.5f + std::sqrt(2.0f), 1e-5);
  EXPECT_EQ(slider->getPosition().getY(), 5);
  EXPECT_TRUE(journal.empty());
  EXPECT_NEAR(slider->getDirection().getX(), std::sqrt(0.5f), 1e-6);  // its own motion is unchanged
  EXPECT_NEAR(slider->getSpeed(), std::sqrt(2.0f), 1e-6);

  Probe *cornered = probe("cornered", 30.5f, 5);
  probe("floor", 31, 6);
  probe("post", 32.5f, 5);
  cornered->setAvoidCollisions(true);
  cornered->setVelocity(ts::Vector(1, 1));
  EXPECT_EQ(world.moveObject(cornered, cornered->predictPosition()), -1);
  EXPECT_EQ(cornered->getPosition(), ts::Vector(30.5f, 5));
  EXPECT_TRUE(journal.empty());
  EXPECT_TRUE(log.contains("WorldManager::moveObject(): Double collision. Object (avoid obstacles) cannot move."));

  // Meeting a lone block exactly at its corner turns the horizontal part of
  // the motion around.
  Probe *diver = probe("diver", 50, 5);
  probe("block", 51, 6);
  diver->setAvoidCollisions(true);
  diver->setVelocity(ts::Vector(1, 1));
  EXPECT_EQ(world.moveObject(diver, diver->predictPosition()), 0);
  EXPECT_NEAR(diver->getPosition().getX(), 49, 1e-5);
  EXPECT_NEAR(diver->getPosition().getY(), 6, 1e-5);

  // Without avoid_collisions the same mover is simply blocked.
  cornered->setAvoidCollisions(false);
  EXPECT_EQ(world.moveObject(cornered, cornered->predictPosition()), -1);
  EXPECT_EQ(journal, lines({"cornered: ts-collision cornered into floor", "floor: ts-collision cornered into floor"}));
}

TEST_F(WorldTest, LeavingTheWorldIsReportedOnce) {
  Probe *leaver = probe("leaver", 78, 5, ts::SPECTRAL);
  leaver->setVelocity(ts::Vector(1, 0));
  Probe *outsider = probe("outsider", -5, 5, ts::SPECTRAL);
  outsider->setVelocity(ts::Vector(-1, 0));
  for (int i = 0; i < 6; ++i) world.update();
  EXPECT_EQ(journal, lines({"leaver: ts-out"}));
  EXPECT_EQ(leaver->getPosition(), ts::Vector(84, 5));
  // A box that still touches the boundary's edge has not left.
  Probe *edge = probe("edge", 79.5f, 10, ts::SPECTRAL);
  EXPECT_EQ(world.moveObject(edge, ts::Vector(80.5f, 10)), 0);
  EXPECT_EQ(journal.size(), 1u);
  // One move across the whole boundary edge also counts once.
  journal.clear();
  Probe *jumper = probe("jumper", 40, 12, ts::SPECTRAL);
  EXPECT_EQ(world.moveObject(jumper, ts::Vector(200, 12)), 0);
  EXPECT_EQ(journal, lines({"jumper: ts-out"}));
}

TEST_F(WorldTest, MarkedObjectsAreDestroyedOnceAtTheEndOfTheUpdate) {
  Probe *doomed = probe("doomed", 10, 5);
  doomed->setVelocity(ts::Vector(1, 0));
  EXPECT_EQ(world.markForDelete(doomed), 0);
  EXPECT_EQ(world.markForDelete(doomed), 0);
  // Deleted directly after being marked: the mark must not destroy it again.
  Probe *gone = probe("gone", 20, 5);
  world.markForDelete(gone);
  delete gone;
  EXPECT_EQ(destroyed, 1);
  world.update();
  EXPECT_EQ(destroyed, 2);
  EXPECT_TRUE(world.getSceneGraph().activeObjects().isEmpty());
  world.update();
  EXPECT_EQ(destroyed, 2);
  EXPECT_EQ(world.markForDelete(nullptr), -1);
  char line[100];
  std::snprintf(line, sizeof line, "WorldManager::markForDelete(): Error! unable to add Object %p to deletions list",
                static_cast<void *>(nullptr));
  EXPECT_TRUE(log.contains(line));
}

// A collision handler marks one object, destroys another outright and
// creates a third while the update walks its copy of the list.
TEST_F(WorldTest, HandlersMayMarkDestroyAndCreateDuringTheUpdate) {
  Probe *mover = probe("mover", 10, 5);
  probe("wall", 11, 5);
  Probe *marked = probe("marked", 30, 5);
  Probe *victim = probe("victim", 40, 5);
  mover->setVelocity(ts::Vector(1, 0));
  marked->setVelocity(ts::Vector(1, 0));
  victim->setVelocity(ts::Vector(1, 0));
  Probe *newcomer = nullptr;
  mover->on_event = [&] {
    world.markForDelete(marked);
    delete victim;
    newcomer = probe("newcomer", 50, 5);
    newcomer->setVelocity(ts::Vector(1, 0));
    mover->on_event = nullptr;
  };
  world.update();
  // Marked objects still move in the frame they are marked in.
  EXPECT_EQ(journal, lines({"mover: ts-collision mover into wall", "wall: ts-collision mover into wall"}));
  EXPECT_EQ(destroyed, 2);
  ASSERT_NE(newcomer, nullptr);
  EXPECT_EQ(newcomer->getPosition(), ts::Vector(50, 5));  // not in the copied list
  world.update();
  EXPECT_EQ(newcomer->getPosition(), ts::Vector(51, 5));
}

// Handlers destroy the other object, or the mover itself, in the middle of
// the collision loop; nothing touches them afterwards.
TEST_F(WorldTest, ObjectsDestroyedByCollisionHandlersAreLeftAlone) {
  Probe *mover = probe("mover", 10, 5);
  Probe *first = probe("first", 11, 5, ts::SOFT);
  Probe *second = probe("second", 11, 5.5f, ts::SOFT);
  mover->setVelocity(ts::Vector(1, 0));
  first->on_event = [&] { delete second; };
  world.update();
  EXPECT_EQ(journal, lines({"mover: ts-collision mover into first", "first: ts-collision mover into first"}));
  EXPECT_EQ(mover->getPosition(), ts::Vector(11, 5));

  journal.clear();
  Probe *bomb = probe("bomb", 20, 5);
  Probe *target = probe("target", 21, 5, ts::SOFT);
  probe("bystander", 21, 5.5f, ts::SOFT);
  bomb->setVelocity(ts::Vector(1, 0));
  bomb->setAcceleration(ts::Vector(1, 0));
  target->on_event = [&] { delete bomb; };
  mover->setVelocity(ts::Vector(0, 0));
  world.update();
  EXPECT_EQ(journal, lines({"bomb: ts-collision bomb into target", "target: ts-collision bomb into target"}));
  EXPECT_EQ(destroyed, 2);
}

TEST_F(WorldTest, ShutDownInsideAHandlerDestroysEverythingSafely) {
  Probe *mover = probe("mover", 10, 5);
  probe("wall", 11, 5);
  Probe *later = probe("later", 30, 5);
  later->setVelocity(ts::Vector(1, 0));
  mover->setVelocity(ts::Vector(1, 0));
  world.markForDelete(later);
  mover->on_event = [&] { world.shutDown(); };
  world.update();
  world.draw();
  EXPECT_EQ(destroyed, 3);
  EXPECT_FALSE(world.isStarted());
  EXPECT_EQ(journal, lines({"mover: ts-collision mover into wall"}));

  ASSERT_EQ(world.startUp(), 0);
  world.setBoundary(box(0, 0, 80, 24));
  world.setView(box(0, 0, 80, 24));
  Probe *painter = probe("painter", 10, 5);
  probe("other", 12, 5);
  painter->on_draw = [&] { world.shutDown(); };
  journal.clear();
  world.draw();
  EXPECT_EQ(journal, lines({"painter: draw"}));
  EXPECT_EQ(destroyed, 5);
}

TEST_F(WorldTest, DrawsByAltitudeWithinTheView) {
  world.setView(box(0, 0, 40, 12));
  probe("high", 5, 5, ts::SPECTRAL)->setAltitude(4);
  probe("low", 6, 5, ts::SPECTRAL)->setAltitude(0);
  probe("middle", 7, 5, ts::SPECTRAL)->setAltitude(3);
  probe("hidden", 8, 5, ts::SPECTRAL)->setVisible(false);
  probe("far", 60, 20, ts::SPECTRAL);
  probe("rim", 40.4f, 12.4f, ts::SPECTRAL);  // its box touches the view's corner
  auto *banner = new Banner;
  banner->setPosition(ts::Vector(70, 22));  // beyond the view, drawn anyway
  world.draw();
  EXPECT_EQ(journal, lines({"low: draw", "rim: draw", "middle: draw", "high: draw", "banner: draw"}));
  journal.clear();
  world.setViewPosition(ts::Vector(60, 20));
  world.draw();
  EXPECT_EQ(world.getView().getCorner(), ts::Vector(40, 12));
  EXPECT_EQ(journal, lines({"far: draw", "rim: draw", "banner: draw"}));
}

TEST_F(WorldTest, ViewPositionStaysWithinTheBoundary) {
  world.setView(box(0, 0, 40, 12));
  world.setViewPosition(ts::Vector(79, 23));
  EXPECT_EQ(world.getView().getCorner(), ts::Vector(40, 12));
  world.setViewPosition(ts::Vector(30, 10));
  EXPECT_EQ(world.getView().getCorner(), ts::Vector(10, 4));
  world.setViewPosition(ts::Vector(0, 0));
  EXPECT_EQ(world.getView().getCorner(), ts::Vector(0, 0));
  EXPECT_EQ(world.getView().getHorizontal(), 40);
  world.setViewSlack(ts::Vector(1.5f, 0));
  EXPECT_TRUE(log.contains("WorldManager::setViewSlack(): Warning! view slack units out of range [0-1]"));
  EXPECT_EQ(world.getViewSlack(), ts::Vector(1.5f, 0));
}

TEST_F(WorldTest, ViewFollowsItsObjectUntilTheObjectLeaves) {
  world.setView(box(0, 0, 40, 12));
  world.setViewSlack(ts::Vector(1.0f / 3.0f, 1.0f / 3.0f));
  Probe *hero = probe("hero", 20, 6, ts::SPECTRAL);
  Probe *extra = probe("extra", 50, 20, ts::SPECTRAL);
  EXPECT_EQ(world.setViewFollowing(hero), 0);
  EXPECT_EQ(world.getView().getCorner(), ts::Vector(0, 0));
  hero->setVelocity(ts::Vector(5, 0));
  world.update();  // x 25: inside the slack window, no scrolling
  EXPECT_EQ(world.getView().getCorner(), ts::Vector(0, 0));
  world.update();  // x 30: beyond its right edge (26.67)
  EXPECT_NEAR(world.getView().getCorner().getX(), 30 - 20 - 40.0f / 6, 1e-4);
  EXPECT_EQ(world.getView().getCorner().getY(), 0);
  // A following choice of an object outside the world is refused.
  world.removeObject(extra);
  EXPECT_EQ(world.setViewFollowing(extra), -1);
  world.getSceneGraph().insertObject(extra);
  EXPECT_EQ(world.getViewFollowing(), hero);
  // Destroying the followed object clears the choice.
  world.markForDelete(hero);
  world.update();
  EXPECT_EQ(world.getViewFollowing(), nullptr);
  ts::Vector corner = world.getView().getCorner();
  extra->setVelocity(ts::Vector(1, 0));
  world.update();
  EXPECT_EQ(world.getView().getCorner(), corner);
  EXPECT_EQ(world.setViewFollowing(nullptr), 0);
}

TEST_F(WorldTest, UpdateStepsPathsAndAppliesAcceleration) {
  Probe *falling = probe("falling", 10, 2, ts::SPECTRAL);
  falling->setAcceleration(ts::Vector(0, 0.5f));
  world.update();
  EXPECT_EQ(falling->getPosition(), ts::Vector(10, 2));  // moved before accelerating
  EXPECT_EQ(falling->getSpeed(), 0.5f);
  world.update();
  EXPECT_EQ(falling->getPosition(), ts::Vector(10, 2.5f));

  Probe *walker = probe("walker", 1, 1, ts::SPECTRAL);
  ts::Path path;
  path.setWaypoints({ts::Vector(4, 1), ts::Vector(4, 3)});
  walker->setSpeed(1);
  walker->setPath(path);
  walker->setFollowPath(true);
  std::vector<ts::Vector> seen;
  for (int i = 0; i < 6; ++i) {
    world.update();
    seen.push_back(walker->getPosition());
  }
  EXPECT_EQ(seen, (std::vector<ts::Vector>{{2, 1}, {3, 1}, {4, 1}, {4, 2}, {4, 3}, {4, 3}}));
  EXPECT_FALSE(walker->getFollowPath());
}
