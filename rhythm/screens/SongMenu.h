// The song list of the start screen, drawn into the empty rows of its
// picture: a header, then one row per song with its key, title, length,
// note count and kept best score, the playable songs first; then the charts
// that cannot be played, each with the reason, as many as fit.
#ifndef RHYTHM_SONG_MENU_H
#define RHYTHM_SONG_MENU_H

#include <string>
#include <vector>

#include <tessera/core/Color.h>

#include "songs/Song.h"

class BestScores;

class SongMenu {
 public:
  // Rows for songs under the header, and the width of every row.
  static constexpr size_t SONG_ROWS = 9;
  static constexpr size_t WIDTH = 66;
  // The header's row on the screen; the songs follow on the rows below.
  static constexpr int HEADER_ROW = 12;

  struct Line {
    std::string text;  // WIDTH characters
    ts::Color color;
  };

  static std::vector<Line> lines(const std::vector<Song> &songs, const BestScores &best);
  // Draws the lines centred on the given column.
  static void draw(const std::vector<Line> &lines, float centre_column);

 private:
  static Line songLine(const Song &song, const BestScores &best);
  static Line problemLine(const Song &song);
  static Line line(const std::string &text, ts::Color color);
};

#endif
