// The enemy: asks the path manager for a way to the player every so often
// and follows it; reaching the player costs the player a life.
#ifndef CHASE_ENEMY_H
#define CHASE_ENEMY_H

#include <tessera/world/Object.h>

class Enemy : public ts::Object {
 public:
  static constexpr float SPEED = 0.5f;  // cells per frame along the path
  static const int REPLAN_STEPS = 15;   // frames between two path searches
  static const int REST_STEPS = 45;     // frames it waits after a catch

  explicit Enemy(ts::Vector start);
  int eventHandler(const ts::Event *p_event) override;

 private:
  void step();
  void planPath();
  void catchPlayer(ts::Object *p_player);

  ts::Vector m_start;
  int m_steps;           // frames since it was created
  int m_rest_until;      // it neither moves nor plans before this frame
  bool m_back_to_start;  // caught the player: goes back at its next step
};

#endif
