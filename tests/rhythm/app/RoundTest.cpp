// Whole rounds through the game manager's loop, headless and with 1 ms
// frames: a scripted player picks a song and presses the arrow of each note
// on the row its script gives; the round loop shows the results, keeps the
// best score and comes back to the start screen until Escape.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "GameWorld.h"
#include "TempFolder.h"
#include "app/NextRound.h"
#include "app/QuitRequest.h"
#include "app/RoundLoop.h"
#include "play/FirstOfType.h"
#include "play/Lane.h"
#include "play/NoteSpawner.h"
#include "screens/GameOver.h"
#include "screens/GameStart.h"
#include "screens/PauseMenu.h"
#include "screens/ResultsScreen.h"

namespace fs = std::filesystem;

namespace {

const float LET_PASS = 0;  // a row no key is pressed on: the note is missed

// Presses its start key at its first step; then the arrow of the n-th note
// when that note is on the n-th row of the script. It may also press Escape
// in the last frame of the results, the one that ends the game loop.
class ScriptedPlayer : public ts::Object {
 public:
  ScriptedPlayer(ts::Keyboard::Key start_key, std::vector<float> rows, bool escape_as_results_end = false)
      : m_start_key(start_key), m_rows(rows), m_escape_as_results_end(escape_as_results_end) {
    setType("ScriptedPlayer");
    registerInterest(ts::STEP_EVENT);
  }
  int eventHandler(const ts::Event *p_event) override {
    if (p_event->getType() != ts::STEP_EVENT) return 0;
    if (!m_started) {
      m_started = true;
      press(m_start_key);
      return 1;
    }
    // Steps reach this player before the game-over screen, which counts
    // down to 0 later in this frame.
    ts::ObjectList screens = ts::WorldManager::getInstance().objectsOfType("GameOver");
    if (m_escape_as_results_end && !screens.isEmpty() &&
        dynamic_cast<const GameOver *>(screens[0])->getTimeToLive() == 1)
      press(ts::Keyboard::ESCAPE);
    ts::ObjectList notes = ts::WorldManager::getInstance().objectsOfType("Note");
    for (int i = 0; i < notes.getCount(); ++i) {
      const Note *note = dynamic_cast<const Note *>(notes[i]);
      const size_t index = m_order.emplace(note->getSerial(), m_order.size()).first->second;
      if (index < m_rows.size() && note->getPosition().getY() == m_rows[index] && !note->isHit())
        press(Lane::ofDirection(note->getDirection())->key);
    }
    return 1;
  }

 private:
  ts::Keyboard::Key m_start_key;
  std::vector<float> m_rows;
  bool m_escape_as_results_end;
  bool m_started = false;
  std::map<uint64_t, size_t> m_order;  // notes by serial, numbered as first seen
};

// Calls its script with the number of each step of the round, from 1,
// before the play objects (created later) see that step.
class StepScript : public ts::Object {
 public:
  explicit StepScript(std::function<void(int step)> script) : m_script(std::move(script)) {
    setType("StepScript");
    registerInterest(ts::STEP_EVENT);
  }
  int eventHandler(const ts::Event *p_event) override {
    if (p_event->getType() != ts::STEP_EVENT) return 0;
    m_script(++m_step);
    // A round the script cannot end fails the test instead of hanging it.
    if (m_step == GIVE_UP_STEP) QuitRequest::make();
    return 1;
  }

 private:
  static constexpr int GIVE_UP_STEP = 3000;
  std::function<void(int)> m_script;
  int m_step = 0;
};

// A round loop whose rounds are set up by the test once the start screen is
// there (after the demo player, if any, joined).
class ScriptedRounds : public RoundLoop {
 public:
  ScriptedRounds(Options options, std::function<void(GameStart &, int round)> setup)
      : RoundLoop(std::move(options)), m_setup(std::move(setup)) {}

 protected:
  void startRound() override {
    RoundLoop::startRound();
    ts::ObjectList starts = ts::WorldManager::getInstance().objectsOfType("GameStart");
    m_setup(*dynamic_cast<GameStart *>(starts[0]), getRoundCount());
  }

