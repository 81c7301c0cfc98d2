// The path manager: start-up, its list of searches, running them within a
// budget, handing results to their objects, and objects following the path.
#include <string>
#include <vector>

#include "EventPath.h"
#include "PathFind.h"
#include "PathManager.h"
#include "TestSupport.h"
#include "WorldManager.h"

using testing_support::LogCapture;

namespace {

// Keeps every "ts-path" event; passes it on to the engine's handling unless
// told to keep its search.
class PathListener : public ts::Object {
 public:
  explicit PathListener(bool keep_search = false) : m_keep_search(keep_search) { setSolidness(ts::SPECTRAL); }
  int eventHandler(const ts::Event *event) override {
    if (event->getType() != ts::PATH_EVENT) return 0;
    const auto *path_event = static_cast<const ts::EventPath *>(event);
    statuses.push_back(path_event->getStatus());
    paths.push_back(path_event->getPath().toString());
    int handled = m_keep_search ? 1 : ts::Object::eventHandler(event);
    if (on_path) on_path();
    return handled;
  }
  std::vector<int> statuses;
  std::vector<std::string> paths;
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
    ts::PathManager::getInstance().startUp();
  }
  void TearDown() override {
    ts::PathManager::getInstance().shutDown();
    ts::WorldManager::getInstance().shutDown();
  }

  static PathListener *listener(float x, float y, bool keep_search = false) {
    PathListener *object = new PathListener(keep_search);
    object->setPosition(ts::Vector(x, y));
    return object;
  }
  static void wall(int x, int y) { (new ts::Object)->setPosition(ts::Vector(x, y)); }
  // A wall across the world at column 10 with a gap at row 10, so that
  // searches across it take a good number of steps.
  static void longWall() {
    for (int y = 0; y < 12; ++y)
      if (y != 10) wall(10, y);
  }

  static void cycleUntilIdle() {
    for (int i = 0; i < 1000 && ts::PathManager::getInstance().getSearchCount() > 0; ++i)
      ts::PathManager::getInstance().cycle(1000);
  }

  LogCapture log;
  ts::PathManager &paths = ts::PathManager::getInstance();
};

TEST_F(PathManagerTest, SecondStartUpIsRefused) {
  EXPECT_TRUE(paths.isStarted());
  EXPECT_EQ(paths.getType(), "PathManager");
  EXPECT_EQ(paths.startUp(), -1);
  EXPECT_TRUE(log.contains("PathManager::startup(): Warning! PathManager already started."));
  paths.shutDown();
  EXPECT_FALSE(paths.isStarted());
  EXPECT_EQ(paths.startUp(), 0);
}

TEST_F(PathManagerTest, RequestAttachesTheSearchAndReplacesAnEarlierOne) {
  PathListener *object = listener(1, 1);
  ts::PathFind *first = paths.requestPath(object, 5, 5);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(object->getPathSearch(), first);
  EXPECT_TRUE(first->getStart() == (ts::PathNode{1, 1}));
  EXPECT_TRUE(first->getGoal() == (ts::PathNode{5, 5}));
  ts::PathFind *second = paths.requestPath(object, 7, 2);
  EXPECT_EQ(object->getPathSearch(), second);
  EXPECT_EQ(paths.getSearchCount(), 1);
  EXPECT_TRUE(paths.hasSearch(second));
}

TEST_F(PathManagerTest, RemoveSearchTakesEveryOccurrenceAndRefusesStrangers) {
  PathListener *object = listener(1, 1);
  ts::PathFind *search = paths.requestPath(object, 5, 5);
  ts::PathFind stranger(object);
  EXPECT_EQ(paths.removeSearch(nullptr), -1);
  EXPECT_EQ(paths.removeSearch(&stranger), -1);
  EXPECT_EQ(paths.getSearchCount(), 1);
  EXPECT_EQ(paths.removeSearch(search), 0);
  EXPECT_EQ(paths.getSearchCount(), 0);
  EXPECT_EQ(paths.removeSearch(search), -1);
}

