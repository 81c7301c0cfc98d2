// The collision grid's size and query order. Cell membership is checked from
// first principles by the scene graph's property test.
#include <vector>

#include <tessera/core/Config.h>
#include <tessera/world/Grid.h>
#include <tessera/world/Object.h>
#include <tessera/world/WorldManager.h>
#include "TestSupport.h"

using Ids = std::vector<int>;

namespace {

std::pair<int, int> gridSize(const ts::Grid &grid) { return {grid.getNumCols(), grid.getNumRows()}; }

Ids ids(const ts::ObjectList &list) {
  Ids result;
  for (int i = 0; i < list.getCount(); ++i) result.push_back(list[i]->getId());
  return result;
}

// An 80 x 24 world with the default 20 x 8 cells: 4 columns and 3 rows.
class GridWorld : public testing_support::WorldFixture {
 protected:
  const ts::Grid &grid() { return world.getSceneGraph().getGrid(); }

  // An object whose world box is (x, y) with extents h x v.
  static ts::Object *place(float x, float y, float h = 0.99f, float v = 0.99f) {
    auto *object = new ts::Object;
    object->setBox(ts::Box(ts::Vector(0, 0), h, v));
    object->setPosition(ts::Vector(x, y));
    return object;
  }
};

}  // namespace

TEST_F(GridWorld, CellsFollowBoundaryAndConfiguredSize) {
  EXPECT_EQ(gridSize(grid()), std::make_pair(4, 3));
  world.setBoundary(ts::Box(ts::Vector(0, 0), 81, 24.5f));  // partial cells count
  // A cell size of zero would divide by zero: the default is used instead.
  ts::Config::getInstance().loadConfig("grid_width:10,grid_height:0,");
  ts::Grid configured;
  ts::Config::getInstance().loadConfig("grid_width:20,grid_height:8,");
  EXPECT_EQ(configured.startUp(), 0);
  EXPECT_EQ(gridSize(configured), std::make_pair(9, 4));
}

TEST_F(GridWorld, CollisionsComeInCandidateOrder) {
  ts::Object *mover = place(30, 10, 22, 8);
  ts::Object *outside = place(-0.5f, 10);               // outside and cell (0, 1)
  ts::Object *spanning = place(19.5f, 10, 1, 1);        // cells (0, 1) and (1, 1)
  ts::Object *lower = place(20, 16.5f);                 // cell (1, 2)
  ts::Object *apart = place(5, 12);                     // cell (0, 1)
  ts::Object *touching = place(21, 10.5f, 0.5f, 0.5f);  // cell (1, 1)
  // Outside list, then (0, 1), (1, 1), (0, 2), (1, 2); spanning is met twice.
  EXPECT_EQ(ids(grid().getCollisions(mover, ts::Vector(-1, 9.5f))),
            (Ids{outside->getId(), spanning->getId(), apart->getId(), touching->getId(), lower->getId()}));
  // Far beyond the grid (no integer cell index would fit) is the outside list.
  ts::Object *far = place(1000, 1e30f);
  EXPECT_EQ(ids(grid().getCollisions(mover, ts::Vector(1000, 1e30f))), Ids{far->getId()});
  // Enough hits to leave the linear duplicate search: still once each, in order.
  Ids crowd;
  for (int i = 0; i < 100; ++i) crowd.push_back(place(59.5f + (i % 3) * 0.1f, 15.5f, 1, 1)->getId());
  EXPECT_EQ(ids(grid().getCollisions(mover, ts::Vector(59.8f, 15.8f))), crowd);
}

// Objects can outlive a stopped world and still call into its grid.
TEST(Grid, UnallocatedGridRefusesObjects) {
  testing_support::StartedLog log;
  ts::Grid grid;
  ts::Object object;
  EXPECT_EQ(grid.insertObject(&object), -1);
  EXPECT_TRUE(grid.getCollisions(&object, ts::Vector(2, 2)).isEmpty());
  // The world boundary is still empty: no cells, so everything is outside.
  ASSERT_EQ(grid.startUp(), 0);
  EXPECT_EQ(grid.insertObject(&object), 0);
  EXPECT_EQ(grid.cellObjects(-1, -1).getCount(), 1);
}
