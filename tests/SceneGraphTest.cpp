// The scene graph's sets kept current by object setters: active and
// inactive, visible by altitude, solid and the grid, objects by type. A
// random sequence of setter calls checks every invariant after each step.
#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "GameManager.h"
#include "Object.h"
#include "TestSupport.h"
#include "WorldManager.h"
#include "utility.h"

using testing_support::LogCapture;

namespace {

const float WORLD_WIDTH = 80;
const float WORLD_HEIGHT = 24;

class SceneGraphTest : public ::testing::Test {
 protected:
  void SetUp() override {
    log.start();
    ASSERT_EQ(world.startUp(), 0);
    world.setBoundary(ts::Box(ts::Vector(0, 0), WORLD_WIDTH, WORLD_HEIGHT));
  }
  void TearDown() override {
    ts::GameManager::getInstance().setGameOver(false);
    world.shutDown();
  }

  ts::SceneGraph &graph() { return world.getSceneGraph(); }

  LogCapture log;
  ts::WorldManager &world = ts::WorldManager::getInstance();
};

int occurrences(const ts::ObjectList &list, const ts::Object *object) {
  int n = 0;
  for (int i = 0; i < list.getCount(); ++i) n += list[i] == object;
  return n;
}

// The grid cells an object's box covers, computed here from first
// principles: (-1, -1) for beyond the grid, then row-major.
std::set<std::pair<int, int>> expectedCells(const ts::Object *object, const ts::Grid &grid) {
  ts::Box box = object->getBox();
  float left = box.getCorner().getX() + object->getPosition().getX();
  float top = box.getCorner().getY() + object->getPosition().getY();
  float right = left + box.getHorizontal();
  float bottom = top + box.getVertical();
  std::set<std::pair<int, int>> cells;
  for (int row = 0; row < grid.getNumRows(); ++row) {
    for (int col = 0; col < grid.getNumCols(); ++col) {
      float cell_left = static_cast<float>(col * grid.getCellWidth());
      float cell_top = static_cast<float>(row * grid.getCellHeight());
      // Cell (col, row) covers [left, left + width) on each axis; the box's
      // edges are inclusive.
      bool x = left < cell_left + grid.getCellWidth() && right >= cell_left;
      bool y = top < cell_top + grid.getCellHeight() && bottom >= cell_top;
      if (x && y) cells.emplace(col, row);
    }
  }
  float grid_right = static_cast<float>(grid.getNumCols() * grid.getCellWidth());
  float grid_bottom = static_cast<float>(grid.getNumRows() * grid.getCellHeight());
  if (left < 0 || top < 0 || right >= grid_right || bottom >= grid_bottom) cells.emplace(-1, -1);
  return cells;
}

// Checks every invariant of the scene graph for the objects the world knows,
// and that its sets hold nothing else. Returns the first broken rule.
std::string brokenInvariant(ts::SceneGraph &graph, const std::vector<ts::Object *> &objects,
                            const std::vector<std::string> &types) {
  ts::ObjectList active = graph.activeObjects();
  ts::ObjectList inactive = graph.inactiveObjects();
  ts::ObjectList solid = graph.solidObjects();
  std::vector<ts::ObjectList> visible;
  for (int altitude = 0; altitude <= ts::MAX_ALTITUDE; ++altitude) visible.push_back(graph.visibleObjects(altitude));
  // The listed types (which may have no objects left) and every type in use.
  std::map<std::string, ts::ObjectList> by_type;
  for (const std::string &type : types) by_type[type] = graph.objectsOfType(type);
  for (const ts::Object *o : objects) by_type[o->getType()] = graph.objectsOfType(o->getType());
  const ts::Grid &grid = graph.getGrid();

  size_t active_count = 0, solid_count = 0, typed_count = 0;
  std::vector<size_t> visible_count(ts::MAX_ALTITUDE + 1, 0);
  std::map<std::pair<int, int>, int> cell_count;
  for (const ts::Object *o : objects) {
    std::string who = "object " + std::to_string(o->getId()) + ": ";
    bool is_active = o->isActive();
    if (occurrences(active, o) != (is_active ? 1 : 0)) return who + "active list";
    if (occurrences(inactive, o) != (is_active ? 0 : 1)) return who + "inactive list";
    for (const auto &entry : by_type) {
      int expected = is_active && entry.first == o->getType() ? 1 : 0;
      if (occurrences(entry.second, o) != expected) return who + "type list " + entry.first;
    }
    bool in_solid = is_active && o->isSolid();
    if (occurrences(solid, o) != (in_solid ? 1 : 0)) return who + "solid list";
    for (int altitude = 0; altitude <= ts::MAX_ALTITUDE; ++altitude) {
      bool expected = is_active && o->isVisible() && o->getAltitude() == altitude;
      if (occurrences(visible[altitude], o) != (expected ? 1 : 0)) return who + "visible list " + std::to_string(altitude);
      visible_count[altitude] += expected;
    }
    std::set<std::pair<int, int>> cells;
    if (in_solid) cells = expectedCells(o, grid);
    for (const auto &cell : cells) ++cell_count[cell];
    for (int row = -1; row < grid.getNumRows(); ++row) {
      for (int col = -1; col < grid.getNumCols(); ++col) {
        if ((row == -1) != (col == -1)) continue;
        int expected = cells.count({col, row}) ? 1 : 0;
        if (occurrences(grid.cellObjects(col, row), o) != expected)
          return who + "grid cell " + std::to_string(col) + "," + std::to_string(row);
      }
    }
    active_count += is_active;
    solid_count += in_solid;
    typed_count += is_active;
  }
  // Collision queries agree with testing every pair (so the grid's record of
  // each object's extent is current), and report each object once.
  for (const ts::Object *o : objects) {
    std::multiset<const ts::Object *> reported, expected;
    ts::ObjectList hits = graph.getCollisions(o, o->getPosition());
    for (int i = 0; i < hits.getCount(); ++i) reported.insert(hits[i]);
    for (const ts::Object *other : objects)
      if (other != o && other->isActive() && other->isSolid() &&
          ts::boxIntersectsBox(ts::getWorldBox(o), ts::getWorldBox(other)))
        expected.insert(other);
    if (reported != expected) return "object " + std::to_string(o->getId()) + ": collisions";
  }
  // No stray entries: every set holds exactly the objects accounted for.
  if (static_cast<size_t>(active.getCount()) != active_count) return "stray active entry";
  if (static_cast<size_t>(inactive.getCount()) != objects.size() - active_count) return "stray inactive entry";
  if (static_cast<size_t>(solid.getCount()) != solid_count) return "stray solid entry";
  size_t typed = 0;
  for (const auto &entry : by_type) typed += static_cast<size_t>(entry.second.getCount());
  if (typed != typed_count) return "stray type entry";
  for (int altitude = 0; altitude <= ts::MAX_ALTITUDE; ++altitude)
    if (static_cast<size_t>(visible[altitude].getCount()) != visible_count[altitude]) return "stray visible entry";
  for (int row = -1; row < grid.getNumRows(); ++row)
    for (int col = -1; col < grid.getNumCols(); ++col)
      if ((row == -1) == (col == -1) && grid.cellObjects(col, row).getCount() != cell_count[{col, row}])
        return "stray grid entry " + std::to_string(col) + "," + std::to_string(row);
  return "";
}

}  // namespace

