/// @file
/// ObjectListIterator, a walk over an ObjectList.
#ifndef TS_OBJECT_LIST_ITERATOR_H
#define TS_OBJECT_LIST_ITERATOR_H

#include <tessera/world/ObjectList.h>

namespace ts {

/// Walks an ObjectList by index; reads the count live, so it sees removals.
class ObjectListIterator {
 public:
  /// At the first entry of list (not owned; it must outlive the iterator).
  explicit ObjectListIterator(const ObjectList *list);
  /// Back to the first entry.
  void first() { m_index = 0; }
  /// On to the next entry; nothing once done.
  void next();
  /// Whether the walk is past the last entry.
  bool isDone() const;
  /// The current entry, or null when done.
  Object *currentObject() const;

 private:
  const ObjectList *m_list;
  int m_index;
};

}  // namespace ts

#endif
