// The world manager: moves and collisions, deletions, drawing and the view.
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include <tessera/core/GameLoop.h>
#include <tessera/world/EventCollision.h>
#include <tessera/world/EventTimer.h>
#include <tessera/world/Object.h>
#include <tessera/world/ViewObject.h>
#include <tessera/world/WorldManager.h>
#include "TestSupport.h"

using Lines = std::vector<std::string>;

namespace {

Lines journal;
int destroyed = 0;

// Writes every event and draw into the journal as "name: what", keeps the
// collisions it hears of, and runs the test's action for events.
class Probe : public ts::Object {
 public:
  Probe(std::string probe_name, float x, float y, ts::Solidness solidness = ts::HARD) : name(std::move(probe_name)) {
    setPosition(ts::Vector(x, y));
    setSolidness(solidness);
  }
  ~Probe() override { ++destroyed; }

  int eventHandler(const ts::Event *event) override {
    if (auto *collision = dynamic_cast<const ts::EventCollision *>(event)) collisions.push_back(*collision);
    auto *timer = dynamic_cast<const ts::EventTimer *>(event);
    journal.push_back(name + ": " + event->getType() + (timer ? " " + timer->getName() : ""));
    std::function<void()> action = on_event;  // a copy: it may destroy this object
    if (action) action();
    return 1;
  }
  int draw() override {
    journal.push_back(name + ": draw");
    return 0;
  }

  std::string name;
  std::vector<ts::EventCollision> collisions;
  std::function<void()> on_event;
};

class Banner : public ts::ViewObject {
  int draw() override {
    journal.push_back("banner: draw");
    return 0;
  }
};

class WorldTest : public testing_support::WorldFixture {
 protected:
  void SetUp() override {
    journal.clear();
    destroyed = 0;
    WorldFixture::SetUp();
  }
};

}  // namespace

// Who hears of a collision and whether the move happens, by the solidness of
// mover and obstacle and the mover's no_soft.
TEST_F(WorldTest, OnlyHardAgainstHardOrNoSoftAgainstSoftBlocks) {
  struct Case {
    ts::Solidness mover, obstacle;
    bool no_soft, heard, moves;
  };
  const Case cases[] = {{ts::HARD, ts::HARD, false, true, false},     {ts::HARD, ts::SOFT, false, true, true},
                        {ts::HARD, ts::SOFT, true, true, false},      {ts::SOFT, ts::HARD, false, true, true},
                        {ts::SPECTRAL, ts::HARD, false, false, true}, {ts::HARD, ts::SPECTRAL, false, false, true}};
  for (const Case &c : cases) {
    SCOPED_TRACE(&c - cases);
    journal.clear();
    Probe *mover = new Probe("mover", 10, 5, c.mover);
    Probe *obstacle = new Probe("obstacle", 11, 5, c.obstacle);
    mover->setNoSoft(c.no_soft);
    mover->setVelocity(ts::Vector(1, 0));
    world.update();
    EXPECT_EQ(mover->getPosition(), ts::Vector(c.moves ? 11 : 10, 5));
    EXPECT_EQ(journal, (c.heard ? Lines{"mover: ts-collision", "obstacle: ts-collision"} : Lines()));
    // Both hear of one event: who ran into whom, and where the mover tried to go.
    for (const Probe *party : {mover, obstacle})
      for (const ts::EventCollision &event : party->collisions)
        EXPECT_TRUE(event.getObject1() == mover && event.getObject2() == obstacle &&
                    event.getPosition() == ts::Vector(11, 5));
    delete mover;
    delete obstacle;
  }
}

