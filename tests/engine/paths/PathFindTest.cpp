// The A* search: worked cases, searches that cannot run, and agreement with
// the plain list search (the benchmark's "before") on random worlds.
#include <cmath>
#include <cstdlib>
#include <string>

#include <tessera/paths/PathFind.h>
#include <tessera/world/WorldManager.h>
#include "TestSupport.h"
#include "bench/PathReference.h"

namespace {

// A HARD or SOFT object on a cell, with the default box or a square one of
// the given size; walkers are SPECTRAL so that they never block anything.
ts::Object *place(int x, int y, ts::Solidness solidness = ts::HARD, float size = 0) {
  ts::Object *object = new ts::Object;
  object->setPosition(ts::Vector(x, y));
  object->setSolidness(solidness);
  if (size > 0) object->setBox(ts::Box(ts::Vector(-size / 2, -size / 2), size, size));
  return object;
}
ts::Object *walker(float size = 0) { return place(0, 0, ts::SPECTRAL, size); }

class PathFindTest : public ::testing::Test {
 protected:
  void TearDown() override { ts::WorldManager::getInstance().shutDown(); }

  static void freshWorld(float width, float height) {
    ts::WorldManager::getInstance().shutDown();
    ts::WorldManager::getInstance().startUp();
    ts::WorldManager::getInstance().setBoundary(ts::Box(ts::Vector(0, 0), width, height));
  }
  // Runs a search in a fresh 10 x 10 world built from the map (rows top down,
  // split by spaces; '#' a HARD cell, '+' a SOFT one, 'R' a HARD rock three
  // cells wide) for a walker of the given size: "status path".
  std::string search(const std::string &map, ts::PathNode start, ts::PathNode goal, float size = 0) {
    freshWorld(10, 10);
    for (int i = 0, x = 0, y = 0; i < static_cast<int>(map.size()); ++i, ++x) {
      if (map[i] == ' ')
        x = -1, ++y;  // the next row starts
      else if (map[i] != '.')
        place(x, y, map[i] == '+' ? ts::SOFT : ts::HARD, map[i] == 'R' ? 2.99f : 0);
    }
    ts::PathFind finder(walker(size), start, goal);
    EXPECT_EQ(finder.getPath().toString(), "");  // nothing until found
    int status = ts::PathFind::SEARCHING;
    while (status == ts::PathFind::SEARCHING) status = finder.cycleOnce();
    return std::to_string(status) + " " + finder.getPath().toString();
  }

