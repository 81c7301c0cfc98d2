#include "player/AtomicFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

bool AtomicFile::write(const std::string &path, const std::string &contents) {
  if (path.empty()) return false;
  const std::filesystem::path target(path);
  const std::string temporary = path + ".tmp";
  std::error_code error;
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), error);
  bool created = false, written = false;
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    created = file.is_open();
    if (created) {
      file << contents;
      file.close();
      written = !file.fail();
    }
  }
  if (written && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
  if (created) std::remove(temporary.c_str());
  return false;
}
