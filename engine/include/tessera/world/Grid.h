/// @file
/// Grid, the world's collision grid.
#ifndef TS_GRID_H
#define TS_GRID_H

#include <vector>

#include <tessera/core/Box.h>
#include <tessera/core/Vector.h>
#include <tessera/world/ObjectList.h>

namespace ts {

class Object;

/// The world's collision grid: the world boundary cut into rectangular cells,
/// each listing the solid active objects whose world boxes cover it, plus one
/// list for objects that reach beyond the grid. A collision query then tests
/// only the objects of the few cells the mover's box covers.
///
/// Each cell also keeps a copy of its objects' world boxes, side by side with
/// the object pointers, so that a query reads one compact array per cell
/// instead of every candidate object. The copies are renewed whenever an
/// object moves (updatePosition) or changes its box (removed and inserted).
/// It owns no object. Operations on an unallocated grid or a null object
/// return -1 with a log line.
class Grid {
 public:
  /// Not allocated yet; the cell size comes from the configuration
  /// (grid_width, grid_height; a value not positive is logged and replaced by
  /// the default).
  Grid();
  /// Releases the cells.
  ~Grid();

  /// Allocates the cells for the world manager's current boundary, at most 512
  /// along each axis (more is capped, with a warning: the part of the world
  /// beyond them counts as outside); 0, or -1 when already allocated or out of
  /// memory (logged).
  int startUp();
  /// Releases the cells.
  void shutDown();

  /// Lists object in the cells its world box covers.
  int insertObject(Object *object);
  /// Takes object out of every cell.
  int removeObject(Object *object);
  /// Moves the object from the cells of its current position to those of
  /// where; call it before the object's position changes.
  int updatePosition(Object *object, Vector where);
  /// The objects in the grid, other than object, whose world boxes intersect
  /// object's box placed at where: outside list first, then cell by cell in
  /// row-major order, each object once.
  ObjectList getCollisions(const Object *object, Vector where) const;

  /// Whether startUp() allocated the cells.
  bool isAllocated() const { return m_allocated; }
  /// Columns of cells.
  int getNumCols() const { return m_num_cols; }
  /// Rows of cells.
  int getNumRows() const { return m_num_rows; }
  /// Width of a cell in world cells.
  int getCellWidth() const { return m_cell_width; }
  /// Height of a cell in world cells.
  int getCellHeight() const { return m_cell_height; }
  /// A copy of one cell's list; (-1, -1) is the outside list. Empty for a
  /// cell out of range or an unallocated grid.
  ObjectList cellObjects(int col, int row) const;

  Grid(const Grid &) = delete;
  Grid &operator=(const Grid &) = delete;

 private:
  // The cells a box covers: an optional outside flag and a rectangle of
  // columns and rows (empty when first > last).
  // One cell's objects in insertion order and their world boxes.
  struct Cell {
    std::vector<Object *> objects;
    std::vector<Box> boxes;
    void append(Object *object, const Box &box);
    // false if the object is not in the cell.
    bool drop(Object *object);
    void renew(Object *object, const Box &box);
  };

  struct Cells {
    bool outside;
    int first_col, last_col, first_row, last_row;
    bool holds(int col, int row) const {
      return col >= first_col && col <= last_col && row >= first_row && row <= last_row;
    }
  };

  Cells cellsOf(const Box &world_box) const;
  bool inRange(int col, int row) const { return col >= 0 && col < m_num_cols && row >= 0 && row < m_num_rows; }
  Cell &cell(int col, int row) { return m_cells[static_cast<size_t>(row)][static_cast<size_t>(col)]; }
  const Cell &cell(int col, int row) const { return m_cells[static_cast<size_t>(row)][static_cast<size_t>(col)]; }
  void sweep(Object *object);
  void release();

  std::vector<std::vector<Cell>> m_cells;  // rows of columns
  bool m_allocated;
  Cell m_outside;
  int m_num_cols;
  int m_num_rows;
  int m_cell_width;
  int m_cell_height;
};

}  // namespace ts

#endif
