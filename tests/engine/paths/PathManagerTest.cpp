// The path manager: requests, searches run within a time budget, results
// handed to their objects, and objects following the path they get.
#include <functional>
#include <string>
#include <vector>

#include <tessera/paths/PathManager.h>
#include <tessera/world/EventPath.h>
#include <tessera/world/WorldManager.h>
#include "TestSupport.h"

namespace {

// Records every "ts-path" event as "status path;", then runs its action if it
// has one (and so keeps its search) or lets the engine handle the event.
struct PathListener : ts::Object {
  explicit PathListener(ts::Vector position) { setPosition(position); }
  int eventHandler(const ts::Event *event) override {
    if (event->getType() != ts::PATH_EVENT) return 0;
    auto path_event = static_cast<const ts::EventPath *>(event);
    results += std::to_string(path_event->getStatus()) + " " + path_event->getPath().toString() + ";";
    if (on_path) on_path();
    return on_path ? 1 : ts::Object::eventHandler(event);
  }
  std::string results;
  std::function<void()> on_path;
};

class PathManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    world.startUp();
    world.setBoundary(ts::Box(ts::Vector(0, 0), 20, 12));
    paths.startUp();
  }
  void TearDown() override {
    paths.shutDown();
    world.shutDown();
  }
  // A HARD wall down column 10, a cell per row.
  static std::vector<ts::Object *> wall() {
    std::vector<ts::Object *> cells(12);
    for (int y = 0; y < 12; ++y) (cells[y] = new ts::Object)->setPosition(ts::Vector(10, y));
    return cells;
  }

  testing_support::StartedLog log;
  ts::WorldManager &world = ts::WorldManager::getInstance();
  ts::PathManager &paths = ts::PathManager::getInstance();
};

// Each result reaches its object once, even one that keeps its search.
// Searches remember blocked cells while the manager runs them, but a handler
// that changes the world (here: opens the wall at row 6) makes them ask again.
TEST_F(PathManagerTest, EachResultReachesItsObjectOnce) {
  std::vector<ts::Object *> cells = wall();
  for (int cell = 0; cell < 9; ++cell)  // a ring round (15,5)
    if (cell != 4) (new ts::Object)->setPosition(ts::Vector(14 + cell % 3, 4 + cell / 3));
  PathListener *lost = new PathListener({1, 1}), *opener = new PathListener({2, 3}), *walled = new PathListener({9, 5});
  paths.requestPath(lost, 15, 5);
  ts::PathFind *kept = paths.requestPath(opener, 5, 6);
  paths.requestPath(walled, 12, 5);
  opener->on_path = [&] { cells[6]->setSolidness(ts::SPECTRAL); };
  paths.cycle(1000);
  EXPECT_EQ(lost->results, "0 ;");
  EXPECT_EQ(opener->results, "2 (2,3)|(3,4)|(4,5)|(5,6)|;");
  EXPECT_EQ(opener->getPathSearch(), kept);
  EXPECT_EQ(walled->results.find("2 (9,5)|"), 0u) << walled->results;
  EXPECT_NE(walled->results.find("(10,6)|"), std::string::npos) << walled->results;
}

// A search run a millisecond at a time finds what one long run finds, and
// the object walks that path to the goal.
TEST_F(PathManagerTest, SearchInShortCyclesIsFollowedToTheGoal) {
  wall()[10]->setSolidness(ts::SPECTRAL);
  PathListener *object = new PathListener({1, 1});
  object->setSpeed(1.0f);
  object->setSolidness(ts::SPECTRAL);  // a HARD one clips the wall cell beside the gap as it steps in diagonally
  ts::PathFind alone(object, {1, 1}, {18, 1});
  while (alone.cycleOnce() == ts::PathFind::SEARCHING) continue;
  paths.requestPath(object, 18, 1);
  paths.cycle(0);  // no time granted: nothing runs
  EXPECT_EQ(object->results, "");
  while (paths.getSearchCount() > 0) paths.cycle(1);
  EXPECT_EQ(object->results, "2 " + alone.getPath().toString() + ";");
  for (int frame = 0; frame < 200 && object->getFollowPath(); ++frame) world.update();
  EXPECT_TRUE(object->getPosition() == ts::Vector(18, 1)) << object->getPosition().toString();
}

// A new request replaces (and destroys) the object's pending search; an
// object destroyed mid-search takes its search off the list.
TEST_F(PathManagerTest, RequestsAreRefusedOrReplaceTheObjectsSearch) {
  PathListener *object = new PathListener({3, -2});
  EXPECT_EQ(paths.requestPath(object, 2, 2), nullptr);
  object->setPosition(ts::Vector(3, 11.4f));  // on the last row
  EXPECT_EQ(paths.requestPath(nullptr, 2, 2), nullptr);
  EXPECT_EQ(paths.requestPath(object, nullptr), nullptr);
  EXPECT_EQ(paths.requestPath(object, 20, 3), nullptr);
  EXPECT_EQ(paths.requestPath(object, -1, 3), nullptr);
  ASSERT_NE(paths.requestPath(object, 2, 2), nullptr);
  ts::PathFind *second = paths.requestPath(object, 7, 2);
  EXPECT_EQ(object->getPathSearch(), second);
  world.setBoundary(ts::Box(ts::Vector(0, 0), 20, 0));
  EXPECT_EQ(paths.requestPath(object, 0, 0), nullptr);
  paths.shutDown();
  EXPECT_EQ(paths.requestPath(object, 2, 2), nullptr);
  EXPECT_EQ(paths.getSearchCount(), 1);
  for (const char *line :
       {"Start (3,-2) outside the world.", "No object.", "No target object.", "Goal (20,3) outside the world.",
        "Goal (-1,3) outside the world.", "World 20x0 cannot hold a node graph.", "PathManager not started."})
    EXPECT_TRUE(log.contains(std::string("PathManager::requestPath(): Error! ") + line)) << line;
  world.markForDelete(object);
  world.update();
  EXPECT_EQ(paths.getSearchCount(), 0);
}

}  // namespace
