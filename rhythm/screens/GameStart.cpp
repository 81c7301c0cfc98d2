#include "screens/GameStart.h"

#include <cmath>

#include <tessera/audio/Music.h>
#include <tessera/core/LogManager.h>
#include <tessera/graphics/DisplayManager.h>
#include <tessera/input/EventKeyboard.h>
#include <tessera/resources/ResourceManager.h>
#include <tessera/world/WorldManager.h>
#include "app/QuitRequest.h"
#include "play/KeyboardHandler.h"
#include "play/Lane.h"
#include "play/NoteSpawner.h"
#include "play/PressJudge.h"
#include "play/ScoreManager.h"
#include "player/GameSettings.h"
#include "screens/Background.h"
#include "screens/Calibration.h"
#include "screens/HitErrorBar.h"
#include "screens/HitIndicator.h"
#include "screens/PauseMenu.h"
#include "screens/PauseScreen.h"
#include "screens/Receptors.h"
#include "screens/SettingsScreen.h"
#include "screens/ResultsScreen.h"
#include "screens/SongMenu.h"
#include "screens/UIManager.h"
#include "songs/SongLibrary.h"

namespace {

const int STAR_COUNT = 15;

const float CLASSIC_HELP_ROW = 22;
// As wide as the picture's line it covers.
const char *const CLASSIC_HELP = "       In a song: arrow keys hit the notes   P: pause   Esc: quit        ";

// A song whose chart and music give no length.
const int UNKNOWN_LENGTH_SECONDS = 10;

// The number of seconds the start of play announces: the chart's, else the
// music's length.
int announcedSeconds(const Song &song) {
  if (song.announced_seconds > 0) return song.announced_seconds;
  if (song.length_seconds <= 0) return UNKNOWN_LENGTH_SECONDS;
  return static_cast<int>(std::ceil(song.length_seconds));
}

const ts::Keyboard::Key DFJK[Lane::COUNT] = {ts::Keyboard::D, ts::Keyboard::F, ts::Keyboard::J, ts::Keyboard::K};
const ts::Keyboard::Key ARROWS[Lane::COUNT] = {ts::Keyboard::LEFTARROW, ts::Keyboard::UPARROW, ts::Keyboard::DOWNARROW,
                                               ts::Keyboard::RIGHTARROW};

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
  registerInterest(ts::STEP_EVENT);

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
  stopPreview();
  if (m_p_start_music) {
    m_p_start_music->stop();
    ts::LogManager::getInstance().writeLog("GameStart BGM stopped.");
  }
}

int GameStart::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() == ts::KEYBOARD_EVENT) {
    const ts::EventKeyboard *p_keyboard = dynamic_cast<const ts::EventKeyboard *>(p_event);
    if (!p_keyboard || p_keyboard->getKeyboardAction() != ts::KEY_PRESSED) return 1;
    if (!isHidden()) handleKey(p_keyboard->getKey());
    return 1;
  }
  // The end of a song is watched by the spawner; steps time the preview,
  // which the classic rules leave out: their start music plays on.
  if (p_event->getType() == ts::STEP_EVENT) {
    if (m_rules == Rules::FAIR && !m_game_started && !isHidden() && ++m_preview_wait == PREVIEW_DELAY_STEPS)
      startPreview();
    return 1;
  }
  return 0;
}

void GameStart::handleKey(ts::Keyboard::Key key) {
  switch (key) {
    case ts::Keyboard::ESCAPE:
      QuitRequest::make();
      break;
    case ts::Keyboard::C:
      if (!m_game_started) openCalibration();
      break;
    case ts::Keyboard::S:
      if (!m_game_started) openSettings();
      break;
    case ts::Keyboard::UPARROW:
    case ts::Keyboard::DOWNARROW:
      offerGameSongs();
      m_menu.move(key == ts::Keyboard::UPARROW ? -1 : 1);
      selectionChanged();
      break;
    case ts::Keyboard::LEFTARROW:
    case ts::Keyboard::RIGHTARROW:
      offerGameSongs();
      m_menu.changeDifficulty(key == ts::Keyboard::LEFTARROW ? -1 : 1);
      selectionChanged();
      break;
    case ts::Keyboard::RETURN:
      offerGameSongs();
      if (const Song *p_song = m_menu.selected()) startSong(*p_song);
      break;
    default:
      startSongOfKey(key);
      break;
  }
}