 private:
  std::function<void(GameStart &, int)> m_setup;
};

long residentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

int objectsInWorld() {
  const ts::SceneGraph &graph = ts::WorldManager::getInstance().getSceneGraph();
  return graph.activeObjects().getCount() + graph.inactiveObjects().getCount();
}

class RoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_DATA_HOME", (m_folder + "/data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (m_folder + "/config").c_str(), 1);
    const std::string config =
        m_temp.file("ts-config.txt", "networking:false,\nheadless:true,\nframe_time:1,\nrandom_seed:5,\n");
    setenv("TESSERA_CONFIG", config.c_str(), 1);
    ASSERT_EQ(ts::GameManager::getInstance().startUp(), 0);
  }
  void TearDown() override { ts::GameManager::getInstance().shutDown(); }

  // Options for songs given by the test: no chart folder to read.
  // The scripted player presses on rows, which the classic rules judge.
  static RoundLoop::Options classic() {
    RoundLoop::Options options;
    options.rules = Rules::CLASSIC;
    return options;
  }
  RoundLoop::Options handMade() const {
    RoundLoop::Options options = classic();
    options.chart_folders = {};
    return options;
  }
  // A song on key 1 with ten notes in set lanes and no music, which ends as
  // soon as its notes are done.
  static Song tenNotes() {
    Song song;
    song.file_name = "ten.chart";
    song.title = "Ten";
    song.track_label = "no music";
    song.steps = {5, 15, 25, 35, 45, 55, 65, 75, 85, 95};
    song.lanes = {0, 1, 2, 3, 0, 1, 2, 3, 0, 1};
    song.key = 1;
    return song;
  }
  // The game as shipped, with the test's songs.
  RoundLoop::Options shipped() const {
    RoundLoop::Options options = handMade();
    options.rules = Rules::FAIR;
    return options;
  }
  std::string scoresFile() const { return m_folder + "/data/tessera-rhythm/scores.txt"; }

  testing_support::LogCapture m_log;
  TempFolder m_temp;
  const std::string m_folder = m_temp.path();
};

}  // namespace

// Four songs: the results of each, the best score kept only when beaten,
// and the start screen back after every song, but the last: Escape in the
// frame that ends its results screen ends the game.
TEST_F(RoundTest, RoundsComeBackToTheStartScreenUntilEscapeAndKeepTheBestScore) {
  const std::vector<float> scripts[] = {
      {19, 19, LET_PASS, 19, 19, 19, 21, 21, 19, LET_PASS},  // 6 Perfect, 2 Good, 2 Miss
      {20},                                                  // one Perfect
      {20, 20, 20, 20, 20, 20, 20, 20, 20, 20}};
  ScriptedRounds rounds(handMade(), [&](GameStart &start, int round) {
    start.setSongs({tenNotes()});
    if (round <= 3) new ScriptedPlayer(ts::Keyboard::NUM1, scripts[round - 1]);
    if (round == 4) new ScriptedPlayer(ts::Keyboard::NUM1, {}, true);
    if (round > 4) new ScriptedPlayer(ts::Keyboard::ESCAPE, {});  // only if Escape was missed
  });
  rounds.run();
  EXPECT_EQ(rounds.getRoundCount(), 4);
  const std::string results = "Results: 'Ten' (ten.chart): ";
  EXPECT_TRUE(m_log.contains(results + "Perfect 6, Good 2, Miss 2, longest combo 6, score 70, accuracy 70.0%, grade C; "
                                       "New best! (the first score kept)"));
  EXPECT_TRUE(m_log.contains("ScoreManager: Current Score: 70, Combo: 0"));  // the last note was missed
  EXPECT_TRUE(m_log.contains(results + "Perfect 1, Good 0, Miss 9, longest combo 1, score 10, accuracy 10.0%, grade D; "
                                       "the best stays 70."));
  EXPECT_TRUE(m_log.contains(results +
                             "Perfect 10, Good 0, Miss 0, longest combo 10, score 100, accuracy 100.0%, grade S; "
                             "New best! (was 70)"));
  for (int round = 1; round <= 3; ++round)
    EXPECT_TRUE(m_log.contains("RoundLoop: round " + std::to_string(round) + " over: the song is over."));
  EXPECT_TRUE(m_log.contains("RoundLoop: round 4 over: the player left."));
  EXPECT_EQ(m_log.count("GameOver screen displayed."), 4);
  EXPECT_EQ(m_log.count("Game shutting down."), 4);
  const std::string kept = contents(scoresFile());
  EXPECT_EQ(kept.substr(kept.rfind('\n', kept.size() - 2) + 1), "100 ten.chart\n");
}

