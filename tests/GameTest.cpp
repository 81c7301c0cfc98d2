// The rhythm game's classes, driven frame by frame without a window: step
// events through the game manager, key presses through the input manager,
// deletions through the world manager's update.
#include <cstdlib>
#include <string>
#include <vector>

#include "Background.h"
#include "Charts.h"
#include "DemoPlayer.h"
#include "EventKeyboard.h"
#include "EventOut.h"
#include "EventStep.h"
#include "GameManager.h"
#include "GameOver.h"
#include "GameStart.h"
#include "HitIndicator.h"
#include "InputManager.h"
#include "KeyboardHandler.h"
#include "LogManager.h"
#include "Note.h"
#include "NoteSpawner.h"
#include "ResourceManager.h"
#include "ScoreManager.h"
#include "TestSupport.h"
#include "UIManager.h"
#include "WorldManager.h"

using testing_support::LogCapture;

namespace {

class GameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_log.start();
    ts::WorldManager &world = ts::WorldManager::getInstance();
    world.startUp();
    const ts::Box screen(ts::Vector(0, 0), 80, 24);
    world.setBoundary(screen);
    world.setView(screen);
    ts::ResourceManager &resources = ts::ResourceManager::getInstance();
    resources.startUp();
    resources.loadSprite("sprites/note-down.txt", "note_down");
    resources.loadSprite("sprites/note-left.txt", "note_left");
    resources.loadSprite("sprites/note-right.txt", "note_right");
    resources.loadSprite("sprites/note-up.txt", "note_up");
  }

  void TearDown() override {
    ts::WorldManager::getInstance().shutDown();
    ts::ResourceManager::getInstance().shutDown();
    ts::LogManager::getInstance().shutDown();
  }

  // One frame as far as the game sees it: the step, optional key presses,
  // then the world's update (which destroys what was marked for deletion).
  void frame(std::vector<ts::Keyboard::Key> keys = {}) {
    ts::EventStep step(m_step);
    ts::GameManager::getInstance().onEvent(&step);
    for (ts::Keyboard::Key key : keys) press(key);
    ts::WorldManager::getInstance().update();
    ++m_step;
  }

  static int press(ts::Keyboard::Key key, ts::EventKeyboardAction action = ts::KEY_PRESSED) {
    ts::EventKeyboard event;
    event.setKey(key);
    event.setKeyboardAction(action);
    return ts::InputManager::getInstance().onEvent(&event);
  }

  template <typename T>
  static T *first(const char *type) {
    ts::ObjectList list = ts::WorldManager::getInstance().objectsOfType(type);
    return list.isEmpty() ? nullptr : dynamic_cast<T *>(list[0]);
  }

  static int count(const char *type) { return ts::WorldManager::getInstance().objectsOfType(type).getCount(); }

  // A note placed straight onto a row, with the play objects it reports to.
  static Note *noteOnRow(const char *direction, float row) {
    return new Note(direction, 1.0f, ts::Vector(30, row));
  }
  static void createPlayObjects() {
    new KeyboardHandler();
    new HitIndicator();
    new ScoreManager();
    new UIManager();
  }

  LogCapture m_log;
  int m_step = 0;
};

// ---------------------------------------------------------------- spawner

TEST_F(GameTest, SpawnerCreatesNoteOnItsChartStepsOnceEach) {
  new NoteSpawner({5, 7, 7, 0, -3});
  for (int i = 0; i < 4; ++i) frame();
  EXPECT_EQ(count("Note"), 0);
  frame();  // the spawner's 5th step
  ASSERT_EQ(count("Note"), 1);
  EXPECT_EQ(first<Note>("Note")->getPosition().getY(), 0.0f);
  frame();
  frame();  // step 7 is listed twice but gives one note
  EXPECT_EQ(count("Note"), 2);
  for (int i = 0; i < 10; ++i) frame();
  EXPECT_EQ(count("Note"), 2);  // entries of 0 or below never fire
  EXPECT_EQ(first<NoteSpawner>("NoteSpawner")->getStepCount(), 17);
}

