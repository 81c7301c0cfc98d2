// A song the start screen lists: read from a chart file, with its music
// loaded and the digit key that starts it, or with the reason it cannot be
// played.
#ifndef RHYTHM_SONG_H
#define RHYTHM_SONG_H

#include <cstdint>
#include <string>
#include <vector>

struct Song {
  std::string file_name;    // the chart's file name: the song's name among the best scores
  std::string chart_path;   // where the chart was read
  std::string title;        // the chart's title, or its file name
  std::string track_label;  // the music's label in the resource manager
  std::vector<int32_t> steps;
  std::vector<int> lanes;     // one per step: 0 to 3, or -1 for a random lane
  double length_seconds = 0;  // the music's length
  int announced_seconds = 0;  // the chart's play length for the log; 0 when it gives none
  int key = 0;                // 1 to 9; 0 when it cannot be started
  std::string problem;        // why it cannot be played; empty when it can

  bool isPlayable() const { return problem.empty(); }
};

#endif
