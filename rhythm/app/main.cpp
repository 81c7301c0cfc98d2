// The rhythm game's entry point.
//
//   rhythm              play: the song list waits for a song (S: settings, C calibrates);
//                       after each song's results it comes back, Escape quits
//   rhythm --demo N|CHART  watch the game play the song on key N, or a chart file
//   rhythm --once       end after the first song's results
//   rhythm --offset MS  play with this audio offset instead of the saved one
//   rhythm --classic    judge presses by row, as the first rules did
//   rhythm --terminal   play in the terminal instead of a window
//   rhythm --help       usage; --version: the engine's version
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <tessera/core/Config.h>
#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/graphics/DisplayManager.h>
#include <tessera/resources/ResourceManager.h>
#include "app/CommandLine.h"
#include "app/DataFolder.h"
#include "app/RoundLoop.h"
#include "play/DemoPlayer.h"
#include "player/GameSettings.h"
#include "songs/ClickTrack.h"

namespace {

void loadResources() {
  ts::ResourceManager &resources = ts::ResourceManager::getInstance();
  resources.loadSprite("sprites/gamestart-spr.txt", "gamestart");
  resources.loadSprite("sprites/gameover-spr.txt", "gameover");
  resources.loadSprite("sprites/cleared-spr.txt", "cleared");
  resources.loadSprite("sprites/note-down.txt", "note_down");
  resources.loadSprite("sprites/note-left.txt", "note_left");
  resources.loadSprite("sprites/note-right.txt", "note_right");
  resources.loadSprite("sprites/note-up.txt", "note_up");
  resources.loadMusic("Sound/BGM_Start.ogg", "start_bgm");
  resources.loadMusic("Sound/BGM1_Star.ogg", "game_bgm1");
  resources.loadMusic("Sound/BGM2_La Campanella.ogg", "game_bgm2");
  resources.loadMusic(click_track::FILE_NAME, click_track::LABEL);
}

// The saved offset, or the one given on the command line (checked there).
int audioOffset(const CommandLine &command_line, GameSettings &settings) {
  const std::string &given = command_line.getOffset();
  if (!given.empty()) settings.setOffsetText(given, "the command line");
  if (settings.getOffsetMs() != 0)
    ts::LogManager::getInstance().writeLog("Audio offset: %d ms.", settings.getOffsetMs());
  return settings.getOffsetMs();
}

// The engine has written why into its log (or, without one, onto standard
// error); the terminal only learns where to look.
void reportFailedStart(const std::string &program) {
  const char *named = std::getenv("TESSERA_LOG");
  std::error_code error;
  const std::string log = std::filesystem::absolute(named ? named : ts::Config::getInstance().getLogfile(), error);
  if (ts::LogManager::getInstance().isStarted())
    std::fprintf(stderr, "%s: the engine did not start; see the log %s\n", program.c_str(), log.c_str());
  else
    std::fprintf(stderr, "%s: the engine did not start: cannot write the log %s\n", program.c_str(), log.c_str());
}

}  // namespace

int main(int argc, char **argv) {
  const CommandLine command_line(argc, argv);
  if (command_line.getAction() != CommandLine::PLAY) return command_line.respond(stdout, stderr);
  DataFolder(DataFolder::executableOf(argv[0]), RHYTHM_DATA_FROM_BIN).enter();
  if (command_line.getTerminal()) ts::DisplayManager::getInstance().setBackend(ts::DisplayBackend::TERMINAL);
  ts::GameManager &game_manager = ts::GameManager::getInstance();
  // The window library may abort while the window opens: the line that
  // reportFailedStart() would write comes from the engine's last words then.
  ts::LogManager &log = ts::LogManager::getInstance();
  log.nameLogOnFatalSignal(command_line.getProgram() + ": the engine did not start; see the log ");
  const int started = game_manager.startUp();
  log.nameLogOnFatalSignal("");
  if (started != 0) {
    reportFailedStart(command_line.getProgram());
    return 1;
  }
  loadResources();
  GameSettings settings;
  settings.load(GameSettings::defaultPath());
  RoundLoop::Options options;
  options.demo_track = command_line.getDemoTrack();
  options.demo_chart = command_line.getDemoChart();
  options.once = command_line.getOnce();
  options.offset_ms = audioOffset(command_line, settings);
  options.rules = command_line.getClassic() ? Rules::CLASSIC : settings.getRules();
  options.scroll_speed = settings.getScrollSpeed();
  options.settings = settings;
  options.settings_path = GameSettings::defaultPath();
  if (options.rules == Rules::CLASSIC) ts::LogManager::getInstance().writeLog("Playing by the classic rules.");
  // The classic rules play the game's songs with lanes left to chance.
  if (options.rules == Rules::CLASSIC) options.chart_folders.front() = SongLibrary::CLASSIC_FOLDER;
  RoundLoop(options).run();
  game_manager.shutDown();
  return 0;
}
