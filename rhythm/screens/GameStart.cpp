#include "screens/GameStart.h"

#include <cmath>

#include <tessera/audio/Music.h>
#include <tessera/core/LogManager.h>
#include <tessera/input/EventKeyboard.h>
#include <tessera/resources/ResourceManager.h>
#include <tessera/world/WorldManager.h>
#include "app/QuitRequest.h"
#include "play/KeyboardHandler.h"
#include "play/NoteSpawner.h"
#include "play/PressJudge.h"
#include "play/ScoreManager.h"
#include "player/GameSettings.h"
#include "screens/Background.h"
#include "screens/Calibration.h"
#include "screens/HitErrorBar.h"
#include "screens/HitIndicator.h"
#include "screens/PauseScreen.h"
#include "screens/Receptors.h"
#include "screens/ResultsScreen.h"
#include "screens/SongMenu.h"
#include "screens/UIManager.h"
#include "songs/SongLibrary.h"

namespace {

const int STAR_COUNT = 15;

// A song whose chart and music give no length.
const int UNKNOWN_LENGTH_SECONDS = 10;

// The number of seconds the start of play announces: the chart's, else the
// music's length.
int announcedSeconds(const Song &song) {
  if (song.announced_seconds > 0) return song.announced_seconds;
  if (song.length_seconds <= 0) return UNKNOWN_LENGTH_SECONDS;
  return static_cast<int>(std::ceil(song.length_seconds));
}

}  // namespace

GameStart::GameStart()
    : m_p_start_music(nullptr),
      m_game_started(false),
      m_audio_offset_ms(0),
      m_calibrating(false),
      m_songs_given(false),
      m_keep_scores(false) {
  setType("GameStart");
  setSprite("gamestart");
  setLocation(ts::CENTER_CENTER);
  registerInterest(ts::KEYBOARD_EVENT);

  ts::LogManager &log = ts::LogManager::getInstance();
  m_p_start_music = ts::ResourceManager::getInstance().getMusic("start_bgm");
  if (m_p_start_music) {
    m_p_start_music->play(true);
    log.writeLog("SUCCESS: GameStart BGM started.");
  } else {
    log.writeLog("ERROR: GameStart BGM not found!");
  }
}

GameStart::~GameStart() {
  if (m_p_start_music) {
    m_p_start_music->stop();
    ts::LogManager::getInstance().writeLog("GameStart BGM stopped.");
  }
}

int GameStart::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() == ts::KEYBOARD_EVENT) {
    const ts::EventKeyboard *p_keyboard = dynamic_cast<const ts::EventKeyboard *>(p_event);
    if (!p_keyboard || p_keyboard->getKeyboardAction() != ts::KEY_PRESSED) return 1;
    if (m_calibrating) return 1;
    switch (p_keyboard->getKey()) {
      case ts::Keyboard::ESCAPE:
        QuitRequest::make();
        return 1;
      case ts::Keyboard::C:
        if (!m_game_started) openCalibration();
        break;
      default:
        startSongOfKey(p_keyboard->getKey());
        break;
    }
    return 1;
  }
  // Not registered for steps: the end of a song is watched by the spawner.
  if (p_event->getType() == ts::STEP_EVENT) return 1;
  return 0;
}

int GameStart::draw() {
  if (m_calibrating) return 0;
  const int result = ts::Object::draw();
  SongMenu::draw(SongMenu::lines(m_songs, m_best_scores), getPosition().getX());
  return result;
}

void GameStart::setBestScores(const std::string &path, bool keep) {
  m_scores_path = path;
  m_keep_scores = keep;
  m_best_scores.load(path);
}

void GameStart::setSongs(std::vector<Song> songs) {
  m_songs = std::move(songs);
  m_songs_given = true;
}

// A start screen no one handed a song list offers the game's own songs.
void GameStart::offerGameSongs() {
  if (m_songs_given) return;
  SongLibrary library;
  library.load({m_rules == Rules::CLASSIC ? SongLibrary::CLASSIC_FOLDER : SongLibrary::GAME_FOLDER});
  setSongs(library.getSongs());
}

