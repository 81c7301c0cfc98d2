// The player's Escape: it ends the game loop like the end of a song does,
// so it is also remembered, for the round loop to tell the two apart even
// when both come in the same frame.
#ifndef RHYTHM_QUIT_REQUEST_H
#define RHYTHM_QUIT_REQUEST_H

class QuitRequest {
 public:
  // Logs "ESC pressed! Exiting game..." and ends the game loop after this
  // frame; the entry point stops the engine, so no object is destroyed
  // while it handles the key.
  static void make();
  static bool isMade() { return s_made; }
  static void clear() { s_made = false; }

 private:
  static bool s_made;
};

#endif