// The demo plays its song perfectly and ends after the results, like --once;
// the kept best score stays as it was.
TEST_F(RoundTest, DemoRoundEndsAfterItsResultsAndLeavesKeptScoresAlone) {
  m_temp.file("data/tessera-rhythm/scores.txt", "5 ten.chart\n");
  RoundLoop::Options options = handMade();
  options.demo_track = 1;
  ScriptedRounds rounds(options, [](GameStart &start, int) { start.setSongs({tenNotes()}); });
  rounds.run();
  EXPECT_EQ(rounds.getRoundCount(), 1);
  EXPECT_TRUE(
      m_log.contains("Results: 'Ten' (ten.chart): Perfect 10, Good 0, Miss 0, longest combo 10, score 100, "
                     "accuracy 100.0%, grade S; best scores are not kept in this run."));
  EXPECT_EQ(contents(scoresFile()), "5 ten.chart\n");
}

// Every round leaves the same objects in the world, and clearing it leaves
// none; the memory after twenty rounds is what one round left.
TEST_F(RoundTest, TwentyRoundsLeaveTheWorldAndMemoryAsOneRoundDoes) {
  ScriptedRounds rounds(handMade(), [](GameStart &start, int) {
    Song song = tenNotes();
    song.steps = {5, 9, 13};
    song.lanes = {0, 1, 2};
    start.setSongs({song});
    new ScriptedPlayer(ts::Keyboard::NUM1, {19, 21, LET_PASS});
  });
  int objects_after_first = 0;
  long memory_after_first = 0;
  for (int round = 1; round <= 20; ++round) {
    ASSERT_EQ(rounds.playRound(), RoundLoop::RoundEnd::SONG_FINISHED) << round;
    if (round == 1) objects_after_first = objectsInWorld();
    EXPECT_EQ(objectsInWorld(), objects_after_first) << round;
    rounds.clearRound();
    EXPECT_EQ(objectsInWorld(), 0) << round;
    if (round == 1) memory_after_first = residentKilobytes();
  }
  EXPECT_GT(objects_after_first, 20);  // the play objects, the stars, the results
#ifndef __SANITIZE_ADDRESS__
  const long growth = residentKilobytes() - memory_after_first;
  EXPECT_LT(growth, 512) << "kB more after 20 rounds than after 1";
#else
  // The address sanitizer holds freed memory back for a while, so resident
  // memory grows with every allocation; its leak check stands in here.
  (void)memory_after_first;
#endif
  EXPECT_EQ(m_log.count("Results: 'Ten' (ten.chart): Perfect 1, Good 1, Miss 1, longest combo 2, score 15, accuracy "
                        "50.0%, grade D; the best stays 15."),
            19);
}

// A chart dropped with its music into the player's data folder plays on key
// 3 (after the game's songs), with its music and the lanes it gives.
TEST_F(RoundTest, AChartInThePlayersDataFolderPlaysWithItsMusicAndLanes) {
  const std::string charts = m_folder + "/data/tessera-rhythm/charts";
  m_temp.file("data/tessera-rhythm/charts/tone.chart",
              "title: Test Tone\nmusic: tone.ogg\nnotes: 3:left 6:right 9:up\n");
  fs::copy_file(std::string(TESSERA_SOURCE_DIR) + "/tests/support/data/tone.ogg", charts + "/tone.ogg");
  ScriptedRounds rounds(classic(), [](GameStart &, int) { new ScriptedPlayer(ts::Keyboard::NUM3, {19, 19, 19}); });
  ASSERT_EQ(rounds.playRound(), RoundLoop::RoundEnd::SONG_FINISHED);
  EXPECT_TRUE(m_log.contains("SUCCESS: Game BGM song:" + fs::canonical(charts + "/tone.ogg").string() + " started."));
  EXPECT_TRUE(m_log.contains("GameOver will trigger after 2 seconds"));
  std::vector<std::string> spawned;
  for (const std::string &line : m_log.messages())
    if (line.rfind("Note spawned in lane", 0) == 0) spawned.push_back(line.substr(0, 42));
  EXPECT_EQ(spawned, (std::vector<std::string>{"Note spawned in lane 0 with direction left",
                                               "Note spawned in lane 3 with direction righ",
                                               "Note spawned in lane 1 with direction up a"}));
  EXPECT_TRUE(
      m_log.contains("Results: 'Test Tone' (tone.chart): Perfect 3, Good 0, Miss 0, longest combo 3, score 30, "
                     "accuracy 100.0%, grade S; New best! (the first score kept)"));
}