TEST_F(GameTest, LanesTakeDirectionSpriteAndCentreFromRandomDraws) {
  const char *directions[4] = {"left", "up", "down", "right"};
  const float centres[4] = {10, 30, 50, 70};
  srand(1234);
  std::vector<int> lanes;
  for (int i = 0; i < 12; ++i) lanes.push_back(rand() % 4);
  srand(1234);
  NoteSpawner *spawner = new NoteSpawner({});
  for (int i = 0; i < 12; ++i) spawner->spawnNote();
  ts::ObjectList notes = ts::WorldManager::getInstance().objectsOfType("Note");
  ASSERT_EQ(notes.getCount(), 12);
  for (int i = 0; i < 12; ++i) {
    const Note *note = dynamic_cast<const Note *>(notes[i]);
    const int lane = lanes[static_cast<size_t>(i)];
    EXPECT_EQ(note->getDirection(), directions[lane]);
    EXPECT_EQ(note->getPosition().getX(), centres[lane]);
    EXPECT_EQ(note->getAnimation().getSprite()->getLabel(), std::string("note_") + directions[lane]);
    char line[80];
    snprintf(line, sizeof line, "Note spawned in lane %d with direction %s at (%.1f, 0.0)", lane, directions[lane],
             centres[lane]);
    EXPECT_TRUE(m_log.contains(line)) << line;
  }
}

TEST_F(GameTest, NoteReachesHitZoneAfterNineteenStepsAndIsMissedPastRow24) {
  createPlayObjects();
  first<ScoreManager>("ScoreManager")->setCombo(7);
  new NoteSpawner({5});
  for (int i = 0; i < 5; ++i) frame();
  Note *note = first<Note>("Note");
  ASSERT_NE(note, nullptr);
  for (int i = 0; i < 19; ++i) frame();
  EXPECT_EQ(note->getPosition().getY(), 19.0f);  // the spawner's step 24
  for (int i = 0; i < 5; ++i) frame();
  EXPECT_EQ(note->getPosition().getY(), 24.0f);
  EXPECT_EQ(first<HitIndicator>("HitIndicator")->getText(), "");
  frame();  // row 25: missed and destroyed in this frame
  EXPECT_EQ(count("Note"), 0);
  EXPECT_EQ(first<HitIndicator>("HitIndicator")->getText(), "Miss!");
  EXPECT_EQ(first<ScoreManager>("ScoreManager")->getCombo(), 0);
}

// ---------------------------------------------------------------- judging

TEST_F(GameTest, KeysJudgeNotesByRow) {
  createPlayObjects();
  ScoreManager *score = first<ScoreManager>("ScoreManager");
  HitIndicator *indicator = first<HitIndicator>("HitIndicator");

  noteOnRow("up", 20);
  EXPECT_EQ(press(ts::Keyboard::UPARROW), 1);
  EXPECT_TRUE(m_log.contains("Correct key pressed! Note hit successfully."));
  EXPECT_EQ(indicator->getText(), "Perfect!");
  EXPECT_EQ(HitIndicator::colorOf(indicator->getText()), ts::GREEN);
  EXPECT_EQ(score->getScore(), 10);
  ts::WorldManager::getInstance().update();
  EXPECT_EQ(count("Note"), 0);

  noteOnRow("down", 21);
  press(ts::Keyboard::DOWNARROW);
  EXPECT_EQ(indicator->getText(), "Good!");
  EXPECT_EQ(HitIndicator::colorOf("Good!"), ts::YELLOW);
  EXPECT_EQ(score->getScore(), 15);
  EXPECT_EQ(score->getCombo(), 2);
  ts::WorldManager::getInstance().update();

  // Outside rows 19 to 21 a key does nothing and writes nothing.
  noteOnRow("left", 18);
  const size_t lines = m_log.messages().size();
  press(ts::Keyboard::LEFTARROW);
  EXPECT_EQ(m_log.messages().size(), lines);
  EXPECT_EQ(score->getScore(), 15);
}

TEST_F(GameTest, WrongKeyCostsNothingAndTheNoteCanStillBeHit) {
  createPlayObjects();
  Note *note = noteOnRow("right", 19);
  first<ScoreManager>("ScoreManager")->setCombo(3);
  press(ts::Keyboard::LEFTARROW);
  press(ts::Keyboard::SPACE);
  EXPECT_EQ(m_log.count("Incorrect key pressed! No points awarded."), 2);
  EXPECT_FALSE(note->isHit());
  EXPECT_EQ(first<ScoreManager>("ScoreManager")->getCombo(), 3);
  EXPECT_EQ(first<HitIndicator>("HitIndicator")->getText(), "");
  frame();  // the note falls to row 20
  press(ts::Keyboard::RIGHTARROW);
  EXPECT_TRUE(note->isHit());
  EXPECT_EQ(first<ScoreManager>("ScoreManager")->getScore(), 10);
}

