// The game-over screen: the "gameover" picture in the middle of the screen
// for 90 steps, after which the game loop ends. When the song's results wait
// for a key, it shows the "cleared" picture and waits with them.
#ifndef RHYTHM_GAME_OVER_H
#define RHYTHM_GAME_OVER_H

#include <cstdint>

#include <tessera/world/ViewObject.h>

class GameOver : public ts::ViewObject {
 public:
  GameOver();
  ~GameOver() override;

  int eventHandler(const ts::Event *p_event) override;
  int draw() override;
  int32_t getTimeToLive() const { return m_time_to_live; }

 private:
  static bool waitsForKey();
  int32_t m_time_to_live;  // step events left before the game ends
};

#endif
