#include "player/BestScores.h"

#include <filesystem>
#include <sstream>
#include <system_error>

#include <tessera/core/LogManager.h>
#include <tessera/system/FileLock.h>
#include <tessera/system/ReadOnlyFile.h>
#include "player/AtomicFile.h"
#include "player/UserData.h"

namespace {

const char *const HEADER =
    "# Best scores of the Tessera rhythm game: the score, a blank, the chart's file name.\n"
    "# Written by the game at the end of each song that beats a best score.\n";

// Digits only, within a 32-bit score.
bool parseScore(const std::string &text, int32_t &score) {
  if (text.empty() || text.size() > 10) return false;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value > INT32_MAX) return false;
  score = static_cast<int32_t>(value);
  return true;
}

}  // namespace

std::string BestScores::defaultPath() {
  const std::string folder = UserData::folder();
  return folder.empty() ? "" : folder + "/scores.txt";
}

void BestScores::load(const std::string &path) {
  m_best.clear();
  m_unread_lines.clear();
  m_may_write = true;
  if (path.empty()) return;
  ts::LogManager &log = ts::LogManager::getInstance();
  ts::ReadOnlyFile file;
  const ts::ReadOnlyFile::Status status = file.open(path, MAX_FILE_BYTES);
  if (status == ts::ReadOnlyFile::MISSING) return;
  std::string text;
  if (status != ts::ReadOnlyFile::OPENED || !file.readAll(text)) {
    m_may_write = false;
    const std::string problem = status != ts::ReadOnlyFile::OPENED ? file.getProblem() : "unreadable";
    log.writeLog(
        "BestScores::load(): Error! '%s' cannot be read (%s); it is left as it is and no best score is kept "
        "in this run.",
        path.c_str(), problem.c_str());
    return;
  }
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    if (readLine(line)) continue;
    m_unread_lines.push_back(line);
    log.writeLog("BestScores::load(): Warning! Line %d of '%s' is not a score; skipped, and kept in the file.", number,
                 path.c_str());
  }
}

// False for a line that is not a comment, empty or a score.
bool BestScores::readLine(const std::string &raw_line) {
  std::string line = raw_line;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.empty() || line[0] == '#') return true;
  const size_t blank = line.find(' ');
  if (blank == std::string::npos) return false;
  int32_t score = 0;
  const std::string song = line.substr(blank + 1);
  if (!parseScore(line.substr(0, blank), score) || !isStorableName(song)) return false;
  // A song listed twice keeps the higher score.
  offer(song, score);
  return true;
}

bool BestScores::isStorableName(const std::string &song) {
  if (song.empty()) return false;
  for (char c : song)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
  return true;
}


std::optional<int32_t> BestScores::best(const std::string &song) const {
  auto found = m_best.find(song);
  if (found == m_best.end()) return std::nullopt;
  return found->second;
}

bool BestScores::offer(const std::string &song, int32_t score) {
  // Nothing is kept for a song that scored nothing.
  if (score <= 0 || !isStorableName(song)) return false;
  auto found = m_best.find(song);
  if (found != m_best.end() && found->second >= score) return false;
  m_best[song] = score;
  return true;
}

BestScores::Kept BestScores::keep(const std::string &path, const std::string &song, int32_t score) {
  Kept kept;
  if (path.empty()) {
    kept.problem = "no data folder";
    return kept;
  }
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
  const ts::FileLock lock(path + ".lock");
  BestScores scores;
  if (!lock.isLocked()) {
    // Without the lock another game's save could be lost: nothing is written.
    ts::LogManager::getInstance().writeLog("BestScores::keep(): Error! %s; the score is not kept.",
                                           lock.getProblem().c_str());
    scores.m_may_write = false;
  } else {
    scores.load(path);
  }
  kept.before = scores.best(song);
  if (scores.offer(song, score)) {
    if (!lock.isLocked())
      kept.problem = lock.getProblem();
    else if (scores.save(path, &kept.problem) == 0)
      kept.new_best = true;
  }
  kept.best = kept.new_best ? std::optional<int32_t>(score) : kept.before;
  return kept;
}

int BestScores::save(const std::string &path, std::string *p_problem) const {
  ts::LogManager &log = ts::LogManager::getInstance();
  std::string problem;
  if (path.empty()) {
    problem = "no data folder (neither XDG_DATA_HOME nor HOME is set)";
    log.writeLog("BestScores::save(): Error! No data folder (neither XDG_DATA_HOME nor HOME is set).");
  } else if (!m_may_write) {
    problem = "the scores file could not be read";
    log.writeLog("BestScores::save(): Error! '%s' could not be read; it is not written over.", path.c_str());
  } else {
    std::string text = HEADER;
    for (const auto &[song, score] : m_best) text += std::to_string(score) + " " + song + "\n";
    for (const std::string &line : m_unread_lines) text += line + "\n";
    // A file its own reader would refuse would keep every later score out.
    if (text.size() > MAX_FILE_BYTES) {
      problem = "the scores would take more than " + std::to_string(MAX_FILE_BYTES) + " bytes";
      log.writeLog("BestScores::save(): Error! '%s' is not written: %s.", path.c_str(), problem.c_str());
      if (p_problem) *p_problem = problem;
      return -1;
    }
    if (AtomicFile::write(path, text, problem)) return 0;
    log.writeLog("BestScores::save(): Error! Cannot write '%s' (%s); the scores file is left as it was.", path.c_str(),
                 problem.c_str());
  }
  if (p_problem) *p_problem = problem;
  return -1;
}
