// The rhythm game's classes, driven frame by frame without a window: step
// events through the game manager, key presses through the input manager,
// deletions through the world manager's update. Whole songs are played by
// the end-to-end demo runs.
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include <tessera/audio/Music.h>
#include <tessera/core/EventStep.h>
#include <tessera/game/GameManager.h>
#include <tessera/input/EventKeyboard.h>
#include <tessera/input/InputManager.h>
#include <tessera/resources/ResourceManager.h>
#include <tessera/world/EventOut.h>
#include <tessera/world/WorldManager.h>
#include "Background.h"
#include "Charts.h"
#include "GameOver.h"
#include "GameStart.h"
#include "HitIndicator.h"
#include "KeyboardHandler.h"
#include "Note.h"
#include "NoteSpawner.h"
#include "ScoreManager.h"
#include "TestSupport.h"
#include "UIManager.h"

namespace {

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
    snprintf(text, sizeof text, "%s %d %d, HUD %d %d", indicator()->getText().c_str(), score()->getScore(),
             score()->getCombo(), hud()->getScore(), hud()->getCombo());
    return text;
  }

  static Note *noteOnRow(const char *direction, float row) { return new Note(direction, 1.0f, ts::Vector(30, row)); }
  static void createPlayObjects() {
    new KeyboardHandler();
    new HitIndicator();
    new ScoreManager();
    new UIManager();
  }

  testing_support::LogCapture m_log;
  int m_step = 0;
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

TEST_F(GameTest, LanesTakeDirectionSpriteAndCentreFromRandomDraws) {
  const char *directions[4] = {"left", "up", "down", "right"};
  srand(1234);
  NoteSpawner *spawner = new NoteSpawner({});
  for (int i = 0; i < 12; ++i) spawner->spawnNote();
  ts::ObjectList notes = ts::WorldManager::getInstance().objectsOfType("Note");
  ASSERT_EQ(notes.getCount(), 12);
  srand(1234);  // the same draws again
  for (int i = 0; i < 12; ++i) {
    const Note *note = dynamic_cast<const Note *>(notes[i]);
    const int lane = rand() % 4, centre = 10 + 20 * lane;
    EXPECT_EQ(note->getPosition().getX(), centre);
    EXPECT_EQ(note->getAnimation().getSprite()->getLabel(), std::string("note_") + directions[lane]);
    EXPECT_TRUE(m_log.contains("Note spawned in lane " + std::to_string(lane) + " with direction " + directions[lane] +
                               " at (" + std::to_string(centre) + ".0, 0.0)"));
  }
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

TEST_F(GameTest, StarsDrawPlaceAndSpeedAndWrapAroundToTheRight) {
  srand(99);
  const int d1 = rand() % 9 + 2, y1 = rand() % 24, x1 = rand() % 80;
  const int y2 = rand() % 24, x2 = 80 + rand() % 20, d2 = rand() % 9 + 2;
  srand(99);
  Background *star = new Background();
  EXPECT_EQ(star->getSolidness(), ts::SPECTRAL);
  EXPECT_EQ(star->getAltitude(), 0);
  EXPECT_EQ(star->getVelocity(), ts::Vector(-1.0f / d1, 0));
  EXPECT_EQ(star->getPosition(), ts::Vector(x1, y1));
  ts::EventOut out;
  star->eventHandler(&out);
  EXPECT_EQ(star->getPosition(), ts::Vector(x2, y2));
  EXPECT_EQ(star->getVelocity(), ts::Vector(-1.0f / d2, 0));

  // A world without extent yet must not make the draw divide by zero.
  ts::WorldManager::getInstance().setBoundary(ts::Box(ts::Vector(0, 0), 0, 0));
  EXPECT_EQ((new Background())->getPosition(), ts::Vector(0, 0));
}

TEST_F(GameTest, StartScreenIgnoresOtherKeysAndOneStartKeyCreatesOneSetOfPlayObjects) {
  ts::GameManager::getInstance().setGameOver(false);
  GameStart *start = new GameStart();  // no start music loaded
  EXPECT_TRUE(m_log.contains("ERROR: GameStart BGM not found!"));
  press(ts::Keyboard::NUM1, ts::KEY_RELEASED);
  press(ts::Keyboard::A);
  EXPECT_FALSE(start->hasStartedGame());

  // Escape only ends the loop; the entry point stops the engine afterwards.
  press(ts::Keyboard::ESCAPE);
  EXPECT_TRUE(m_log.contains("ESC pressed! Exiting game..."));
  EXPECT_TRUE(ts::GameManager::getInstance().getGameOver());
  EXPECT_TRUE(ts::WorldManager::getInstance().isStarted() && count("GameStart") == 1);

  frames(1, {ts::Keyboard::NUM2, ts::Keyboard::NUM1});  // the second key in the same frame is ignored
  EXPECT_TRUE(m_log.contains("ERROR: Game BGM game_bgm2 not found!"));
  EXPECT_TRUE(m_log.contains("GameOver will trigger after 40 seconds"));
  const std::pair<const char *, int> expected[] = {{"GameStart", 0},    {"NoteSpawner", 1},  {"(Undefined)", 1},
                                                   {"HitIndicator", 1}, {"ScoreManager", 1}, {"UIManager", 1},
                                                   {"Background", 15}};  // "(Undefined)": the keyboard handler
  for (const auto &[type, n] : expected) ASSERT_EQ(count(type), n) << type;
  EXPECT_EQ(first<NoteSpawner>("NoteSpawner")->getChart().size(), 246u);
  EXPECT_EQ(indicator()->getPosition(), ts::Vector(40, 12));
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
  const std::tuple<const char *, int, int, int> sprites[] = {{"gamestart", 61, 17, 1}, {"gameover", 57, 11, 2},
                                                             {"note_down", 5, 3, 1},   {"note_left", 5, 3, 1},
                                                             {"note_right", 5, 3, 1},  {"note_up", 5, 3, 1}};
  for (const auto &[label, width, height, frames] : sprites) {
    const ts::Sprite *sprite = resources.getSprite(label);
    ASSERT_NE(sprite, nullptr) << label;
    EXPECT_EQ(sprite->getWidth(), width) << label;
    EXPECT_EQ(sprite->getHeight(), height) << label;
    EXPECT_EQ(sprite->getFrameCount(), frames) << label;
  }

  const std::tuple<const char *, std::string, float> tracks[] = {
      {"Sound/BGM1_Star.ogg", charts::TRACK_ONE, 25}, {"Sound/BGM2_La Campanella.ogg", charts::TRACK_TWO, 40}};
  for (const auto &[file, label, seconds] : tracks) {
    ASSERT_EQ(resources.loadMusic(file, label), 0) << file;
    const double length = resources.getMusic(label)->getDuration();
    EXPECT_NEAR(length, seconds, 0.01) << file;
    const double last_beat = charts::beatSeconds(charts::chartFor(label).back());
    EXPECT_LT(last_beat, length - 0.5) << file;
    EXPECT_GT(last_beat, length - 2.5) << file;
  }
}

}  // namespace