TEST_F(GameTest, TwoPressesInOneFrameScoreANoteOnce) {
  createPlayObjects();
  noteOnRow("up", 19);
  press(ts::Keyboard::UPARROW);
  press(ts::Keyboard::UPARROW);  // the note is still in the world until the update
  EXPECT_EQ(first<ScoreManager>("ScoreManager")->getScore(), 10);
  EXPECT_EQ(first<ScoreManager>("ScoreManager")->getCombo(), 1);
  EXPECT_EQ(m_log.count("Correct key pressed! Note hit successfully."), 1);
}

TEST_F(GameTest, ReleasesAndHeldKeysAreIgnored) {
  createPlayObjects();
  KeyboardHandler *handler = first<KeyboardHandler>("(Undefined)");
  ASSERT_NE(handler, nullptr);  // keeps the plain object's type name
  noteOnRow("up", 19);
  ts::EventKeyboard release;
  release.setKey(ts::Keyboard::UPARROW);
  release.setKeyboardAction(ts::KEY_RELEASED);
  EXPECT_EQ(handler->eventHandler(&release), 0);
  release.setKeyboardAction(ts::KEY_DOWN);
  EXPECT_EQ(handler->eventHandler(&release), 0);
  ts::EventStep step(0);
  EXPECT_EQ(handler->eventHandler(&step), 0);
  EXPECT_EQ(first<ScoreManager>("ScoreManager")->getScore(), 0);
}

TEST_F(GameTest, HitOutsideTheZoneGradesMissAndResetsCombo) {
  createPlayObjects();
  ScoreManager *score = first<ScoreManager>("ScoreManager");
  score->setScore(40);
  score->setCombo(4);
  first<UIManager>("UIManager")->setCombo(4);
  noteOnRow("left", 17)->hit();
  EXPECT_EQ(first<HitIndicator>("HitIndicator")->getText(), "Miss!");
  EXPECT_EQ(HitIndicator::colorOf("Miss!"), ts::RED);
  EXPECT_EQ(HitIndicator::colorOf("anything else"), ts::WHITE);
  EXPECT_EQ(score->getScore(), 40);
  EXPECT_EQ(score->getCombo(), 0);
  EXPECT_EQ(first<UIManager>("UIManager")->getCombo(), 0);
}

TEST_F(GameTest, ScoreAndComboArithmeticReachesTheHud) {
  createPlayObjects();
  for (float row : {19.0f, 20.0f, 19.0f, 21.0f}) {
    noteOnRow("down", row);
    press(ts::Keyboard::DOWNARROW);
    ts::WorldManager::getInstance().update();
  }
  ScoreManager *score = first<ScoreManager>("ScoreManager");
  UIManager *hud = first<UIManager>("UIManager");
  EXPECT_EQ(score->getScore(), 35);
  EXPECT_EQ(score->getCombo(), 4);
  EXPECT_EQ(hud->getScore(), 35);
  EXPECT_EQ(hud->getCombo(), 4);
  noteOnRow("down", 24);
  frame();  // missed past row 24
  EXPECT_EQ(score->getScore(), 35);
  EXPECT_EQ(score->getCombo(), 0);
  EXPECT_EQ(hud->getCombo(), 0);
}

TEST_F(GameTest, NotesAreRemovedEvenWithoutScoreManager) {
  new HitIndicator();
  noteOnRow("up", 19)->hit();
  noteOnRow("up", 24);
  frame();  // the second note is missed
  EXPECT_EQ(count("Note"), 0);
  EXPECT_EQ(first<HitIndicator>("HitIndicator")->getText(), "Miss!");
}

// -------------------------------------------------------------------- HUD

