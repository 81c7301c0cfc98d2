// The game's objects in a headless world of 80 x 24 cells, driven frame by
// frame without a window: step events through the game manager, key presses
// through the input manager, deletions through the world manager's update.
#ifndef RHYTHM_TESTS_GAME_WORLD_H
#define RHYTHM_TESTS_GAME_WORLD_H

#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <tessera/core/EventStep.h>
#include <tessera/game/GameManager.h>
#include <tessera/input/EventKeyboard.h>
#include <tessera/input/InputManager.h>
#include <tessera/resources/ResourceManager.h>
#include <tessera/world/WorldManager.h>

#include "TestSupport.h"
#include "play/KeyboardHandler.h"
#include "play/Note.h"
#include "play/NoteClock.h"
#include "play/ScoreManager.h"
#include "screens/HitIndicator.h"
#include "screens/UIManager.h"

using Reading = std::optional<NoteClock::TrackReading>;
using TrackScript = std::function<Reading()>;

// A game object (a spawner, the calibration screen) that reads its track
// from a script instead of a playing track.
template <typename Base>
class Scripted : public Base {
 public:
  template <typename... Args>
  explicit Scripted(TrackScript script, Args &&...args)
      : Base(std::forward<Args>(args)...), m_script(std::move(script)) {}

 protected:
  Reading readTrack() const override { return m_script(); }

 private:
  TrackScript m_script;
};

// Presses (or releases) a key as the input manager hands it to the game.
inline void press(ts::Keyboard::Key key, ts::EventKeyboardAction action = ts::KEY_PRESSED) {
  ts::EventKeyboard event;
  event.setKey(key);
  event.setKeyboardAction(action);
  ts::InputManager::getInstance().onEvent(&event);
}

class GameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_log.start();
    ts::WorldManager &world = ts::WorldManager::getInstance();
    world.startUp();
    world.setBoundary(ts::Box(ts::Vector(0, 0), 80, 24));
    world.setView(world.getBoundary());
    ts::ResourceManager::getInstance().startUp();
    for (const char *direction : {"down", "left", "right", "up"})
      ts::ResourceManager::getInstance().loadSprite(std::string("sprites/note-") + direction + ".txt",
                                                    std::string("note_") + direction);
  }

  void TearDown() override {
    ts::WorldManager::getInstance().shutDown();
    ts::ResourceManager::getInstance().shutDown();
    ts::LogManager::getInstance().shutDown();
  }

  // Frames as the game sees them: the step, the key presses, then the
  // world's update (which destroys what was marked for deletion).
  void frames(int n, std::vector<ts::Keyboard::Key> keys = {}) {
    for (int i = 0; i < n; ++i) {
      ts::EventStep step(m_step++);
      ts::GameManager::getInstance().onEvent(&step);
      for (ts::Keyboard::Key key : keys) press(key);
      ts::WorldManager::getInstance().update();
    }
  }

  template <typename T>
  static T *first(const char *type) {
    ts::ObjectList list = ts::WorldManager::getInstance().objectsOfType(type);
    return list.isEmpty() ? nullptr : dynamic_cast<T *>(list[0]);
  }
  static int count(const char *type) { return ts::WorldManager::getInstance().objectsOfType(type).getCount(); }
  static ScoreManager *score() { return first<ScoreManager>("ScoreManager"); }
  static UIManager *hud() { return first<UIManager>("UIManager"); }
  static HitIndicator *indicator() { return first<HitIndicator>("HitIndicator"); }
  // The judgement shown, score and combo, then the HUD's score and combo.
  static std::string tally() {
    char text[64];
    hud()->draw();
    snprintf(text, sizeof text, "%s %d %d, HUD %d %d", indicator()->getText().c_str(), score()->getScore(),
             score()->getCombo(), hud()->getScoreView()->getValue(), hud()->getComboView()->getValue());
    return text;
  }

  static Note *noteOnRow(const char *direction, float row) { return new Note(direction, 1.0f, ts::Vector(30, row)); }
  static void createPlayObjects() {
    new KeyboardHandler();
    new HitIndicator();
    new ScoreManager();
    new UIManager();
  }

  // A track on the frame grid: frame f (counted by m_frame) reads f frames
  // of play, less a millisecond, plus lead_frames.
  TrackScript gridTrack(const int &lead_frames) {
    return [this, &lead_frames]() {
      return Reading(NoteClock::TrackReading{(m_frame + lead_frames) * 33.0 - 1.0, m_frame * 33.0});
    };
  }
  void frame(std::vector<ts::Keyboard::Key> keys = {}) {
    ++m_frame;
    frames(1, keys);
  }
  static std::map<const Note *, float> rows() {
    std::map<const Note *, float> result;
    ts::ObjectList notes = ts::WorldManager::getInstance().objectsOfType("Note");
    for (int i = 0; i < notes.getCount(); ++i)
      if (const Note *note = dynamic_cast<const Note *>(notes[i])) result[note] = note->getPosition().getY();
    return result;
  }

  testing_support::LogCapture m_log;
  int m_step = 0;
  int m_frame = 0;
};

#endif