// A HARD mover with avoid_collisions that comes down diagonally onto a wall
// slides along it at full speed; if the slide is blocked too it stays put and
// nobody hears of a collision.
TEST_F(WorldTest, AvoidingMoverSlidesAlongAWallOrStaysWhenCornered) {
  Probe *slider = new Probe("slider", 12.5f, 5);
  for (int x = 8; x <= 16; ++x) new Probe("floor", static_cast<float>(x), 6);
  Probe *cornered = new Probe("cornered", 30.5f, 5);
  new Probe("floor", 31, 6);
  new Probe("post", 32.5f, 5);
  for (Probe *mover : {slider, cornered}) {
    mover->setAvoidCollisions(true);
    mover->setVelocity(ts::Vector(1, 1));
  }
  world.update();
  EXPECT_NEAR(slider->getPosition().getX(), 12.5f + std::sqrt(2.0f), 1e-5);
  EXPECT_EQ(slider->getPosition().getY(), 5);
  EXPECT_NEAR(slider->getDirection().getX(), std::sqrt(0.5f), 1e-6);  // its own motion is unchanged
  EXPECT_EQ(cornered->getPosition(), ts::Vector(30.5f, 5));
  EXPECT_TRUE(journal.empty());
}

// The leaver accelerates: each update moves it first, then speeds it up. The
// walker's path is stepped along after each move (the stepping is the object's).
TEST_F(WorldTest, UpdateAcceleratesFollowsPathsAndReportsLeavingOnce) {
  Probe *leaver = new Probe("leaver", 78, 5, ts::SPECTRAL);
  leaver->setAcceleration(ts::Vector(1, 0));
  (new Probe("outsider", -5, 5, ts::SPECTRAL))->setVelocity(ts::Vector(-1, 0));
  Probe *walker = new Probe("walker", 1, 1, ts::SPECTRAL);
  ts::Path path;
  path.setWaypoints({ts::Vector(2, 1), ts::Vector(2, 2)});
  walker->setSpeed(1);
  walker->setPath(path);
  walker->setFollowPath(true);
  for (int i = 0; i < 6; ++i) world.update();
  EXPECT_EQ(leaver->getPosition(), ts::Vector(78 + 0 + 1 + 2 + 3 + 4 + 5, 5));
  EXPECT_EQ(walker->getPosition(), ts::Vector(2, 2));
  // A box still touching the boundary's edge has not left; one jump across
  // the whole edge counts once.
  EXPECT_EQ(world.moveObject(new Probe("edge", 79.5f, 10, ts::SPECTRAL), ts::Vector(80.5f, 10)), 0);
  EXPECT_EQ(world.moveObject(new Probe("jumper", 40, 12, ts::SPECTRAL), ts::Vector(200, 12)), 0);
  EXPECT_EQ(journal, (Lines{"leaver: ts-out", "jumper: ts-out"}));
}

// During one update, handlers mark an object (twice), destroy a marked one
// the walk has not reached, create one, destroy a collision candidate not yet
// told, and destroy the mover (which still has an acceleration to apply).
// Marked objects go at the end of the update, each once.
TEST_F(WorldTest, HandlersMayCreateAndDestroyObjectsDuringTheUpdate) {
  Probe *mover = new Probe("mover", 10, 5);
  Probe *first = new Probe("first", 11, 5, ts::SOFT);
  Probe *second = new Probe("second", 11, 5.5f, ts::SOFT);
  Probe *bomb = new Probe("bomb", 20, 5);
  Probe *mine = new Probe("mine", 21, 5, ts::SOFT);
  Probe *marked = new Probe("marked", 30, 5);
  Probe *victim = new Probe("victim", 40, 5);
  for (Probe *moving : {mover, bomb, marked, victim}) moving->setVelocity(ts::Vector(1, 0));
  bomb->setAcceleration(ts::Vector(1, 0));
  EXPECT_EQ(world.markForDelete(victim), 0);
  Probe *newcomer = nullptr;
  mover->on_event = [&] {
    world.markForDelete(marked);
    world.markForDelete(marked);
    delete victim;
    newcomer = new Probe("newcomer", 50, 5);
    newcomer->setVelocity(ts::Vector(1, 0));
  };
  first->on_event = [&] { delete second; };
  mine->on_event = [&] { delete bomb; };
  world.update();
  EXPECT_EQ(journal, (Lines{"mover: ts-collision", "first: ts-collision", "bomb: ts-collision", "mine: ts-collision"}));
  EXPECT_EQ(destroyed, 4);                                // victim, second, bomb, marked
  EXPECT_EQ(newcomer->getPosition(), ts::Vector(50, 5));  // not in the walk's copy
  world.update();                                         // no more collisions
  EXPECT_EQ(newcomer->getPosition(), ts::Vector(51, 5));
  EXPECT_EQ(world.markForDelete(nullptr), -1);
}

