// What the player asked to come after this round: the song list, or the
// same song again. Asking ends the game loop after this frame, like Escape
// does; the round loop then starts the round asked for.
#ifndef RHYTHM_NEXT_ROUND_H
#define RHYTHM_NEXT_ROUND_H

class NextRound {
 public:
  enum What { NONE, SONG_LIST, RETRY };

  // Logs the request and ends the game loop after this frame. The first
  // request of a round counts.
  static void request(What what);
  static What get() { return s_what; }
  static void clear() { s_what = NONE; }

 private:
  static What s_what;
};

#endif
