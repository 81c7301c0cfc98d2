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

// A chart that names no difficulty.
const char *const DEFAULT_DIFFICULTY = "Normal";
// The known difficulties, easiest first; any other name ranks after them.
const char *const DIFFICULTIES[] = {"beginner", "easy", "normal", "hard", "expert"};

std::string lowerCase(std::string text) {
  for (char &c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// The title a chart is listed under: its own, or its file name's stem.
std::string titleOf(const std::string &file_name, const Chart &chart) {
  return chart.getTitle().empty() ? fs::path(file_name).stem().string() : chart.getTitle();
}

}  // namespace

int SongLibrary::difficultyRank(const std::string &difficulty) {
  const std::string name = lowerCase(difficulty.empty() ? DEFAULT_DIFFICULTY : difficulty);
  int rank = 0;
  for (const char *known : DIFFICULTIES) {
    if (name == known) return rank;
    ++rank;
  }
  return rank;
}

std::string SongLibrary::scoreKey(const std::string &folder, size_t folder_index, const std::string &file_name) {
  // The game's own charts keep the plain file names their best scores have
  // always been kept under.
  if (folder_index == 0) return file_name;
  std::error_code error;
  const fs::path absolute = fs::weakly_canonical(fs::absolute(folder, error), error);
  return ((error ? fs::path(folder) : absolute) / file_name).string();
}

namespace {}  // namespace

const char *const SongLibrary::GAME_FOLDER = "charts";
const char *const SongLibrary::CLASSIC_FOLDER = "charts/classic";

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
  std::stable_sort(charts.begin(), charts.end(), listedBefore);
  int keys_given = 0;
  int song_key = 0;  // the key of the song the last chart belongs to, 0 for none yet
  const std::pair<ChartFile, Chart> *p_previous = nullptr;
  for (const auto &entry : charts) {
    const auto &[file, chart] = entry;
    // A stop signal ends the start before every song's music is opened.
    if (game.isStopRequested()) {
      ts::LogManager::getInstance().writeLog("SongLibrary: Stop requested; the remaining %zu charts are left out.",
                                             charts.size() - m_songs.size());
      break;
    }
    // The charts of one song share its key; the song list offers their
    // difficulties, and the key alone starts the easiest. Songs after the
    // ninth have no key: the song list reaches them.
    if (!p_previous || !isSameSong(*p_previous, entry)) song_key = 0;
    Song song = songOf(file, chart);
    if (song.isPlayable()) {
      if (song_key == 0 && keys_given < MAX_KEYS) song_key = ++keys_given;
      song.key = song_key;
    }
    logSong(song, chart);
    m_songs.push_back(std::move(song));
    p_previous = &entry;
  }
}

// The game's songs first, in the order of their track labels, then the
// others by title; the charts of one song (one folder, one title) together,
// easiest first: by difficulty, then by number of notes.
bool SongLibrary::listedBefore(const std::pair<ChartFile, Chart> &a, const std::pair<ChartFile, Chart> &b) {
  const bool a_game = isGameSong(a.first.folder_index, a.second);
  const bool b_game = isGameSong(b.first.folder_index, b.second);
  if (a_game != b_game) return a_game;
  if (a_game && a.second.getTrack() != b.second.getTrack()) return a.second.getTrack() < b.second.getTrack();
  const std::string a_title = titleOf(a.first.name, a.second), b_title = titleOf(b.first.name, b.second);
  if (a_title != b_title) return a_title < b_title;
  if (a.first.folder_index != b.first.folder_index) return a.first.folder_index < b.first.folder_index;
  const int a_rank = difficultyRank(a.second.getDifficulty()), b_rank = difficultyRank(b.second.getDifficulty());
  if (a_rank != b_rank) return a_rank < b_rank;
  if (a.second.getSteps().size() != b.second.getSteps().size())
    return a.second.getSteps().size() < b.second.getSteps().size();
  return a.first.name < b.first.name;
}

bool SongLibrary::isSameSong(const std::pair<ChartFile, Chart> &a, const std::pair<ChartFile, Chart> &b) {
  return a.first.folder_index == b.first.folder_index && a.second.isValid() && b.second.isValid() &&
         titleOf(a.first.name, a.second) == titleOf(b.first.name, b.second);
}

void SongLibrary::loadChart(const std::string &path) {
  m_songs.clear();
  const fs::path file(path);
  const ChartFile chart_file{file.parent_path().empty() ? "." : file.parent_path().string(), file.filename().string(),
                             1};
  const Chart chart = Chart::readFile(path);
  Song song = songOf(chart_file, chart);
  if (song.isPlayable()) song.key = 1;
  logSong(song, chart);
  m_songs.push_back(std::move(song));
}

Song SongLibrary::songOf(const ChartFile &file, const Chart &chart) {
  Song song;
  song.file_name = file.name;
  song.chart_path = (fs::path(file.folder) / file.name).string();
  song.title = titleOf(file.name, chart);
  song.score_key = scoreKey(file.folder, file.folder_index, file.name);
  if (!chart.isValid()) {
    song.problem = chart.getError();
    return song;
  }
  song.steps = chart.getSteps();
  song.lanes = chart.getLanes();
  song.holds = chart.getHoldSteps();
  song.announced_seconds = chart.getSeconds();
  song.difficulty = chart.getDifficulty().empty() ? DEFAULT_DIFFICULTY : chart.getDifficulty();
  song.difficulty_rank = difficultyRank(chart.getDifficulty());
  song.preview_seconds = chart.getPreviewSeconds();
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

void SongLibrary::logSong(const Song &song, const Chart &chart) {
  ts::LogManager &log = ts::LogManager::getInstance();
  for (const std::string &warning : chart.getWarnings())
    log.writeLog("SongLibrary: Warning! '%s' is hard to read: %s.", song.chart_path.c_str(), warning.c_str());
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
