// The rhythm game's classes, driven frame by frame without a window: step
// events through the game manager, key presses through the input manager,
// deletions through the world manager's update. Whole songs are played by
// the end-to-end demo runs.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <tessera/audio/AudioDevice.h>
#include <tessera/audio/Music.h>
#include <tessera/core/EventStep.h>
#include <tessera/game/GameManager.h>
#include <tessera/input/EventKeyboard.h>
#include <tessera/input/InputManager.h>
#include <tessera/resources/ResourceManager.h>
#include <tessera/world/EventOut.h>
#include <tessera/world/WorldManager.h>

#include "screens/Background.h"
#include "screens/Calibration.h"
#include "play/Beat.h"
#include "songs/Chart.h"
#include "songs/ClickTrack.h"
#include "screens/GameOver.h"
#include "player/GameSettings.h"
#include "screens/GameStart.h"
#include "screens/HitIndicator.h"
#include "play/KeyboardHandler.h"
#include "play/Lane.h"
#include "play/Note.h"
#include "play/NoteSpawner.h"
#include "screens/PauseScreen.h"
#include "play/ScoreManager.h"
#include "TestSupport.h"
#include "screens/UIManager.h"

namespace {

using Reading = std::optional<NoteClock::TrackReading>;
using TrackScript = std::function<Reading()>;

// A spawner whose track is read from a script instead of a playing track.
class ScriptedSpawner : public NoteSpawner {
 public:
  ScriptedSpawner(std::vector<int32_t> chart, TrackScript script, int offset_ms = 0)
      : NoteSpawner(std::move(chart), nullptr, offset_ms), m_script(std::move(script)) {}

 protected:
  Reading readTrack() const override { return m_script(); }

 private:
  TrackScript m_script;
};

// The same for the calibration screen's click track.
class ScriptedCalibration : public Calibration {
 public:
  ScriptedCalibration(std::string path, TrackScript script)
      : Calibration(std::move(path)), m_script(std::move(script)) {}

 protected:
  Reading readTrack() const override { return m_script(); }

 private:
  TrackScript m_script;
};

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

