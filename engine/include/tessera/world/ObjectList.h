/// @file
/// ObjectList, a list of object pointers.
#ifndef TS_OBJECT_LIST_H
#define TS_OBJECT_LIST_H

#include <vector>

namespace ts {

class Object;

/// A growable list of object pointers in insertion order; it owns no object.
class ObjectList {
 public:
  /// Appends object; 0, or -1 for a null pointer or when the list cannot grow.
  int insert(Object *object);
  /// Removes the first occurrence; -1 if the object is not in the list.
  int remove(Object *object);
  /// Empties the list.
  void clear() { m_items.clear(); }
  /// Objects listed.
  int getCount() const { return static_cast<int>(m_items.size()); }
  /// Whether nothing is listed.
  bool isEmpty() const { return m_items.empty(); }
  /// Whether object is listed.
  bool contains(const Object *object) const;
  /// The index-th entry; throws std::out_of_range("Invalid index!") outside
  /// 0..count-1.
  Object *&operator[](int index);
  /// The same, read-only.
  Object *const &operator[](int index) const;
  /// This list followed by other.
  ObjectList operator+(const ObjectList &other) const;

 private:
  std::vector<Object *> m_items;
};

}  // namespace ts

#endif