  testing_support::StartedLog log;
};

TEST_F(PathFindTest, WorkedCases) {
  EXPECT_EQ(search("", {4, 4}, {4, 4}), "2 (4,4)|");
  EXPECT_EQ(search("", {0, 0}, {3, 3}), "2 (0,0)|(1,1)|(2,2)|(3,3)|");
  // Ten steps; of the equally short ways the tie rule (the node opened last wins) takes this one.
  EXPECT_EQ(search(".....# .....# .....# .....# .....# .....# .....# ...... .....# .....#", {2, 2}, {8, 2}),
            "2 (2,2)|(2,3)|(2,4)|(3,5)|(4,6)|(5,7)|(6,6)|(6,5)|(7,4)|(8,3)|(8,2)|");
  // A diagonal step needs one of the two cells beside it free (SOFT cells never block).
  EXPECT_EQ(search(".# ..+", {1, 1}, {2, 0}), "2 (1,1)|(2,0)|");
  EXPECT_EQ(search(".# #", {0, 0}, {1, 1}), "0 ");
  // An obstacle covering the goal blocks nothing; with the goal beyond it, it is in the way.
  EXPECT_EQ(search(". . . . . .....R", {2, 5}, {5, 5}), "2 (2,5)|(3,5)|(4,5)|(5,5)|");
  EXPECT_EQ(search(". . . . . .....R", {2, 5}, {8, 5}), "2 (2,5)|(3,4)|(4,3)|(5,3)|(6,3)|(7,4)|(8,5)|");
  EXPECT_EQ(search(". . . . #####.####", {5, 1}, {5, 8}), "2 (5,1)|(5,2)|(5,3)|(5,4)|(5,5)|(5,6)|(5,7)|(5,8)|");
  EXPECT_EQ(search(". . . . #####.####", {5, 1}, {5, 8}, 2.0f), "0 ");  // a gap narrower than the walker
  // A goal walled in or outside the world: no path.
  for (ts::PathNode goal : {ts::PathNode{6, 6}, ts::PathNode{40, -7}})
    EXPECT_EQ(search(". . . . . .....### .....#.# .....###", {0, 0}, goal), "0 ");
}

// The search ends where the walker would touch the target; a target
// destroyed mid-search ends it cleanly.
TEST_F(PathFindTest, TargetEndsTheSearchWhereTheWalkerWouldTouchIt) {
  freshWorld(10, 10);
  ts::Object *target = place(8, 5, ts::HARD, 3.0f);
  ts::PathFind search(walker(), {3, 5}, {8, 5}, target), orphan(walker(), {0, 0}, {8, 5}, target);
  while (search.cycleOnce() == ts::PathFind::SEARCHING) continue;
  EXPECT_EQ(search.cycleOnce(), ts::PathFind::FOUND);  // and stays found
  EXPECT_EQ(search.getPath().toString(), "(3,5)|(4,5)|(5,5)|(6,5)|(7,5)|");
  EXPECT_EQ(orphan.cycleOnce(), ts::PathFind::SEARCHING);
  ts::WorldManager::getInstance().markForDelete(target);
  ts::WorldManager::getInstance().update();
  EXPECT_EQ(orphan.cycleOnce(), ts::PathFind::NO_PATH);
  EXPECT_TRUE(log.contains("PathFind::cycleOnce(): Error! Object or target destroyed.  Cannot find path."));
}

TEST_F(PathFindTest, SearchesThatCannotRunFailAtOnce) {
  for (ts::PathNode start : {ts::PathNode{-1, 3}, ts::PathNode{2, 10}}) EXPECT_EQ(search("", start, {2, 2}), "0 ");
  EXPECT_TRUE(log.contains("PathFind::cycleOnce(): Error! Start (-1,3) outside the world.  Cannot find path."));
  EXPECT_EQ(ts::PathFind(walker()).cycleOnce(), ts::PathFind::NO_PATH);
  for (float width : {0.0f, 0.5f, 1e9f, 9e6f, std::nanf("")}) {  // empty, huge, broken: no node graph
    freshWorld(width, 10000);
    EXPECT_EQ(ts::PathFind(walker(), {0, 0}, {0, 0}).cycleOnce(), ts::PathFind::NO_PATH);
  }
  EXPECT_EQ(log.count("PathFind::cycleOnce(): node graph not allocated.  Cannot find path."), 6);
}

// On random worlds the search, spread over holds as the path manager spreads
// it, expands the same nodes and finds the same path as the plain lists.
TEST_F(PathFindTest, SameResultsAsPlainListsOnRandomWorlds) {
  std::srand(20261206);
  int found = 0;
  for (int world = 0; world < 42; ++world) {
    SCOPED_TRACE(world);
    freshWorld(24, 16);
    for (int cell = 0; cell < 24 * 16; ++cell) {
      int roll = std::rand() % 100;
      if (roll < 22) place(cell % 24, cell / 24, roll < 20 ? ts::HARD : ts::SOFT, roll < 2 ? 2.99f : 0);
    }
    ts::Object *mover = walker(world % 4 == 3 ? 1.6f : 0);
    ts::PathNode start{std::rand() % 24, std::rand() % 16}, goal{std::rand() % 24, std::rand() % 16};
    ts::PathFind fast(mover, start, goal);
    int status = ts::PathFind::SEARCHING;
    while (status == ts::PathFind::SEARCHING) {  // slices of 1 to 40 cycles, each under a hold of its own
      ts::PathFind::StillWorld hold;
      for (int i = 0; i <= world * 7 % 40 && status == ts::PathFind::SEARCHING; ++i) status = fast.cycleOnce();
    }
    path_reference::ListPathFind plain(mover, start, goal);
    ASSERT_EQ(status, plain.run());
    ASSERT_EQ(fast.getExpandedCount(), plain.getExpandedCount());
    ASSERT_EQ(fast.getPath().getWaypoints(), plain.getPath());
    found += status == ts::PathFind::FOUND;
  }
  EXPECT_TRUE(found > 10 && found < 42) << found;  // a fair mix of found and failed searches
}

}  // namespace
