#include "songs/SongLibrary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <tessera/audio/Music.h>
#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/resources/ResourceManager.h>
#include "player/UserData.h"
#include "songs/Chart.h"

namespace fs = std::filesystem;

namespace {

const char *const CHART_EXTENSION = ".chart";

// The game's own songs (charts in the game's folder that name the label their
// music is loaded under) come first, in the order of those labels.
bool isGameSong(size_t folder_index, const Chart &chart) { return folder_index == 0 && !chart.getTrack().empty(); }

}  // namespace

const char *const SongLibrary::GAME_FOLDER = "charts";

std::vector<std::string> SongLibrary::standardFolders() {
  std::vector<std::string> folders = {GAME_FOLDER};
  const std::string user = UserData::folder();
  if (!user.empty()) folders.push_back(user + "/charts");
  return folders;
}

std::string SongLibrary::lengthText(double seconds) {
  const long whole = std::lround(std::max(seconds, 0.0));
  char text[32];
  std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
  return text;
}

std::vector<SongLibrary::ChartFile> SongLibrary::findCharts(const std::vector<std::string> &folders) {
  ts::LogManager &log = ts::LogManager::getInstance();
  std::vector<ChartFile> found;
  for (size_t index = 0; index < folders.size(); ++index) {
    std::error_code error;
    if (!fs::exists(folders[index], error) && !error) {
      // The player's folder exists only once they add a song.
      if (index == 0) log.writeLog("SongLibrary: Warning! No song folder '%s'.", folders[index].c_str());
      continue;
    }
    // All names first, so that which charts are read past the limit depends
    // on their names, not on the order the file system lists them in.
    std::vector<std::string> names;
    if (!error)
      for (fs::directory_iterator entry(folders[index], error); !error && entry != fs::directory_iterator();
           entry.increment(error))
        if (entry->path().extension() == CHART_EXTENSION) names.push_back(entry->path().filename().string());
    if (error) {
      log.writeLog("SongLibrary: Warning! Cannot read the song folder '%s' (%s).", folders[index].c_str(),
                   error.message().c_str());
      continue;
    }
    std::sort(names.begin(), names.end());
    if (names.size() > MAX_CHART_FILES) {
      log.writeLog("SongLibrary: Warning! More than %zu charts in '%s'; the rest are left out.", MAX_CHART_FILES,
                   folders[index].c_str());
      names.resize(MAX_CHART_FILES);
    }
    for (const std::string &name : names) found.push_back({folders[index], name, index});
  }
  std::sort(found.begin(), found.end(), [](const ChartFile &a, const ChartFile &b) {
    if (a.name != b.name) return a.name < b.name;
    return a.folder_index < b.folder_index;
  });
  return found;
}

void SongLibrary::load(const std::vector<std::string> &folders) {
  m_songs.clear();
  std::vector<std::pair<ChartFile, Chart>> charts;
  for (const ChartFile &file : findCharts(folders))
    charts.emplace_back(file, Chart::readFile((fs::path(file.folder) / file.name).string()));
  ts::GameManager &game = ts::GameManager::getInstance();
  std::stable_sort(charts.begin(), charts.end(), [](const auto &a, const auto &b) {
    const bool a_game = isGameSong(a.first.folder_index, a.second);
    const bool b_game = isGameSong(b.first.folder_index, b.second);
    if (a_game != b_game) return a_game;
    return a_game && a.second.getTrack() < b.second.getTrack();
  });
  int keys_given = 0;
  for (const auto &[file, chart] : charts) {
    // A stop signal ends the start before every song's music is opened.
    if (game.isStopRequested()) {
      ts::LogManager::getInstance().writeLog("SongLibrary: Stop requested; the remaining %zu charts are left out.",
                                             charts.size() - m_songs.size());
      break;
    }
    Song song = songOf(file, chart);
    // The song list reaches every song; the first nine also keep a key.
    if (song.isPlayable() && keys_given < MAX_KEYS) song.key = ++keys_given;
    logSong(song);
    m_songs.push_back(std::move(song));
  }
}

Song SongLibrary::songOf(const ChartFile &file, const Chart &chart) {
  Song song;
  song.file_name = file.name;
  song.chart_path = (fs::path(file.folder) / file.name).string();
  song.title = fs::path(file.name).stem().string();
  if (!chart.isValid()) {
    song.problem = chart.getError();
    return song;
  }
  if (!chart.getTitle().empty()) song.title = chart.getTitle();
  song.steps = chart.getSteps();
  song.lanes = chart.getLanes();
  song.announced_seconds = chart.getSeconds();
  // A music file is found beside its chart unless its path is absolute.
  // Only the game's own songs play music loaded at start; a player's chart
  // that names a track label still plays its own file.
  const std::string track = isGameSong(file.folder_index, chart) ? chart.getTrack() : "";
  loadMusic(song, (fs::path(file.folder) / chart.getMusic()).string(), track);
  return song;
}

void SongLibrary::loadMusic(Song &song, const std::string &music_path, const std::string &track) {
  // A game song keeps the label its music was loaded under at start, and
  // plays without music when there is none, as the game's tracks always have.
  if (!track.empty()) {
    song.track_label = track;
    if (const ts::Music *p_music = musicOf(track, music_path, true)) song.length_seconds = p_music->getDuration();
    return;
  }
  std::error_code error;
  const std::string shown = fs::path(music_path).filename().string();
  // Checked before anything is decoded, so the reason can be shown.
  const std::string refused = ts::Music::checkFile(music_path);
  if (!refused.empty()) {
    song.problem = "music file '" + shown + "' " + (refused == "not found" ? refused : "refused: " + refused);
    return;
  }
  // Any other song's music gets a label of its file's own.
  song.track_label = "song:" + fs::weakly_canonical(music_path, error).string();
  const ts::Music *p_music = musicOf(song.track_label, music_path, false);
  if (!p_music) {
    song.problem = "music file '" + shown + "' cannot be played";
    return;
  }
  song.length_seconds = p_music->getDuration();
}

// The music under the label, loaded from the path if it is not yet.
ts::Music *SongLibrary::musicOf(const std::string &label, const std::string &path, bool loaded_at_start) {
  ts::ResourceManager &resources = ts::ResourceManager::getInstance();
  if (m_loaded_labels.count(label) || loaded_at_start)
    if (ts::Music *p_music = resources.getMusic(label)) return p_music;
  if (resources.loadMusic(path, label) != 0) return nullptr;
  m_loaded_labels.insert(label);
  return resources.getMusic(label);
}

void SongLibrary::logSong(const Song &song) {
  ts::LogManager &log = ts::LogManager::getInstance();
  if (song.isPlayable())
    log.writeLog("SongLibrary: key %d: '%s' (%s), %s, %zu notes.", song.key, song.title.c_str(), song.file_name.c_str(),
                 lengthText(song.length_seconds).c_str(), song.steps.size());
  else
    log.writeLog("SongLibrary: Warning! '%s' cannot be played: %s.", song.chart_path.c_str(), song.problem.c_str());
}

const Song *SongLibrary::songOfKey(int key) const {
  if (key < 1) return nullptr;
  for (const Song &song : m_songs)
    if (song.key == key) return &song;
  return nullptr;
}
