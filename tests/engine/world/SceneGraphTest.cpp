// The scene graph's sets (active, visible by altitude, solid, grid cells, by
// type) stay current through random sequences of setter calls.
#include <functional>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <tessera/core/Geometry.h>
#include <tessera/game/GameManager.h>
#include <tessera/world/Object.h>
#include <tessera/world/WorldManager.h>
#include "TestSupport.h"

namespace {

const std::vector<std::string> TYPES = {"(Undefined)", "Note", "Star", "Wall"};
using Sets = std::map<std::string, std::multiset<const ts::Object *>>;

class SceneGraphTest : public testing_support::WorldFixture {
 protected:
  void TearDown() override {
    ts::GameManager::getInstance().setGameOver(false);
    WorldFixture::TearDown();
  }
};

std::string cellName(int col, int row) { return "cell " + std::to_string(col) + "," + std::to_string(row); }

// The grid cells an object's box covers, from first principles: cell (c, r)
// spans [c * width, (c + 1) * width) on x (likewise y) and the box's edges are
// inclusive; (-1, -1) is beyond the grid.
std::set<std::pair<int, int>> expectedCells(const ts::Object *object, const ts::Grid &grid) {
  const ts::Box box = ts::getWorldBox(object);
  const float left = box.getCorner().getX(), right = left + box.getHorizontal();
  const float top = box.getCorner().getY(), bottom = top + box.getVertical();
  const float width = static_cast<float>(grid.getCellWidth()), height = static_cast<float>(grid.getCellHeight());
  std::set<std::pair<int, int>> cells;
  for (int row = 0; row < grid.getNumRows(); ++row)
    for (int col = 0; col < grid.getNumCols(); ++col)
      if (left < (col + 1) * width && right >= col * width && top < (row + 1) * height && bottom >= row * height)
        cells.emplace(col, row);
  if (left < 0 || top < 0 || right >= grid.getNumCols() * width || bottom >= grid.getNumRows() * height)
    cells.emplace(-1, -1);
  return cells;
}

// The first set of the scene graph that holds other objects (or an object
// more often) than the objects' states call for, or whose collision queries
// disagree with testing every pair; "" if every invariant holds.
std::string brokenInvariant(ts::SceneGraph &graph, const std::vector<ts::Object *> &objects) {
  const ts::Grid &grid = graph.getGrid();
  Sets actual, expected;
  auto add = [&](const std::string &name, const ts::ObjectList &list) {
    for (int i = 0; i < list.getCount(); ++i) actual[name].insert(list[i]);
  };
  add("active", graph.activeObjects());
  add("inactive", graph.inactiveObjects());
  add("solid", graph.solidObjects());
  for (int altitude = 0; altitude <= ts::MAX_ALTITUDE; ++altitude)
    add("visible " + std::to_string(altitude), graph.visibleObjects(altitude));
  for (const std::string &type : TYPES) add("type " + type, graph.objectsOfType(type));
  for (int row = -1; row < grid.getNumRows(); ++row)
    for (int col = -1; col < grid.getNumCols(); ++col)
      if ((row < 0) == (col < 0)) add(cellName(col, row), grid.cellObjects(col, row));
  for (const ts::Object *o : objects) {
    expected[o->isActive() ? "active" : "inactive"].insert(o);
    if (!o->isActive()) continue;
    expected["type " + o->getType()].insert(o);
    if (o->isVisible()) expected["visible " + std::to_string(o->getAltitude())].insert(o);
    if (!o->isSolid()) continue;
    expected["solid"].insert(o);
    for (const auto &cell : expectedCells(o, grid)) expected[cellName(cell.first, cell.second)].insert(o);
  }
  for (const Sets *sets : {&actual, &expected})
    for (const auto &entry : *sets)
      if (actual[entry.first] != expected[entry.first]) return entry.first;
  for (const ts::Object *o : objects) {
    std::multiset<const ts::Object *> reported, meeting;
    ts::ObjectList hits = graph.getCollisions(o, o->getPosition());
    for (int i = 0; i < hits.getCount(); ++i) reported.insert(hits[i]);
    for (const ts::Object *other : expected["solid"])
      if (other != o && ts::boxIntersectsBox(ts::getWorldBox(o), ts::getWorldBox(other))) meeting.insert(other);
    if (reported != meeting) return "collisions of object " + std::to_string(o->getId());
  }
  return "";
}

}  // namespace

