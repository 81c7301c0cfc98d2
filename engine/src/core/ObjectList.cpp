#include <tessera/core/ObjectList.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace ts {

namespace {
Object **allocateSlots(int capacity) {
  if (capacity <= 0) return nullptr;
  return static_cast<Object **>(std::malloc(sizeof(Object *) * static_cast<size_t>(capacity)));
}
}  // namespace

ObjectList::ObjectList() : m_count(0), m_capacity(1), m_items(allocateSlots(1)) {
  if (!m_items) m_capacity = 0;
}

ObjectList::ObjectList(const ObjectList &other) : m_count(0), m_capacity(0), m_items(nullptr) { *this = other; }

ObjectList &ObjectList::operator=(const ObjectList &other) {
  if (this == &other) return *this;
  Object **items = allocateSlots(other.m_capacity);
  std::free(m_items);
  m_items = items;
  if (!items) {
    m_count = 0;
    m_capacity = 0;
    return *this;
  }
  m_count = other.m_count;
  m_capacity = other.m_capacity;
  if (m_count > 0) std::memcpy(m_items, other.m_items, sizeof(Object *) * static_cast<size_t>(m_count));
  return *this;
}

ObjectList::~ObjectList() { std::free(m_items); }

// Doubles the capacity; a list whose first allocation failed starts at one slot.
bool ObjectList::grow() {
  if (m_capacity > (1 << 29)) return false;
  int capacity = m_capacity > 0 ? m_capacity * 2 : 1;
  void *items = std::realloc(m_items, sizeof(Object *) * static_cast<size_t>(capacity));
  if (!items) return false;
  m_items = static_cast<Object **>(items);
  m_capacity = capacity;
  return true;
}

int ObjectList::insert(Object *object) {
  if (!object) return -1;
  if (m_count == m_capacity && !grow()) return -1;
  m_items[m_count++] = object;
  return 0;
}

int ObjectList::remove(Object *object) {
  for (int i = 0; i < m_count; ++i) {
    if (m_items[i] == object) {
      std::memmove(&m_items[i], &m_items[i + 1], sizeof(Object *) * static_cast<size_t>(m_count - i - 1));
      --m_count;
      return 0;
    }
  }
  return -1;
}

void ObjectList::clear() { m_count = 0; }

Object *&ObjectList::operator[](int index) {
  if (index < 0 || index >= m_count) throw std::out_of_range("Invalid index!");
  return m_items[index];
}

Object *const &ObjectList::operator[](int index) const {
  if (index < 0 || index >= m_count) throw std::out_of_range("Invalid index!");
  return m_items[index];
}

ObjectList ObjectList::operator+(const ObjectList &other) const {
  ObjectList sum(*this);
  for (int i = 0; i < other.m_count; ++i) {
    if (other.m_items[i]) sum.insert(other.m_items[i]);
  }
  return sum;
}

}  // namespace ts
