// The path manager: requests, running searches within a budget, handing
// results to their objects, and objects following the path they get.
#include <functional>
#include <string>
#include <vector>

#include "EventPath.h"
#include "PathManager.h"
#include "TestSupport.h"
#include "WorldManager.h"

using testing_support::LogCapture;

namespace {

// Records every "ts-path" event, then lets the engine handle it (unless told
// to keep its search) and runs an optional action.
class PathListener : public ts::Object {
 public:
  PathListener(float x, float y, bool keep_search = false) : m_keep_search(keep_search) {
    setSolidness(ts::SPECTRAL);
    setPosition(ts::Vector(x, y));
  }
  int eventHandler(const ts::Event *event) override {
    if (event->getType() != ts::PATH_EVENT) return 0;
    const auto *path_event = static_cast<const ts::EventPath *>(event);
    results.push_back(std::to_string(path_event->getStatus()) + " " + path_event->getPath().toString());
    int handled = m_keep_search ? 1 : ts::Object::eventHandler(event);
    if (on_path) on_path();
    return handled;
  }
  std::vector<std::string> results;
  std::function<void()> on_path;

 private:
  bool m_keep_search;
};

class PathManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    log.start();
    ts::WorldManager::getInstance().startUp();
    ts::WorldManager::getInstance().setBoundary(ts::Box(ts::Vector(0, 0), 20, 12));
    paths.startUp();
  }
  void TearDown() override {
    paths.shutDown();
    ts::WorldManager::getInstance().shutDown();
  }
  // A wall down column 10, open at the given row (none for -1).
  static std::vector<ts::Object *> wall(int gap) {
    std::vector<ts::Object *> cells;
    for (int y = 0; y < 12; ++y) {
      cells.push_back(new ts::Object);
      cells.back()->setPosition(ts::Vector(10, y));
      if (y == gap) cells.back()->setSolidness(ts::SPECTRAL);
    }
    return cells;
  }
  void cycleUntilIdle() {
    for (int i = 0; i < 1000 && paths.getSearchCount() > 0; ++i) paths.cycle(1000);
  }

  LogCapture log;
  ts::PathManager &paths = ts::PathManager::getInstance();
};

TEST_F(PathManagerTest, SecondStartUpIsRefused) {
  EXPECT_EQ(paths.startUp(), -1);
  EXPECT_TRUE(log.contains("PathManager::startup(): Warning! PathManager already started."));
}

TEST_F(PathManagerTest, RequestsJoinTheListAndReplaceEarlierOnes) {
  PathListener *object = new PathListener(1, 1);
  ts::PathFind *first = paths.requestPath(object, 5, 5);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(object->getPathSearch(), first);
  ts::PathFind *second = paths.requestPath(object, 7, 2);  // destroys the first
  EXPECT_EQ(object->getPathSearch(), second);
  EXPECT_EQ(paths.getSearchCount(), 1);
  ts::PathFind stranger(object);
  EXPECT_EQ(paths.removeSearch(nullptr), -1);
  EXPECT_EQ(paths.removeSearch(&stranger), -1);
  EXPECT_EQ(paths.removeSearch(second), 0);
  EXPECT_EQ(paths.removeSearch(second), -1);
  EXPECT_EQ(paths.getSearchCount(), 0);
}

TEST_F(PathManagerTest, EachResultReachesItsObjectOnce) {
  for (int x = 14; x <= 16; ++x)
    for (int y = 4; y <= 6; ++y)
      if (x != 15 || y != 5) (new ts::Object)->setPosition(ts::Vector(x, y));
  PathListener *finder = new PathListener(2, 3);
  PathListener *loser = new PathListener(1, 1);
  PathListener *keeper = new PathListener(1, 9, true);
  paths.requestPath(finder, 5, 6);
  paths.requestPath(loser, 15, 5);
  ts::PathFind *kept = paths.requestPath(keeper, 2, 9);
  cycleUntilIdle();
  EXPECT_EQ(finder->results, std::vector<std::string>{"2 (2,3)|(3,4)|(4,5)|(5,6)|"});
  EXPECT_EQ(finder->getPath().toString(), "(2,3)|(3,4)|(4,5)|(5,6)|");
  EXPECT_TRUE(finder->getFollowPath());
  EXPECT_EQ(finder->getPathSearch(), nullptr);
  EXPECT_EQ(loser->results, std::vector<std::string>{"0 "});
  EXPECT_FALSE(loser->getFollowPath());
  // An object that keeps its search still hears the result only once.
  EXPECT_EQ(keeper->results, std::vector<std::string>{"2 (1,9)|(2,9)|"});
  EXPECT_EQ(keeper->getPathSearch(), kept);
  EXPECT_EQ(paths.getSearchCount(), 0);
}

