#include "player/UserData.h"

#include <cstdlib>

std::string UserData::folder() {
  const char *data_home = std::getenv("XDG_DATA_HOME");
  if (data_home && data_home[0] == '/') return std::string(data_home) + "/tessera-rhythm";
  const char *home = std::getenv("HOME");
  if (!home || !home[0]) return "";
  return std::string(home) + "/.local/share/tessera-rhythm";
}
