// The settings screen, opened with S on the song list: the scroll speed,
// the lane keys, the selected song's own offset and whether the hit-error
// bar shows. Up/Down choose a setting, Left/Right change it; Enter saves them
// and goes back to the song list, Escape goes back without saving.
#ifndef RHYTHM_SETTINGS_SCREEN_H
#define RHYTHM_SETTINGS_SCREEN_H

#include <string>
#include <vector>

#include <tessera/input/EventKeyboard.h>
#include <tessera/world/Object.h>

#include "player/GameSettings.h"

class SettingsScreen : public ts::Object {
 public:
  enum Item { SCROLL_SPEED, LANE_KEYS, SONG_OFFSET, HIT_ERROR_BAR };
  static constexpr int ITEMS = 4;
  static constexpr double SPEED_STEP = 0.25;
  static constexpr int OFFSET_STEP_MS = 5;

  // settings: those in use, changed here; path: where Enter saves them
  // (empty: nowhere); song_key and title: the song whose offset is offered,
  // none when the key is empty.
  SettingsScreen(GameSettings settings, std::string path, std::string song_key, std::string title);

  int eventHandler(const ts::Event *p_event) override;
  int draw() override;

  const GameSettings &getSettings() const { return m_settings; }
  Item getChoice() const { return m_choice; }
  // The lines shown, from the top.
  std::vector<std::string> lines() const;

 private:
  void change(int direction);
  // Saves the changes into the settings file as it is now (its audio offset
  // stays what it holds) and hands them to the start screen.
  void save();
  void leave(bool saved);

  GameSettings m_settings;
  std::string m_path;
  std::string m_song_key;
  std::string m_title;
  Item m_choice = SCROLL_SPEED;
  std::string m_problem;  // why the last save failed, shown until the next
};

#endif