TEST_F(PathManagerTest, FoundPathReachesTheObjectOnceAndIsFollowed) {
  PathListener *object = listener(2, 3);
  paths.requestPath(object, 5, 6);
  cycleUntilIdle();
  ASSERT_EQ(object->statuses, std::vector<int>{ts::PathFind::FOUND});
  EXPECT_EQ(object->paths[0], "(2,3)|(3,4)|(4,5)|(5,6)|");
  EXPECT_EQ(object->getPath().toString(), "(2,3)|(3,4)|(4,5)|(5,6)|");
  EXPECT_TRUE(object->getFollowPath());
  EXPECT_EQ(object->getPathSearch(), nullptr);
  EXPECT_EQ(paths.getSearchCount(), 0);
}

TEST_F(PathManagerTest, FailedSearchReportsStatusZeroWithEmptyPath) {
  for (int x = 14; x <= 16; ++x)
    for (int y = 4; y <= 6; ++y)
      if (x != 15 || y != 5) wall(x, y);
  PathListener *object = listener(1, 1);
  paths.requestPath(object, 15, 5);
  cycleUntilIdle();
  ASSERT_EQ(object->statuses, std::vector<int>{ts::PathFind::NO_PATH});
  EXPECT_EQ(object->paths[0], "");
  EXPECT_FALSE(object->getFollowPath());
  EXPECT_EQ(object->getPathSearch(), nullptr);
}

TEST_F(PathManagerTest, ObjectKeepingItsSearchHearsTheResultOnlyOnce) {
  PathListener *object = listener(1, 1, true);
  ts::PathFind *search = paths.requestPath(object, 3, 1);
  paths.cycle(5);
  EXPECT_EQ(object->statuses, std::vector<int>{ts::PathFind::FOUND});
  EXPECT_EQ(paths.getSearchCount(), 0);
  EXPECT_EQ(object->getPathSearch(), search);  // still the object's, freed with it
}

TEST_F(PathManagerTest, SearchesFinishInOnePassEachAndHandlersMayStartNewOnes) {
  longWall();
  PathListener *near = listener(1, 1);
  PathListener *far = listener(1, 2);
  PathListener *again = listener(1, 3);
  paths.requestPath(far, 18, 2);
  paths.requestPath(near, 1, 1);
  paths.requestPath(again, 2, 3);
  // A handler that starts a second search for its object.
  again->on_path = [&] {
    if (again->statuses.size() == 1) paths.requestPath(again, 3, 3);
  };
  cycleUntilIdle();
  EXPECT_EQ(near->paths, std::vector<std::string>{"(1,1)|"});
  EXPECT_EQ(again->paths, (std::vector<std::string>{"(1,3)|(2,3)|", "(1,3)|(2,3)|(3,3)|"}));
  ASSERT_EQ(far->statuses, std::vector<int>{ts::PathFind::FOUND});
  EXPECT_NE(far->paths[0].find("(10,10)|"), std::string::npos);
}

TEST_F(PathManagerTest, SearchSpreadOverManyCyclesFindsTheSamePath) {
  longWall();
  PathListener *object = listener(1, 1);
  ts::PathFind alone(object, {1, 1}, {18, 1});
  while (alone.cycleOnce() == ts::PathFind::SEARCHING) {
  }
  // With no time granted nothing runs; with a millisecond a few nodes do.
  paths.requestPath(object, 18, 1);
  paths.cycle(0);
  EXPECT_TRUE(object->statuses.empty());
  for (int i = 0; i < 100000 && object->statuses.empty(); ++i) paths.cycle(1);
  ASSERT_EQ(object->statuses, std::vector<int>{ts::PathFind::FOUND});
  EXPECT_EQ(object->paths[0], alone.getPath().toString());
}