  static void press(ts::Keyboard::Key key, ts::EventKeyboardAction action = ts::KEY_PRESSED) {
    ts::EventKeyboard event;
    event.setKey(key);
    event.setKeyboardAction(action);
    ts::InputManager::getInstance().onEvent(&event);
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

// Runs without an audio device: the audio backend is given a driver that
// does not exist before anything asks for a device.
class GameTestWithoutSound : public GameTest {
 protected:
  GameTestWithoutSound() { setenv("ALSOFT_DRIVERS", "no-such-driver", 1); }
};

TEST_F(GameTest, SpawnerFollowsItsChartAndNotesFallUntilMissedPastRow24) {
  createPlayObjects();
  score()->setCombo(7);
  new NoteSpawner({5, 7, 7, 0, -3});
  frames(4);
  EXPECT_EQ(count("Note"), 0);
  frames(1);  // the spawner's 5th step
  ASSERT_EQ(count("Note"), 1);
  Note *note = first<Note>("Note");
  EXPECT_EQ(note->getPosition().getY(), 0.0f);
  frames(2);  // step 7 is listed twice but gives one note
  EXPECT_EQ(count("Note"), 2);
  frames(17);
  EXPECT_EQ(note->getPosition().getY(), 19.0f);  // step 24: on the first "Perfect!" row
  frames(5);
  EXPECT_EQ(score()->getCombo(), 7);  // not missed yet on row 24
  frames(1);                          // row 25: missed and destroyed in this frame
  EXPECT_EQ(count("Note"), 1);        // entries of 0 or below never fire
  EXPECT_EQ(tally(), "Miss! 0 0, HUD 0 0");
}

// Stepped as fast as the machine can, the loop runs far ahead of a playing
// track: the note clock takes exactly one step per frame.
TEST_F(GameTest, FramesFasterThanAPlayingTrackGoOneStepPerFrame) {
  ASSERT_EQ(ts::ResourceManager::getInstance().loadMusic("Sound/BGM1_Star.ogg", "game_bgm1"), 0);
  ts::Music *track = ts::ResourceManager::getInstance().getMusic("game_bgm1");
  track->play(false);
  createPlayObjects();
  const std::vector<int32_t> chart = {5, 9, 9, 14, 30};
  NoteSpawner *spawner = new NoteSpawner(chart, track);
  std::map<const Note *, int32_t> entry_of;
  for (int f = 1; f <= 50; ++f) {
    frames(1);
    ASSERT_EQ(spawner->getStepCount(), f);
    for (const auto &[note, row] : rows()) {
      if (!entry_of.count(note)) entry_of[note] = f;  // spawned in this frame
      ASSERT_EQ(row, f - entry_of[note]) << "frame " << f;
    }
  }
  EXPECT_EQ(entry_of.size(), 4u);
  EXPECT_EQ(count("Note"), 1);  // the first three were missed past row 24
  EXPECT_EQ(spawner->getNoteClock().getSingleStepFrames(), 50);
  EXPECT_TRUE(track->isPlaying());
}

// The loop loses five frames at frame 20: the note clock catches up over
// the next frames, spawning every chart entry it passes at the row it would
// have reached, and moving the notes up to three rows a frame. Keys are
// judged by the row a note is on when they come.
TEST_F(GameTest, NotesCatchUpWithTheTrackAndAreJudgedByTheirRow) {
  createPlayObjects();
  int lead = 0;
  NoteSpawner *spawner = new ScriptedSpawner({1, 2, 22, 24, 25}, gridTrack(lead));
  for (int f = 1; f <= 19; ++f) frame();
  std::map<const Note *, float> before = rows();
  ASSERT_EQ(before.size(), 2u);
  const Note *first = dynamic_cast<const Note *>(ts::WorldManager::getInstance().objectsOfType("Note")[0]);
  const Note *second = dynamic_cast<const Note *>(ts::WorldManager::getInstance().objectsOfType("Note")[1]);
  EXPECT_EQ(before[first], 18.0f);
  EXPECT_EQ(before[second], 17.0f);

  lead = 5;
  frame();  // the lead is seen once and not yet trusted
  EXPECT_EQ(spawner->getStepCount(), 20);
  EXPECT_EQ(first->getPosition().getY(), 19.0f);
  // Three steps: the first note skips the rest of the zone to row 22, the
  // second lands on row 21, where the key finds it.
  frame({Lane::ofDirection(second->getDirection())->key});
  EXPECT_EQ(spawner->getStepCount(), 23);
  EXPECT_EQ(first->getPosition().getY(), 22.0f);
  EXPECT_EQ(tally(), "Good! 5 1, HUD 5 1");
  // Entry 22 was passed on the way: its note is on row 1.
  std::map<const Note *, float> now = rows();
  ASSERT_EQ(now.size(), 2u);
  now.erase(first);
  EXPECT_EQ(now.begin()->second, 1.0f);

  frame();  // three more steps: the first note falls past row 24
  EXPECT_EQ(spawner->getStepCount(), 26);
  EXPECT_EQ(tally(), "Miss! 5 0, HUD 5 0");
  std::vector<float> rows_now;
  for (const auto &[note, row] : rows()) rows_now.push_back(row);
  std::sort(rows_now.begin(), rows_now.end());
  EXPECT_EQ(rows_now, (std::vector<float>{1, 2, 4}));  // entries 25, 24 and 22
  frame();
  EXPECT_EQ(spawner->getStepCount(), 28);
  for (int f = 0; f < 10; ++f) frame();
  EXPECT_EQ(spawner->getStepCount(), 38);  // one step per frame again, with the track
  EXPECT_EQ(spawner->getNoteClock().getCatchUpSteps(), 5);
}

// P holds the song with a note in the hit zone: while the track is held
// (and the monotonic clock runs on) the notes, the spawner and the note clock
// stand still and no key judges; P again plays on one row a frame, with no
// catch-up for the time spent paused. A song that ends while paused waits.
TEST_F(GameTest, PauseHoldsNotesClockAndKeysUntilPPlaysOnInStep) {
  createPlayObjects();
  PauseScreen *pause = new PauseScreen();
  double track_ms = 0, clock_ms = 0;
  NoteSpawner *spawner = new ScriptedSpawner({1}, [&] {
    return Reading(NoteClock::TrackReading{track_ms - 1.0, clock_ms});
  });
  auto play = [&](int n, std::vector<ts::Keyboard::Key> keys = {}) {
    for (int i = 0; i < n; ++i) {
      clock_ms += 33;
      if (!spawner->isPaused()) track_ms += 33;
      frames(1, keys);
    }
  };
  play(19);
  Note *note = first<Note>("Note");
  ASSERT_EQ(note->getPosition().getY(), 18.0f);
  play(1, {ts::Keyboard::P});  // the note is on row 19 when P comes
  ASSERT_TRUE(spawner->isPaused() && pause->isShowing());
  EXPECT_TRUE(m_log.contains("NoteSpawner: song paused at step 20."));
  const size_t lines = m_log.messages().size();
  play(30, {ts::Keyboard::UPARROW, ts::Keyboard::DOWNARROW, ts::Keyboard::LEFTARROW, ts::Keyboard::RIGHTARROW});
  EXPECT_EQ(m_log.messages().size(), lines);  // not even a wrong key is judged
  EXPECT_EQ(note->getPosition().getY(), 19.0f);
  EXPECT_FALSE(note->isHit());
  EXPECT_EQ(spawner->getStepCount(), 20);

  press(ts::Keyboard::P);
  EXPECT_FALSE(spawner->isPaused() || pause->isShowing());
  play(1);
  EXPECT_EQ(note->getPosition().getY(), 20.0f);
  press(Lane::ofDirection(note->getDirection())->key);
  EXPECT_EQ(tally(), "Perfect! 10 1, HUD 10 1");
  ts::WorldManager::getInstance().update();

  // Every note is done and there is no track: the song is over at the next
  // step, unless it is held.
  press(ts::Keyboard::P);
  play(5);
  EXPECT_EQ(count("GameOver"), 0);
  EXPECT_EQ(spawner->getStepCount(), 21);
  press(ts::Keyboard::P);
  play(1);
  EXPECT_EQ(count("GameOver"), 1);
  EXPECT_EQ(spawner->getNoteClock().getCatchUpSteps(), 0);
  press(ts::Keyboard::P);  // nothing left to hold
  EXPECT_FALSE(spawner->isPaused() || pause->isShowing());
}

TEST(CalibrationOffset, MedianOfTapsNearTheClicksOutliersLeftOut) {
  const std::vector<double> clicks = {1000, 1600, 2200, 2800, 3400};
  // Taps 20 to 40 ms late, one early, one too late to count, one between clicks.
  EXPECT_EQ(Calibration::offsetFromTaps({1020, 1630, 2240, 2790, 3551, 1300}, clicks, 4), 25);  // (20 + 30) / 2
  EXPECT_EQ(Calibration::offsetFromTaps({1020, 1630, 2240, 2790, 3550}, clicks, 4), 30);        // 150 ms still counts
  EXPECT_EQ(Calibration::offsetFromTaps({850, 1450, 2051, 2650}, clicks, 3), -150);  // -150 counts, -149 is 2051 - 2200
  EXPECT_EQ(Calibration::offsetFromTaps({1020, 1630, 5000, -400}, clicks, 3), std::nullopt);  // two are not enough
  EXPECT_EQ(Calibration::offsetFromTaps({}, clicks, 1), std::nullopt);
  EXPECT_EQ(Calibration::offsetFromTaps({1001, 1602, 2204}, clicks, 3), 2);
  EXPECT_EQ(Calibration::offsetFromTaps({1000.25, 1600.75}, clicks, 2), 1);  // rounded to whole milliseconds
}

// The click track read from a script on the frame grid; Space pressed in
// the frame nearest to 40 ms after each click, and twice between clicks.
TEST_F(GameTest, CalibrationSavesTheMedianOffsetAndHandsItToTheStartScreen) {
  const std::string config =
      std::filesystem::temp_directory_path() / ("tessera-calibration-" + std::to_string(getpid()));
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  ASSERT_EQ(ts::ResourceManager::getInstance().loadMusic(click_track::FILE_NAME, click_track::LABEL), 0);
  GameStart *start = new GameStart();
  start->setAudioOffset(-20);
  press(ts::Keyboard::C);  // opens the real screen, which plays the click track
  ASSERT_TRUE(start->isCalibrating());
  EXPECT_EQ(start->draw(), 0);  // hidden
  Calibration *real = first<Calibration>("Calibration");
  ASSERT_EQ(real->getState(), Calibration::LISTENING);
  press(ts::Keyboard::NUM1);  // ignored while calibrating
  EXPECT_FALSE(start->hasStartedGame());
  press(ts::Keyboard::SPACE);
  EXPECT_EQ(real->getTaps().size(), 1u);
  press(ts::Keyboard::ESCAPE);  // leaves without saving; does not end the game
  ts::WorldManager::getInstance().update();
  EXPECT_EQ(count("Calibration"), 0);
  EXPECT_FALSE(start->isCalibrating() || ts::GameManager::getInstance().getGameOver());
  EXPECT_EQ(start->getAudioOffset(), -20);
  EXPECT_TRUE(m_log.contains("Calibration: left before the end; nothing saved."));

  // Now the scripted one, with the start screen calibrating.
  press(ts::Keyboard::C);
  ts::WorldManager::getInstance().markForDelete(first<Calibration>("Calibration"));
  ts::WorldManager::getInstance().update();
  int lead = 0;
  Calibration *calibration = new ScriptedCalibration(GameSettings::defaultPath(), gridTrack(lead));
  std::vector<int> tap_frames;
  for (double click : click_track::tappedClicksMs())
    tap_frames.push_back(static_cast<int>(std::lround((click + 40) / 33)));
  tap_frames.push_back(tap_frames[3] + 9);  // 300 ms after a click
  tap_frames.push_back(tap_frames[7] + 7);
  while (calibration->getState() == Calibration::LISTENING) {
    const bool tap = std::count(tap_frames.begin(), tap_frames.end(), m_frame + 1) > 0;
    frame(tap ? std::vector<ts::Keyboard::Key>{ts::Keyboard::SPACE} : std::vector<ts::Keyboard::Key>{});
    ASSERT_LT(m_frame, 500);
  }
  // Finished 150 ms after the last click.
  EXPECT_EQ(m_frame, static_cast<int>((click_track::tappedClicksMs().back() + 150) / 33) + 1);
  EXPECT_EQ(calibration->getTaps().size(), 18u);
  ASSERT_TRUE(calibration->getOffset().has_value());
  const int offset = *calibration->getOffset();
  EXPECT_EQ(offset, 41);  // taps 40 ms late, seen in whole frames
  EXPECT_TRUE(m_log.contains("Calibration: audio offset " + std::to_string(offset) + " ms from 18 taps."));
  GameSettings saved;
  saved.load(GameSettings::defaultPath());
  EXPECT_EQ(saved.getOffsetMs(), offset);

  press(ts::Keyboard::ESCAPE);
  ts::WorldManager::getInstance().update();
  EXPECT_EQ(start->getAudioOffset(), offset);
  EXPECT_FALSE(ts::GameManager::getInstance().getGameOver());
  std::filesystem::remove_all(config);
}

TEST_F(GameTestWithoutSound, CalibrationSaysItNeedsSoundAndSavesNothing) {
  if (ts::AudioDevice::isAvailable()) GTEST_SKIP() << "a device was opened before the driver could be set";
  const std::string config =
      std::filesystem::temp_directory_path() / ("tessera-calibration-" + std::to_string(getpid()));
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  ASSERT_EQ(ts::ResourceManager::getInstance().loadMusic(click_track::FILE_NAME, click_track::LABEL), 0);
  GameStart *start = new GameStart();
  press(ts::Keyboard::C);
  Calibration *calibration = first<Calibration>("Calibration");
  ASSERT_NE(calibration, nullptr);
  EXPECT_EQ(calibration->getState(), Calibration::NEEDS_SOUND);
  EXPECT_TRUE(m_log.contains("Calibration: no audio device; calibration needs sound."));
  frames(3, {ts::Keyboard::SPACE});
  EXPECT_TRUE(calibration->getTaps().empty());
  press(ts::Keyboard::ESCAPE);
  ts::WorldManager::getInstance().update();
  EXPECT_FALSE(start->isCalibrating() || ts::GameManager::getInstance().getGameOver());
  EXPECT_FALSE(std::filesystem::exists(config));
}

// Notes left to chance: each in one of the four lanes, with that lane's
// sprite and column, every lane drawn, and the same seed gives the same lanes.
TEST_F(GameTest, RandomLanesAreInRangeSpreadAndRepeatWithTheSeed) {
  auto spawnLanes = [this](unsigned seed) {
    srand(seed);
    NoteSpawner *spawner = new NoteSpawner({});
    for (int i = 0; i < 40; ++i) spawner->spawnNote();
    std::vector<std::string> lanes;
    ts::ObjectList notes = ts::WorldManager::getInstance().objectsOfType("Note");
    for (int i = 0; i < notes.getCount(); ++i) {
      const Note *note = dynamic_cast<const Note *>(notes[i]);
      const Lane *lane = Lane::ofDirection(note->getDirection());
      EXPECT_TRUE(lane && note->getAnimation().getSprite()->getLabel() == lane->sprite) << note->getDirection();
      if (lane) {
        EXPECT_EQ(note->getPosition().getX(), 20 * lane->centre_quarters);
      }
      lanes.push_back(note->getDirection());
      ts::WorldManager::getInstance().markForDelete(notes[i]);
    }
    ts::WorldManager::getInstance().markForDelete(spawner);
    ts::WorldManager::getInstance().update();
    return lanes;
  };
  const std::vector<std::string> lanes = spawnLanes(1234);
  EXPECT_EQ(std::set<std::string>(lanes.begin(), lanes.end()), (std::set<std::string>{"left", "up", "down", "right"}));
  EXPECT_EQ(spawnLanes(1234), lanes);
  EXPECT_EQ(m_log.count("Note spawned in lane 3 with direction right at (70.0, 0.0)"),
            2 * std::count(lanes.begin(), lanes.end(), "right"));
}

TEST_F(GameTest, HitsAreJudgedByRowIntoScoreComboAndTheHud) {
  createPlayObjects();
  const std::pair<float, const char *> hits[] = {{19, "Perfect! 10 1, HUD 10 1"}, {20, "Perfect! 20 2, HUD 20 2"},
                                                 {21, "Good! 25 3, HUD 25 3"},    {18, "Good! 30 4, HUD 30 4"},
                                                 {17, "Miss! 30 0, HUD 30 0"},    {22, "Miss! 30 0, HUD 30 0"},
                                                 {20, "Perfect! 40 1, HUD 40 1"}};
  for (const auto &[row, expected] : hits) {
    noteOnRow("down", row)->hit();
    ts::WorldManager::getInstance().update();
    EXPECT_EQ(count("Note"), 0);
    EXPECT_EQ(tally(), expected) << row;
  }
  for (const auto &[text, color] : std::vector<std::pair<std::string, ts::Color>>{
           {"Perfect!", ts::GREEN}, {"Good!", ts::YELLOW}, {"Miss!", ts::RED}, {"anything else", ts::WHITE}})
    EXPECT_EQ(HitIndicator::colorOf(text), color) << text;

  // The HUD's framed views at the top corners show its values once it draws.
  ts::ViewObject *score_view = hud()->getScoreView(), *combo_view = hud()->getComboView();
  ASSERT_TRUE(score_view && combo_view);
  hud()->draw();
  EXPECT_EQ(score_view->composeText(), " Score 40 ");
  EXPECT_EQ(combo_view->composeText(), " Combo 1 ");
  EXPECT_EQ(score_view->getPosition(), ts::Vector(80.0f / 6, 1));
  EXPECT_EQ(combo_view->getPosition(), ts::Vector(80.0f * 5 / 6, 1));
  EXPECT_TRUE(score_view->getBorder() && combo_view->getBorder());
  ts::WorldManager::getInstance().markForDelete(hud());
  ts::WorldManager::getInstance().update();  // destroys the HUD and the views it marks
  EXPECT_EQ(count("ViewObject"), 0);
}

TEST_F(GameTest, ArrowKeysHitTheFirstMatchingNoteInRows19To21Once) {
  createPlayObjects();
  score()->setCombo(3);
  Note *note = noteOnRow("right", 19);
  press(ts::Keyboard::LEFTARROW);
  press(ts::Keyboard::SPACE);
  EXPECT_EQ(m_log.count("Incorrect key pressed! No points awarded."), 2);
  EXPECT_FALSE(note->isHit());
  frames(1);  // the note falls to row 20
  press(ts::Keyboard::RIGHTARROW);
  press(ts::Keyboard::RIGHTARROW);  // the hit note stays in the world until the update
  EXPECT_TRUE(note->isHit());
  EXPECT_EQ(m_log.count("Correct key pressed! Note hit successfully."), 1);
  EXPECT_EQ(tally(), "Perfect! 10 4, HUD 10 4");  // wrong keys cost nothing
  ts::WorldManager::getInstance().update();

  // Releases and held keys judge nothing; notes outside the zone are passed over.
  Note *above = noteOnRow("up", 18), *below = noteOnRow("up", 22), *inside = noteOnRow("up", 19);
  const size_t lines = m_log.messages().size();
  press(ts::Keyboard::UPARROW, ts::KEY_RELEASED);
  press(ts::Keyboard::UPARROW, ts::KEY_DOWN);
  EXPECT_EQ(m_log.messages().size(), lines);
  press(ts::Keyboard::UPARROW);
  EXPECT_TRUE(!above->isHit() && !below->isHit() && inside->isHit());
}

// Stars: spectral, behind everything, drifting left at 1/2 to 1/10 of a
// cell a step; placed on the screen, they come back in beyond its right
// edge; the same seed gives the same sky.
TEST_F(GameTest, StarsDriftLeftInsideTheScreenAndComeBackFromTheRight) {
  auto sky = [](unsigned seed) {
    srand(seed);
    std::vector<ts::Vector> places;
    std::set<float> rows, speeds;
    for (int i = 0; i < 60; ++i) {
      Background *star = new Background();
      EXPECT_TRUE(star->getSolidness() == ts::SPECTRAL && star->getAltitude() == 0);
      const ts::Vector start = star->getPosition();
      EXPECT_TRUE(start.getX() >= 0 && start.getX() < 80 && start.getY() >= 0 && start.getY() < 24);
      ts::EventOut out;
      star->eventHandler(&out);
      const ts::Vector back = star->getPosition();
      EXPECT_TRUE(back.getX() >= 80 && back.getX() < 100 && back.getY() >= 0 && back.getY() < 24);
      const float speed = -star->getVelocity().getX();
      EXPECT_TRUE(speed >= 0.1f && speed <= 0.5f && star->getVelocity().getY() == 0) << speed;
      places.insert(places.end(), {start, back});
      rows.insert(start.getY());
      speeds.insert(speed);
    }
    EXPECT_GT(rows.size(), 10u);
    EXPECT_EQ(speeds.size(), 9u);  // every speed drawn
    return places;
  };
  EXPECT_EQ(sky(99), sky(99));

  // A world without extent yet must not make the draw divide by zero.
  ts::WorldManager::getInstance().setBoundary(ts::Box(ts::Vector(0, 0), 0, 0));
  EXPECT_EQ((new Background())->getPosition(), ts::Vector(0, 0));
}

// A start screen with no song list handed to it offers the game's own two
// songs, read from the chart files in the game's folder.
TEST_F(GameTest, StartScreenIgnoresOtherKeysAndOneStartKeyCreatesOneSetOfPlayObjects) {
  ts::GameManager::getInstance().setGameOver(false);
  GameStart *start = new GameStart();  // no start music loaded
  EXPECT_TRUE(m_log.contains("ERROR: GameStart BGM not found!"));
  press(ts::Keyboard::NUM1, ts::KEY_RELEASED);
  press(ts::Keyboard::A);
  press(ts::Keyboard::NUM3);  // no third song
  EXPECT_FALSE(start->hasStartedGame());

  // Escape only ends the loop; the entry point stops the engine afterwards.
  press(ts::Keyboard::ESCAPE);
  EXPECT_TRUE(m_log.contains("ESC pressed! Exiting game..."));
  EXPECT_TRUE(ts::GameManager::getInstance().getGameOver());
  EXPECT_TRUE(ts::WorldManager::getInstance().isStarted() && count("GameStart") == 1);

  frames(1, {ts::Keyboard::NUM2, ts::Keyboard::NUM1});  // the second key in the same frame is ignored
  EXPECT_TRUE(m_log.contains("SUCCESS: Game BGM game_bgm2 started."));
  EXPECT_TRUE(m_log.contains("GameOver will trigger after 40 seconds"));
  const std::pair<const char *, int> expected[] = {{"GameStart", 0},    {"NoteSpawner", 1},
                                                   {"(Undefined)", 1},  {"HitIndicator", 1},
                                                   {"ScoreManager", 1}, {"UIManager", 1},
                                                   {"Background", 15},  {"PauseScreen", 1},
                                                   {"ResultsScreen", 1}};  // "(Undefined)": the keyboard handler
  for (const auto &[type, n] : expected) ASSERT_EQ(count(type), n) << type;
  EXPECT_EQ(first<NoteSpawner>("NoteSpawner")->getChart(), Chart::readFile("charts/la-campanella.chart").getSteps());
  EXPECT_EQ(first<NoteSpawner>("NoteSpawner")->getChart().size(), 246u);
  EXPECT_EQ(indicator()->getPosition(), ts::Vector(40, 12));
}

TEST_F(GameTest, BareStartScreenStartsTrackOneOnKey1WithItsLogLines) {
  ASSERT_EQ(ts::ResourceManager::getInstance().loadMusic("Sound/BGM_Start.ogg", "start_bgm"), 0);
  new GameStart();
  press(ts::Keyboard::NUM1);
  ts::WorldManager::getInstance().update();  // the start screen is destroyed
  std::vector<std::string> lines;  // the start screen's own lines
  for (const std::string &line : m_log.messages())
    for (const char *start : {"SUCCESS", "ERROR", "GameStart", "GameOver"})
      if (line.rfind(start, 0) == 0) lines.push_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{"SUCCESS: GameStart BGM started.", "GameStart BGM stopped.",
                                             "GameStart: playing 'Star' (star.chart).",
                                             "SUCCESS: Game BGM game_bgm1 started.",
                                             "GameOver will trigger after 25 seconds", "GameStart BGM stopped."}));
  const NoteSpawner *spawner = first<NoteSpawner>("NoteSpawner");
  ASSERT_NE(spawner, nullptr);
  EXPECT_EQ(spawner->getChart().size(), 48u);
  EXPECT_EQ(spawner->getChart().front(), 5);
}

