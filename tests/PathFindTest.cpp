// The A* search: hand-worked cases, failures, and agreement with a plain
// list-based search on random worlds.
#include <cmath>
#include <cstdlib>
#include <string>

#include "PathFind.h"
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
  // Spectral, so that it never blocks anything itself.
  static ts::Object *walker() { return place(0, 0, ts::SPECTRAL); }
  static int run(ts::PathFind &search) {
    int status = ts::PathFind::SEARCHING;
    for (int i = 0; i < 100000 && status == ts::PathFind::SEARCHING; ++i) status = search.cycleOnce();
    return status;
  }
  // The status and the path as text, "2 (0,0)|(1,1)|".
  static std::string outcome(ts::PathFind &&search) {
    int status = run(search);
    return std::to_string(status) + " " + search.getPath().toString();
  }

  LogCapture log;
};

TEST_F(PathFindTest, EmptyWorld) {
  ts::PathFind here(walker(), {4, 4}, {4, 4});
  EXPECT_EQ(here.cycleOnce(), ts::PathFind::FOUND);  // on the first cycle
  EXPECT_EQ(here.getPath().toString(), "(4,4)|");
  ts::PathFind diagonal(walker(), {0, 0}, {3, 3});
  EXPECT_EQ(diagonal.getPath().toString(), "");  // nothing until found
  EXPECT_EQ(outcome(std::move(diagonal)), "2 (0,0)|(1,1)|(2,2)|(3,3)|");
}

TEST_F(PathFindTest, WallWithOneGapIsCrossedAtTheGap) {
  for (int y = 0; y < 10; ++y)
    if (y != 7) place(5, y);
  // Ten steps, the fewest; of the equally short ways the tie rule (the node
  // opened last wins) takes this one.
  EXPECT_EQ(outcome(ts::PathFind(walker(), {2, 2}, {8, 2})),
            "2 (2,2)|(2,3)|(2,4)|(3,5)|(4,6)|(5,7)|(6,6)|(6,5)|(7,4)|(8,3)|(8,2)|");
}

TEST_F(PathFindTest, DiagonalStepNeedsOneFreeEdgeCell) {
  place(1, 0, ts::HARD);
  place(2, 1, ts::SOFT);  // SOFT never blocks
  EXPECT_EQ(outcome(ts::PathFind(walker(), {0, 0}, {1, 1})), "2 (0,0)|(1,1)|");
  EXPECT_EQ(outcome(ts::PathFind(walker(), {1, 1}, {2, 0})), "2 (1,1)|(2,0)|");
  place(0, 1);
  EXPECT_EQ(outcome(ts::PathFind(walker(), {0, 0}, {1, 1})), "0 ");
}

TEST_F(PathFindTest, ObstacleCoveringTheGoalBlocksNoCell) {
  ts::Object *rock = place(5, 5);
  rock->setBox(ts::Box(ts::Vector(-1.5f, -1.5f), 2.99f, 2.99f));
  EXPECT_EQ(outcome(ts::PathFind(walker(), {2, 5}, {5, 5})), "2 (2,5)|(3,5)|(4,5)|(5,5)|");
  // With the goal beyond it, the rock is in the way.
  EXPECT_EQ(outcome(ts::PathFind(walker(), {2, 5}, {8, 5})), "2 (2,5)|(3,4)|(4,3)|(5,3)|(6,3)|(7,4)|(8,5)|");
}

TEST_F(PathFindTest, UnreachableGoalsFailAfterTheReachableCells) {
  for (int x = 5; x <= 7; ++x)
    for (int y = 5; y <= 7; ++y)
      if (x != 6 || y != 6) place(x, y);
  ts::PathFind enclosed(walker(), {0, 0}, {6, 6});
  EXPECT_EQ(run(enclosed), ts::PathFind::NO_PATH);
  EXPECT_EQ(enclosed.getExpandedCount(), 100 - 9);
  EXPECT_EQ(enclosed.getPath().toString(), "");
  ts::PathFind outside(walker(), {0, 0}, {40, -7});
  EXPECT_EQ(run(outside), ts::PathFind::NO_PATH);
  EXPECT_EQ(outside.getExpandedCount(), 100 - 9);
}

TEST_F(PathFindTest, ObjectWiderThanTheGapFindsNoWay) {
  for (int x = 0; x < 10; ++x)
    if (x != 5) place(x, 4);
  ts::Object *wide = walker();
  wide->setBox(ts::Box(ts::Vector(-1.0f, -0.5f), 2.0f, 0.99f));
  EXPECT_EQ(outcome(ts::PathFind(wide, {5, 1}, {5, 8})), "0 ");
  EXPECT_EQ(outcome(ts::PathFind(walker(), {5, 1}, {5, 8})), "2 (5,1)|(5,2)|(5,3)|(5,4)|(5,5)|(5,6)|(5,7)|(5,8)|");
}

