// The screens: the start screen and its start keys, calibration, stars, and
// the data files they are laid out for.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <tuple>

#include <tessera/audio/AudioDevice.h>
#include <tessera/audio/Music.h>
#include <tessera/world/EventOut.h>

#include "GameWorld.h"
#include "TempFolder.h"
#include "play/Lane.h"
#include "play/NoteSpawner.h"
#include "play/Results.h"
#include "player/GameSettings.h"
#include "screens/Background.h"
#include "screens/Calibration.h"
#include "screens/GameStart.h"
#include "screens/ResultsScreen.h"
#include "songs/ClickTrack.h"

namespace {

// Runs without an audio device: the audio backend is given a driver that
// does not exist before anything asks for a device.
class GameTestWithoutSound : public GameTest {
 protected:
  GameTestWithoutSound() { setenv("ALSOFT_DRIVERS", "no-such-driver", 1); }
};

}  // namespace

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
  const TempFolder folder;
  const std::string config = folder.path() + "/config";
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  ASSERT_EQ(ts::ResourceManager::getInstance().loadMusic(click_track::FILE_NAME, click_track::LABEL), 0);
  GameStart *start = new GameStart();
  start->setAudioOffset(-20);
  press(ts::Keyboard::C);  // opens the real screen, which plays the click track
  ASSERT_TRUE(start->isCalibrating());
  press(ts::Keyboard::NUM1);  // ignored while calibrating
  EXPECT_FALSE(start->hasStartedGame());
  press(ts::Keyboard::ESCAPE);  // leaves without saving; does not end the game
  ts::WorldManager::getInstance().update();
  EXPECT_EQ(count("Calibration"), 0);
  EXPECT_FALSE(start->isCalibrating() || ts::GameManager::getInstance().getGameOver());
  EXPECT_EQ(start->getAudioOffset(), -20);

  // Now the scripted one, with the start screen calibrating.
  press(ts::Keyboard::C);
  ts::WorldManager::getInstance().markForDelete(first<Calibration>("Calibration"));
  ts::WorldManager::getInstance().update();
  int lead = 0;
  Calibration *calibration = new Scripted<Calibration>(gridTrack(lead), GameSettings::defaultPath());
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
}

// Under the fair rules a tap counts at its own time on the click track, as
// a press in play does, not at the frame that handles it: taps 40 ms after
// each click give 40 ms, give or take the millisecond the clock may stand
// off the track within its steady band.
TEST_F(GameTest, FairCalibrationTimesEachTapByItsOwnTime) {
  const TempFolder folder;
  setenv("XDG_CONFIG_HOME", (folder.path() + "/config").c_str(), 1);
  folder.file("config/tessera-rhythm/settings.txt", "rules:classic,\n");  // kept through the save
  ASSERT_EQ(ts::ResourceManager::getInstance().loadMusic(click_track::FILE_NAME, click_track::LABEL), 0);
  int lead = 0;
  Calibration *calibration = new Scripted<Calibration>(gridTrack(lead), GameSettings::defaultPath(), Rules::FAIR);
  ASSERT_EQ(calibration->getState(), Calibration::LISTENING);
  std::vector<double> taps_on_clock_ms;  // the track is 1 ms behind the clock
  for (double click : click_track::tappedClicksMs()) taps_on_clock_ms.push_back(click + 40 + 1);
  size_t next = 0;
  while (calibration->getState() == Calibration::LISTENING && m_frame < 500) {
    frame();
    for (; next < taps_on_clock_ms.size() && taps_on_clock_ms[next] <= m_frame * 33.0; ++next) {
      ts::EventKeyboard tap;
      tap.setKey(ts::Keyboard::SPACE);
      tap.setKeyboardAction(ts::KEY_PRESSED);
      tap.setTime(static_cast<int64_t>(taps_on_clock_ms[next] * 1000));
      ts::InputManager::getInstance().onEvent(&tap);
    }
  }
  ASSERT_TRUE(calibration->getOffset().has_value());
  EXPECT_NEAR(*calibration->getOffset(), 40, 1);
  GameSettings saved;
  saved.load(GameSettings::defaultPath());
  EXPECT_EQ(saved.getOffsetMs(), *calibration->getOffset());
  EXPECT_EQ(saved.getRules(), Rules::CLASSIC);
}