TEST_F(SceneGraphTest, InactiveObjectsJoinEverySetWhenActivated) {
  auto *o = new ts::Object;
  o->setType("Rock");
  o->setActive(false);
  EXPECT_EQ(occurrences(graph().inactiveObjects(), o), 1);
  EXPECT_EQ(graph().activeObjects().getCount(), 0);
  EXPECT_EQ(graph().objectsOfType("Rock").getCount(), 0);
  EXPECT_EQ(graph().visibleObjects(2).getCount(), 0);
  EXPECT_EQ(graph().solidObjects().getCount(), 0);
  // Changes while inactive touch no set but take effect on activation.
  o->setAltitude(4);
  o->setType("Stone");
  o->setPosition(ts::Vector(30, 10));
  for (const std::string &line : log.messages()) EXPECT_EQ(line.find("SceneGraph::updateType()"), std::string::npos);
  EXPECT_EQ(o->setActive(true), 0);
  EXPECT_EQ(graph().inactiveObjects().getCount(), 0);
  EXPECT_EQ(occurrences(graph().objectsOfType("Stone"), o), 1);
  EXPECT_EQ(occurrences(graph().visibleObjects(4), o), 1);
  EXPECT_EQ(occurrences(graph().solidObjects(), o), 1);
  EXPECT_EQ(occurrences(graph().getGrid().cellObjects(1, 1), o), 1);
  EXPECT_EQ(brokenInvariant(graph(), {o}, {"Rock", "Stone"}), "");
}

