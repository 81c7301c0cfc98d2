// Playing a song: the spawner and its chart, notes falling by the note
// clock, keys judged by row into the score, pause, and the song's end. Whole
// songs are played by the end-to-end demo runs.
#include <algorithm>
#include <cstdlib>
#include <set>

#include <tessera/audio/Music.h>

#include "GameWorld.h"
#include "play/Lane.h"
#include "play/NoteSpawner.h"
#include "screens/GameOver.h"
#include "screens/PauseScreen.h"

// Stepped as fast as the machine can, the loop runs far ahead of a playing
// track: the note clock takes exactly one step per frame, and the notes fall
// one row a frame until they are missed past row 24.
TEST_F(GameTest, SpawnerFollowsItsChartOneStepPerFrameAheadOfAPlayingTrack) {
  ASSERT_EQ(ts::ResourceManager::getInstance().loadMusic("Sound/BGM1_Star.ogg", "game_bgm1"), 0);
  ts::Music *track = ts::ResourceManager::getInstance().getMusic("game_bgm1");
  track->play(false);
  createPlayObjects();
  score()->setCombo(7);
  NoteSpawner *spawner = new NoteSpawner({5, 7, 7, 0, -3}, track);
  std::map<const Note *, int> spawned_in;
  for (int f = 1; f <= 29; ++f) {
    frames(1);
    ASSERT_EQ(spawner->getStepCount(), f);
    for (const auto &[note, row] : rows()) {
      if (!spawned_in.count(note)) spawned_in[note] = f;
      ASSERT_EQ(row, f - spawned_in[note]) << "frame " << f;
    }
  }
  std::multiset<int> spawn_frames;
  for (const auto &[note, spawned] : spawned_in) spawn_frames.insert(spawned);
  EXPECT_EQ(spawn_frames, (std::multiset<int>{5, 7}));  // step 7 is listed twice but gives one note
  EXPECT_EQ(score()->getCombo(), 7);                    // not missed yet on row 24
  frames(1);                                            // row 25: missed and destroyed in this frame
  EXPECT_EQ(count("Note"), 1);                          // entries of 0 or below never fire
  EXPECT_EQ(tally(), "Miss! 0 0, HUD 0 0");
  EXPECT_EQ(spawner->getNoteClock().getSingleStepFrames(), 30);
  EXPECT_TRUE(track->isPlaying());
}

// The loop loses five frames at frame 20: the note clock catches up over
// the next frames, spawning every chart entry it passes at the row it would
// have reached, and moving the notes up to three rows a frame. Keys are
// judged by the row a note is on when they come.
TEST_F(GameTest, NotesCatchUpWithTheTrackAndAreJudgedByTheirRow) {
  createPlayObjects();
  int lead = 0;
  NoteSpawner *spawner = new Scripted<NoteSpawner>(gridTrack(lead), std::vector<int32_t>{1, 2, 22, 24, 25});
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
  NoteSpawner *spawner = new Scripted<NoteSpawner>(
      [&] {
        return Reading(NoteClock::TrackReading{track_ms - 1.0, clock_ms});
      },
      std::vector<int32_t>{1});
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

  // The HUD's views show its values once it draws (their places and frames:
  // the end-to-end screen checks).
  hud()->draw();
  EXPECT_EQ(hud()->getScoreView()->composeText(), " Score 40 ");
  EXPECT_EQ(hud()->getComboView()->composeText(), " Combo 1 ");
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
