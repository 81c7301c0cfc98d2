#include <tessera/world/ObjectListIterator.h>

namespace ts {

ObjectListIterator::ObjectListIterator(const ObjectList *list) : m_list(list), m_index(0) {}

void ObjectListIterator::next() {
  if (m_index < m_list->getCount()) ++m_index;
}

bool ObjectListIterator::isDone() const { return m_index >= m_list->getCount(); }

Object *ObjectListIterator::currentObject() const {
  if (isDone()) return nullptr;
  return (*m_list)[m_index];
}

}  // namespace ts
