// The A* search: its steps, its tie-breaking and its failures, checked
// against hand-worked cases and against a plain list-based search.
#include <cstdlib>
#include <string>

#include "PathFind.h"
#include "PathManager.h"
#include "PathReference.h"
#include "TestSupport.h"
#include "WorldManager.h"

using testing_support::LogCapture;

namespace {

class PathFindTest : public ::testing::Test {
 protected:
  void SetUp() override {
    log.start();
    ts::WorldManager::getInstance().startUp();
    setWorld(10, 10);
  }
  void TearDown() override { ts::WorldManager::getInstance().shutDown(); }

  static void setWorld(float width, float height) {
    ts::WorldManager::getInstance().setBoundary(ts::Box(ts::Vector(0, 0), width, height));
  }

  static ts::Object *place(float x, float y, ts::Solidness solidness = ts::HARD) {
    ts::Object *object = new ts::Object;
    object->setPosition(ts::Vector(x, y));
    object->setSolidness(solidness);
    return object;
  }

  // A spectral walker so that it never blocks anything itself.
  static ts::Object *walker(float x, float y) { return place(x, y, ts::SPECTRAL); }

  static int run(ts::PathFind &search) {
    int status = ts::PathFind::SEARCHING;
    for (int i = 0; i < 100000 && status == ts::PathFind::SEARCHING; ++i) status = search.cycleOnce();
    return status;
  }

  static std::string pathText(const ts::PathFind &search) { return search.getPath().toString(); }