TEST_F(GameTest, SongEndsOnceWhenNotesAreDoneAndTheTrackHasStoppedThenGameOverCountsDown) {
  ASSERT_EQ(ts::ResourceManager::getInstance().loadMusic("Sound/BGM_Start.ogg", "track"), 0);
  ts::Music *track = ts::ResourceManager::getInstance().getMusic("track");
  track->play(true);
  createPlayObjects();
  ts::GameManager::getInstance().setGameOver(false);
  new NoteSpawner({2}, track);
  frames(32);                       // the note is missed at row 25
  EXPECT_EQ(count("GameOver"), 0);  // but the track still plays
  track->stop();
  frames(1);
  EXPECT_TRUE(m_log.contains("ScoreManager: Current Score: 0, Combo: 0"));
  ASSERT_EQ(count("GameOver"), 1);
  EXPECT_EQ(first<GameOver>("GameOver")->getLocation(), ts::CENTER_CENTER);
  frames(89);  // the game-over screen's 89th step
  EXPECT_EQ(m_log.count("No BGM playing. Triggering GameOver."), 1);
  EXPECT_FALSE(ts::GameManager::getInstance().getGameOver());
  frames(1);
  EXPECT_TRUE(ts::GameManager::getInstance().getGameOver());
  frames(1);
  EXPECT_EQ(m_log.count("Game shutting down."), 1);
}

