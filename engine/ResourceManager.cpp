#include "ResourceManager.h"

namespace ts {

ResourceManager::ResourceManager() { setType("ResourceManager"); }

ResourceManager &ResourceManager::getInstance() {
  static ResourceManager instance;
  return instance;
}

int ResourceManager::startUp() { return Manager::startUp(); }
void ResourceManager::shutDown() { Manager::shutDown(); }

Sprite *ResourceManager::getSprite(std::string) const { return nullptr; }

}  // namespace ts
