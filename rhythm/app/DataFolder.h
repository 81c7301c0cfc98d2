// Where the game's data (sprites/, Sound/, ts-font.ttf) is: the working
// directory, else the executable's folder, else the installed data folder.
// The game changes into it before the engine starts, since the engine reads
// every data file relative to the working directory.
#ifndef RHYTHM_DATA_FOLDER_H
#define RHYTHM_DATA_FOLDER_H

#include <filesystem>
#include <string>
#include <vector>

class DataFolder {
 public:
  // executable: the running program's file; installed_from_executable: the
  // installed data folder relative to the executable's folder.
  DataFolder(const std::filesystem::path &executable, const std::string &installed_from_executable);

  // The folders looked at, in order.
  const std::vector<std::filesystem::path> &getCandidates() const { return m_candidates; }
  // The first candidate that holds sprites/, or an empty path.
  std::filesystem::path find() const;
  // Changes into the data folder when it is not the working directory. The
  // log and the settings file stay where the player started the game: their
  // names become absolute first. Returns the folder (empty when none was
  // found and the game stays where it is).
  std::filesystem::path enter() const;

  // The running program's file (from the system, else from argv[0]).
  static std::filesystem::path executableOf(const char *argv0);

 private:
  std::vector<std::filesystem::path> m_candidates;
};

#endif