// Shut-down destroys every object, active, inactive and marked, even from
// inside a handler in the middle of an update.
TEST_F(WorldTest, ShutDownInsideAHandlerDestroysEveryObjectOnce) {
  Probe *mover = new Probe("mover", 10, 5);
  new Probe("wall", 11, 5);
  (new Probe("idle", 30, 5))->setActive(false);
  world.markForDelete(new Probe("marked", 40, 5));
  mover->setVelocity(ts::Vector(1, 0));
  mover->on_event = [&] { world.shutDown(); };
  world.update();
  EXPECT_EQ(destroyed, 4);
  EXPECT_EQ(journal, Lines{"mover: ts-collision"});
}

TEST_F(WorldTest, DrawsByAltitudeWithinTheView) {
  world.setView(ts::Box(ts::Vector(0, 0), 40, 12));
  (new Probe("high", 5, 5, ts::SPECTRAL))->setAltitude(4);
  (new Probe("low", 6, 5, ts::SPECTRAL))->setAltitude(0);
  (new Probe("middle", 7, 5, ts::SPECTRAL))->setAltitude(3);
  new Probe("far", 60, 20, ts::SPECTRAL);
  new Probe("rim", 40.4f, 12.4f, ts::SPECTRAL);   // its box touches the view's corner
  (new Banner)->setPosition(ts::Vector(70, 22));  // beyond the view, drawn anyway
  world.draw();
  EXPECT_EQ(journal, (Lines{"low: draw", "rim: draw", "middle: draw", "high: draw", "banner: draw"}));
}

TEST_F(WorldTest, ViewStaysInTheBoundaryAndFollowsItsObjectUntilItLeaves) {
  world.setView(ts::Box(ts::Vector(0, 0), 40, 12));
  const std::pair<ts::Vector, ts::Vector> centre_to_corner[] = {
      {{79, 23}, {40, 12}}, {{30, 10}, {10, 4}}, {{-50, 50}, {0, 12}}, {{0, 0}, {0, 0}}};
  for (const auto &entry : centre_to_corner) {
    world.setViewPosition(entry.first);
    EXPECT_EQ(world.getView().getCorner(), entry.second);
  }
  world.setViewSlack(ts::Vector(1.0f / 3.0f, 1.0f / 3.0f));
  Probe *hero = new Probe("hero", 20, 6, ts::SPECTRAL);
  Probe *extra = new Probe("extra", 50, 20, ts::SPECTRAL);
  EXPECT_EQ(world.setViewFollowing(hero), 0);
  hero->setVelocity(ts::Vector(5, 0));
  world.update();  // x 25: inside the slack window, no scrolling
  EXPECT_EQ(world.getView().getCorner(), ts::Vector(0, 0));
  world.update();  // x 30: beyond its right edge (26.67)
  EXPECT_NEAR(world.getView().getCorner().getX(), 30 - 20 - 40.0f / 6, 1e-4);
  world.removeObject(extra);  // an object outside the world cannot be followed
  EXPECT_EQ(world.setViewFollowing(extra), -1);
  world.getSceneGraph().insertObject(extra);
  world.markForDelete(hero);  // destroying the followed object clears the choice
  world.update();
  EXPECT_EQ(world.getViewFollowing(), nullptr);
}

