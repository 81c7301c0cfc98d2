// One A* path search for one object, advanced one node per call.
#ifndef TS_PATH_FIND_H
#define TS_PATH_FIND_H

#include "Path.h"

namespace ts {

class Object;

class PathFind {
 public:
  explicit PathFind(Object *object);
  virtual ~PathFind();
  // 0 no path, 1 still searching, 2 found.
  int cycleOnce();
  Path getPath() const;
  Object *getObject() const { return m_p_object; }

  PathFind(const PathFind &) = delete;
  PathFind &operator=(const PathFind &) = delete;

 private:
  Object *m_p_object;
};

}  // namespace ts

#endif