// The shipped data: sprites of the sizes the screens are laid out for, and
// tracks as long as their charts (every beat inside, the end soon after).
TEST_F(GameTest, DataFilesFitTheGame) {
  ts::ResourceManager &resources = ts::ResourceManager::getInstance();
  ASSERT_EQ(resources.loadSprite("sprites/gamestart-spr.txt", "gamestart"), 0);
  ASSERT_EQ(resources.loadSprite("sprites/gameover-spr.txt", "gameover"), 0);
  const std::tuple<const char *, int, int, int> sprites[] = {{"gamestart", 77, 23, 1}, {"gameover", 57, 11, 2},
                                                             {"note_down", 5, 3, 1},   {"note_left", 5, 3, 1},
                                                             {"note_right", 5, 3, 1},  {"note_up", 5, 3, 1}};
  for (const auto &[label, width, height, frames] : sprites) {
    const ts::Sprite *sprite = resources.getSprite(label);
    ASSERT_NE(sprite, nullptr) << label;
    EXPECT_EQ(sprite->getWidth(), width) << label;
    EXPECT_EQ(sprite->getHeight(), height) << label;
    EXPECT_EQ(sprite->getFrameCount(), frames) << label;
  }

  for (const char *chart_file : {"charts/star.chart", "charts/la-campanella.chart"}) {
    const Chart chart = Chart::readFile(chart_file);
    const std::string file = "charts/" + chart.getMusic();
    ASSERT_EQ(resources.loadMusic(file, chart.getTrack()), 0) << file;
    const double length = resources.getMusic(chart.getTrack())->getDuration();
    EXPECT_NEAR(length, chart.getSeconds(), 0.01) << file;
    const double last_beat = beat::secondsOf(chart.getSteps().back());
    EXPECT_LT(last_beat, length - 0.5) << file;
    EXPECT_GT(last_beat, length - 2.5) << file;
  }
}

}  // namespace
