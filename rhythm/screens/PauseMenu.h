// The pause menu of a song: Escape or P holds the song and opens it;
// Up/Down and Enter choose Resume, Retry, Song list or Quit; Escape in it
// goes to the song list, P resumes. Resuming counts 3, 2, 1 before the notes
// move again (Escape or P then opens the menu again). R retries at any time
// during the song. Once the song is over its keys are the results'.
#ifndef RHYTHM_PAUSE_MENU_H
#define RHYTHM_PAUSE_MENU_H

#include <string>
#include <vector>

#include <tessera/input/EventKeyboard.h>
#include <tessera/world/Object.h>

class NoteSpawner;

class PauseMenu : public ts::Object {
 public:
  enum Item { RESUME, RETRY, SONG_LIST, QUIT };
  static constexpr int ITEMS = 4;
  // Steps each number of the countdown shows: about a second at the
  // default frame time.
  static constexpr int STEPS_PER_COUNT = 30;

  PauseMenu();

  int eventHandler(const ts::Event *p_event) override;
  int draw() override;

  bool isOpen() const { return m_open; }
  Item getChoice() const { return m_choice; }
  // The number the countdown shows, 0 when none runs.
  int countdown() const;
  // The lines shown in the middle of the screen, from the top; none while
  // the song plays.
  std::vector<std::string> lines() const;

 private:
  void handleKey(ts::Keyboard::Key key);
  void handleMenuKey(ts::Keyboard::Key key);
  void open();
  void choose();
  static NoteSpawner *spawner();

  bool m_open = false;
  Item m_choice = RESUME;
  int m_countdown_steps = 0;  // steps left before the song plays on; 0 when none
};

#endif
