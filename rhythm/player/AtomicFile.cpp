#include "player/AtomicFile.h"

#include <filesystem>
#include <system_error>

#include <tessera/core/LogManager.h>
#include <tessera/system/ReplaceFile.h>

bool AtomicFile::write(const std::string &path, const std::string &contents, std::string &problem) {
  if (path.empty()) {
    problem = "no file named";
    return false;
  }
  const std::filesystem::path target(path);
  std::error_code error;
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), error);
  if (!ts::replaceFile(path, contents, problem)) return false;
  if (!problem.empty()) ts::LogManager::getInstance().writeLog("AtomicFile::write(): Warning! %s.", problem.c_str());
  problem.clear();
  return true;
}
