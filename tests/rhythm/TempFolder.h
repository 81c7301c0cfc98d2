// A fresh folder under /tmp for one test, removed with all it holds when the
// test ends, and the whole text of a file.
#ifndef RHYTHM_TESTS_TEMP_FOLDER_H
#define RHYTHM_TESTS_TEMP_FOLDER_H

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class TempFolder {
 public:
  TempFolder() {
    char name[] = "/tmp/tessera-rhythm-XXXXXX";
    m_path = mkdtemp(name) ? name : "/tmp/tessera-rhythm-unmade";
  }
  ~TempFolder() {
    std::error_code error;
    std::filesystem::remove_all(m_path, error);
  }
  const std::string &path() const { return m_path; }
  // Writes the text to the file of that name in the folder (making the
  // folders on its way) and gives the file's path.
  std::string file(const std::string &name, const std::string &text) const {
    const std::filesystem::path path = std::filesystem::path(m_path) / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

 private:
  std::string m_path;
};

inline std::string contents(const std::string &path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

#endif
