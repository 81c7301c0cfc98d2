#include "PathFind.h"

namespace ts {

PathFind::PathFind(Object *object) : m_p_object(object) {}
PathFind::~PathFind() {}
int PathFind::cycleOnce() { return 0; }
Path PathFind::getPath() const { return Path(); }

}  // namespace ts