// Searches remember blocked cells while the manager runs them, but a
// handler that changes the world makes them ask again.
TEST_F(PathManagerTest, SearchesSeeWhatAHandlerChangesMidCycle) {
  std::vector<ts::Object *> wall_cells;
  for (int y = 0; y < 12; ++y) {
    wall_cells.push_back(new ts::Object);
    wall_cells.back()->setPosition(ts::Vector(10, y));
  }
  PathListener *blocked = listener(9, 5);
  PathListener *opener = listener(1, 1);
  paths.requestPath(blocked, 12, 5);
  paths.requestPath(opener, 4, 1);
  opener->on_path = [&] { wall_cells[6]->setSolidness(ts::SPECTRAL); };
  cycleUntilIdle();
  ASSERT_EQ(opener->statuses, std::vector<int>{ts::PathFind::FOUND});
  ASSERT_EQ(blocked->statuses, std::vector<int>{ts::PathFind::FOUND});
  EXPECT_NE(blocked->paths[0].find("(10,6)|"), std::string::npos) << blocked->paths[0];
}

TEST_F(PathManagerTest, ObjectDestroyedMidSearchTakesItsSearchAlong) {
  PathListener *object = listener(1, 1);
  paths.requestPath(object, 18, 10);
  ts::WorldManager::getInstance().markForDelete(object);
  ts::WorldManager::getInstance().update();
  EXPECT_EQ(paths.getSearchCount(), 0);
  paths.cycle(5);
}

TEST_F(PathManagerTest, TargetDestroyedMidSearchEndsItWithNoPath) {
  longWall();
  PathListener *object = listener(1, 1);
  PathListener *target = listener(18, 1);
  ASSERT_NE(paths.requestPath(object, target), nullptr);
  ts::WorldManager::getInstance().markForDelete(target);
  ts::WorldManager::getInstance().update();
  cycleUntilIdle();
  EXPECT_EQ(object->statuses, std::vector<int>{ts::PathFind::NO_PATH});
}

TEST_F(PathManagerTest, RequestsThatCannotBeSearchedAreRefusedWithALogLine) {
  PathListener *object = listener(1, 1);
  EXPECT_EQ(paths.requestPath(nullptr, 2, 2), nullptr);
  EXPECT_TRUE(log.contains("PathManager::requestPath(): Error! No object."));
  EXPECT_EQ(paths.requestPath(object, nullptr), nullptr);
  EXPECT_TRUE(log.contains("PathManager::requestPath(): Error! No target object."));
  EXPECT_EQ(paths.requestPath(object, 20, 3), nullptr);
  EXPECT_EQ(paths.requestPath(object, -1, 3), nullptr);
  EXPECT_TRUE(log.contains("PathManager::requestPath(): Error! Goal (20,3) outside the world."));
  object->setPosition(ts::Vector(3, -2));
  EXPECT_EQ(paths.requestPath(object, 2, 2), nullptr);
  EXPECT_TRUE(log.contains("PathManager::requestPath(): Error! Start (3,-2) outside the world."));
  object->setPosition(ts::Vector(3, 11.4f));  // still on the last row
  EXPECT_NE(paths.requestPath(object, 2, 2), nullptr);

  ts::WorldManager::getInstance().setBoundary(ts::Box(ts::Vector(0, 0), 20, 0));
  EXPECT_EQ(paths.requestPath(object, 0, 0), nullptr);
  EXPECT_TRUE(log.contains("PathManager::requestPath(): Error! World 20x0 cannot hold a node graph."));
  paths.shutDown();
  EXPECT_EQ(paths.requestPath(object, 2, 2), nullptr);
  EXPECT_TRUE(log.contains("PathManager::requestPath(): Error! PathManager not started."));
  EXPECT_EQ(paths.getSearchCount(), 1);
}

TEST_F(PathManagerTest, ObjectFollowsTheFoundPathToTheGoal) {
  longWall();
  PathListener *object = listener(1, 1);
  object->setSpeed(1.0f);
  paths.requestPath(object, 18, 1);
  cycleUntilIdle();
  ASSERT_EQ(object->statuses, std::vector<int>{ts::PathFind::FOUND});
  ts::WorldManager &world = ts::WorldManager::getInstance();
  int frames = 0;
  for (; frames < 200 && object->getFollowPath(); ++frames) world.update();
  EXPECT_FALSE(object->getFollowPath());
  EXPECT_TRUE(object->getPosition() == ts::Vector(18, 1)) << object->getPosition().toString();
  EXPECT_GT(frames, 17);
  EXPECT_TRUE(object->getDirection() == ts::Vector(0, 0));
}

}  // namespace
