// Turns window events and held keys and buttons into keyboard and mouse events.
#ifndef TS_INPUT_MANAGER_H
#define TS_INPUT_MANAGER_H

#include "Manager.h"

namespace ts {

class InputManager : public Manager {
 public:
  static InputManager &getInstance();

  int startUp() override;
  void shutDown() override;
  bool isValid(std::string event_type) const override;
  void getInput();

 private:
  InputManager();
};

}  // namespace ts

#endif
