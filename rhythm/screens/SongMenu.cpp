#include "screens/SongMenu.h"

#include <cstdio>

#include <tessera/graphics/DisplayManager.h>
#include "player/BestScores.h"
#include "songs/SongLibrary.h"

namespace {

const char *const ROW_FORMAT = "%-5s%-40.40s%6s%7s%8s";

// What the window can show: titles and file names come from the player's
// files.
std::string printable(const std::string &text) {
  std::string shown = text;
  for (char &c : shown)
    if (c < 0x20 || c > 0x7e) c = '?';
  return shown;
}

}  // namespace

SongMenu::Line SongMenu::line(const std::string &text, ts::Color color) {
  std::string fitted = printable(text);
  fitted.resize(WIDTH, ' ');
  return Line{fitted, color};
}

SongMenu::Line SongMenu::songLine(const Song &song, const BestScores &best) {
  const std::optional<int32_t> kept = best.best(song.bestScoreKey());
  char text[128];
  std::snprintf(text, sizeof text, ROW_FORMAT, (" " + std::to_string(song.key)).c_str(), song.title.c_str(),
                SongLibrary::lengthText(song.length_seconds).c_str(), std::to_string(song.steps.size()).c_str(),
                kept ? std::to_string(*kept).c_str() : "-");
  return line(text, ts::WHITE);
}

SongMenu::Line SongMenu::problemLine(const Song &song) {
  return line(" -   " + song.file_name + ": " + song.problem, ts::RED);
}

std::vector<SongMenu::Line> SongMenu::lines(const std::vector<Song> &songs, const BestScores &best) {
  char header[128];
  std::snprintf(header, sizeof header, ROW_FORMAT, "Key", "Song", "Length", "Notes", "Best");
  std::vector<Line> shown = {line(header, ts::CYAN)};
  std::vector<const Song *> unplayable;
  for (const Song &song : songs) {
    if (song.isPlayable())
      shown.push_back(songLine(song, best));
    else
      unplayable.push_back(&song);
  }
  if (songs.empty()) shown.push_back(line(" No songs found: no chart files in the song folders.", ts::RED));
  size_t rows_left = SONG_ROWS + 1 - shown.size();
  for (size_t i = 0; i < unplayable.size() && rows_left > 0; ++i, --rows_left) {
    const size_t more = unplayable.size() - i;
    if (rows_left == 1 && more > 1) {
      shown.push_back(
          line(" -   " + std::to_string(more) + " more charts cannot be played; the log says why.", ts::RED));
      break;
    }
    shown.push_back(problemLine(*unplayable[i]));
  }
  return shown;
}

void SongMenu::draw(const std::vector<Line> &lines, float centre_column) {
  const ts::DisplayManager &display = ts::DisplayManager::getInstance();
  for (size_t i = 0; i < lines.size(); ++i)
    display.drawString(ts::Vector(centre_column, static_cast<float>(HEADER_ROW + static_cast<int>(i))), lines[i].text,
                       ts::CENTER_JUSTIFIED, lines[i].color);
}
