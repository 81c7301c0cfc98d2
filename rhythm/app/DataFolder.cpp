#include "app/DataFolder.h"

#include <cstdlib>
#include <system_error>

#include <tessera/core/Config.h>
#include <tessera/system/Environment.h>

namespace fs = std::filesystem;

namespace {

bool holdsData(const fs::path &folder) {
  std::error_code error;
  return fs::is_directory(folder / "sprites", error);
}

bool sameFolder(const fs::path &a, const fs::path &b) {
  std::error_code error;
  return fs::equivalent(a, b, error);
}

// Makes the file named by an environment variable (or, when unset, the
// fallback) absolute against the working directory, so that it stays put
// when the game changes directory.
void pinFile(const char *variable, const std::string &fallback) {
  const char *value = std::getenv(variable);
  fs::path file = value && *value ? fs::path(value) : fs::path(fallback);
  if (file.is_relative()) ts::setEnvironmentVariable(variable, fs::absolute(file).string());
}

// The log file the settings name, or the engine's default.
std::string logFileOfSettings() {
  const std::string settings = ts::Config::getInstance().readConfig();
  const std::string named = settings.empty() ? "" : ts::match(settings, "logfile");
  return named.empty() ? ts::Config::getInstance().getLogfile() : named;
}

}  // namespace

DataFolder::DataFolder(const fs::path &executable, const std::string &installed_from_executable) {
  std::error_code error;
  m_candidates.push_back(fs::current_path(error));
  if (!executable.empty()) {
    const fs::path beside = executable.parent_path();
    m_candidates.push_back(beside);
    m_candidates.push_back((beside / installed_from_executable).lexically_normal());
  }
}

fs::path DataFolder::find() const {
  for (const fs::path &folder : m_candidates)
    if (!folder.empty() && holdsData(folder)) return folder;
  return {};
}

fs::path DataFolder::enter() const {
  const fs::path folder = find();
  std::error_code error;
  if (folder.empty() || sameFolder(folder, fs::current_path(error))) return folder;
  pinFile("TESSERA_CONFIG", "ts-config.txt");
  pinFile("TESSERA_LOG", logFileOfSettings());
  fs::current_path(folder, error);
  return error ? fs::path() : folder;
}

fs::path DataFolder::executableOf(const char *argv0) {
  std::error_code error;
  fs::path executable = fs::read_symlink("/proc/self/exe", error);
  if (!error) return executable;
  if (!argv0 || std::string(argv0).find('/') == std::string::npos) return {};
  return fs::absolute(argv0, error);
}