// The program itself: an engine that cannot open its log ends the game at once.
TEST(RhythmProgram, FailedLogStartEndsWithExitStatusOne) {
  testing_support::LogCapture err;  // a spare file for the game's standard error
  int status = std::system(("TESSERA_LOG=/tmp/no-such-dir/x.log " RHYTHM_BINARY " 2>" + err.path()).c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  // The engine's two log lines (on standard error, as the log is not open),
  // then the game's one line for the terminal.
  std::vector<std::string> lines = err.rawLines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].substr(14), "LogManager::startup(): Warning! Unable to open file '/tmp/no-such-dir/x.log'.");
  EXPECT_EQ(lines[1].substr(14), "GameManager::startUp(): Error! Starting log manager.");
  EXPECT_EQ(lines[2], "rhythm: the engine did not start: cannot write the log /tmp/no-such-dir/x.log");
}

// The pause menu: Escape holds the song, Enter on Resume counts 3, 2, 1
// with the notes held before they move again; P and Retry play the song
// again in the next round, which starts it at once; Escape, Escape goes to
// the song list, where Escape quits.
TEST_F(RoundTest, PauseMenuCountsDownBeforeResumingAndRetriesOrGoesToTheSongList) {
  int resumed_at = 0, held_from = 0, steps_held = -1;
  std::vector<std::string> shown_at_enter, shown_later;
  ScriptedRounds rounds(shipped(), [&](GameStart &start, int round) {
    start.setSongs({tenNotes()});
    new StepScript([&, round](int step) {
      NoteSpawner *p_spawner = firstOfType<NoteSpawner>("NoteSpawner");
      PauseMenu *p_menu = firstOfType<PauseMenu>("PauseMenu");
      if (round == 1) {
        if (step == 1) press(ts::Keyboard::NUM1);
        if (step == 10) press(ts::Keyboard::ESCAPE);
        if (step == 11) held_from = p_spawner->getStepCount();
        if (step == 12) {
          press(ts::Keyboard::RETURN);
          shown_at_enter = p_menu->lines();
        }
        if (step == 80) shown_later = p_menu->lines();
        if (step > 12 && !resumed_at && !p_spawner->isPaused()) {
          resumed_at = step;
          steps_held = p_spawner->getStepCount() - held_from;
        }
        if (step == 120) press(ts::Keyboard::P);
        if (step == 121) press(ts::Keyboard::DOWNARROW);
        if (step == 122) press(ts::Keyboard::RETURN);
      }
      if (round == 2 && step == 5) press(ts::Keyboard::ESCAPE);
      if (round == 2 && step == 6) press(ts::Keyboard::ESCAPE);
      if (round == 3 && step == 2) press(ts::Keyboard::ESCAPE);
    });
  });
  rounds.run();
  EXPECT_EQ(shown_at_enter, (std::vector<std::string>{"", "Get ready: 3", ""}));
  EXPECT_EQ(shown_later, (std::vector<std::string>{"", "Get ready: 1", ""}));
  EXPECT_EQ(steps_held, 0);
  EXPECT_GE(resumed_at, 12 + 3 * PauseMenu::STEPS_PER_COUNT - 1);
  EXPECT_LE(resumed_at, 12 + 3 * PauseMenu::STEPS_PER_COUNT + 1);
  EXPECT_EQ(rounds.getRoundCount(), 3);
  EXPECT_EQ(m_log.count("GameStart: playing 'Ten' (ten.chart)."), 2);
  EXPECT_TRUE(m_log.contains("RoundLoop: round 1 over: the player asked for the song again."));
  EXPECT_TRUE(m_log.contains("RoundLoop: round 2 over: the player went back to the song list."));
  EXPECT_TRUE(m_log.contains("RoundLoop: round 3 over: the player left."));
  EXPECT_EQ(m_log.count("ESC pressed! Exiting game..."), 1);  // only the song list's Escape quits
  EXPECT_EQ(m_log.count("Results: 'Ten' (ten.chart): "), 0);
}

