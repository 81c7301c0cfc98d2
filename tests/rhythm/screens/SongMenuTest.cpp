// The song list: every song reachable however many there are, the digit
// keys on the visible rows, one row per song with its difficulties, and the
// best of the chosen chart.
#include <filesystem>

#include "GameWorld.h"
#include "TempFolder.h"
#include "player/BestScores.h"
#include "screens/SongMenu.h"
#include "songs/SongLibrary.h"

namespace {

Song chart(const std::string &path, const std::string &title, const std::string &difficulty = "") {
  Song song;
  song.chart_path = path;
  song.file_name = path.substr(path.rfind('/') + 1);
  song.title = title;
  song.difficulty = difficulty;
  song.steps = {4, 8, 12, 16};
  song.length_seconds = 61;
  return song;
}

std::vector<std::string> visibleTitles(const SongMenu &menu) {
  std::vector<std::string> titles;
  for (int digit = 1; digit <= 9; ++digit)
    if (const Song *p_song = menu.songOnDigit(digit)) titles.push_back(p_song->title);
  return titles;
}

}  // namespace

// The game's two songs and fourteen of the player's, then a chart that
// cannot be played: Down reaches every one, the window scrolls with the
// selection, and the digits start what is shown on their rows.
TEST_F(GameTest, FourteenPlayerChartsBesideTheGamesAreAllReachable) {
  TempFolder player;
  std::filesystem::copy_file(std::string(TESSERA_SOURCE_DIR) + "/tests/support/data/tone.ogg",
                             player.path() + "/tone.ogg");
  for (int i = 1; i <= 14; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "s%02d", i);
    player.file(std::string(name) + ".chart", "title: Song " + std::string(name) + "\nmusic: tone.ogg\nnotes: 3 6\n");
  }
  player.file("zz.chart", "music: gone.ogg\nnotes: 3\n");
  SongLibrary library;
  library.load({SongLibrary::GAME_FOLDER, player.path()});
  SongMenu menu;
  menu.setSongs(library.getSongs());
  ASSERT_EQ(menu.rowCount(), 17u);

  std::vector<std::string> reached = {menu.selected()->title};
  for (int i = 1; i < 16; ++i) {
    menu.move(1);
    ASSERT_NE(menu.selected(), nullptr) << i;
    reached.push_back(menu.selected()->title);
  }
  EXPECT_EQ(reached.front(), "Star");
  EXPECT_EQ(reached[1], "La Campanella");
  EXPECT_EQ(reached.back(), "Song s14");
  EXPECT_EQ(std::set<std::string>(reached.begin(), reached.end()).size(), 16u);
  // The selection is on the last visible row.
  EXPECT_EQ(menu.getFirstVisibleRow(), 7u);
  EXPECT_EQ(visibleTitles(menu).front(), "Song s06");
  EXPECT_EQ(menu.songOnDigit(9)->title, "Song s14");

  menu.move(5);  // stops at the last row: the chart that cannot be played
  EXPECT_EQ(menu.getSelectedRow(), 16u);
  EXPECT_EQ(menu.selected(), nullptr);
  EXPECT_EQ(menu.songOnDigit(9), nullptr);
  const std::vector<SongMenu::Line> lines = menu.lines(BestScores());
  ASSERT_EQ(lines.size(), 1 + SongMenu::VISIBLE_ROWS + 1);
  EXPECT_EQ(lines[9].text.find(">9   zz.chart: music file 'gone.ogg' not found"), 0u) << lines[9].text;
  EXPECT_EQ(lines[9].color, ts::RED);
  EXPECT_EQ(lines[10].color, ts::RED);  // the whole reason, under the list

  menu.move(-100);
  EXPECT_EQ(menu.getFirstVisibleRow(), 0u);
  EXPECT_EQ(visibleTitles(menu).size(), 9u);
  EXPECT_EQ(menu.songOnDigit(2)->title, "La Campanella");
}

// Consecutive charts of one folder and title are one song, easiest first,
// chosen with Left/Right; the best shown is the chosen chart's, by its score
// key, or by its file name while it has none.
TEST(SongMenuTest, DifficultiesAreOneRowAndTheBestIsTheChosenCharts) {
  std::vector<Song> songs = {chart("p/a-easy.chart", "A", "Easy"), chart("p/a-hard.chart", "A", "Hard"),
                             chart("q/a.chart", "A"), chart("p/b.chart", "B Café ♪")};
  songs[1].score_key = "p/a-hard.chart";
  SongMenu menu;
  menu.setSongs(songs);
  ASSERT_EQ(menu.rowCount(), 3u);  // another folder's "A" is another song
  menu.changeDifficulty(-1);
  EXPECT_EQ(menu.selected()->difficulty, "Easy");
  menu.changeDifficulty(5);
  EXPECT_EQ(menu.selected()->difficulty, "Hard");

  TempFolder folder;
  BestScores best;
  best.load(folder.file("scores.txt", "35 p/a-hard.chart\n15 a-hard.chart\n10 a-easy.chart\n"));
  std::vector<SongMenu::Line> lines = menu.lines(best);
  EXPECT_EQ(lines[1].text.substr(0, 5), ">1   ");
  EXPECT_EQ(lines[1].text.substr(59), "     35");
  // Columns are counted in characters: "é" and "♪" take one cell each.
  EXPECT_EQ(lines[3].text, " 3   B Café ♪" + std::string(32, ' ') + "  1:01      4       -");
  EXPECT_EQ(lines.back().text.find("< Hard     Best 35  Accuracy 87.5%  Grade B   (1 of 3)"), 0u) << lines.back().text;
  menu.changeDifficulty(-1);
  EXPECT_EQ(menu.lines(best).back().text.find("  Easy >   Best 10  Accuracy 25.0%  Grade D"), 0u);

  // Back on the song list after playing it, the same chart is selected.
  menu.move(2);
  menu.select(songs[1]);
  EXPECT_EQ(menu.getSelectedRow(), 0u);
  EXPECT_EQ(menu.selected()->difficulty, "Hard");
}
