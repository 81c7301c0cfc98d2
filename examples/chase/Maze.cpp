#include "Maze.h"

#include <fstream>

#include <tessera/core/LogManager.h>
#include "Coin.h"
#include "Wall.h"

bool Maze::load(const std::string &file_name) {
  std::ifstream file(file_name);
  if (!file) {
    ts::LogManager::getInstance().writeLog("Maze: Error! Cannot open '%s'.", file_name.c_str());
    return false;
  }
  m_rows.clear();
  m_width = 0;
  for (std::string row; std::getline(file, row);) {
    m_rows.push_back(row);
    if (static_cast<int>(row.size()) > m_width) m_width = static_cast<int>(row.size());
  }
  m_height = static_cast<int>(m_rows.size());
  for (int y = 0; y < m_height; ++y)
    for (int x = 0; x < static_cast<int>(m_rows[y].size()); ++x) {
      const ts::Vector cell(static_cast<float>(x), static_cast<float>(y));
      if (m_rows[y][x] == 'P') m_player_start = cell;
      if (m_rows[y][x] == 'E') m_enemy_start = cell;
    }
  ts::LogManager::getInstance().writeLog("Maze: %d x %d cells from '%s'", m_width, m_height, file_name.c_str());
  return m_height > 0;
}

void Maze::build() const {
  for (int y = 0; y < m_height; ++y)
    for (int x = 0; x < static_cast<int>(m_rows[y].size()); ++x) {
      const ts::Vector cell(static_cast<float>(x), static_cast<float>(y));
      if (m_rows[y][x] == '#') new Wall(cell);
      if (m_rows[y][x] == '*') new Coin(cell);
    }
}
