// The game's objects find one another by type name through the world: the
// first object of the type, as the class given, or null when there is none.
#ifndef RHYTHM_FIRST_OF_TYPE_H
#define RHYTHM_FIRST_OF_TYPE_H

#include <tessera/world/ObjectList.h>
#include <tessera/world/WorldManager.h>

template <typename T>
T *firstOfType(const char *type) {
  ts::ObjectList list = ts::WorldManager::getInstance().objectsOfType(type);
  return list.isEmpty() ? nullptr : dynamic_cast<T *>(list[0]);
}

#endif
