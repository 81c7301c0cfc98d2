// The collision grid: cells from the configuration and the boundary, cell
// membership with inclusive edges and the outside list, moves that touch only
// the cells that change, and collision queries.
#include <vector>

#include "Config.h"
#include "Grid.h"
#include "Object.h"
#include "TestSupport.h"
#include "WorldManager.h"

using testing_support::LogCapture;

namespace {

ts::Box box(float x, float y, float h, float v) { return ts::Box(ts::Vector(x, y), h, v); }

// A world of the given size with the default 20 x 8 cells.
class GridWorld : public ::testing::Test {
 protected:
  void SetUp() override {
    log.start();
    ASSERT_EQ(world.startUp(), 0);
    world.setBoundary(box(0, 0, 80, 24));
    world.setView(box(0, 0, 80, 24));
  }
  void TearDown() override { world.shutDown(); }

  const ts::Grid &grid() { return world.getSceneGraph().getGrid(); }

  // An object whose world box is (x, y) with extents h x v.
  ts::Object *place(float x, float y, float h = 0.99f, float v = 0.99f) {
    auto *object = new ts::Object;
    object->setBox(box(0, 0, h, v));
    object->setPosition(ts::Vector(x, y));
    return object;
  }

  // The cells (outside list as (-1, -1)) whose lists hold the object.
  std::vector<std::pair<int, int>> cellsOf(const ts::Object *object) {
    std::vector<std::pair<int, int>> cells;
    auto holds = [&](const ts::ObjectList &list) {
      for (int i = 0; i < list.getCount(); ++i)
        if (list[i] == object) return true;
      return false;
    };
    if (holds(grid().cellObjects(-1, -1))) cells.emplace_back(-1, -1);
    for (int row = 0; row < grid().getNumRows(); ++row)
      for (int col = 0; col < grid().getNumCols(); ++col)
        if (holds(grid().cellObjects(col, row))) cells.emplace_back(col, row);
    return cells;
  }

  LogCapture log;
  ts::WorldManager &world = ts::WorldManager::getInstance();
};

using Cells = std::vector<std::pair<int, int>>;

std::vector<int> ids(const ts::ObjectList &list) {
  std::vector<int> result;
  for (int i = 0; i < list.getCount(); ++i) result.push_back(list[i]->getId());
  return result;
}

}  // namespace

TEST_F(GridWorld, CellsFollowBoundaryAndConfiguredSize) {
  EXPECT_EQ(grid().getNumCols(), 4);
  EXPECT_EQ(grid().getNumRows(), 3);
  world.setBoundary(box(0, 0, 81, 24.5f));
  EXPECT_EQ(grid().getNumCols(), 5);
  EXPECT_EQ(grid().getNumRows(), 4);

  ts::Config::getInstance().loadConfig("grid_width:10,grid_height:5,");
  ts::Grid small;
  EXPECT_EQ(small.startUp(), 0);
  EXPECT_EQ(small.getNumCols(), 9);
  EXPECT_EQ(small.getNumRows(), 5);
  EXPECT_EQ(small.startUp(), -1);
  EXPECT_TRUE(log.contains("Grid::startUp(): Warning! Grid allocated. Not proceeding."));
  small.shutDown();
  EXPECT_FALSE(small.isAllocated());
  EXPECT_EQ(small.startUp(), 0);

  // A cell size of zero would divide by zero: the default is used instead.
  ts::Config::getInstance().loadConfig("grid_width:0,grid_height:-3,");
  ts::Grid fallback;
  EXPECT_EQ(fallback.getCellWidth(), 20);
  EXPECT_EQ(fallback.getCellHeight(), 8);
  EXPECT_TRUE(log.contains("Grid::Grid(): Warning! grid width 0 not positive, using 20."));
  EXPECT_TRUE(log.contains("Grid::Grid(): Warning! grid height -3 not positive, using 8."));
  ts::Config::getInstance().loadConfig("grid_width:20,grid_height:8,");
}

TEST_F(GridWorld, MembershipHasInclusiveEdgesAndAnOutsideList) {
  EXPECT_EQ(cellsOf(place(19.5f, 3)), (Cells{{0, 0}, {1, 0}}));
  EXPECT_EQ(cellsOf(place(10, 7.5f)), (Cells{{0, 0}, {0, 1}}));
  // A right edge exactly on a cell boundary also covers the next column.
  EXPECT_EQ(cellsOf(place(19, 3, 1, 0.5f)), (Cells{{0, 0}, {1, 0}}));
  EXPECT_EQ(cellsOf(place(-1, 3)), (Cells{{-1, -1}}));
  EXPECT_EQ(cellsOf(place(-5, -5)), (Cells{{-1, -1}}));
  EXPECT_EQ(cellsOf(place(78.5f, 23, 2, 0.5f)), (Cells{{-1, -1}, {3, 2}}));
  EXPECT_EQ(cellsOf(place(39.5f, -0.5f)), (Cells{{-1, -1}, {1, 0}, {2, 0}}));
  EXPECT_EQ(cellsOf(place(1000, 1e30f)), (Cells{{-1, -1}}));
  // A box that covers the whole world is in every cell and outside.
  EXPECT_EQ(cellsOf(place(-1, -1, 100, 100)).size(), 13u);
}

