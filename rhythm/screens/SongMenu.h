// The song list of the start screen, drawn into the empty rows of its
// picture: a header, a window of VISIBLE_ROWS rows that scrolls with the
// selection, and a line about the selected row. Consecutive charts of one
// folder and title are one song whose difficulties are chosen with
// Left/Right, easiest first; charts that cannot be played follow the songs,
// each with its reason. The digit keys name the visible rows from the top.
#ifndef RHYTHM_SONG_MENU_H
#define RHYTHM_SONG_MENU_H

#include <optional>
#include <string>
#include <vector>

#include <tessera/core/Color.h>

#include "songs/Song.h"

class BestScores;

class SongMenu {
 public:
  static constexpr size_t VISIBLE_ROWS = 9;
  static constexpr size_t WIDTH = 66;
  // The header's row on the screen; the visible rows and the line about the
  // selection follow on the rows below.
  static constexpr int HEADER_ROW = 11;

  struct Line {
    std::string text;  // WIDTH characters
    ts::Color color;
  };

  void setSongs(const std::vector<Song> &songs);
  size_t rowCount() const { return m_rows.size(); }
  size_t getSelectedRow() const { return m_selected; }
  size_t getFirstVisibleRow() const { return m_first_visible; }

  // Moves the selection by rows (negative: up), stopping at the ends, and
  // scrolls it into view.
  void move(int rows);
  // Chooses an easier (negative) or harder difficulty of the selected song.
  void changeDifficulty(int steps);
  // The selected song's chosen chart; null on a chart that cannot be played.
  const Song *selected() const;
  // The chosen chart of the song on the visible row of a digit (1 to 9).
  const Song *songOnDigit(int digit) const;
  // Selects the song and difficulty of this chart, when listed.
  void select(const Song &chart);

  std::vector<Line> lines(const BestScores &best) const;
  // Draws the lines centred on the given column.
  static void draw(const std::vector<Line> &lines, float centre_column);
  // What the line about a chosen chart says of its best: score, accuracy
  // and grade, or that there is none yet.
  static std::string bestText(const Song &chart, const BestScores &best);

 private:
  // One song's charts (indices into m_songs, easiest first), or one chart
  // that cannot be played.
  struct Row {
    std::vector<size_t> charts;
    size_t chosen = 0;
  };
  const Song &chosenChart(const Row &row) const { return m_songs[row.charts[row.chosen]]; }
  Line rowLine(size_t row, const BestScores &best) const;
  Line selectionLine(const BestScores &best) const;
  void scrollToSelection();

  std::vector<Song> m_songs;
  std::vector<Row> m_rows;
  size_t m_selected = 0;
  size_t m_first_visible = 0;
};

#endif
