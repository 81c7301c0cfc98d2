#include "Grid.h"

#include <climits>
#include <cmath>
#include <new>
#include <unordered_set>
#include <vector>

#include "Config.h"
#include "LogManager.h"
#include "Object.h"
#include "WorldManager.h"
#include "utility.h"

namespace ts {

namespace {

const int DEFAULT_CELL_WIDTH = 20;
const int DEFAULT_CELL_HEIGHT = 8;
// At most this many columns and rows: a huge boundary would otherwise ask
// for billions of cells. Objects beyond the last column or row are kept in
// the outside list, so queries there stay correct, only slower.
const int MAX_CELLS_PER_AXIS = 512;

// A cell size of zero or less would divide by zero; fall back to the default.
int positiveCellSize(int configured, int fallback, const char *name) {
  if (configured > 0) return configured;
  LogManager::getInstance().writeLog("Grid::Grid(): Warning! %s %d not positive, using %d.", name, configured,
                                     fallback);
  return fallback;
}

// floor(value) as an int, kept within [low, high] so that objects far away
// (or an enormous boundary) never overflow the conversion.
int clampedFloor(float value, int low, int high) {
  float f = std::floor(value);
  if (f <= static_cast<float>(low)) return low;
  if (f >= static_cast<float>(high)) return high;
  return static_cast<int>(f);
}

// Number of cells needed to cover extent; 0 for an empty or invalid extent.
int cellCount(float extent, int cell_size) {
  float count = std::ceil(extent / static_cast<float>(cell_size));
  if (!(count > 0)) return 0;
  if (count >= static_cast<float>(INT_MAX / 2)) return INT_MAX / 2;
  return static_cast<int>(count);
}

int capped(int count, bool &was_capped) {
  if (count <= MAX_CELLS_PER_AXIS) return count;
  was_capped = true;
  return MAX_CELLS_PER_AXIS;
}

// boxIntersectsBox(getWorldBox(object), box), written out so that the hot
// loop of a collision query makes no calls; the arithmetic is the same.
inline bool worldBoxMeets(const Object *object, const Box &box) {
  const Box own = object->getBox();
  const Vector position = object->getPosition();
  const float ax = own.getCorner().getX() + position.getX();
  const float ay = own.getCorner().getY() + position.getY();
  const float bx = box.getCorner().getX();
  const float by = box.getCorner().getY();
  const bool x_overlap = (bx <= ax && ax <= bx + box.getHorizontal()) || (ax <= bx && bx <= ax + own.getHorizontal());
  const bool y_overlap = (by <= ay && ay <= by + box.getVertical()) || (ay <= by && by <= ay + own.getVertical());
  return x_overlap && y_overlap;
}

}  // namespace

Grid::Grid()
    : m_cells(nullptr),
      m_num_cols(0),
      m_num_rows(0),
      m_cell_width(positiveCellSize(Config::getInstance().getGridWidth(), DEFAULT_CELL_WIDTH, "grid width")),
      m_cell_height(positiveCellSize(Config::getInstance().getGridHeight(), DEFAULT_CELL_HEIGHT, "grid height")) {}

Grid::~Grid() { release(); }

void Grid::release() {
  if (!m_cells) return;
  for (int row = 0; row < m_num_rows; ++row) delete[] m_cells[row];
  delete[] m_cells;
  m_cells = nullptr;
}

int Grid::startUp() {
  LogManager &log = LogManager::getInstance();
  if (m_cells) {
    log.writeLog("Grid::startUp(): Warning! Grid allocated. Not proceeding.");
    return -1;
  }
  Box boundary = WorldManager::getInstance().getBoundary();
  bool was_capped = false;
  m_num_cols = capped(cellCount(boundary.getHorizontal(), m_cell_width), was_capped);
  m_num_rows = capped(cellCount(boundary.getVertical(), m_cell_height), was_capped);
  log.writeLog(5, "Grid::startUp(): m_num_cols %d, m_num_rows %d", m_num_cols, m_num_rows);
  if (was_capped)
    log.writeLog("Grid::startUp(): Warning! World too large, grid limited to %d x %d cells.", m_num_cols,
                 m_num_rows);
  m_cells = new (std::nothrow) ObjectList *[static_cast<size_t>(m_num_rows)];
  if (!m_cells) {
    log.writeLog("Grid::startUp(): Error! Unable to allocate %d grid rows.", m_num_rows);
    return -1;
  }
  for (int row = 0; row < m_num_rows; ++row) m_cells[row] = nullptr;
  for (int row = 0; row < m_num_rows; ++row) {
    m_cells[row] = new (std::nothrow) ObjectList[static_cast<size_t>(m_num_cols)];
    if (!m_cells[row]) {
      log.writeLog("Grid::startUp(): Error! Unable to allocate columns.");
      // A grid with missing rows cannot be used: release it whole.
      release();
      return -1;
    }
  }
  m_outside.clear();
  return 0;
}

void Grid::shutDown() {
  release();
  m_outside.clear();
}

Grid::Cells Grid::cellsAt(const Object *object, Vector where) const {
  Box box = getWorldBox(object, where);
  float left = box.getCorner().getX();
  float top = box.getCorner().getY();
  float right = left + box.getHorizontal();
  float bottom = top + box.getVertical();
  Cells cells{true, 0, -1, 0, -1};
  // A box with a coordinate that is not a number lies nowhere in the grid.
  if (std::isnan(left) || std::isnan(top) || std::isnan(right) || std::isnan(bottom)) return cells;
  const float cell_width = static_cast<float>(m_cell_width);
  const float cell_height = static_cast<float>(m_cell_height);
  cells.first_col = clampedFloor(left / cell_width, -1, m_num_cols);
  cells.first_row = clampedFloor(top / cell_height, -1, m_num_rows);
  cells.last_col = clampedFloor(right / cell_width, -1, m_num_cols);
  cells.last_row = clampedFloor(bottom / cell_height, -1, m_num_rows);
  cells.outside = false;
  if (cells.first_row < 0) {
    cells.first_row = 0;
    cells.outside = true;
  }
  if (cells.first_col < 0) {
    cells.first_col = 0;
    cells.outside = true;
  }
  if (cells.last_row >= m_num_rows) {
    cells.last_row = m_num_rows - 1;
    cells.outside = true;
  }
  if (cells.last_col >= m_num_cols) {
    cells.last_col = m_num_cols - 1;
    cells.outside = true;
  }
  return cells;
}

int Grid::insertObject(Object *object) {
  LogManager &log = LogManager::getInstance();
  if (!m_cells) {
    log.writeLog("Grid::insertObject(): Error! grid is NULL");
    return -1;
  }
  if (!object) {
    log.writeLog("Grid::insertObject(): Error! Object is NULL");
    return -1;
  }
  Cells cells = cellsAt(object, object->getPosition());
  if (cells.outside) m_outside.insert(object);
  for (int row = cells.first_row; row <= cells.last_row; ++row)
    for (int col = cells.first_col; col <= cells.last_col; ++col) m_cells[row][col].insert(object);
  return 0;
}

int Grid::removeObject(Object *object) {
  LogManager &log = LogManager::getInstance();
  if (!m_cells) {
    log.writeLog("Grid::removeObject(): Error! grid is NULL");
    return -1;
  }
  if (!object) {
    log.writeLog("Grid::removeObject(): Error! Object is NULL");
    return -1;
  }
  if (!object->isSolid() || !object->isActive()) return 0;
  Cells cells = cellsAt(object, object->getPosition());
  bool missing = cells.outside && m_outside.remove(object) != 0;
  for (int row = cells.first_row; row <= cells.last_row; ++row)
    for (int col = cells.first_col; col <= cells.last_col; ++col)
      if (m_cells[row][col].remove(object) != 0) missing = true;
  // The object was not where its box says: it reached the grid some other
  // way. Sweep every cell so that no list keeps a pointer to it.
  if (missing) sweep(object);
  return 0;
}

void Grid::sweep(Object *object) {
  while (m_outside.remove(object) == 0) {
  }
  for (int row = 0; row < m_num_rows; ++row)
    for (int col = 0; col < m_num_cols; ++col)
      while (m_cells[row][col].remove(object) == 0) {
      }
}

int Grid::updatePosition(Object *object, Vector where) {
  LogManager &log = LogManager::getInstance();
  if (!m_cells) {
    log.writeLog("Grid::updatePosition(): Error! grid is NULL");
    return -1;
  }
  if (!object) {
    log.writeLog("Grid::updatePosition(): Error! Object is NULL");
    return -1;
  }
  Cells old_cells = cellsAt(object, object->getPosition());
  Cells new_cells = cellsAt(object, where);
  if (old_cells.outside && !new_cells.outside) m_outside.remove(object);
  for (int row = old_cells.first_row; row <= old_cells.last_row; ++row) {
    for (int col = old_cells.first_col; col <= old_cells.last_col; ++col) {
      if (new_cells.holds(col, row)) continue;
      if (!inRange(col, row)) {
        log.writeLog("Error! remove Cell x,y out of bounds (%d, %d).", col, row);
        continue;
      }
      m_cells[row][col].remove(object);
    }
  }
  if (new_cells.outside && !old_cells.outside) m_outside.insert(object);
  for (int row = new_cells.first_row; row <= new_cells.last_row; ++row) {
    for (int col = new_cells.first_col; col <= new_cells.last_col; ++col) {
      if (old_cells.holds(col, row)) continue;
      if (!inRange(col, row)) {
        log.writeLog("Error! insert Cell x,y out of bounds [%d, %d].", col, row);
        continue;
      }
      m_cells[row][col].insert(object);
    }
  }
  return 0;
}

ObjectList Grid::getCollisions(const Object *object, Vector where) const {
  LogManager &log = LogManager::getInstance();
  ObjectList result;
  if (!m_cells) {
    log.writeLog("Grid::getCollisions(): Error! grid is NULL");
    return result;
  }
  if (!object) {
    log.writeLog("Grid::getCollisions(): Error! Object is NULL");
    return result;
  }
  const Box box = getWorldBox(object, where);
  const Cells cells = cellsAt(object, where);
  // An object covering several of the cells is met once per cell; only the
  // first meeting counts. Hits are few, so a linear search suffices until
  // the list grows, then a hash set takes over.
  std::vector<Object *> hits;
  std::unordered_set<const Object *> seen;
  const size_t linear_limit = 32;
  auto consider = [&](const ObjectList &list) {
    for (int i = 0; i < list.getCount(); ++i) {
      Object *candidate = list[i];
      if (candidate == object || !worldBoxMeets(candidate, box)) continue;
      if (hits.size() < linear_limit) {
        bool known = false;
        for (const Object *hit : hits) known = known || hit == candidate;
        if (known) continue;
      } else {
        if (seen.empty()) seen.insert(hits.begin(), hits.end());
        if (!seen.insert(candidate).second) continue;
      }
      hits.push_back(candidate);
    }
  };
  if (cells.outside) consider(m_outside);
  for (int row = cells.first_row; row <= cells.last_row; ++row)
    for (int col = cells.first_col; col <= cells.last_col; ++col) consider(m_cells[row][col]);
  for (Object *hit : hits) result.insert(hit);
  return result;
}

ObjectList Grid::cellObjects(int col, int row) const {
  if (col == -1 && row == -1) return m_outside;
  if (!m_cells || !inRange(col, row)) return ObjectList();
  return m_cells[row][col];
}

}  // namespace ts
