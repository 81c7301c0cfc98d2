// The songs the start screen offers: every chart file (*.chart) in the
// game's folder "charts" and in the player's (UserData::folder()/charts).
// The game's own songs (the charts in the game's folder that name their
// track label) come first, on keys 1 and 2; the others follow by title. A
// song may have several charts (one folder, one title), one per difficulty:
// these are listed together, easiest first, and share the song's digit key,
// which alone starts the easiest. Each playable chart has its music loaded;
// the first nine songs with a playable chart get the digit keys 1 to 9 (the
// song list reaches every song); a chart that cannot be played is listed
// with the reason and takes no key.
#ifndef RHYTHM_SONG_LIBRARY_H
#define RHYTHM_SONG_LIBRARY_H

#include <cstddef>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "songs/Song.h"

namespace ts {
class Music;
}
class Chart;

class SongLibrary {
 public:
  static constexpr int MAX_KEYS = 9;
  // Charts read from one folder at most: a folder of thousands of files
  // must not hold up the start.
  static constexpr size_t MAX_CHART_FILES = 100;
  static const char *const GAME_FOLDER;
  // The game's own songs with lanes left to chance, as the classic rules
  // play them.
  static const char *const CLASSIC_FOLDER;

  // The game's folder, then the player's when there is one.
  static std::vector<std::string> standardFolders();
  // "m:ss".
  static std::string lengthText(double seconds);
  // Lower is easier: Beginner, Easy, Normal (a chart that names none), Hard,
  // Expert, whatever the case; any other name after them.
  static int difficultyRank(const std::string &difficulty);
  // The name a chart's best score is kept under: its file name for the
  // game's folder (index 0), as ever; else its folder's path and file name,
  // so that a player's chart never shares a best score with the game's.
  static std::string scoreKey(const std::string &folder, size_t folder_index, const std::string &file_name);

  // Reads the charts of the folders (the first is the game's own) and logs a
  // line for each.
  void load(const std::vector<std::string> &folders);
  // Reads one chart file alone (never as one of the game's own songs: its
  // music is its own file, relative to it), on key 1 when it is playable.
  void loadChart(const std::string &path);
  const std::vector<Song> &getSongs() const { return m_songs; }
  // The song a digit key starts, or null.
  const Song *songOfKey(int key) const;

 private:
  struct ChartFile {
    std::string folder;
    std::string name;
    size_t folder_index;
  };
  static std::vector<ChartFile> findCharts(const std::vector<std::string> &folders);
  static bool listedBefore(const std::pair<ChartFile, Chart> &a, const std::pair<ChartFile, Chart> &b);
  static bool isSameSong(const std::pair<ChartFile, Chart> &a, const std::pair<ChartFile, Chart> &b);
  Song songOf(const ChartFile &file, const Chart &chart);
  void loadMusic(Song &song, const std::string &music_path, const std::string &track);
  ts::Music *musicOf(const std::string &label, const std::string &path, bool loaded_at_start);
  static void logSong(const Song &song, const Chart &chart);

  std::vector<Song> m_songs;
  std::set<std::string> m_loaded_labels;  // music this library loaded
};

#endif
