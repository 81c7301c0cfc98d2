#include <tessera/world/Grid.h>

#include <climits>
#include <cmath>
#include <new>
#include <unordered_set>
#include <vector>

#include <tessera/core/Config.h>
#include <tessera/core/Geometry.h>
#include <tessera/core/LogManager.h>
#include <tessera/world/Object.h>
#include <tessera/world/WorldManager.h>

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

// boxIntersectsBox(a, b), written out so that the hot loop of a collision
// query makes no calls; the arithmetic is the same.
inline bool boxesMeet(const Box &a, const Box &b) {
  const float ax = a.getCorner().getX(), ay = a.getCorner().getY();
  const float bx = b.getCorner().getX(), by = b.getCorner().getY();
  const bool x_overlap = (bx <= ax && ax <= bx + b.getHorizontal()) || (ax <= bx && bx <= ax + a.getHorizontal());
  const bool y_overlap = (by <= ay && ay <= by + b.getVertical()) || (ay <= by && by <= ay + a.getVertical());
  return x_overlap && y_overlap;
}

}  // namespace

Grid::Grid()
    : m_allocated(false),
      m_num_cols(0),
      m_num_rows(0),
      m_cell_width(positiveCellSize(Config::getInstance().getGridWidth(), DEFAULT_CELL_WIDTH, "grid width")),
      m_cell_height(positiveCellSize(Config::getInstance().getGridHeight(), DEFAULT_CELL_HEIGHT, "grid height")) {}

Grid::~Grid() { release(); }

void Grid::Cell::append(Object *object, const Box &box) {
  objects.push_back(object);
  boxes.push_back(box);
}

bool Grid::Cell::drop(Object *object) {
  for (size_t i = 0; i < objects.size(); ++i) {
    if (objects[i] != object) continue;
    objects.erase(objects.begin() + static_cast<std::ptrdiff_t>(i));
    boxes.erase(boxes.begin() + static_cast<std::ptrdiff_t>(i));
    return true;
  }
  return false;
}

void Grid::Cell::renew(Object *object, const Box &box) {
  for (size_t i = 0; i < objects.size(); ++i)
    if (objects[i] == object) boxes[i] = box;
}

void Grid::release() {
  m_cells.clear();
  m_cells.shrink_to_fit();
  m_allocated = false;
}

int Grid::startUp() {
  LogManager &log = LogManager::getInstance();
  if (m_allocated) {
    log.writeLog("Grid::startUp(): Warning! Grid allocated. Not proceeding.");
    return -1;
  }
  Box boundary = WorldManager::getInstance().getBoundary();
  bool was_capped = false;
  m_num_cols = capped(cellCount(boundary.getHorizontal(), m_cell_width), was_capped);
  m_num_rows = capped(cellCount(boundary.getVertical(), m_cell_height), was_capped);
  log.writeLog(LOG_MANAGER, "Grid::startUp(): m_num_cols %d, m_num_rows %d", m_num_cols, m_num_rows);
  if (was_capped)
    log.writeLog("Grid::startUp(): Warning! World too large, grid limited to %d x %d cells.", m_num_cols, m_num_rows);
  try {
    m_cells.resize(static_cast<size_t>(m_num_rows));
  } catch (const std::bad_alloc &) {
    log.writeLog("Grid::startUp(): Error! Unable to allocate %d grid rows.", m_num_rows);
    return -1;
  }
  for (std::vector<Cell> &row : m_cells) {
    try {
      row.resize(static_cast<size_t>(m_num_cols));
    } catch (const std::bad_alloc &) {
      log.writeLog("Grid::startUp(): Error! Unable to allocate columns.");
      // A grid with missing rows cannot be used: release it whole.
      release();
      return -1;
    }
  }
  m_allocated = true;
  m_outside = Cell();
  return 0;
}

void Grid::shutDown() {
  release();
  m_outside = Cell();
}