TEST_F(GridWorld, MovesTouchOnlyCellsThatChange) {
  ts::Object *a = place(5, 3);
  ts::Object *b = place(8, 3);
  ASSERT_EQ(ids(grid().cellObjects(0, 0)), (std::vector<int>{a->getId(), b->getId()}));
  // Within the cell: the lists are left alone, so the order stays.
  a->setPosition(ts::Vector(6, 4));
  EXPECT_EQ(ids(grid().cellObjects(0, 0)), (std::vector<int>{a->getId(), b->getId()}));
  // Across a boundary: a joins the next column and stays in its first one.
  a->setPosition(ts::Vector(19.5f, 4));
  EXPECT_EQ(cellsOf(a), (Cells{{0, 0}, {1, 0}}));
  EXPECT_EQ(ids(grid().cellObjects(0, 0)), (std::vector<int>{a->getId(), b->getId()}));
  a->setPosition(ts::Vector(50, 20));
  EXPECT_EQ(cellsOf(a), (Cells{{2, 2}}));
  EXPECT_EQ(ids(grid().cellObjects(0, 0)), (std::vector<int>{b->getId()}));
  a->setPosition(ts::Vector(85, 20));
  EXPECT_EQ(cellsOf(a), (Cells{{-1, -1}}));
  a->setPosition(ts::Vector(79.5f, 20));
  EXPECT_EQ(cellsOf(a), (Cells{{-1, -1}, {3, 2}}));
  a->setPosition(ts::Vector(70, 20));
  EXPECT_EQ(cellsOf(a), (Cells{{3, 2}}));
}

TEST_F(GridWorld, CollisionsInCandidateOrderOnceAndNeverSelf) {
  ts::Object *mover = place(30, 10);
  ts::Object *outside = place(-0.5f, 10);             // outside and cell (0, 1)
  ts::Object *spanning = place(19.5f, 10, 1, 1);      // cells (0, 1) and (1, 1)
  ts::Object *lower = place(20, 16.5f);               // cell (1, 2)
  ts::Object *apart = place(5, 12);                    // cell (0, 1)
  ts::Object *touching = place(21, 10.5f, 0.5f, 0.5f);  // cell (1, 1)
  // A tall box at x -1 covers the outside list and cells (0, 1) and (0, 2).
  mover->setBox(box(0, 0, 2, 8));
  ts::ObjectList hits = grid().getCollisions(mover, ts::Vector(-1, 9));
  EXPECT_EQ(ids(hits), (std::vector<int>{outside->getId()}));
  mover->setBox(box(0, 0, 22, 8));
  hits = grid().getCollisions(mover, ts::Vector(-1, 9.5f));
  // Outside list, then (0, 1), (1, 1), (0, 2), (1, 2); spanning is met twice.
  EXPECT_EQ(ids(hits), (std::vector<int>{outside->getId(), spanning->getId(), apart->getId(), touching->getId(),
                                         lower->getId()}));
  // Boxes that only share an edge or a corner collide; boxes apart in one
  // cell do not.
  mover->setBox(box(0, 0, 1, 1));
  hits = grid().getCollisions(mover, ts::Vector(20.5f, 11));
  EXPECT_EQ(ids(hits), (std::vector<int>{spanning->getId(), touching->getId()}));
  hits = grid().getCollisions(mover, ts::Vector(7, 12));
  EXPECT_TRUE(hits.isEmpty());
  // The querying object itself is never reported, wherever it stands.
  hits = grid().getCollisions(mover, mover->getPosition());
  EXPECT_TRUE(hits.isEmpty());
}

TEST_F(GridWorld, ManyHitsAreStillReportedOnce) {
  std::vector<ts::Object *> crowd;
  for (int i = 0; i < 100; ++i) crowd.push_back(place(19.5f + (i % 3) * 0.1f, 7.5f, 1, 1));
  ts::Object *probe = place(60, 20);
  ts::ObjectList hits = grid().getCollisions(probe, ts::Vector(19.8f, 7.8f));
  ASSERT_EQ(hits.getCount(), 100);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(hits[i], crowd[i]);
}

TEST(Grid, UnallocatedGridAndMissingObjectFail) {
  LogCapture log;
  log.start();
  ts::Grid grid;
  ts::Object object;
  EXPECT_EQ(grid.insertObject(&object), -1);
  EXPECT_EQ(grid.removeObject(&object), -1);
  EXPECT_EQ(grid.updatePosition(&object, ts::Vector(2, 2)), -1);
  EXPECT_TRUE(grid.getCollisions(&object, ts::Vector(2, 2)).isEmpty());
  EXPECT_TRUE(log.contains("Grid::insertObject(): Error! grid is NULL"));
  EXPECT_TRUE(log.contains("Grid::removeObject(): Error! grid is NULL"));
  EXPECT_TRUE(log.contains("Grid::updatePosition(): Error! grid is NULL"));
  EXPECT_TRUE(log.contains("Grid::getCollisions(): Error! grid is NULL"));
  ASSERT_EQ(grid.startUp(), 0);
  EXPECT_EQ(grid.getNumCols(), 0);  // the world boundary is still empty
  EXPECT_EQ(grid.insertObject(nullptr), -1);
  EXPECT_EQ(grid.removeObject(nullptr), -1);
  EXPECT_EQ(grid.updatePosition(nullptr, ts::Vector(2, 2)), -1);
  EXPECT_TRUE(grid.getCollisions(nullptr, ts::Vector(2, 2)).isEmpty());
  EXPECT_TRUE(log.contains("Grid::insertObject(): Error! Object is NULL"));
  EXPECT_TRUE(log.contains("Grid::removeObject(): Error! Object is NULL"));
  EXPECT_TRUE(log.contains("Grid::updatePosition(): Error! Object is NULL"));
  EXPECT_TRUE(log.contains("Grid::getCollisions(): Error! Object is NULL"));
  // With no cells everything is outside.
  EXPECT_EQ(grid.insertObject(&object), 0);
  EXPECT_EQ(grid.cellObjects(-1, -1).getCount(), 1);
  EXPECT_EQ(grid.removeObject(&object), 0);
  EXPECT_EQ(grid.cellObjects(-1, -1).getCount(), 0);
}