// Random setter calls on many objects, with objects replaced, the world
// updated and its boundary changed along the way; every invariant is checked
// after every step. Jumps and boxes use half units, so that box edges often
// fall exactly on cell edges and the world's edges.
TEST_F(SceneGraphTest, InvariantsHoldAfterRandomSetterSequences) {
  std::mt19937 random(20261206);
  auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  auto halves = [&](int low, int high) { return static_cast<float>(pick(low, high)) * 0.5f; };
  std::vector<ts::Object *> objects;
  for (int i = 0; i < 40; ++i) objects.push_back(new ts::Object);
  size_t index = 0;
  auto coin = [&] { return pick(0, 1) == 1; };
  const std::function<void(ts::Object *)> actions[] = {
      [&](ts::Object *o) { o->setActive(coin()); },
      [&](ts::Object *o) { o->setVisible(coin()); },
      [&](ts::Object *o) { o->setAltitude(pick(-1, 5)); },
      [&](ts::Object *o) { o->setSolidness(static_cast<ts::Solidness>(pick(0, 2))); },
      [&](ts::Object *o) { o->setType(TYPES[static_cast<size_t>(pick(0, 3))]); },
      [&](ts::Object *o) { o->setPosition(o->getPosition() + ts::Vector(halves(-6, 6), halves(-6, 6))); },
      [&](ts::Object *o) { o->setPosition(ts::Vector(halves(-20, 180), halves(-20, 68))); },  // even off the world
      [&](ts::Object *o) {
        const float width = pick(0, 4) ? halves(1, 6) : halves(10, 100);
        o->setBox(ts::Box(ts::Vector(halves(-4, 0), halves(-4, 0)), width, halves(0, 6)));
      },
      [&](ts::Object *o) {  // replaced by a new object, sometimes inactive
        delete o;
        objects[index] = new ts::Object;
        objects[index]->setPosition(ts::Vector(halves(0, 160), halves(0, 48)));
        if (pick(0, 3) == 0) objects[index]->setActive(false);
      },
      [&](ts::Object *o) {
        o->setVelocity(ts::Vector(halves(-4, 4), halves(-4, 4)));
        world.update();
      },
  };
  for (int step = 0; step < 4000; ++step) {
    index = static_cast<size_t>(pick(0, static_cast<int>(objects.size()) - 1));
    const int action = pick(0, 9);
    actions[action](objects[index]);
    // Halfway, a new boundary rebuilds the grid: every object must be filed again.
    if (step == 2000) world.setBoundary(ts::Box(ts::Vector(0, 0), 200, 100));
    ASSERT_EQ(brokenInvariant(world.getSceneGraph(), objects), "") << "step " << step << " after action " << action;
  }
  // No update found an entry missing or refused a change on the way.
  for (const std::string &line : log.messages())
    EXPECT_TRUE(line.find("SceneGraph::") == std::string::npos && line.find("Grid::") == std::string::npos) << line;
}

// A scene graph that does not hold the object finds it missing in every
// update and says so, unless the game is over; the world's sets stay intact.
TEST_F(SceneGraphTest, MissingEntriesAreReportedUnlessTheGameIsOver) {
  auto *o = new ts::Object;
  ts::SceneGraph other;
  ASSERT_EQ(other.startUp(), 0);
  auto updates = [&] {
    return std::vector<int>{other.updateVisible(o, false), other.updateAltitude(o, 3), other.updateType(o, "Star")};
  };
  EXPECT_EQ(updates(), std::vector<int>(3, -1));
  EXPECT_TRUE(log.contains("SceneGraph::updateVisible(): unable to remove visible object ((Undefined))"));
  ts::GameManager::getInstance().setGameOver(true);
  const size_t lines = log.messages().size();
  EXPECT_EQ(updates(), std::vector<int>(3, 0));
  other.updateActive(o, false);
  EXPECT_EQ(log.messages().size(), lines);
  EXPECT_TRUE(world.getSceneGraph().visibleObjects(5).isEmpty());  // refused, not indexed
  EXPECT_EQ(brokenInvariant(world.getSceneGraph(), {o}), "");
}