Grid::Cells Grid::cellsOf(const Box &box) const {
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

namespace {

// Whether an object can go into, out of or across the grid; false after a log line
// when the grid has no cells yet or there is no object.
bool canChange(bool allocated, const Object *object, const char *operation) {
  if (!allocated) {
    LogManager::getInstance().writeLog("Grid::%s(): Error! grid is NULL", operation);
    return false;
  }
  if (!object) {
    LogManager::getInstance().writeLog("Grid::%s(): Error! Object is NULL", operation);
    return false;
  }
  return true;
}

}  // namespace

int Grid::insertObject(Object *object) {
  if (!canChange(m_allocated, object, "insertObject")) return -1;
  const Box box = getWorldBox(object);
  const Cells cells = cellsOf(box);
  if (cells.outside) m_outside.append(object, box);
  for (int row = cells.first_row; row <= cells.last_row; ++row)
    for (int col = cells.first_col; col <= cells.last_col; ++col) cell(col, row).append(object, box);
  return 0;
}

int Grid::removeObject(Object *object) {
  if (!canChange(m_allocated, object, "removeObject")) return -1;
  if (!object->isSolid() || !object->isActive()) return 0;
  const Cells cells = cellsOf(getWorldBox(object));
  bool missing = cells.outside && !m_outside.drop(object);
  for (int row = cells.first_row; row <= cells.last_row; ++row)
    for (int col = cells.first_col; col <= cells.last_col; ++col)
      if (!cell(col, row).drop(object)) missing = true;
  // The object was not where its box says: it reached the grid some other
  // way. Sweep every cell so that no list keeps a pointer to it.
  if (missing) sweep(object);
  return 0;
}

void Grid::sweep(Object *object) {
  while (m_outside.drop(object)) {
  }
  for (int row = 0; row < m_num_rows; ++row)
    for (int col = 0; col < m_num_cols; ++col)
      while (cell(col, row).drop(object)) {
      }
}

int Grid::updatePosition(Object *object, Vector where) {
  if (!canChange(m_allocated, object, "updatePosition")) return -1;
  LogManager &log = LogManager::getInstance();
  const Box new_box = getWorldBox(object, where);
  const Cells old_cells = cellsOf(getWorldBox(object));
  const Cells new_cells = cellsOf(new_box);
  // Cells the object leaves lose it; cells it stays in keep their place in
  // the list and only renew the box; cells it enters gain it at the end.
  if (old_cells.outside && !new_cells.outside) m_outside.drop(object);
  for (int row = old_cells.first_row; row <= old_cells.last_row; ++row) {
    for (int col = old_cells.first_col; col <= old_cells.last_col; ++col) {
      if (!inRange(col, row)) {
        log.writeLog("Error! remove Cell x,y out of bounds (%d, %d).", col, row);
        continue;
      }
      if (new_cells.holds(col, row))
        cell(col, row).renew(object, new_box);
      else
        cell(col, row).drop(object);
    }
  }
  if (new_cells.outside && old_cells.outside) m_outside.renew(object, new_box);
  if (new_cells.outside && !old_cells.outside) m_outside.append(object, new_box);
  for (int row = new_cells.first_row; row <= new_cells.last_row; ++row) {
    for (int col = new_cells.first_col; col <= new_cells.last_col; ++col) {
      if (old_cells.holds(col, row)) continue;
      if (!inRange(col, row)) {
        log.writeLog("Error! insert Cell x,y out of bounds [%d, %d].", col, row);
        continue;
      }
      cell(col, row).append(object, new_box);
    }
  }
  return 0;
}

ObjectList Grid::getCollisions(const Object *object, Vector where) const {
  LogManager &log = LogManager::getInstance();
  ObjectList result;
  if (!m_allocated) {
    log.writeLog("Grid::getCollisions(): Error! grid is NULL");
    return result;
  }
  if (!object) {
    log.writeLog("Grid::getCollisions(): Error! Object is NULL");
    return result;
  }
  const Box box = getWorldBox(object, where);
  const Cells cells = cellsOf(box);
  // An object covering several of the cells is met once per cell; only the
  // first meeting counts. Hits are few, so a linear search suffices until
  // the list grows, then a hash set takes over.
  std::vector<Object *> hits;
  std::unordered_set<const Object *> seen;
  const size_t linear_limit = 32;
  auto consider = [&](const Cell &cell) {
    const size_t count = cell.objects.size();
    for (size_t i = 0; i < count; ++i) {
      if (!boxesMeet(cell.boxes[i], box)) continue;
      Object *candidate = cell.objects[i];
      if (candidate == object) continue;
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
    for (int col = cells.first_col; col <= cells.last_col; ++col) consider(cell(col, row));
  for (Object *hit : hits) result.insert(hit);
  return result;
}

ObjectList Grid::cellObjects(int col, int row) const {
  ObjectList list;
  const Cell *source = nullptr;
  if (col == -1 && row == -1)
    source = &m_outside;
  else if (m_allocated && inRange(col, row))
    source = &cell(col, row);
  if (source)
    for (Object *object : source->objects) list.insert(object);
  return list;
}

}  // namespace ts