TEST_F(GameTestWithoutSound, CalibrationSaysItNeedsSoundAndSavesNothing) {
  if (ts::AudioDevice::isAvailable()) GTEST_SKIP() << "a device was opened before the driver could be set";
  const TempFolder folder;
  const std::string config = folder.path() + "/config";
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
TEST_F(GameTest, BareStartScreenIgnoresOtherKeysAndStartsTrackOneOnKey1WithItsLogLines) {
  ASSERT_EQ(ts::ResourceManager::getInstance().loadMusic("Sound/BGM_Start.ogg", "start_bgm"), 0);
  GameStart *start = new GameStart();
  press(ts::Keyboard::NUM1, ts::KEY_RELEASED);
  press(ts::Keyboard::A);
  press(ts::Keyboard::NUM3);  // no third song
  EXPECT_FALSE(start->hasStartedGame());
  frames(1, {ts::Keyboard::NUM1, ts::Keyboard::NUM2});  // the second key in the same frame is ignored
  std::vector<std::string> lines;                       // the start screen's own lines
  for (const std::string &line : m_log.messages())
    for (const char *prefix : {"SUCCESS", "ERROR", "GameStart", "GameOver"})
      if (line.rfind(prefix, 0) == 0) lines.push_back(line);
  EXPECT_EQ(lines,
            (std::vector<std::string>{"SUCCESS: GameStart BGM started.", "GameStart BGM stopped.",
                                      "GameStart: playing 'Star' (star.chart).", "SUCCESS: Game BGM game_bgm1 started.",
                                      "GameOver will trigger after 25 seconds", "GameStart BGM stopped."}));
  const std::pair<const char *, int> expected[] = {{"GameStart", 0},    {"NoteSpawner", 1},
                                                   {"(Undefined)", 1},  {"HitIndicator", 1},
                                                   {"ScoreManager", 1}, {"UIManager", 1},
                                                   {"Background", 15},  {"PauseScreen", 1},
                                                   {"ResultsScreen", 1}};  // "(Undefined)": the keyboard handler
  for (const auto &[type, n] : expected) ASSERT_EQ(count(type), n) << type;
  EXPECT_EQ(first<NoteSpawner>("NoteSpawner")->getChart().size(), 48u);
  EXPECT_EQ(indicator()->getPosition(), ts::Vector(40, 12));
}

// Escape only ends the loop; the entry point stops the engine afterwards.
TEST_F(GameTest, BareStartScreenStartsTrackTwoOnKey2AndEscapeEndsOnlyTheLoop) {
  ts::GameManager::getInstance().setGameOver(false);
  GameStart *start = new GameStart();  // no start music loaded
  EXPECT_TRUE(m_log.contains("ERROR: GameStart BGM not found!"));
  press(ts::Keyboard::ESCAPE);
  EXPECT_TRUE(m_log.contains("ESC pressed! Exiting game..."));
  EXPECT_TRUE(ts::GameManager::getInstance().getGameOver());
  EXPECT_TRUE(ts::WorldManager::getInstance().isStarted() && count("GameStart") == 1);
  press(ts::Keyboard::NUM2);
  EXPECT_TRUE(start->hasStartedGame());
  EXPECT_TRUE(m_log.contains("SUCCESS: Game BGM game_bgm2 started."));
  EXPECT_TRUE(m_log.contains("GameOver will trigger after 40 seconds"));
  EXPECT_EQ(first<NoteSpawner>("NoteSpawner")->getChart().size(), 246u);
}

// The shipped sprites, of the sizes the screens are laid out for.
TEST_F(GameTest, SpritesFitTheScreens) {
  ts::ResourceManager &resources = ts::ResourceManager::getInstance();
  ASSERT_EQ(resources.loadSprite("sprites/gamestart-spr.txt", "gamestart"), 0);
  ASSERT_EQ(resources.loadSprite("sprites/gameover-spr.txt", "gameover"), 0);
  ASSERT_EQ(resources.loadSprite("sprites/cleared-spr.txt", "cleared"), 0);
  const std::tuple<const char *, int, int, int> sprites[] = {{"gamestart", 77, 23, 1}, {"gameover", 57, 11, 2},
                                                             {"cleared", 57, 11, 2},
                                                             {"note_down", 5, 3, 1},   {"note_left", 5, 3, 1},
                                                             {"note_right", 5, 3, 1},  {"note_up", 5, 3, 1}};
  for (const auto &[label, width, height, frames] : sprites) {
    const ts::Sprite *sprite = resources.getSprite(label);
    ASSERT_NE(sprite, nullptr) << label;
    EXPECT_EQ(sprite->getWidth(), width) << label;
    EXPECT_EQ(sprite->getHeight(), height) << label;
    EXPECT_EQ(sprite->getFrameCount(), frames) << label;
  }
}

// "New best!" only when the score was saved; otherwise the results say it
// was not kept, and why.
TEST_F(GameTest, ResultsSayNewBestOnlyWhenTheScoreWasSaved) {
  TempFolder folder;
  // The file may have a name this long, but a temporary name beside it no longer fits.
  const std::string unsavable = folder.path() + "/" + std::string(245, 's') + ".txt";
  folder.file(std::string(245, 's') + ".txt", "5 ten.chart\n");
  const Results results(10, 0, 0, 10, 100, 10);
  ResultsScreen *p_lost = new ResultsScreen("ten.chart", "Ten", unsavable);
  p_lost->show(results);
  EXPECT_FALSE(p_lost->isNewBest());
  ASSERT_EQ(p_lost->lines().size(), 3u);
  EXPECT_EQ(p_lost->lines()[2].rfind("Score not kept: cannot create a file in '" + folder.path() + "': ", 0), 0u)
      << p_lost->lines()[2];
  EXPECT_TRUE(m_log.contains("BestScores::save(): Error! Cannot write '" + unsavable + "' (cannot create a file in '" +
                             folder.path() + "': File name too long); the scores file is left as it was."));
  EXPECT_TRUE(
      m_log.contains("Results: 'Ten' (ten.chart): Perfect 10, Good 0, Miss 0, longest combo 10, score 100, "
                     "accuracy 100.0%, grade S; the score could not be kept (cannot create a file in '" +
                     folder.path() + "': File name too long)."));
  EXPECT_EQ(contents(unsavable), "5 ten.chart\n");

  ResultsScreen *p_kept = new ResultsScreen("ten.chart", "Ten", folder.path() + "/scores.txt");
  p_kept->show(results);
  EXPECT_TRUE(p_kept->isNewBest());
  EXPECT_EQ(p_kept->lines()[2], "New best!");
}

// S opens the settings screen; Enter saves what was changed there (the
// file's own audio offset stays) and the next song plays with it: the lane
// keys D F J K, the song's offset added to the audio offset, no hit-error
// bar. Escape leaves without saving.
TEST_F(GameTest, SettingsScreenChangesAreSavedAndPlayedWith) {
  const TempFolder folder;
  const std::string path = folder.file("settings.txt", "audio_offset_ms:40,\n");
  GameSettings settings;
  GameStart *start = new GameStart();
  start->setRules(Rules::FAIR);
  start->setAudioOffset(-20);  // given on the command line
  start->setPlayerSettings(&settings, path);
  Song song;
  song.file_name = song.title = "ten.chart";
  song.score_key = "mine/ten.chart";
  song.steps = {30};
  start->setSongs({song});

  press(ts::Keyboard::S);
  press(ts::Keyboard::NUM1);  // ignored while the settings are open
  ASSERT_TRUE(start->isInSettings());
  EXPECT_FALSE(start->hasStartedGame());
  for (ts::Keyboard::Key key : {ts::Keyboard::RIGHTARROW, ts::Keyboard::DOWNARROW, ts::Keyboard::RIGHTARROW,
                                ts::Keyboard::DOWNARROW, ts::Keyboard::RIGHTARROW, ts::Keyboard::RIGHTARROW,
                                ts::Keyboard::DOWNARROW, ts::Keyboard::LEFTARROW})
    press(key);
  press(ts::Keyboard::RETURN);
  frames(1);
  EXPECT_EQ(count("SettingsScreen"), 0);
  EXPECT_FALSE(start->isInSettings());
  GameSettings saved;
  saved.load(path);
  EXPECT_EQ(saved.getOffsetMs(), 40);
  EXPECT_DOUBLE_EQ(saved.getScrollSpeed(), 1.25);
  EXPECT_EQ(saved.getSongOffsetMs("mine/ten.chart"), 10);
  EXPECT_DOUBLE_EQ(settings.getScrollSpeed(), 1.25);

  press(ts::Keyboard::S);
  press(ts::Keyboard::RIGHTARROW);
  press(ts::Keyboard::ESCAPE);  // unsaved, and the game goes on
  frames(1);
  EXPECT_FALSE(start->isInSettings() || ts::GameManager::getInstance().getGameOver());
  EXPECT_DOUBLE_EQ(settings.getScrollSpeed(), 1.25);

  press(ts::Keyboard::RETURN);
  ASSERT_TRUE(start->hasStartedGame());
  frames(1);  // the start screen is gone
  EXPECT_EQ(first<NoteSpawner>("NoteSpawner")->getNoteClock().getOffsetMs(), -10);
  EXPECT_EQ(count("HitErrorBar"), 0);
  EXPECT_EQ(Lane::ofKey(ts::Keyboard::D), &LANES[0]);
  EXPECT_EQ(Lane::ofKey(ts::Keyboard::K), &LANES[3]);
  EXPECT_EQ(Lane::ofKey(ts::Keyboard::LEFTARROW), nullptr);
}

// Resting on a song plays its music from its preview's start (a third of
// the way in when the chart gives none); moving on, opening the settings
// or starting the song stops it, and the song itself plays from its start.
TEST_F(GameTest, ThePreviewPlaysFromItsStartAndStopsWhenLeaving) {
  ts::ResourceManager &resources = ts::ResourceManager::getInstance();
  ASSERT_EQ(resources.loadMusic(std::string(TESSERA_SOURCE_DIR) + "/tests/support/data/tone.ogg", "tone"), 0);
  ts::Music *p_tone = resources.getMusic("tone");
  std::vector<Song> songs(2);
  for (Song &song : songs) {
    song.track_label = "tone";
    song.length_seconds = 2.1;
    song.steps = {40};
  }
  songs[0].title = "Third";
  songs[1].title = "Given";
  songs[1].preview_seconds = 1.5;
  GameStart *start = new GameStart();
  start->setRules(Rules::FAIR);
  start->setSongs(songs);
  frames(GameStart::PREVIEW_DELAY_STEPS - 1);
  EXPECT_EQ(start->getPreview(), nullptr);
  frames(1);
  EXPECT_EQ(start->getPreview(), p_tone);
  EXPECT_NEAR(p_tone->getPlayingOffset(), 0.7, 0.1);
  EXPECT_TRUE(m_log.contains("GameStart: previewing 'Third' from 0.7 s."));

  press(ts::Keyboard::DOWNARROW);
  EXPECT_FALSE(p_tone->isPlaying());
  frames(GameStart::PREVIEW_DELAY_STEPS);
  EXPECT_NEAR(p_tone->getPlayingOffset(), 1.5, 0.1);
  press(ts::Keyboard::S);
  EXPECT_FALSE(p_tone->isPlaying());
  press(ts::Keyboard::ESCAPE);
  frames(GameStart::PREVIEW_DELAY_STEPS);
  EXPECT_TRUE(p_tone->isPlaying());

  // The song's own music waits out the lead-in: the preview has stopped.
  press(ts::Keyboard::RETURN);
  EXPECT_EQ(start->getPreview(), nullptr);
  EXPECT_FALSE(p_tone->isPlaying());
  EXPECT_TRUE(m_log.contains("GameStart: playing 'Given' ()."));
}