TEST_F(GameTest, HudShowsFramedScoreAndComboAtTheTopCorners) {
  UIManager *hud = new UIManager();
  EXPECT_EQ(hud->getAltitude(), 3);
  ts::ViewObject *score_view = hud->getScoreView();
  ts::ViewObject *combo_view = hud->getComboView();
  ASSERT_NE(score_view, nullptr);
  ASSERT_NE(combo_view, nullptr);
  EXPECT_EQ(score_view->getLocation(), ts::TOP_LEFT);
  EXPECT_EQ(score_view->getPosition(), ts::Vector(80.0f * 1 / 6, 1));
  EXPECT_EQ(score_view->composeText(), " Score 0 ");
  EXPECT_TRUE(score_view->getBorder());
  EXPECT_EQ(score_view->getColor(), ts::WHITE);
  EXPECT_EQ(combo_view->getPosition(), ts::Vector(80.0f * 5 / 6, 1));
  EXPECT_EQ(combo_view->composeText(), " Combo 0 ");
  EXPECT_EQ(combo_view->getColor(), ts::YELLOW);

  hud->setScore(120);
  hud->setCombo(12);
  EXPECT_EQ(hud->draw(), 0);  // passes the values on, even without a window
  EXPECT_EQ(score_view->composeText(), " Score 120 ");
  EXPECT_EQ(combo_view->composeText(), " Combo 12 ");

  ts::WorldManager::getInstance().markForDelete(hud);
  ts::WorldManager::getInstance().update();  // destroys the HUD and the views it marks
  EXPECT_EQ(count("ViewObject"), 0);
}

// ------------------------------------------------------------- background

TEST_F(GameTest, StarsDrawTheirPlaceAndSpeedAndWrapAroundToTheRight) {
  srand(99);
  const int d1 = rand() % 9 + 2, y1 = rand() % 24, x1 = rand() % 80;
  const int y2 = rand() % 24, x2 = 80 + rand() % 20, d2 = rand() % 9 + 2;
  srand(99);
  Background *star = new Background();
  EXPECT_EQ(star->getType(), "Background");
  EXPECT_EQ(star->getSolidness(), ts::SPECTRAL);
  EXPECT_EQ(star->getAltitude(), 0);
  EXPECT_EQ(star->getVelocity(), ts::Vector(-1.0f / d1, 0));
  EXPECT_EQ(star->getPosition(), ts::Vector(x1, y1));

  ts::EventOut out;
  EXPECT_EQ(star->eventHandler(&out), 1);
  EXPECT_EQ(star->getPosition(), ts::Vector(x2, y2));
  EXPECT_EQ(star->getVelocity(), ts::Vector(-1.0f / d2, 0));
  ts::EventStep step(0);
  EXPECT_EQ(star->eventHandler(&step), 0);
}

TEST_F(GameTest, StarInAWorldWithoutExtentDoesNotDivideByZero) {
  ts::WorldManager::getInstance().setBoundary(ts::Box(ts::Vector(0, 0), 0, 0));
  Background *star = new Background();
  EXPECT_EQ(star->getPosition(), ts::Vector(0, 0));
}

// -------------------------------------------------------------- game over

TEST_F(GameTest, GameOverEndsTheLoopOnItsNinetiethStep) {
  ts::GameManager::getInstance().setGameOver(false);
  GameOver *over = new GameOver();
  EXPECT_EQ(over->getType(), "GameOver");
  EXPECT_EQ(over->getLocation(), ts::CENTER_CENTER);
  EXPECT_TRUE(m_log.contains("GameOver screen displayed."));
  for (int i = 0; i < 89; ++i) frame();
  EXPECT_EQ(over->getTimeToLive(), 1);
  EXPECT_FALSE(ts::GameManager::getInstance().getGameOver());
  frame();
  EXPECT_TRUE(ts::GameManager::getInstance().getGameOver());
  frame();
  EXPECT_EQ(m_log.count("Game shutting down."), 1);
}

// ------------------------------------------------------------ start screen

