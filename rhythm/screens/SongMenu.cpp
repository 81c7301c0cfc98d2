#include "screens/SongMenu.h"

#include <cstdio>

#include <tessera/graphics/DisplayManager.h>
#include <tessera/system/Text.h>
#include "player/BestScores.h"
#include "songs/SongLibrary.h"

namespace {

const size_t TITLE_WIDTH = 40;

// Titles and file names come from the player's files: control characters
// are shown as '?'. Other characters are drawn as the display can (UTF-8).
std::string printable(const std::string &text) {
  std::string shown = text;
  for (char &c : shown)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
  return shown;
}

// Text cut or padded with blanks to `width` characters, counted as the
// display draws them: one a character, one a malformed byte.
std::string fitted(const std::string &text, size_t width) {
  size_t end = 0, count = 0;
  for (; end < text.size() && count < width; ++count) ts::nextCharacter(text, end);
  return text.substr(0, end) + std::string(width - count, ' ');
}

// A row of the table: key, title, length, notes, best.
std::string row(const std::string &key, const std::string &title, const std::string &length, const std::string &notes,
                const std::string &best) {
  char numbers[64];
  std::snprintf(numbers, sizeof numbers, "%6s%7s%8s", length.c_str(), notes.c_str(), best.c_str());
  return fitted(key, 5) + fitted(title, TITLE_WIDTH) + numbers;
}

}  // namespace

SongMenu::Line SongMenu::line(const std::string &text, ts::Color color) {
  return Line{fitted(printable(text), WIDTH), color};
}

SongMenu::Line SongMenu::songLine(const Song &song, const BestScores &best) {
  const std::optional<int32_t> kept = best.best(song.bestScoreKey());
  return line(row(" " + std::to_string(song.key), song.title, SongLibrary::lengthText(song.length_seconds),
                  std::to_string(song.steps.size()), kept ? std::to_string(*kept) : "-"),
              ts::WHITE);
}

SongMenu::Line SongMenu::problemLine(const Song &song) {
  return line(" -   " + song.file_name + ": " + song.problem, ts::RED);
}

std::vector<SongMenu::Line> SongMenu::lines(const std::vector<Song> &songs, const BestScores &best) {
  std::vector<Line> shown = {line(row("Key", "Song", "Length", "Notes", "Best"), ts::CYAN)};
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