void GameStart::startSongOfKey(ts::Keyboard::Key key) {
  if (key < ts::Keyboard::NUM1 || key > ts::Keyboard::NUM9) return;
  const int digit = key - ts::Keyboard::NUM1 + 1;
  offerGameSongs();
  for (const Song &song : m_songs)
    if (song.key == digit) return startSong(song);
}

void GameStart::openCalibration() {
  if (m_calibrating) return;
  m_calibrating = true;
  if (m_p_start_music) m_p_start_music->stop();
  new Calibration(GameSettings::defaultPath(), m_rules);
}

void GameStart::endCalibration(std::optional<int> offset_ms) {
  if (!m_calibrating) return;
  m_calibrating = false;
  if (offset_ms) m_audio_offset_ms = *offset_ms;
  if (m_p_start_music) m_p_start_music->play(true);
}

void GameStart::startGame(std::string track_label) {
  offerGameSongs();
  for (const Song &song : m_songs)
    if (song.isPlayable() && song.track_label == track_label) return startSong(song);
  // A track no chart names plays without notes.
  Song track;
  track.file_name = track.title = track.track_label = track_label;
  startSong(track);
}

void GameStart::startSong(const Song &song) {
  if (m_game_started) return;
  m_game_started = true;
  ts::LogManager &log = ts::LogManager::getInstance();
  if (m_p_start_music) {
    m_p_start_music->stop();
    log.writeLog("GameStart BGM stopped.");
  }

  log.writeLog("GameStart: playing '%s' (%s).", song.title.c_str(), song.file_name.c_str());
  ts::Music *p_track = ts::ResourceManager::getInstance().getMusic(song.track_label);
  // The fair rules give the player time before the first note: the music
  // then waits for the note clock (see NoteSpawner::startLeadIn).
  const double lead_in_ms = m_rules == Rules::FAIR ? NoteSpawner::leadInMs(song.steps) : 0.0;
  if (p_track) {
    if (lead_in_ms <= 0) p_track->play(false);
    log.writeLog("SUCCESS: Game BGM %s started.", song.track_label.c_str());
  } else {
    log.writeLog("ERROR: Game BGM %s not found!", song.track_label.c_str());
  }
  log.writeLog("GameOver will trigger after %d seconds", announcedSeconds(song));

  createPlayObjects(song, p_track, lead_in_ms);
  ts::WorldManager::getInstance().markForDelete(this);
}

// The objects that play a song. The classic rules judge presses by row and
// show the judgement in the middle of the screen; the fair rules judge by
// time, follow the music both ways and show the judgement at the lanes.
void GameStart::createPlayObjects(const Song &song, ts::Music *p_track, double lead_in_ms) {
  const bool fair = m_rules == Rules::FAIR;
  NoteSpawner *p_spawner = new NoteSpawner(song.steps, p_track, m_audio_offset_ms, song.lanes,
                                           fair ? NoteClock::Pace::FOLLOW_MUSIC : NoteClock::Pace::AT_LEAST_ONE_STEP);
  p_spawner->setHolds(song.holds);
  // The classic rules keep one row per step.
  if (fair) p_spawner->setScrollSpeed(m_scroll_speed);
  p_spawner->startLeadIn(lead_in_ms);
  if (fair) {
    new PressJudge();
    new Receptors();
    new HitErrorBar();
  } else {
    new KeyboardHandler();
    HitIndicator *p_indicator = new HitIndicator();
    p_indicator->setPosition(ts::Vector(40, 12));
  }
  new ScoreManager();
  UIManager *p_hud = new UIManager();
  p_hud->setDrawsHitZone(!fair);
  for (int i = 0; i < STAR_COUNT; ++i) new Background();
  new PauseScreen();
  ResultsScreen *p_results = new ResultsScreen(song.file_name, song.title, m_keep_scores ? m_scores_path : "");
  p_results->setPlayedOffset(m_audio_offset_ms);
  p_results->setScoreKey(song.bestScoreKey());
}