TEST_F(SceneGraphTest, VisibleListsFollowAltitudeAndVisibility) {
  auto *o = new ts::Object;
  EXPECT_EQ(occurrences(graph().visibleObjects(2), o), 1);
  EXPECT_TRUE(graph().visibleObjects(5).isEmpty());
  EXPECT_TRUE(log.contains("SceneGraph::visibleObjects(): Warning! altitude 5 not in [0,4]."));
  EXPECT_EQ(o->setAltitude(4), 0);
  EXPECT_TRUE(graph().visibleObjects(2).isEmpty());
  EXPECT_EQ(occurrences(graph().visibleObjects(4), o), 1);
  o->setVisible(false);
  EXPECT_TRUE(graph().visibleObjects(4).isEmpty());
  EXPECT_EQ(o->setAltitude(1), 0);
  for (int altitude = 0; altitude <= ts::MAX_ALTITUDE; ++altitude)
    EXPECT_TRUE(graph().visibleObjects(altitude).isEmpty());
  o->setVisible(true);
  EXPECT_EQ(occurrences(graph().visibleObjects(1), o), 1);
  EXPECT_EQ(graph().updateAltitude(o, 7), -1);
  EXPECT_TRUE(log.contains("SceneGraph::updateAltitude(): New altitude 7 not in [0,4]!  No update."));
}

TEST_F(SceneGraphTest, ObjectsOfTypeListsTheActiveOnes) {
  auto *a = new ts::Object;
  auto *b = new ts::Object;
  auto *c = new ts::Object;
  for (ts::Object *o : {a, b, c}) o->setType("Note");
  b->setActive(false);
  ts::ObjectList notes = world.objectsOfType("Note");
  ASSERT_EQ(notes.getCount(), 2);
  EXPECT_EQ(notes[0], a);
  EXPECT_EQ(notes[1], c);
  EXPECT_TRUE(world.objectsOfType("Nothing").isEmpty());
  a->setType("Star");
  EXPECT_EQ(world.objectsOfType("Note").getCount(), 1);
  EXPECT_EQ(world.objectsOfType("Star").getCount(), 1);
}

TEST_F(SceneGraphTest, FailuresAreReportedUnlessTheGameIsOver) {
  auto *o = new ts::Object;
  o->setType("Ghost");
  // A second scene graph that does not hold o: every update finds it missing,
  // while the world's own sets stay intact.
  ts::SceneGraph other;
  ASSERT_EQ(other.startUp(), 0);
  auto line = [&](const char *format) {
    char text[160];
    std::snprintf(text, sizeof text, format, o->getId(), static_cast<void *>(o));
    return std::string(text);
  };
  EXPECT_EQ(other.removeObject(o), -1);
  EXPECT_TRUE(log.contains(line("SceneGraph::removeObject(): Error removing Object (id %d)! Pointer is %p.")));
  EXPECT_EQ(other.updateVisible(o, false), -1);
  EXPECT_TRUE(log.contains("SceneGraph::updateVisible(): unable to remove visible object (Ghost)"));
  EXPECT_EQ(other.updateAltitude(o, 3), -1);
  EXPECT_TRUE(log.contains("SceneGraph::updateAltitude(): remove from old altitude (2) failed!"));
  EXPECT_TRUE(log.contains(line("\tObject: type Ghost, id %d, p %p")));
  EXPECT_EQ(other.updateType(o, "Spook"), -1);
  EXPECT_TRUE(log.contains(line("SceneGraph::updateType(): Error! Unable to remove Object (%d) type Ghost")));
  EXPECT_EQ(other.updateActive(o, false), -1);
  EXPECT_TRUE(log.contains("SceneGraph::updateActive(): remove object (Ghost) failed for objects!"));
  EXPECT_TRUE(log.contains("SceneGraph::updateActive(): remove visible object (Ghost) failed for visible_objects!"));
  EXPECT_TRUE(log.contains("SceneGraph::updateActive(): remove object (Ghost) failed for solid_objects!"));

  ts::GameManager::getInstance().setGameOver(true);
  size_t lines = log.messages().size();
  EXPECT_EQ(other.updateVisible(o, false), 0);
  EXPECT_EQ(other.updateAltitude(o, 3), 0);
  EXPECT_EQ(other.updateType(o, "Spook"), 0);
  EXPECT_EQ(log.messages().size(), lines);
  ts::GameManager::getInstance().setGameOver(false);
  EXPECT_EQ(brokenInvariant(graph(), {o}, {"Ghost", "Spook"}), "");
}