// Once the song is over the results stay, under "Cleared", until a key: R
// plays the song again, Enter goes to the song list. A run with --once still
// ends after the results' three seconds.
TEST_F(RoundTest, ResultsWaitForRToRetryOrEnterForTheSongList) {
  ts::ResourceManager::getInstance().loadSprite("sprites/cleared-spr.txt", "cleared");
  std::string sprite_while_waiting;
  int time_to_live_while_waiting = 0;
  ScriptedRounds rounds(shipped(), [&](GameStart &start, int round) {
    start.setSongs({tenNotes()});
    int shown_at = 0;
    new StepScript([&, round, shown_at](int step) mutable {
      if (round == 1 && step == 1) press(ts::Keyboard::NUM1);
      if (round == 3 && step == 2) press(ts::Keyboard::ESCAPE);
      ResultsScreen *p_results = firstOfType<ResultsScreen>("ResultsScreen");
      if (!p_results || !p_results->isShown()) return;
      if (!shown_at) shown_at = step;
      if (step - shown_at < 300) return;
      const GameOver *p_over = firstOfType<GameOver>("GameOver");
      time_to_live_while_waiting = p_over->getTimeToLive();
      sprite_while_waiting = p_over->getAnimation().getSprite()->getLabel();
      press(round == 1 ? ts::Keyboard::R : ts::Keyboard::RETURN);
    });
  });
  rounds.run();
  EXPECT_EQ(sprite_while_waiting, "cleared");
  EXPECT_EQ(time_to_live_while_waiting, 90);
  EXPECT_EQ(rounds.getRoundCount(), 3);
  EXPECT_EQ(m_log.count("Results: 'Ten' (ten.chart): Perfect 0, Good 0, Miss 10, longest combo 0, score 0, accuracy "
                        "0.0%, grade D; no best score yet."),
            2);
  EXPECT_TRUE(m_log.contains("RoundLoop: round 1 over: the player asked for the song again."));
  EXPECT_TRUE(m_log.contains("RoundLoop: round 2 over: the player went back to the song list."));
  EXPECT_EQ(m_log.count("Game shutting down."), 0);

  rounds.clearRound();
  RoundLoop::Options once = shipped();
  once.once = true;
  ScriptedRounds one_round(once, [](GameStart &start, int) {
    start.setSongs({tenNotes()});
    new StepScript([](int step) {
      if (step == 1) press(ts::Keyboard::NUM1);
    });
  });
  one_round.run();
  EXPECT_EQ(one_round.getRoundCount(), 1);
  EXPECT_EQ(m_log.count("Game shutting down."), 1);
}

// A calibration's offset is played with in the rounds after its own, not
// only until its round ends.
TEST_F(RoundTest, ACalibratedOffsetLastsIntoLaterRounds) {
  RoundLoop::Options options = shipped();
  options.offset_ms = -20;
  std::vector<int> offsets;
  ScriptedRounds rounds(options, [&](GameStart &start, int round) {
    offsets.push_back(start.getAudioOffset());
    GameStart *p_start = &start;
    new StepScript([p_start, round](int step) {
      if (round == 1 && step == 1) p_start->openCalibration();
      if (round == 1 && step == 2) p_start->endCalibration(35);
      if (round == 1 && step == 3) NextRound::request(NextRound::SONG_LIST);
      if (round == 2 && step == 2) press(ts::Keyboard::ESCAPE);
    });
  });
  rounds.run();
  EXPECT_EQ(offsets, (std::vector<int>{-20, 35}));
}

// A retry (or the song list) while the song plays stops its music: the
// retried round waits out its lead-in in silence, instead of its note clock
// following the old round's music.
TEST_F(RoundTest, LeavingASongStopsItsMusic) {
  ts::ResourceManager &resources = ts::ResourceManager::getInstance();
  ASSERT_EQ(resources.loadMusic(std::string(TESSERA_SOURCE_DIR) + "/tests/support/data/tone.ogg", "tone"), 0);
  ts::Music *p_tone = resources.getMusic("tone");
  Song song = tenNotes();
  song.track_label = "tone";
  song.steps = {40};
  song.lanes = {0};
  bool played = false, playing_after_retry = true;
  ScriptedRounds rounds(shipped(), [&](GameStart &start, int round) {
    start.setSongs({song});
    new StepScript([&, round](int step) {
      if (round == 1 && step == 1) press(ts::Keyboard::NUM1);
      if (round == 1 && !played && p_tone->isPlaying()) {
        played = true;
        press(ts::Keyboard::R);
      }
      if (round == 2 && step == 2) playing_after_retry = p_tone->isPlaying();
      if (round == 2 && step == 3) QuitRequest::make();
    });
  });
  rounds.run();
  EXPECT_TRUE(played);
  EXPECT_EQ(rounds.getRoundCount(), 2);
  EXPECT_FALSE(playing_after_retry);
}