TEST_F(PathManagerTest, SearchSpreadOverManyCyclesFindsTheSamePath) {
  wall(10);
  PathListener *object = new PathListener(1, 1);
  ts::PathFind alone(object, {1, 1}, {18, 1});
  while (alone.cycleOnce() == ts::PathFind::SEARCHING) {
  }
  paths.requestPath(object, 18, 1);
  paths.cycle(0);  // no time granted: nothing runs
  EXPECT_TRUE(object->results.empty());
  for (int i = 0; i < 100000 && object->results.empty(); ++i) paths.cycle(1);
  EXPECT_EQ(object->results, std::vector<std::string>{"2 " + alone.getPath().toString()});
}

// Searches remember blocked cells while the manager runs them, but a
// handler that changes the world (here: opens the wall) makes them ask again.
TEST_F(PathManagerTest, SearchesSeeWhatAHandlerChangesMidCycle) {
  std::vector<ts::Object *> cells = wall(-1);
  PathListener *blocked = new PathListener(9, 5);
  PathListener *opener = new PathListener(1, 1);
  paths.requestPath(blocked, 12, 5);
  paths.requestPath(opener, 4, 1);
  opener->on_path = [&] { cells[6]->setSolidness(ts::SPECTRAL); };
  cycleUntilIdle();
  ASSERT_EQ(opener->results.size(), 1u);
  ASSERT_EQ(blocked->results.size(), 1u);
  EXPECT_EQ(blocked->results[0].find("2 (9,5)|"), 0u) << blocked->results[0];
  EXPECT_NE(blocked->results[0].find("(10,6)|"), std::string::npos) << blocked->results[0];
}

TEST_F(PathManagerTest, ObjectDestroyedMidSearchTakesItsSearchAlong) {
  PathListener *object = new PathListener(1, 1);
  paths.requestPath(object, 18, 10);
  ts::WorldManager::getInstance().markForDelete(object);
  ts::WorldManager::getInstance().update();
  EXPECT_EQ(paths.getSearchCount(), 0);
  paths.cycle(5);
}

TEST_F(PathManagerTest, RequestsThatCannotBeSearchedAreRefused) {
  PathListener *object = new PathListener(1, 1);
  EXPECT_EQ(paths.requestPath(nullptr, 2, 2), nullptr);
  EXPECT_EQ(paths.requestPath(object, nullptr), nullptr);
  EXPECT_EQ(paths.requestPath(object, 20, 3), nullptr);
  EXPECT_EQ(paths.requestPath(object, -1, 3), nullptr);
  object->setPosition(ts::Vector(3, -2));
  EXPECT_EQ(paths.requestPath(object, 2, 2), nullptr);
  object->setPosition(ts::Vector(3, 11.4f));  // still on the last row
  EXPECT_NE(paths.requestPath(object, 2, 2), nullptr);
  ts::WorldManager::getInstance().setBoundary(ts::Box(ts::Vector(0, 0), 20, 0));
  EXPECT_EQ(paths.requestPath(object, 0, 0), nullptr);
  paths.shutDown();
  EXPECT_EQ(paths.requestPath(object, 2, 2), nullptr);
  EXPECT_EQ(paths.getSearchCount(), 1);
  for (const char *line : {"No object.", "No target object.", "Goal (20,3) outside the world.",
                           "Goal (-1,3) outside the world.", "Start (3,-2) outside the world.",
                           "World 20x0 cannot hold a node graph.", "PathManager not started."})
    EXPECT_TRUE(log.contains(std::string("PathManager::requestPath(): Error! ") + line)) << line;
}

TEST_F(PathManagerTest, ObjectFollowsTheFoundPathToTheGoal) {
  wall(10);
  PathListener *object = new PathListener(1, 1);
  object->setSpeed(1.0f);
  paths.requestPath(object, 18, 1);
  cycleUntilIdle();
  ASSERT_TRUE(object->getFollowPath());
  int frames = 0;
  for (; frames < 200 && object->getFollowPath(); ++frames) ts::WorldManager::getInstance().update();
  EXPECT_TRUE(object->getPosition() == ts::Vector(18, 1)) << object->getPosition().toString();
  EXPECT_TRUE(object->getDirection() == ts::Vector(0, 0));
  // One frame per waypoint: the first only turns it towards the second.
  EXPECT_EQ(frames, static_cast<int>(object->getPath().getWaypoints().size()));
}

}  // namespace