TEST_F(GameTest, StartScreenAnswersEveryKeyAndEscapeOnlyEndsTheLoop) {
  ts::GameManager::getInstance().setGameOver(false);
  GameStart *start = new GameStart();
  EXPECT_TRUE(m_log.contains("ERROR: GameStart BGM not found!"));
  EXPECT_EQ(start->getLocation(), ts::CENTER_CENTER);
  ts::EventKeyboard key;
  key.setKey(ts::Keyboard::NUM1);
  key.setKeyboardAction(ts::KEY_RELEASED);
  EXPECT_EQ(start->eventHandler(&key), 1);
  key.setKey(ts::Keyboard::A);
  key.setKeyboardAction(ts::KEY_PRESSED);
  EXPECT_EQ(start->eventHandler(&key), 1);
  EXPECT_FALSE(start->hasStartedGame());
  ts::EventOut out;
  EXPECT_EQ(start->eventHandler(&out), 0);

  press(ts::Keyboard::ESCAPE);
  EXPECT_TRUE(m_log.contains("ESC pressed! Exiting game..."));
  EXPECT_TRUE(ts::GameManager::getInstance().getGameOver());
  // The engine is left running for the entry point to stop.
  EXPECT_TRUE(ts::WorldManager::getInstance().isStarted());
  EXPECT_EQ(count("GameStart"), 1);
}

TEST_F(GameTest, StartKeyCreatesOneSetOfPlayObjects) {
  ts::ResourceManager::getInstance().loadMusic("Sound/BGM_Start.ogg", "start_bgm");
  new GameStart();
  EXPECT_TRUE(m_log.contains("SUCCESS: GameStart BGM started."));
  ts::EventStep step(0);
  ts::GameManager::getInstance().onEvent(&step);
  press(ts::Keyboard::NUM2);
  press(ts::Keyboard::NUM1);  // same frame: ignored
  ts::WorldManager::getInstance().update();

  EXPECT_TRUE(m_log.contains("ERROR: Game BGM game_bgm2 not found!"));
  EXPECT_TRUE(m_log.contains("GameOver will trigger after 40 seconds"));
  EXPECT_FALSE(m_log.contains("GameOver will trigger after 25 seconds"));
  EXPECT_EQ(m_log.count("GameStart BGM stopped."), 2);  // the start and the destruction
  EXPECT_EQ(count("GameStart"), 0);
  ASSERT_EQ(count("NoteSpawner"), 1);
  EXPECT_EQ(first<NoteSpawner>("NoteSpawner")->getChart().size(), 246u);
  EXPECT_EQ(count("(Undefined)"), 1);  // the keyboard handler
  ASSERT_EQ(count("HitIndicator"), 1);
  EXPECT_EQ(first<HitIndicator>("HitIndicator")->getPosition(), ts::Vector(40, 12));
  EXPECT_EQ(count("ScoreManager"), 1);
  EXPECT_EQ(count("UIManager"), 1);
  EXPECT_EQ(count("Background"), 15);
}

// ------------------------------------------------------------- end of song

TEST_F(GameTest, SongEndsOnceWhenNotesAreDoneAndTheTrackHasStopped) {
  ts::ResourceManager &resources = ts::ResourceManager::getInstance();
  ASSERT_EQ(resources.loadMusic("Sound/BGM_Start.ogg", "track"), 0);
  ts::Music *track = resources.getMusic("track");
  track->play(true);
  createPlayObjects();
  NoteSpawner *spawner = new NoteSpawner({2}, track);
  for (int i = 0; i < 2; ++i) frame();
  ASSERT_EQ(count("Note"), 1);
  for (int i = 0; i < 30; ++i) frame();  // the note is missed at row 25
  EXPECT_EQ(count("Note"), 0);
  EXPECT_EQ(count("GameOver"), 0);  // the track still plays
  track->stop();
  frame();
  EXPECT_TRUE(spawner->hasEndedSong());
  EXPECT_EQ(count("GameOver"), 1);
  EXPECT_TRUE(m_log.contains("No BGM playing. Triggering GameOver."));
  EXPECT_TRUE(m_log.contains("ScoreManager: Current Score: 0, Combo: 0"));
  frame();
  EXPECT_EQ(m_log.count("No BGM playing. Triggering GameOver."), 1);
  EXPECT_EQ(count("GameOver"), 1);
}