// Marked objects are out of play until destroyed: not moved, not collided
// with, not told of collisions (also when a handler marks one mid-move).
TEST_F(WorldTest, MarkedObjectsNeitherMoveNorCollideUntilDestroyed) {
  Probe *mover = new Probe("mover", 10, 5);
  Probe *wall = new Probe("wall", 11, 5);
  world.markForDelete(wall);
  EXPECT_TRUE(wall->isMarkedForDelete() && !mover->isMarkedForDelete());
  EXPECT_EQ(-1, world.moveObject(wall, ts::Vector(12, 5)));
  EXPECT_EQ(0, world.moveObject(mover, ts::Vector(11, 5)));
  EXPECT_EQ(2, world.objectsOfType("(Undefined)").getCount());
  Probe *one = new Probe("one", 12, 5, ts::SOFT);
  Probe *two = new Probe("two", 12, 5);
  one->on_event = [&] { world.markForDelete(two); };
  EXPECT_EQ(0, world.moveObject(mover, ts::Vector(12, 5)));
  new Probe("three", 13, 5, ts::SOFT);
  mover->on_event = [&] { world.markForDelete(mover); };
  EXPECT_EQ(-1, world.moveObject(mover, ts::Vector(13, 5)));
  EXPECT_EQ(journal, (Lines{"mover: ts-collision", "one: ts-collision", "mover: ts-collision"}));
  // An avoiding mover does not slide along a marked wall.
  Probe *slider = new Probe("slider", 30, 10);
  world.markForDelete(new Probe("marked", 31, 11));
  slider->setAvoidCollisions(true);
  slider->setVelocity(ts::Vector(1, 1));
  world.update();
  EXPECT_EQ(slider->getPosition(), ts::Vector(31, 11));
  EXPECT_EQ(4, destroyed);
}

TEST_F(WorldTest, MarkAllForDeleteCountsWhatItMarks) {
  for (int x = 1; x <= 3; ++x) (new Probe("brick", static_cast<float>(x), 1))->setType("Brick");
  world.objectsOfType("Brick")[0]->setActive(false);
  world.markForDelete(world.objectsOfType("Brick")[0]);
  EXPECT_EQ(2, world.markAllForDelete("Brick"));  // the inactive one too, not the one marked before
  world.update();
  EXPECT_EQ(3, destroyed);
}

namespace {

struct FakeLoop : ts::GameLoop {
  int step = 10;
  int getStepCount() const override { return step; }
  int getFrameTime() const override { return 33; }
  void setGameOver(bool) override {}
};

}  // namespace

// A timer set in step s fires in the update of step s + n, a repeating one
// every n steps; one paused by inactivity fires once when active again and
// keeps its phase.
TEST_F(WorldTest, TimersFireInTheUpdateOfTheirStep) {
  FakeLoop loop;
  ts::GameLoop::install(&loop);
  Probe *clock = new Probe("clock", 5, 5);
  Probe *doomed = new Probe("doomed", 9, 9);
  clock->setTimer("once", 2);
  clock->setTimer("again", 3, true);
  clock->setTimer("cancelled", 1);
  EXPECT_EQ(0, clock->cancelTimer("cancelled"));
  EXPECT_EQ(-1, clock->setTimer("never", 0));
  EXPECT_TRUE(log.contains("Object::setTimer(): Error! Timer 'never' needs at least 1 step, not 0."));
  doomed->setTimer("last", 1);
  world.markForDelete(doomed);
  std::vector<int> fired;
  clock->on_event = [&] { fired.push_back(loop.step); };
  for (; loop.step <= 26; ++loop.step) {
    if (loop.step == 17) clock->setActive(false);
    if (loop.step == 24) clock->setActive(true);
    world.update();
  }
  EXPECT_EQ(fired, (std::vector<int>{12, 13, 16, 24, 25}));  // late once at 24, then on its old phase
  EXPECT_EQ(journal, (Lines{"clock: ts-timer once", "clock: ts-timer again", "clock: ts-timer again",
                            "clock: ts-timer again", "clock: ts-timer again"}));
  ts::GameLoop::uninstall(&loop);
}