int GameStart::draw() {
  if (isHidden()) return 0;
  const int result = ts::Object::draw();
  SongMenu::draw(m_menu.lines(m_best_scores), getPosition().getX());
  // The picture tells the keys of the game as shipped; the classic rules
  // keep the first ones.
  if (m_rules == Rules::CLASSIC)
    ts::DisplayManager::getInstance().drawString(ts::Vector(getPosition().getX(), CLASSIC_HELP_ROW),
                                                 CLASSIC_HELP, ts::CENTER_JUSTIFIED, ts::CYAN);
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
  m_menu.setSongs(m_songs);
  selectionChanged();
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
  offerGameSongs();
  if (const Song *p_song = m_menu.songOnDigit(key - ts::Keyboard::NUM1 + 1)) startSong(*p_song);
}

// A new selection previews after it has rested a moment: scrolling through
// the list does not start every song's music.
void GameStart::selectionChanged() {
  stopPreview();
  m_preview_wait = 0;
}

void GameStart::startPreview() {
  const Song *p_song = m_menu.selected();
  ts::Music *p_track = p_song ? ts::ResourceManager::getInstance().getMusic(p_song->track_label) : nullptr;
  if (!p_track) return;
  if (m_p_start_music) m_p_start_music->stop();
  const double from = p_song->preview_seconds >= 0 ? p_song->preview_seconds : p_song->length_seconds / 3;
  p_track->playFrom(static_cast<float>(from), true);
  m_p_preview = p_track;
  ts::LogManager::getInstance().writeLog("GameStart: previewing '%s' from %.1f s.", p_song->title.c_str(), from);
}

void GameStart::stopPreview() {
  if (!m_p_preview) return;
  m_p_preview->stop();
  m_p_preview = nullptr;
}

void GameStart::setPlayerSettings(GameSettings *p_settings, std::string path) {
  m_p_settings = p_settings ? p_settings : &m_own_settings;
  m_settings_path = std::move(path);
}

void GameStart::openSettings() {
  if (isHidden()) return;
  offerGameSongs();
  m_in_settings = true;
  stopPreview();
  const Song *p_song = m_menu.selected();
  new SettingsScreen(*m_p_settings, m_settings_path, p_song ? p_song->bestScoreKey() : "",
                     p_song ? p_song->title : "");
}

void GameStart::endSettings(std::optional<GameSettings> saved) {
  if (!m_in_settings) return;
  m_in_settings = false;
  if (saved) *m_p_settings = *saved;
  selectionChanged();
}

void GameStart::openCalibration() {
  if (m_calibrating) return;
  m_calibrating = true;
  stopPreview();
  if (m_p_start_music) m_p_start_music->stop();
  new Calibration(GameSettings::defaultPath(), m_rules);
}

void GameStart::endCalibration(std::optional<int> offset_ms) {
  if (!m_calibrating) return;
  m_calibrating = false;
  if (offset_ms) m_audio_offset_ms = *offset_ms;
  if (offset_ms) m_p_settings->setOffsetMs(*offset_ms);
  if (m_p_start_music) m_p_start_music->play(true);
  selectionChanged();
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
  stopPreview();
  if (m_on_start) m_on_start(song);
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
  const GameSettings &settings = *m_p_settings;
  const int offset_ms = m_audio_offset_ms + (fair ? settings.getSongOffsetMs(song.bestScoreKey()) : 0);
  // The classic rules keep the arrows.
  Lane::useKeys(fair && settings.getLaneKeys() == GameSettings::LaneKeys::DFJK ? DFJK : ARROWS);
  NoteSpawner *p_spawner = new NoteSpawner(song.steps, p_track, offset_ms, song.lanes,
                                           fair ? NoteClock::Pace::FOLLOW_MUSIC : NoteClock::Pace::AT_LEAST_ONE_STEP);
  p_spawner->setHolds(song.holds);
  // The classic rules keep one row per step.
  if (fair) p_spawner->setScrollSpeed(settings.getScrollSpeed());
  p_spawner->startLeadIn(lead_in_ms);
  if (fair) {
    // Escape opens the pause menu instead of ending the game.
    (new PressJudge())->setQuitsOnEscape(false);
    new Receptors();
    if (settings.getHitErrorBar()) new HitErrorBar();
  } else {
    new KeyboardHandler();
    HitIndicator *p_indicator = new HitIndicator();
    p_indicator->setPosition(ts::Vector(40, 12));
  }
  new ScoreManager();
  UIManager *p_hud = new UIManager();
  p_hud->setDrawsHitZone(!fair);
  for (int i = 0; i < STAR_COUNT; ++i) new Background();
  if (fair)
    new PauseMenu();
  else
    new PauseScreen();
  ResultsScreen *p_results = new ResultsScreen(song.file_name, song.title, m_keep_scores ? m_scores_path : "");
  p_results->setPlayedOffset(offset_ms);
  p_results->setScoreKey(song.bestScoreKey());
  p_results->setWaitsForKey(fair && m_results_wait);
}
