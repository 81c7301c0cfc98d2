// The songs the start screen offers: every chart file (*.chart) in the
// game's folder "charts" and in the player's (UserData::folder()/charts).
// The game's own songs (the charts in the game's folder that name their
// track label) come first, on keys 1 and 2; the others follow in the order
// of their file names. Each playable chart has its music loaded
// and the first nine get the digit keys; a chart that cannot be played is
// listed with the reason and takes no key.
#ifndef RHYTHM_SONG_LIBRARY_H
#define RHYTHM_SONG_LIBRARY_H

#include <cstddef>
#include <set>
#include <string>
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

  // The game's folder, then the player's when there is one.
  static std::vector<std::string> standardFolders();
  // "m:ss".
  static std::string lengthText(double seconds);

  // Reads the charts of the folders (the first is the game's own) and logs a
  // line for each.
  void load(const std::vector<std::string> &folders);
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
  Song songOf(const ChartFile &file, const Chart &chart);
  void loadMusic(Song &song, const std::string &music_path, const std::string &track);
  ts::Music *musicOf(const std::string &label, const std::string &path, bool loaded_at_start);
  static void logSong(const Song &song);

  std::vector<Song> m_songs;
  std::set<std::string> m_loaded_labels;  // music this library loaded
};

#endif
