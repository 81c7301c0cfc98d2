// The maze, read from a text file: '#' a wall, '*' a coin, 'P' where the
// player starts, 'E' where the enemy starts, anything else floor. Each
// character is one cell; the world is as large as the longest line and the
// number of lines.
#ifndef CHASE_MAZE_H
#define CHASE_MAZE_H

#include <string>
#include <vector>

#include <tessera/core/Vector.h>

class Maze {
 public:
  // Reads the file; false (with a log line) when it cannot be read.
  bool load(const std::string &file_name);
  int getWidth() const { return m_width; }
  int getHeight() const { return m_height; }
  // Creates the walls and coins; the world takes them.
  void build() const;
  ts::Vector getPlayerStart() const { return m_player_start; }
  ts::Vector getEnemyStart() const { return m_enemy_start; }

 private:
  std::vector<std::string> m_rows;
  int m_width = 0;
  int m_height = 0;
  ts::Vector m_player_start;
  ts::Vector m_enemy_start;
};

#endif
