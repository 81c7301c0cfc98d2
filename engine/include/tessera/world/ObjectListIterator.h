// Walks an ObjectList by index; reads the count live, so it sees removals.
#ifndef TS_OBJECT_LIST_ITERATOR_H
#define TS_OBJECT_LIST_ITERATOR_H

#include <tessera/world/ObjectList.h>

namespace ts {

class ObjectListIterator {
 public:
  explicit ObjectListIterator(const ObjectList *list);
  void first() { m_index = 0; }
  void next();
  bool isDone() const;
  Object *currentObject() const;

 private:
  const ObjectList *m_list;
  int m_index;
};

}  // namespace ts

#endif
