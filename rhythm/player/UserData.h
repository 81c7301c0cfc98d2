// The folder where the game keeps what belongs to the player rather than to
// the game: best scores and added songs. $XDG_DATA_HOME/tessera-rhythm when
// XDG_DATA_HOME is an absolute path, else ~/.local/share/tessera-rhythm.
#ifndef RHYTHM_USER_DATA_H
#define RHYTHM_USER_DATA_H

#include <string>

class UserData {
 public:
  // Empty when neither XDG_DATA_HOME (absolute) nor HOME is set.
  static std::string folder();
};

#endif