// Changing the boundary rebuilds the grid; objects already in the world are
// filed again, so they still collide and are still found by type.
TEST_F(SceneGraphTest, NewBoundaryKeepsObjectsIndexed) {
  auto *a = new ts::Object;
  a->setType("Wall");
  a->setPosition(ts::Vector(100, 50));
  world.setBoundary(ts::Box(ts::Vector(0, 0), 200, 100));
  EXPECT_EQ(graph().getGrid().getNumCols(), 10);
  EXPECT_EQ(occurrences(world.objectsOfType("Wall"), a), 1);
  EXPECT_EQ(occurrences(graph().getGrid().cellObjects(5, 6), a), 1);
  auto *b = new ts::Object;
  EXPECT_EQ(world.getCollisions(b, ts::Vector(100.5f, 50.5f)).getCount(), 1);
  EXPECT_EQ(brokenInvariant(graph(), {a, b}, {"Wall"}), "");
}

// Random setter calls on many objects, with objects created and destroyed
// along the way; every invariant is checked after every step.
TEST_F(SceneGraphTest, InvariantsHoldAfterRandomSetterSequences) {
  const std::vector<std::string> types = {"(Undefined)", "Note", "Star", "Wall"};
  std::mt19937 random(20261206);
  auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  auto real = [&](float low, float high) { return std::uniform_real_distribution<float>(low, high)(random); };
  std::vector<ts::Object *> objects;
  for (int i = 0; i < 40; ++i) objects.push_back(new ts::Object);
  ASSERT_EQ(brokenInvariant(graph(), objects, types), "");
  for (int step = 0; step < 4000; ++step) {
    ts::Object *o = objects[static_cast<size_t>(pick(0, static_cast<int>(objects.size()) - 1))];
    int action = pick(0, 9);
    std::string what;
    switch (action) {
      case 0:
        what = "active";
        o->setActive(pick(0, 1) == 1);
        break;
      case 1:
        what = "visible";
        o->setVisible(pick(0, 1) == 1);
        break;
      case 2:
        what = "altitude";
        o->setAltitude(pick(-1, 5));
        break;
      case 3:
        what = "solidness";
        o->setSolidness(static_cast<ts::Solidness>(pick(0, 2)));
        break;
      case 4:
        what = "type";
        o->setType(types[static_cast<size_t>(pick(0, 3))]);
        break;
      case 5:
      case 6:
        what = "position";
        // Often a small step, sometimes a jump anywhere, even off the world.
        if (pick(0, 1))
          o->setPosition(o->getPosition() + ts::Vector(real(-3, 3), real(-3, 3)));
        else
          o->setPosition(ts::Vector(real(-10, 90), real(-10, 34)));
        break;
      case 7:
        what = "box";
        o->setBox(ts::Box(ts::Vector(real(-2, 0), real(-2, 0)), real(0, 1) < 0.2f ? real(5, 50) : real(0.5f, 3),
                          real(0, 3)));
        break;
      case 8: {
        what = "replace";
        objects.erase(std::find(objects.begin(), objects.end(), o));
        delete o;
        auto *fresh = new ts::Object;
        fresh->setPosition(ts::Vector(real(0, 80), real(0, 24)));
        if (pick(0, 3) == 0) fresh->setActive(false);
        objects.push_back(fresh);
        break;
      }
      default:
        what = "velocity and update";
        o->setVelocity(ts::Vector(real(-2, 2), real(-2, 2)));
        world.update();
        break;
    }
    std::string broken = brokenInvariant(graph(), objects, types);
    ASSERT_EQ(broken, "") << "step " << step << " after " << what;
  }
}
