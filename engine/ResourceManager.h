// Owns the sprites and music and finds them by label.
#ifndef TS_RESOURCE_MANAGER_H
#define TS_RESOURCE_MANAGER_H

#include <string>

#include "Manager.h"
#include "Sprite.h"

namespace ts {

class ResourceManager : public Manager {
 public:
  static ResourceManager &getInstance();

  int startUp() override;
  void shutDown() override;
  Sprite *getSprite(std::string label) const;

 private:
  ResourceManager();
};

}  // namespace ts

#endif