// A whole song played by the demo player, frame by frame, with no track:
// every note is pressed on a "Perfect!" row.
TEST_F(GameTest, DemoPlaysTrackOneToAPerfectEnd) {
  ts::GameManager::getInstance().setGameOver(false);
  new GameStart();
  new DemoPlayer(1);
  for (int i = 0; i < 760 && count("GameOver") == 0; ++i) frame();
  EXPECT_TRUE(m_log.contains("Demo: playing track 1."));
  EXPECT_EQ(m_log.count("Correct key pressed! Note hit successfully."), 48);
  EXPECT_TRUE(m_log.contains("ScoreManager: Current Score: 480, Combo: 48"));
  EXPECT_EQ(first<DemoPlayer>("DemoPlayer")->getPressCount(), 48);
  for (int i = 0; i < 90; ++i) frame();
  EXPECT_TRUE(ts::GameManager::getInstance().getGameOver());
}

TEST_F(GameTest, DemoPlaysTrackTwoToAPerfectEnd) {
  new GameStart();
  new DemoPlayer(2);
  for (int i = 0; i < 1200 && count("GameOver") == 0; ++i) frame();
  EXPECT_TRUE(m_log.contains("ScoreManager: Current Score: 2460, Combo: 246"));
  EXPECT_EQ(m_log.count("Incorrect key pressed! No points awarded."), 0);
}

// ------------------------------------------------------------ sprite files

TEST(GameSprites, AllSixLoadAndFitTheScreen) {
  LogCapture log;
  log.start();
  ts::ResourceManager &resources = ts::ResourceManager::getInstance();
  ASSERT_EQ(resources.startUp(), 0);
  struct Expected {
    const char *file, *label;
    int width, height, frames;
  };
  const Expected sprites[] = {
      {"sprites/gamestart-spr.txt", "gamestart", 61, 17, 1}, {"sprites/gameover-spr.txt", "gameover", 57, 11, 2},
      {"sprites/note-down.txt", "note_down", 5, 3, 1},       {"sprites/note-left.txt", "note_left", 5, 3, 1},
      {"sprites/note-right.txt", "note_right", 5, 3, 1},     {"sprites/note-up.txt", "note_up", 5, 3, 1},
  };
  for (const Expected &e : sprites) {
    ASSERT_EQ(resources.loadSprite(e.file, e.label), 0) << e.file;
    const ts::Sprite *sprite = resources.getSprite(e.label);
    EXPECT_EQ(sprite->getWidth(), e.width) << e.file;
    EXPECT_EQ(sprite->getHeight(), e.height) << e.file;
    EXPECT_EQ(sprite->getFrameCount(), e.frames) << e.file;
    // Odd sizes centre on whole cells; both fit the 80 x 24 screen.
    EXPECT_EQ(e.width % 2, 1);
    EXPECT_EQ(e.height % 2, 1);
    EXPECT_LE(e.width, 80);
    EXPECT_LE(e.height, 24 - 6);  // leaves the HUD rows free
  }
  EXPECT_EQ(resources.getSprite("note_left")->getTransparency(), ' ');
  resources.shutDown();
}

}  // namespace

namespace {

// The shipped tracks are as long as the game needs: every chart beat falls
// inside its track, with the track ending shortly after the last one.
TEST(GameMusic, TracksLastAsLongAsTheirCharts) {
  LogCapture log;
  log.start();
  ts::ResourceManager &resources = ts::ResourceManager::getInstance();
  ASSERT_EQ(resources.startUp(), 0);
  ASSERT_EQ(resources.loadMusic("Sound/BGM_Start.ogg", "start_bgm"), 0);
  ASSERT_EQ(resources.loadMusic("Sound/BGM1_Star.ogg", "game_bgm1"), 0);
  ASSERT_EQ(resources.loadMusic("Sound/BGM2_La Campanella.ogg", "game_bgm2"), 0);
  EXPECT_NEAR(resources.getMusic("start_bgm")->getDuration(), 8.0f, 0.01f);
  EXPECT_NEAR(resources.getMusic("game_bgm1")->getDuration(), 25.0f, 0.01f);
  EXPECT_NEAR(resources.getMusic("game_bgm2")->getDuration(), 40.0f, 0.01f);
  for (const std::string &track : {charts::TRACK_ONE, charts::TRACK_TWO}) {
    const double last_beat = charts::beatSeconds(charts::chartFor(track).back());
    const double length = resources.getMusic(track)->getDuration();
    EXPECT_LT(last_beat, length - 0.5) << track;
    EXPECT_GT(last_beat, length - 2.5) << track;
  }
  resources.shutDown();
}

}  // namespace
