// A growable list of object pointers in insertion order; it owns no object.
#ifndef TS_OBJECT_LIST_H
#define TS_OBJECT_LIST_H

#include <vector>

namespace ts {

class Object;

class ObjectList {
 public:
  // 0, or -1 for a null pointer or when the list cannot grow.
  int insert(Object *object);
  // Removes the first occurrence; -1 if the object is not in the list.
  int remove(Object *object);
  void clear() { m_items.clear(); }
  int getCount() const { return static_cast<int>(m_items.size()); }
  bool isEmpty() const { return m_items.empty(); }
  bool contains(const Object *object) const;
  // Throws std::out_of_range("Invalid index!") outside 0..count-1.
  Object *&operator[](int index);
  Object *const &operator[](int index) const;
  ObjectList operator+(const ObjectList &other) const;

 private:
  std::vector<Object *> m_items;
};

}  // namespace ts

#endif