TEST_F(PathFindTest, TargetEndsTheSearchWhereTheObjectWouldTouchIt) {
  ts::Object *target = place(8, 5);
  target->setBox(ts::Box(ts::Vector(-1.5f, -1.5f), 3.0f, 3.0f));
  ts::PathFind search(walker(), {3, 5}, {8, 5}, target);
  EXPECT_EQ(run(search), ts::PathFind::FOUND);
  EXPECT_EQ(search.getPath().toString(), "(3,5)|(4,5)|(5,5)|(6,5)|(7,5)|");
  EXPECT_TRUE(search.getGoal() == (ts::PathNode{7, 5}));
  EXPECT_EQ(search.cycleOnce(), ts::PathFind::FOUND);  // a found search stays as it is
  EXPECT_TRUE(search.getGoal() == (ts::PathNode{7, 5}));

  ts::PathFind orphan(walker(), {0, 0}, {8, 5}, target);
  EXPECT_EQ(orphan.cycleOnce(), ts::PathFind::SEARCHING);
  ts::WorldManager::getInstance().markForDelete(target);
  ts::WorldManager::getInstance().update();
  EXPECT_EQ(orphan.cycleOnce(), ts::PathFind::NO_PATH);
  EXPECT_TRUE(log.contains("PathFind::cycleOnce(): Error! Object or target destroyed.  Cannot find path."));
}

TEST_F(PathFindTest, SearchesThatCannotRunFailAtOnce) {
  const std::string no_graph = "PathFind::cycleOnce(): node graph not allocated.  Cannot find path.";
  EXPECT_EQ(ts::PathFind(walker()).cycleOnce(), ts::PathFind::NO_PATH);
  EXPECT_TRUE(log.contains(no_graph));
  ts::PathFind left_of_world(walker(), {-1, 3}, {2, 2});
  ts::PathFind below_world(walker(), {2, 10}, {2, 2});
  EXPECT_EQ(left_of_world.cycleOnce(), ts::PathFind::NO_PATH);
  EXPECT_EQ(below_world.cycleOnce(), ts::PathFind::NO_PATH);
  EXPECT_TRUE(log.contains("PathFind::cycleOnce(): Error! Start (-1,3) outside the world.  Cannot find path."));
  // Empty, huge and broken worlds get no node graph. A stopped world keeps
  // any boundary without building anything for it.
  ts::WorldManager::getInstance().shutDown();
  for (float width : {0.0f, 0.5f, 1e9f, 9e6f, std::nanf("")}) {
    setWorld(width, 10000);
    ts::PathFind search(walker(), {0, 0}, {0, 0});
    EXPECT_FALSE(search.hasNodeGraph()) << width;
    EXPECT_EQ(search.cycleOnce(), ts::PathFind::NO_PATH);
  }
  EXPECT_EQ(log.count(no_graph), 6);
}

// Random worlds of HARD and SOFT rocks, some larger than a cell, and walkers
// of two widths: the engine's search, asking the world every time or
// remembering blocked cells, expands the same nodes and finds the same paths
// as the plain list search.
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
        if (roll >= 22) continue;
        ts::Object *rock = place(x, y, roll < 20 ? ts::HARD : ts::SOFT);
        if (roll < 2) rock->setBox(ts::Box(ts::Vector(-1.5f, -0.5f), 2.99f, 1.99f));
      }
    ts::Object *mover = walker();
    if (world % 4 == 3) mover->setBox(ts::Box(ts::Vector(-0.8f, -0.5f), 1.6f, 0.99f));
    ts::PathNode start{std::rand() % width, std::rand() % height};
    ts::PathNode goal{std::rand() % width, std::rand() % height};
    ts::PathFind fast(mover, start, goal);
    int status = ts::PathFind::SEARCHING;
    if (world % 2 == 0) {
      status = run(fast);
    } else {
      ts::PathFind::StillWorld still;
      status = run(fast);
    }
    path_reference::ListPathFind plain(mover, start, goal);
    ASSERT_EQ(status, plain.run()) << "world " << world;
    ASSERT_EQ(fast.getExpandedCount(), plain.getExpandedCount()) << "world " << world;
    ASSERT_EQ(fast.getPath().getWaypoints(), plain.getPath()) << "world " << world;
    found += status == ts::PathFind::FOUND;
  }
  EXPECT_GT(found, 10);
  EXPECT_LT(found, 40);
}

}  // namespace
