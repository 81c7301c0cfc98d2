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
  std::vector<int32_t> holds;  // one per step: a hold's length in steps, 0 for a plain note
  double length_seconds = 0;  // the music's length
  int announced_seconds = 0;  // the chart's play length for the log; 0 when it gives none
  int key = 0;                // 1 to 9; 0 when it cannot be started
  std::string problem;        // why it cannot be played; empty when it can
  // One song may have several charts, one per difficulty: the song list
  // shows consecutive entries of one folder and title as one song.
  std::string difficulty;      // as the chart names it; "Normal" when it names none
  int difficulty_rank = 0;     // lower is easier: a song's charts are listed easiest first
  std::string score_key;       // the best score's key: the chart's folder and file name
  double preview_seconds = -1; // where the song list's preview starts; below 0: a third in

  bool isPlayable() const { return problem.empty(); }
  // The key, or for a song made without one (a track alone) its file name.
  const std::string &bestScoreKey() const { return score_key.empty() ? file_name : score_key; }
};

#endif
