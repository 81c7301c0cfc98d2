#include "player/AtomicFile.h"

#include <filesystem>
#include <system_error>

#include <tessera/system/ReplaceFile.h>

bool AtomicFile::write(const std::string &path, const std::string &contents, std::string &problem) {
  if (path.empty()) {
    problem = "no file named";
    return false;
  }
  const std::filesystem::path target(path);
  std::error_code error;
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), error);
  return ts::replaceFile(path, contents, problem);
}
