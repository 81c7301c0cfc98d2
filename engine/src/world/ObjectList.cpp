#include <tessera/world/ObjectList.h>

#include <algorithm>
#include <new>
#include <stdexcept>

namespace ts {

namespace {
// Counts are ints; a list stops growing well before they would overflow.
const size_t MAX_ITEMS = size_t{1} << 30;
}  // namespace

int ObjectList::insert(Object *object) {
  if (!object || m_items.size() >= MAX_ITEMS) return -1;
  try {
    m_items.push_back(object);
  } catch (const std::bad_alloc &) {
    return -1;
  }
  return 0;
}

int ObjectList::remove(Object *object) {
  auto found = std::find(m_items.begin(), m_items.end(), object);
  if (found == m_items.end()) return -1;
  m_items.erase(found);
  return 0;
}

bool ObjectList::contains(const Object *object) const {
  return std::find(m_items.begin(), m_items.end(), object) != m_items.end();
}

Object *&ObjectList::operator[](int index) {
  if (index < 0 || index >= getCount()) throw std::out_of_range("Invalid index!");
  return m_items[static_cast<size_t>(index)];
}

Object *const &ObjectList::operator[](int index) const {
  if (index < 0 || index >= getCount()) throw std::out_of_range("Invalid index!");
  return m_items[static_cast<size_t>(index)];
}

ObjectList ObjectList::operator+(const ObjectList &other) const {
  ObjectList sum(*this);
  for (Object *object : other.m_items) sum.insert(object);
  return sum;
}

}  // namespace ts