  LogCapture log;
};

TEST_F(PathFindTest, StartEqualsGoalIsFoundAtOnceWithOneWaypoint) {
  ts::PathFind search(walker(4, 4), {4, 4}, {4, 4});
  EXPECT_EQ(search.cycleOnce(), ts::PathFind::FOUND);
  EXPECT_EQ(pathText(search), "(4,4)|");
  EXPECT_EQ(search.getPath().getIndex(), 0);
}

TEST_F(PathFindTest, EmptyWorldGoesStraightAlongTheDiagonal) {
  ts::PathFind search(walker(0, 0), {0, 0}, {3, 3});
  EXPECT_EQ(search.getPath().getWaypoints().size(), 0u);  // nothing before it is found
  EXPECT_EQ(search.cycleOnce(), ts::PathFind::SEARCHING);
  EXPECT_EQ(run(search), ts::PathFind::FOUND);
  EXPECT_EQ(pathText(search), "(0,0)|(1,1)|(2,2)|(3,3)|");
  EXPECT_EQ(search.getExpandedCount(), 4);
}

TEST_F(PathFindTest, AmongEqualCostsTheNodeOpenedLastIsExpanded) {
  // From (0,0) to (2,0): (1,0) and then (2,0) are the straight way; the tie
  // between the two diagonal detours never arises. Going to (0,2) and (2,2)
  // instead exercises both axes.
  ts::PathFind across(walker(0, 0), {0, 0}, {2, 0});
  EXPECT_EQ(run(across), ts::PathFind::FOUND);
  EXPECT_EQ(pathText(across), "(0,0)|(1,0)|(2,0)|");
  // Around a wall the two ways are equally long; the tie rule picks one, and
  // the plain list search makes the same pick.
  place(2, 1);
  ts::PathFind around(walker(1, 1), {1, 1}, {3, 1});
  path_reference::ListPathFind reference(around.getObject(), {1, 1}, {3, 1});
  EXPECT_EQ(run(around), reference.run());
  EXPECT_EQ(around.getPath().getWaypoints(), reference.getPath());
  EXPECT_EQ(pathText(around), "(1,1)|(2,2)|(3,1)|");
}

TEST_F(PathFindTest, WallWithOneGapIsPassedThroughTheGap) {
  for (int y = 0; y < 10; ++y)
    if (y != 7) place(5, y);
  ts::PathFind search(walker(2, 2), {2, 2}, {8, 2});
  ASSERT_EQ(run(search), ts::PathFind::FOUND);
  std::vector<ts::Vector> waypoints = search.getPath().getWaypoints();
  // Ten steps, the fewest possible; of the many equally short ways the tie
  // rule takes this one.
  EXPECT_EQ(pathText(search), "(2,2)|(2,3)|(2,4)|(3,5)|(4,6)|(5,7)|(6,6)|(6,5)|(7,4)|(8,3)|(8,2)|");
  path_reference::ListPathFind reference(search.getObject(), {2, 2}, {8, 2});
  EXPECT_EQ(reference.run(), ts::PathFind::FOUND);
  EXPECT_EQ(reference.getPath(), waypoints);
  for (size_t i = 1; i < waypoints.size(); ++i) {
    ts::Vector step = waypoints[i] - waypoints[i - 1];
    EXPECT_LE(std::abs(step.getX()), 1.0f);
    EXPECT_LE(std::abs(step.getY()), 1.0f);
  }
}

TEST_F(PathFindTest, DiagonalBetweenTwoBlockedEdgeCellsIsRefused) {
  place(1, 0);
  place(0, 1);
  ts::PathFind squeezed(walker(0, 0), {0, 0}, {1, 1});
  EXPECT_EQ(run(squeezed), ts::PathFind::NO_PATH);
  EXPECT_EQ(pathText(squeezed), "");
}

TEST_F(PathFindTest, DiagonalPastOneBlockedEdgeCellIsAllowed) {
  place(1, 0);
  ts::PathFind search(walker(0, 0), {0, 0}, {1, 1});
  EXPECT_EQ(run(search), ts::PathFind::FOUND);
  EXPECT_EQ(pathText(search), "(0,0)|(1,1)|");
}

TEST_F(PathFindTest, ObstacleCoveringTheGoalBlocksNoCell) {
  // A 3 x 3 rock centred on the goal: every cell it covers is walkable.
  ts::Object *rock = place(5, 5);
  rock->setBox(ts::Box(ts::Vector(-1.5f, -1.5f), 2.99f, 2.99f));
  ts::PathFind search(walker(2, 5), {2, 5}, {5, 5});
  EXPECT_EQ(run(search), ts::PathFind::FOUND);
  EXPECT_EQ(pathText(search), "(2,5)|(3,5)|(4,5)|(5,5)|");
  // The same rock does block a search whose goal lies beyond it.
  ts::PathFind beyond(walker(2, 5), {2, 5}, {8, 5});
  EXPECT_EQ(run(beyond), ts::PathFind::FOUND);
  for (const ts::Vector &waypoint : beyond.getPath().getWaypoints())
    EXPECT_FALSE(ts::boxContainsPosition(ts::getWorldBox(rock), waypoint)) << waypoint.toString();
}

TEST_F(PathFindTest, SoftAndSpectralObjectsDoNotBlock) {
  place(1, 0, ts::SOFT);
  place(2, 0, ts::SPECTRAL);
  ts::PathFind search(walker(0, 0), {0, 0}, {3, 0});
  EXPECT_EQ(run(search), ts::PathFind::FOUND);
  EXPECT_EQ(pathText(search), "(0,0)|(1,0)|(2,0)|(3,0)|");
}

TEST_F(PathFindTest, EnclosedGoalGivesNoPathAndKeepsFailing) {
  for (int x = 5; x <= 7; ++x)
    for (int y = 5; y <= 7; ++y)
      if (x != 6 || y != 6) place(x, y);
  ts::PathFind search(walker(0, 0), {0, 0}, {6, 6});
  EXPECT_EQ(run(search), ts::PathFind::NO_PATH);
  EXPECT_EQ(pathText(search), "");
  EXPECT_EQ(search.getExpandedCount(), 100 - 9);
  EXPECT_EQ(search.cycleOnce(), ts::PathFind::NO_PATH);
}

TEST_F(PathFindTest, ObjectWiderThanTheCorridorFindsNoWay) {
  // A wall across the world with a one-cell gap at (5,4).
  for (int x = 0; x < 10; ++x)
    if (x != 5) place(x, 4);
  ts::Object *wide = walker(5, 1);
  wide->setBox(ts::Box(ts::Vector(-1.0f, -0.5f), 2.0f, 0.99f));
  ts::PathFind search(wide, {5, 1}, {5, 8});
  EXPECT_EQ(run(search), ts::PathFind::NO_PATH);
  ts::PathFind narrow(walker(5, 1), {5, 1}, {5, 8});
  EXPECT_EQ(run(narrow), ts::PathFind::FOUND);
}

TEST_F(PathFindTest, TargetEndsTheSearchWhereTheObjectWouldTouchIt) {
  ts::Object *target = place(8, 5);
  target->setBox(ts::Box(ts::Vector(-1.5f, -1.5f), 3.0f, 3.0f));
  ts::PathFind search(walker(0, 5), {0, 5}, {8, 5}, target);
  EXPECT_EQ(run(search), ts::PathFind::FOUND);
  EXPECT_EQ(pathText(search), "(0,5)|(1,5)|(2,5)|(3,5)|(4,5)|(5,5)|(6,5)|(7,5)|");
  EXPECT_TRUE(search.getGoal() == (ts::PathNode{7, 5}));
  EXPECT_EQ(search.cycleOnce(), ts::PathFind::FOUND);  // a found search stays found
  EXPECT_TRUE(search.getGoal() == (ts::PathNode{7, 5}));
}

TEST_F(PathFindTest, SearchWithoutNodeGraphFailsWithItsMessage) {
  ts::PathFind nothing(walker(1, 1));
  EXPECT_FALSE(nothing.hasNodeGraph());
  EXPECT_EQ(nothing.cycleOnce(), ts::PathFind::NO_PATH);
  EXPECT_TRUE(log.contains("PathFind::cycleOnce(): node graph not allocated.  Cannot find path."));

  setWorld(0, 10);
  ts::PathFind flat(walker(1, 1), {0, 0}, {0, 0});
  EXPECT_FALSE(flat.hasNodeGraph());
  EXPECT_EQ(flat.cycleOnce(), ts::PathFind::NO_PATH);
  EXPECT_EQ(log.count("PathFind::cycleOnce(): node graph not allocated.  Cannot find path."), 2);
}

TEST_F(PathFindTest, HugeOrBrokenWorldsGetNoNodeGraph) {
  // A stopped world keeps any boundary without building anything for it.
  ts::WorldManager::getInstance().shutDown();
  for (float size : {1e9f, 3000.0f * 3000.0f, std::nanf("")}) {
    setWorld(size, 10000);
    ts::PathFind search(walker(1, 1), {1, 1}, {2, 2});
    EXPECT_FALSE(search.hasNodeGraph()) << size;
    EXPECT_EQ(search.cycleOnce(), ts::PathFind::NO_PATH);
  }
}

TEST_F(PathFindTest, StartOutsideTheWorldFailsWithoutReadingOutsideTheGraph) {
  ts::PathFind search(walker(1, 1), {-1, 3}, {2, 2});
  EXPECT_EQ(search.cycleOnce(), ts::PathFind::NO_PATH);
  EXPECT_TRUE(log.contains("PathFind::cycleOnce(): Error! Start (-1,3) outside the world.  Cannot find path."));
  ts::PathFind below(walker(1, 1), {2, 10}, {2, 2});
  EXPECT_EQ(below.cycleOnce(), ts::PathFind::NO_PATH);
}

TEST_F(PathFindTest, GoalOutsideTheWorldIsNeverReached) {
  ts::PathFind search(walker(1, 1), {1, 1}, {40, -7});
  EXPECT_EQ(run(search), ts::PathFind::NO_PATH);
  EXPECT_EQ(search.getExpandedCount(), 100);
}

TEST_F(PathFindTest, DestroyedTargetEndsTheSearch) {
  ts::Object *target = place(8, 8);
  ts::PathFind search(walker(0, 0), {0, 0}, {8, 8}, target);
  EXPECT_EQ(search.cycleOnce(), ts::PathFind::SEARCHING);
  ts::WorldManager::getInstance().markForDelete(target);
  ts::WorldManager::getInstance().update();
  EXPECT_EQ(search.cycleOnce(), ts::PathFind::NO_PATH);
  EXPECT_TRUE(log.contains("PathFind::cycleOnce(): Error! Object or target destroyed.  Cannot find path."));
  EXPECT_EQ(pathText(search), "");
}

// Random worlds of single-cell and larger obstacles, HARD and SOFT, with
// walkers of different widths: the engine's search and the plain list search
// expand the same number of nodes and find the same paths.
TEST_F(PathFindTest, SameResultsAsPlainListsOnRandomWorlds) {
  std::srand(20261206);
  const int width = 24, height = 16;
  int found = 0;
  for (int world = 0; world < 40; ++world) {
    ts::WorldManager::getInstance().shutDown();
    ts::WorldManager::getInstance().startUp();
    setWorld(width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        int roll = std::rand() % 100;
        if (roll < 22) {
          ts::Object *rock = place(x, y, roll < 20 ? ts::HARD : ts::SOFT);
          if (roll < 2) rock->setBox(ts::Box(ts::Vector(-1.5f, -0.5f), 2.99f, 1.99f));
        }
      }
    ts::Object *mover = walker(0, 0);
    if (world % 4 == 3) mover->setBox(ts::Box(ts::Vector(-0.8f, -0.5f), 1.6f, 0.99f));
    ts::PathNode start{std::rand() % width, std::rand() % height};
    ts::PathNode goal{std::rand() % width, std::rand() % height};
    ts::PathFind fast(mover, start, goal);
    path_reference::ListPathFind plain(mover, start, goal);
    int status = ts::PathFind::SEARCHING;
    if (world % 2 == 0) {
      status = run(fast);
    } else {  // as the path manager runs it, remembering blocked cells
      ts::PathFind::StillWorld still;
      status = run(fast);
    }
    ASSERT_EQ(status, plain.run()) << "world " << world;
    ASSERT_EQ(fast.getExpandedCount(), plain.getExpandedCount()) << "world " << world;
    ASSERT_EQ(fast.getPath().getWaypoints(), plain.getPath()) << "world " << world;
    found += status == ts::PathFind::FOUND;
  }
  EXPECT_GT(found, 10);
  EXPECT_LT(found, 40);
}

}  // namespace
